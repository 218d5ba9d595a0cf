// The figure leaves the program: drawn on an image (PNG), on a painter for SVG
// and PDF, or recorded as an enhanced metafile, always by FigComplete. Used by
// `halvorn-cli render` and by the viewer's copy and print commands.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/record.h"
#include "core/settings.h"
#include "graph/figure.h"
#include "graph/graph.h"
#include "surface/metafile_geometry.h"

class QGuiApplication;

namespace halvorn {

enum class FigureFormat { Png, Svg, Pdf, Emf };

// The form an output path asks for by its extension (case-insensitive).
std::optional<FigureFormat> FigureFormatOfPath(const std::string& path);

// Makes sure a QGuiApplication runs while this object lives (fonts need one).
// Without a display setting it uses the offscreen platform, so rendering works
// on machines without a screen.
class GuiApplicationScope {
  public:
    GuiApplicationScope();
    ~GuiApplicationScope();
    GuiApplicationScope(const GuiApplicationScope&) = delete;
    GuiApplicationScope& operator=(const GuiApplicationScope&) = delete;

  private:
    QGuiApplication* owned_ = nullptr;
};

// Width in pixels of a text in a font as the painter surfaces draw it.
double MeasuredTextWidth(const FontRequest& font, const std::string& text);

// The figure's sample labels at their design places, the title centred over
// the plot by its measured width.
std::array<SampleLabel, 7> FigureSampleLabels(const Spectrum& s);

// The figure on an image of its size, white behind it.
QImage FigureImage(const Graph& graph, const FigureState& figure);
// The figure as SVG or PDF at one unit per figure pixel (96 per inch); false
// when the file cannot be written.
bool WriteFigureSvg(const Graph& graph, const FigureState& figure, const std::string& path);
bool WriteFigurePdf(const Graph& graph, const FigureState& figure, const std::string& path);
// The enhanced metafile of the figure recorded against the given screen;
// empty when the screen or the figure has no usable size.
std::vector<std::uint8_t> FigureMetafile(const Graph& graph, const FigureState& figure,
                                         const ScreenMetrics& screen);

// What `halvorn-cli render` asks for.
struct FigureRequest {
    DisplaySettings settings;
    bool blackAndWhite = false;
    bool points = false;  // the trace as points instead of a line
    int step = 1;         // the trace stride
    int heightPercent = 100;
};

// Runs the spectrum window's redraw computations for the figure's plot size,
// composes the copy-preview figure (all elements on, colour set of the
// request) and writes it to path in the form its extension names. Needs a
// running QGuiApplication. The outcome says why nothing was written.
GraphOutcome RenderFigureFile(Spectrum& s, const FigureRequest& request, const std::string& path);

}  // namespace halvorn
