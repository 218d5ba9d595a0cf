// The graph engine: the state a redraw leaves behind and the drawing routines
// that put grid, scales, titles, trace and peak labels on any Surface.
//
// The routines take the surface and a plot rectangle in its pixels, as the
// spectrum window, the copy-preview figure and the EMF recording all call them
// the same way. Ticks, grid lines and label texts are computed as values first
// (GridLines, ScaleMarks, PeakLabelText) and then painted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/record.h"
#include "core/settings.h"
#include "graph/graph_fault.h"
#include "graph/mapping.h"
#include "graph/peaks.h"
#include "surface/surface.h"

namespace halvorn {

// Fill colour of the peak label boxes on screen: light cyan.
inline constexpr Rgb kLabelBackgroundColour = MakeRgb(192, 255, 255);
// Colour of the trace and of the peak labels on screen.
inline constexpr Rgb kScreenTraceColour = MakeRgb(192, 0, 0);
inline constexpr Rgb kScreenPeakLabelColour = MakeRgb(0, 0, 255);

// Everything the graph engine keeps between calls. One object per spectrum
// window, held by its owner; nothing here is global.
struct GraphState {
    MappingState mapping;
    PeakList peaks;
    Rgb MinorGridColour = MakeRgb(255, 192, 128);
    Rgb MajorGridColour = MakeRgb(192, 192, 0);
    // x of the last wavelength label drawn, for the label spacing rule.
    std::int32_t LastLabelX = 0;
    // Fill each peak label box before its text (the spectrum window: yes; the
    // copy-preview figure: no), with LabelBackgroundColour.
    bool FillLabelBackground = true;
    Rgb LabelBackgroundColour = kLabelBackgroundColour;
    // Stride between drawn points of the trace (at least 1).
    std::int16_t PointStep = 1;
    // The "Line" menu item is checked: the trace is a polyline, else points.
    bool mnuLineChecked = true;
    std::int16_t ExpansionLevel = 0;
    // Outer height of the plot area; 0 when it has no border (the inner height).
    std::int32_t PlotOuterHeight = 0;
    // Decimal separator of the CStr-form label texts.
    char DecimalSeparator = '.';
};

// Grid lines, as values: pen kind and end points (the end point unpainted).
struct GridLine {
    bool major = false;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
    bool operator==(const GridLine&) const = default;
};

enum class ScaleFont { Label, Symbol, Small, Title, RisingTitle, FallingTitle };

// A tick (a line with the surface's current pen) or a text with its font at
// its top-left reference point (x1, y1).
struct ScaleMark {
    bool isText = false;
    ScaleFont font = ScaleFont::Label;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
    std::string text;
};

struct ScaleMarkList {
    std::vector<ScaleMark> marks;
    // LastLabelX after the walks; unchanged when no walk set it.
    std::int32_t LastLabelX = 0;
};

// The side switches of DrawScales.
struct ScaleSides {
    bool bottomScale = false;
    bool leftScale = false;
    bool topScale = false;
    bool rightScale = false;
    // 0 none, 1 the wavelength title above, 2 the wavenumber title below, 3 both.
    std::int16_t titles = 0;
};

FontRequest FontOf(ScaleFont font);

class Graph {
  public:
    Graph(Spectrum& spectrum, const DisplaySettings& settings, GraphState& state)
        : s_(spectrum), settings_(settings), g_(state) {}

    // What the redraw computes before it draws, for a plot of W x H pixels:
    // the Y range, the peak search when NeedPeakSearch is set, the mapping, and
    // the label layout when RelayoutLabels is set or the current layout was not
    // laid out since the peak list last changed (both flags are cleared).
    // Stops at the first failing step and says why and of which kind.
    GraphOutcome PrepareRedraw(std::int32_t plotWidth, std::int32_t plotHeight);

    void FindPeakTops();

    double XOfWavenumber(double nu) const { return halvorn::XOfWavenumber(g_.mapping, nu); }
    double WavenumberAtX(double x) const { return halvorn::WavenumberAtX(g_.mapping, x); }

    std::vector<GridLine> GridLines(std::int32_t x0, std::int32_t width, std::int32_t y0,
                                    std::int32_t height) const;
    ScaleMarkList ScaleMarks(std::int32_t x0, std::int32_t width, std::int32_t y0,
                             std::int32_t height, const ScaleSides& sides) const;
    // A peak label's text: the wavenumber rounded to a whole number, or on the
    // wavelength scale the micrometres rounded to two decimals, in CStr form.
    std::string PeakLabelText(std::int16_t point) const;

    // The drawing routines. Each raises ArithmeticFault or GraphFault when a
    // value leaves its range; the caller reports it (see RunGuarded).
    void DrawGrid(Surface& dc, std::int32_t x0, std::int32_t width, std::int32_t y0,
                  std::int32_t height) const;
    // The grid in the given colours instead of the state's (the figure's own
    // colour set), leaving the state as it is.
    void DrawGrid(Surface& dc, std::int32_t x0, std::int32_t width, std::int32_t y0,
                  std::int32_t height, Rgb minorColour, Rgb majorColour) const;
    void DrawScales(Surface& dc, std::int32_t x0, std::int32_t width, std::int32_t y0,
                    std::int32_t height, std::int32_t reserved, bool bottomScale, bool leftScale,
                    bool topScale, bool rightScale, std::int16_t titles) const;
    void DrawTrace(Surface& dc, std::int32_t x0, std::int32_t width, std::int32_t y0,
                   std::int32_t height, Rgb colour) const;
    // Lays out the current layout's boxes and records it as laid out.
    void LayoutPeakLabels() const;
    void DrawPeakLabels(Surface& dc, std::int32_t x0, std::int32_t y0, Rgb colour) const;

    Spectrum& spectrum() const { return s_; }
    const DisplaySettings& settings() const { return settings_; }
    GraphState& state() const { return g_; }

  private:
    LabelBox& CurrentBox(int slot) const;
    std::int32_t PeakY(std::int16_t point, std::int32_t y0) const;

    Spectrum& s_;
    const DisplaySettings& settings_;
    GraphState& g_;
};

}  // namespace halvorn
