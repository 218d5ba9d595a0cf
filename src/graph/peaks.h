// The peak list: candidate dips found by the peak search, the marked peaks and
// the rectangles of their labels.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/record.h"
#include "graph/mapping.h"

namespace halvorn {

// Up to 30 marked peaks; the search marks at most 11 by itself.
inline constexpr int kMaxPeaks = 30;
inline constexpr int kMaxAutomaticPeaks = 11;

// A label rectangle in pixels from the plot's top-left corner.
struct LabelBox {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    bool operator==(const LabelBox&) const = default;
};

// One rectangle per peak slot (0..29), wavenumber variant (WavenumberSections
// 0..2) and X kind (XScaleKind 0..1), so every X-scale mode keeps its own
// label layout.
using LabelBoxTable = std::array<std::array<std::array<LabelBox, 2>, 3>, kMaxPeaks>;

struct PeakList {
    // Entries 1..TopCandidateCount: point indices of the candidate dips,
    // deepest first; entry 0 and the rest are 0.
    std::vector<std::int16_t> TopCandidates = {0};
    std::int16_t TopCandidateCount = 0;
    // Slots 0..PeakCount-1: point index of each marked peak, in marking order.
    std::array<std::int16_t, kMaxPeaks> PeakPoints{};
    std::int16_t PeakCount = 0;
    // 1-based position in TopCandidates of the candidate nearest the cursor.
    std::int16_t NearestCandidate = 0;
    LabelBoxTable PeakLabelBoxes{};
};

// Finds the dips of the spectrum, sorts them deepest first and marks the
// deepest one and then every candidate lying at least 50 cm-1 or 50 pixels
// (on a plot of height plotHeight between PlotYTop and PlotYBottom) away from
// every deeper candidate, at most 11. Raises ArithmeticFault for a zero %T
// span.
void FindPeakTops(PeakList& peaks, const Spectrum& s, const MappingState& m,
                  std::int32_t plotHeight);

}  // namespace halvorn
