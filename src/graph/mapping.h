// The axis mapping: where a wavenumber and a transmittance land on the plot,
// and back.
//
// Plot coordinates are pixels from the plot's top-left corner; the display
// range start (the larger wavenumber) is at x = 0 and its end at the plot
// width. Wavenumber scales are piecewise linear with breaks at 2000 and
// 1000 cm-1, stretched 1:1:1, 1:2:2 or 1:2:4; the wavelength scale is linear
// in micrometres.
#pragma once

#include <cstdint>

#include "core/record.h"
#include "core/settings.h"

namespace halvorn {

// Recomputed at the start of every redraw, read-only between redraws.
struct MappingState {
    // Wavenumber scales: plot x of 2000 and of 1000 cm-1. Wavelength scale:
    // plot x of 5 um, and the plot width.
    double Anchor1X = 0.0;
    double Anchor2X = 0.0;
    // Wavenumber scales: pixels per 50 cm-1 above 2000, from 2000 to 1000 and
    // below 1000 cm-1; the major steps are twice that (100 cm-1). Wavelength
    // scale: the minor and major tick steps (MinorStep2 = MinorStep1,
    // MinorStep3 = 0, MajorStep2 = MajorStep1, MajorStep3 left as it was).
    double MinorStep1 = 0.0;
    double MinorStep2 = 0.0;
    double MinorStep3 = 0.0;
    double MajorStep1 = 0.0;
    double MajorStep2 = 0.0;
    double MajorStep3 = 0.0;
    // Wavelength scale only: major ticks per micrometre (1 or 2), and the
    // micrometre the walks start from (5).
    std::int16_t WlMajorPerMicron = 0;
    std::int16_t WlAnchor = 0;
    // Unscaled positions of the display range ends, and pixels per unscaled
    // unit.
    double XOrigin = 0.0;
    double XEnd = 0.0;
    double XScale = 0.0;
    // %T at the plot's top and bottom edges.
    float PlotYTop = 0.0f;
    float PlotYBottom = 0.0f;
    // Pixels per tenth of the %T span, its half, and whether the %T major
    // grid is shifted down by one minor step (a top that ends in 5).
    double YMajorStep = 0.0;
    double YMinorStep = 0.0;
    std::int16_t YMajorShift = 0;

    // The X kind and plot size the set-up was made for.
    std::int16_t XScaleKind = 0;
    std::int32_t PlotWidth = 0;
    std::int32_t PlotHeight = 0;
};

// max(a - b, 0), written as (|a - b| + (a - b)) / 2.
double PositivePart(double a, double b);

// Wavenumber (cm-1) -> plot x, not rounded. The caller adds the plot's left
// edge and rounds.
double XOfWavenumber(const MappingState& m, double nu);

// Plot x -> wavenumber; the inverse of XOfWavenumber.
double WavenumberAtX(const MappingState& m, double x);

// PlotYTop and PlotYBottom from the readers' proposal, or 0..100 %T with a
// fixed range.
void SetUpYRange(MappingState& m, const Spectrum& s, const DisplaySettings& settings);

// YMajorStep, YMinorStep, YMajorShift for a plot of the given height, then the
// X set-up of the current X-scale mode for the given width. Raises
// ArithmeticFault for a zero Y span, a display range of zero width or an
// overflow, and GraphFault for an unknown scale mode; the state is then only
// partly set.
void SetUpMapping(MappingState& m, const Spectrum& s, const DisplaySettings& settings,
                  std::int32_t plotWidth, std::int32_t plotHeight);

// y of a transmittance on a plot of the given top and height, rounded half to
// even: y0 + height x (PlotYTop - t) / (PlotYTop - PlotYBottom).
std::int32_t YOfTransmittance(const MappingState& m, double t, std::int32_t y0,
                              std::int32_t height);

}  // namespace halvorn
