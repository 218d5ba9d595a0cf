// Synthetic spectra for the graph tests, filled the way the readers fill the
// record.
#pragma once

#include <vector>

#include "core/record.h"

namespace halvorn::test {

// Points at firstX, firstX + deltaX, ... with the given %T values.
inline Spectrum MakeSpectrum(double firstX, double deltaX, const std::vector<double>& percent) {
    Spectrum s;
    const auto n = static_cast<std::int32_t>(percent.size());
    s.PointCount = n;
    s.StepCount = static_cast<std::int16_t>(n - 1);
    s.YFactor = kTransmittanceYFactor;
    s.DeltaX = deltaX;
    s.RawY.assign(static_cast<std::size_t>(n) + 1, 0);
    s.WaveX.assign(static_cast<std::size_t>(n) + 1, 0.0f);
    float tmax = -1e30f;
    float tmin = 1e30f;
    for (std::int32_t i = 1; i <= n; ++i) {
        s.WaveX[i] = static_cast<float>(firstX + (i - 1) * deltaX);
        s.RawY[i] = static_cast<std::int32_t>(percent[i - 1] * s.YFactor);
        tmax = std::max(tmax, static_cast<float>(percent[i - 1]));
        tmin = std::min(tmin, static_cast<float>(percent[i - 1]));
    }
    s.FirstX = s.FullFirstX = firstX;
    s.LastX = s.FullLastX = firstX + (n - 1) * deltaX;
    s.FirstWL = s.FullFirstWL = 10000.0 / s.FirstX;
    s.LastWL = s.FullLastWL = 10000.0 / s.LastX;
    s.ViewFirstPoint = 1;
    s.ViewLastPoint = static_cast<std::int16_t>(n);
    if (n > 0) {
        SetYAxisFromExtremes(s, tmax, tmin);
    }
    s.NeedPeakSearch = true;
    s.RelayoutLabels = true;
    return s;
}

// A flat line at 90 %T from firstX to lastX in steps of 1 cm-1 (or -1).
inline Spectrum FlatSpectrum(double firstX, double lastX, double percent = 90.0) {
    const double step = lastX < firstX ? -1.0 : 1.0;
    const auto n = static_cast<std::size_t>(std::abs(lastX - firstX)) + 1;
    return MakeSpectrum(firstX, step, std::vector<double>(n, percent));
}

}  // namespace halvorn::test
