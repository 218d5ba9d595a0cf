// Sizes and places of the spectrum window's drawing areas that follow from the
// height option and the expansion level, and the scroll bar arithmetic. Plain
// computations, so that they can be checked without a window.
//
// The areas nest like this (all sizes in pixels):
//
//   Picture7  fixed background: the two Y scales, drawn along Picture2's edges
//   └ Picture2  viewport frame
//     └ Picture6  container that slides left and right when the graph is expanded
//       ├ Picture12  wavelength scale strip above the plot
//       ├ Picture1   the plot (673 x 348 at no expansion and full height)
//       └ Picture11  wavenumber scale strip under the plot
//   Picture8 / Picture4: the axis title strips above and below the frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "graph/plot_size.h"

namespace halvorn {

inline constexpr int kPlotTop = 28;  // plot top inside the container
inline constexpr int kMaxExpansionLevel = 3;
inline constexpr int kHeightOptionCount = 6;
// The container's left edge inside the frame when the graph is not expanded.
inline constexpr int kContainerRestLeft = -10;

// What a height option (0: 100 %, 1: 90 %, ... 5: 50 %) makes of the areas.
struct GraphHeights {
    int plotHeight = 0;
    int picture6Height = 0;
    int picture2Height = 0;
    int picture11Top = 0;
    int picture4Top = 0;
    int picture7Height = 0;
    int line6End = 0;  // y of the lower end of the line on the plot's right edge
};

// index is 0..5. The plot is 348 x (1 - index / 10) pixels high, rounded to
// the nearest pixel (ties to even); the container, frame and background grow
// with it, and the scale strips follow the plot's bottom edge.
GraphHeights HeightsForOption(int index);

// The caption of a height option: "100 %", "90 %", ... "50 %".
std::string HeightOptionCaption(int index);

// The plot's width at an expansion level 0..3: 673, 1346, 2692, 5384.
int PlotWidthAtLevel(int level);

// The expansion factor label: "1/ 1", "2/ 1", "4/ 1", "8/ 1".
std::string ExpansionFactorText(int level);

// The plot's left edge inside the container, so that the plot sits in the
// middle of the frame: (frame width - 673) / 2 - container left - 4, the 4
// being the frame's and the container's borders.
int CenteredPlotLeft(int frameWidth, int containerLeft);

struct ScrollSettings {
    std::int16_t min = 0;
    std::int16_t max = 0;
    std::int16_t largeChange = 0;
    std::int16_t smallChange = 0;
};

// The scroll bar for a plot of this width: nothing for plots narrower than
// 1000 pixels (the bar keeps what it had); otherwise Min = frame width - plot
// width - 2 x plot left, Max = -10, LargeChange a tenth of the span and
// SmallChange a tenth of that, at least 1. Raises ArithmeticFault when a value
// leaves the 16-bit range.
std::optional<ScrollSettings> ScrollAdjustSettings(int frameWidth, int plotWidth, int plotLeft);

// Where the scroll thumb is as a proportion (Max + Min) / Value, and the Value
// that puts it at that proportion of a new range (rounded, ties to even).
double ScrollProportion(int min, int max, int value);
std::int16_t ValueAtProportion(int min, int max, double proportion);

// The container's left edge for a scroll value: Max + Min - Value, so that the
// thumb at Min shows the plot's left end and at Max its right end.
int ContainerLeftForValue(int min, int max, int value);

}  // namespace halvorn
