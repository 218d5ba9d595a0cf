#include "graph/peaks.h"

#include <cmath>
#include <string>
#include <utility>

#include "core/numbers.h"
#include "graph/graph_fault.h"

namespace halvorn {

void PeakListChanged(PeakList& peaks) {
    for (auto& kinds : peaks.LaidOut) {
        kinds.fill(false);
    }
}

const LabelBox* LabelBoxOf(const PeakList& peaks, const DisplaySettings& settings, int slot) {
    const std::optional<LabelLayoutIndex> layout = LabelLayoutOf(settings);
    if (!layout || slot < 0 || slot >= kMaxPeaks) {
        return nullptr;
    }
    return &peaks.PeakLabelBoxes[static_cast<std::size_t>(slot)][layout->sections][layout->kind];
}

LabelBox* LabelBoxOf(PeakList& peaks, const DisplaySettings& settings, int slot) {
    return const_cast<LabelBox*>(LabelBoxOf(static_cast<const PeakList&>(peaks), settings, slot));
}

bool IsLaidOut(const PeakList& peaks, const DisplaySettings& settings) {
    const std::optional<LabelLayoutIndex> layout = LabelLayoutOf(settings);
    return layout && peaks.LaidOut[layout->sections][layout->kind];
}

void FindPeakTops(PeakList& peaks, const Spectrum& s, const MappingState& m,
                  std::int32_t plotHeight) {
    const std::int32_t n = s.PointCount;
    if (n > kMaxPoints) {
        // Candidate and peak entries are 16-bit point indices.
        throw GraphFault("too many points for the peak search: " + std::to_string(n));
    }
    PeakListChanged(peaks);
    peaks.TopCandidateCount = 0;
    peaks.TopCandidates.assign(static_cast<std::size_t>(n) + 1, 0);
    std::vector<std::int16_t>& top = peaks.TopCandidates;
    std::int16_t& count = peaks.TopCandidateCount;

    // A dip ends where the ordinate rises after having fallen; equal
    // neighbours change nothing, so a flat bottom gives its last point. The
    // scan stops at N - 2, so the last two points never end a dip.
    bool falling = false;
    for (std::int32_t i = 2; i <= n - 2; ++i) {
        if (s.RawY[i] > s.RawY[i - 1] && falling) {
            top[++count] = static_cast<std::int16_t>(i - 1);
            falling = false;
        } else if (s.RawY[i] < s.RawY[i - 1]) {
            falling = true;
        }
    }

    // Exchange sort, deepest first; equal depths keep the order this exchange
    // pattern gives them.
    for (std::int32_t j = 1; j <= count; ++j) {
        for (std::int32_t k = j + 1; k <= count; ++k) {
            if (s.RawY[top[k]] < s.RawY[top[j]]) {
                std::swap(top[j], top[k]);
            }
        }
    }

    peaks.PeakPoints.fill(0);
    peaks.PeakCount = 0;
    if (count == 0) {
        return;
    }
    peaks.PeakPoints[0] = top[1];
    peaks.PeakCount = 1;

    // Pixels per unit of RawY on the current plot.
    const double perUnit =
        Divide(plotHeight, static_cast<double>(m.PlotYTop - m.PlotYBottom) * s.YFactor);
    for (std::int32_t j = 2; j <= count && peaks.PeakCount < kMaxAutomaticPeaks; ++j) {
        bool rejected = false;
        for (std::int32_t k = 1; k < j; ++k) {
            const float dx = std::fabs(s.WaveX[top[j]] - s.WaveX[top[k]]);
            const double dy =
                perUnit * std::fabs(static_cast<double>(s.RawY[top[j]]) - s.RawY[top[k]]);
            if (dx < 50.0f && dy < 50.0) {
                rejected = true;
                break;
            }
        }
        if (!rejected) {
            peaks.PeakPoints[peaks.PeakCount++] = top[j];
        }
    }
}

}  // namespace halvorn
