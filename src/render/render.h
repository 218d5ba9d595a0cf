// The figure leaves the program: drawn on an image (PNG), on a painter for SVG
// and PDF, or recorded as an enhanced metafile, always by FigComplete. These
// adapters only choose size and scale; they set up no application and know no
// window. Used by the copy preview, the clipboard, the printer and
// `halvorn-cli render`; they need a running QGuiApplication (fonts).
#pragma once

#include <QByteArray>
#include <QImage>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/record.h"
#include "graph/figure.h"
#include "graph/graph.h"
#include "render/whole_file.h"
#include "surface/metafile_geometry.h"

namespace halvorn {

enum class FigureFormat { Png, Svg, Pdf, Emf };

// The form an output path asks for by its extension (case-insensitive).
std::optional<FigureFormat> FigureFormatOfPath(const std::string& path);

// Width in pixels of a text in a font as the painter surfaces draw it.
double MeasuredTextWidth(const FontRequest& font, const std::string& text);

// The figure's sample labels at their design places, the title centred over
// the plot by its measured width; visible says which are shown (the figure
// prints the title even when it is hidden).
std::array<SampleLabel, 7> FigureSampleLabels(const Spectrum& s,
                                              const SampleLabelVisibility& visible);

// The figure on an image of its size, white behind it.
QImage FigureImage(const Graph& graph, const FigureState& figure);

// The figure as the bytes of a PNG file, of an SVG or a PDF document (one
// unit per figure pixel, 96 per inch). Empty when it cannot be made.
QByteArray FigurePng(const Graph& graph, const FigureState& figure);
QByteArray FigureSvg(const Graph& graph, const FigureState& figure);
QByteArray FigurePdf(const Graph& graph, const FigureState& figure);

// The enhanced metafile of the figure recorded against the given screen;
// empty when the screen or the figure has no usable size.
std::vector<std::uint8_t> FigureMetafile(const Graph& graph, const FigureState& figure,
                                         const ScreenMetrics& screen);

// The figure in the given form, in memory. The metafile is recorded against
// the screen. Raises the drawing routines' run-time errors and GraphFault
// when the form cannot be made.
QByteArray FigureBytes(const Graph& graph, const FigureState& figure, FigureFormat format,
                       const ScreenMetrics& screen);

// Writes the figure to path in the form its extension names (png, svg, pdf,
// emf; the metafile against the primary screen), whole or not at all. The
// outcome says why nothing was written.
WriteOutcome SaveFigureFile(const Graph& graph, const FigureState& figure, const std::string& path);

}  // namespace halvorn
