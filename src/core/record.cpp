#include "core/record.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/numbers.h"

namespace halvorn {

void SetYAxisFromExtremes(Spectrum& s, float tmax, float tmin) {
    const float rmax = static_cast<float>(RoundTo(tmax, 2));
    const float rmin = static_cast<float>(RoundTo(tmin, 2));

    s.YAxisTop = (std::floor(rmax / 10.0f) + 1.0f) * 10.0f;
    s.YAxisTopHalf = false;
    if (s.YAxisTop - rmax >= 5.0f) {
        s.YAxisTop -= 5.0f;
        s.YAxisTopHalf = true;
    }

    s.YAxisBottom = std::floor(rmin / 10.0f) * 10.0f;
    s.YAxisBottomHalf = false;
    if (rmin - s.YAxisBottom >= 5.0f) {
        s.YAxisBottom += 5.0f;
        s.YAxisBottomHalf = true;
    }

    // A flat spectrum on an odd multiple of 5 would get a top equal to its
    // bottom, which nothing can draw: one major step (10 %T) more on each side
    // shows the line in the middle of the plot.
    if (s.YAxisTop <= s.YAxisBottom) {
        s.YAxisTop += 10.0f;
        s.YAxisBottom -= 10.0f;
    }
}

void ShowWholeSpectrum(Spectrum& s) {
    s.FullFirstX = s.FirstX;
    s.FullLastX = s.LastX;
    s.FullFirstWL = s.FirstWL;
    s.FullLastWL = s.LastWL;
    s.ViewFirstPoint = 1;
    s.ViewLastPoint = ToInteger(s.PointCount);
}

void ClearPoints(Spectrum& s) {
    s.PointCount = 0;
    s.StepCount = 0;
    s.RawY.assign(1, 0);
    s.WaveX.assign(1, 0.0f);
    s.RawYMax = 0;
    s.RawYMin = 0;
    s.DeltaX = 0.0;
    s.FirstX = s.LastX = s.FirstWL = s.LastWL = 0.0;
    s.FullFirstX = s.FullLastX = s.FullFirstWL = s.FullLastWL = 0.0;
    s.ViewFirstPoint = 0;
    s.ViewLastPoint = 0;
    s.ZZ.clear();
    s.ZZX.clear();
    s.ZZYE.clear();
    // The pending points keep their room for the next read.
    s.PendingExport.x.clear();
    s.PendingExport.y.clear();
    s.PendingExport.zPending = s.PendingExport.xPending = s.PendingExport.yPending = false;
    s.DataTextBox.clear();
}

bool PutLargestWavenumberFirst(Spectrum& s) {
    const std::int32_t n = s.PointCount;
    if (n < 2 || !(s.WaveX[1] < s.WaveX[n])) {
        return false;
    }
    std::reverse(s.WaveX.begin() + 1, s.WaveX.begin() + n + 1);
    std::reverse(s.RawY.begin() + 1, s.RawY.begin() + n + 1);
    s.DeltaX = -s.DeltaX;
    std::swap(s.FirstX, s.LastX);
    std::swap(s.FirstWL, s.LastWL);
    std::swap(s.FullFirstX, s.FullLastX);
    std::swap(s.FullFirstWL, s.FullLastWL);
    return true;
}

}  // namespace halvorn
