// The composed figure of the copy preview, the metafile and the printed page:
// sample labels, grid, scales and titles, frame, plot box, trace, peak labels
// and a one-line credit, drawn by one routine on any surface.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "graph/graph.h"
#include "graph/plot_size.h"
#include "surface/surface.h"

namespace halvorn {

// Figure sizes in pixels of the drawing surface.
struct FigureGeometry {
    std::int32_t FigureWidth = 747;
    std::int32_t FigureHeight = 456;
    std::int32_t PlotWidth = kPlotWidth;
    std::int32_t PlotHeight = kPlotHeight;
    std::int32_t PlotTop = 70;
    std::int32_t PlotLeft = 35;
};

// The figure of a full-height graph (456 pixels), or, while a reduced height is
// chosen, of the spectrum window's graph panel height + 7.
FigureGeometry FigureGeometryFor(bool graphHeightReduced, std::int32_t graphPanelHeight);

// Plot height of the spectrum window for a height option of 100, 90, ..., 50
// percent (348 at 100 %), and the height of its graph panel (plot + 101).
std::int32_t PlotHeightForPercent(int percent);
inline std::int32_t GraphPanelHeightFor(std::int32_t plotHeight) {
    return plotHeight + 101;
}

// The element switches; all on when the preview window loads.
struct FigureSwitches {
    bool ShowGrid = true;
    bool ShowFigureFrame = true;
    bool ShowScale = true;
    bool ShowGraph = true;
    bool ShowPeakLabels = true;
    bool ShowLabels = true;
    bool BlackAndWhite = false;
};

struct FigureColours {
    Rgb MajorGridColour = MakeRgb(192, 192, 0);
    Rgb MinorGridColour = MakeRgb(255, 192, 128);
    Rgb FigureFrameColour = MakeRgb(0, 0, 255);
    Rgb TraceColour = MakeRgb(192, 0, 0);
    Rgb PeakLabelColour = kScreenPeakLabelColour;
};

// A sample label of the spectrum window: caption, position (spectrum window
// pixels) and whether it is shown.
struct SampleLabel {
    std::string caption;
    double left = 0.0;
    double top = 0.0;
    bool visible = true;
};

// Design positions of the header lines Label14(1..6).
inline constexpr std::array<std::array<int, 2>, 7> kSampleLabelPlaces = {
    {{0, 2}, {24, 2}, {24, 17}, {104, 2}, {600, 16}, {240, 16}, {500, 2}}};

// The credit line, and where it stands on a full-height figure.
std::string FigureCredit();
inline constexpr std::int32_t kCreditLeft = 643;
inline constexpr std::int32_t kCreditBottomMargin = 16;  // 440 on a 456-pixel figure

struct FigureState {
    FigureGeometry geometry;
    FigureSwitches switches;
    FigureColours colours;
    // Label14(0) is the spectrum title, 1..6 the header lines.
    std::array<SampleLabel, 7> labels;
};

// Writes the colour set of black-and-white or colour mode. screenPeakLabelColour
// is the spectrum window's peak label colour.
void ColorBW(FigureState& figure, bool blackAndWhite,
             Rgb screenPeakLabelColour = kScreenPeakLabelColour);

// Which of Label14(0..6) are shown; the header editor's "Visible" boxes.
using SampleLabelVisibility = std::array<bool, 7>;
inline constexpr SampleLabelVisibility kAllSampleLabelsVisible = {true, true, true, true,
                                                                  true, true, true};

// The sample labels of a spectrum at their design places; the title is
// centred over the plot using titleWidth, its estimated width in pixels.
std::array<SampleLabel, 7> SampleLabelsAtDesignPlaces(
    const Spectrum& s, double titleWidth,
    const SampleLabelVisibility& visible = kAllSampleLabelsVisible);

// Draws the figure with origin at the surface's (0, 0). Uses the mapping of
// the last redraw (made for a plot of the figure's plot size) and draws the
// grid in the figure's own colours; the graph state is only read. Hidden
// header lines are left out; the title is drawn even when hidden. Raises the
// drawing routines' run-time errors.
void FigComplete(const Graph& graph, const FigureState& figure, Surface& dc);

}  // namespace halvorn
