#include "interaction/peak_marking.h"

#include <optional>

namespace halvorn {

PeakToggle TopCollecModify(PeakList& peaks, const DisplaySettings& settings) {
    const int nearest = peaks.NearestCandidate;
    if (nearest < 1 || nearest > peaks.TopCandidateCount ||
        static_cast<std::size_t>(nearest) >= peaks.TopCandidates.size()) {
        return PeakToggle::NoCandidate;
    }
    const std::int16_t p = peaks.TopCandidates[static_cast<std::size_t>(nearest)];
    const int count = peaks.PeakCount;

    for (int slot = 0; slot < count; ++slot) {
        if (peaks.PeakPoints[static_cast<std::size_t>(slot)] != p) {
            continue;
        }
        // The later marks move down one slot, each with its label box of the
        // current layout; the other layouts are laid out again anyway.
        for (int later = slot + 1; later < count; ++later) {
            peaks.PeakPoints[static_cast<std::size_t>(later - 1)] =
                peaks.PeakPoints[static_cast<std::size_t>(later)];
            LabelBox* to = LabelBoxOf(peaks, settings, later - 1);
            const LabelBox* from = LabelBoxOf(peaks, settings, later);
            if (to != nullptr && from != nullptr) {
                *to = *from;
            }
        }
        peaks.PeakCount = static_cast<std::int16_t>(count - 1);
        PeakListChanged(peaks);
        return PeakToggle::Removed;
    }

    if (count >= kMaxPeaks) {
        return PeakToggle::TooMany;
    }
    peaks.PeakPoints[static_cast<std::size_t>(count)] = p;
    peaks.PeakCount = static_cast<std::int16_t>(count + 1);
    PeakListChanged(peaks);
    return PeakToggle::Added;
}

}  // namespace halvorn
