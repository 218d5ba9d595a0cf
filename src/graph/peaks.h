// The peak list: candidate dips found by the peak search, the marked peaks and
// the rectangles of their labels.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/record.h"
#include "core/settings.h"
#include "core/xscale_mode.h"
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
using LabelBoxTable =
    std::array<std::array<std::array<LabelBox, kLayoutKinds>, kLayoutSections>, kMaxPeaks>;

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
    // Per label layout (WavenumberSections, XScaleKind): laid out since the
    // peak list last changed. A redraw lays out a layout that is not before it
    // draws its labels, so a layout computed for another peak list is never
    // drawn; a layout that is keeps its boxes, moved labels included.
    std::array<std::array<bool, kLayoutKinds>, kLayoutSections> LaidOut{};
};

// The peak list has changed (a new search, a mark added or removed): every
// label layout has to be laid out again before it is drawn.
void PeakListChanged(PeakList& peaks);

// The label box of a slot in the settings' layout; nullptr when the slot or a
// settings field is out of range.
LabelBox* LabelBoxOf(PeakList& peaks, const DisplaySettings& settings, int slot);
const LabelBox* LabelBoxOf(const PeakList& peaks, const DisplaySettings& settings, int slot);

// Whether the settings' layout was laid out since the peak list last changed
// (false for settings out of range).
bool IsLaidOut(const PeakList& peaks, const DisplaySettings& settings);

// Sorts candidate entries 1..count deepest (smallest RawY) first, giving
// equal depths exactly the order the exchange sort "for j, for k > j: swap
// entries j and k when k is strictly deeper" gives them, in O(n log n).
void SortDeepestFirst(std::vector<std::int16_t>& top, std::int32_t count,
                      const std::vector<std::int32_t>& rawY);

// Finds the dips of the spectrum, sorts them deepest first and marks the
// deepest one and then every candidate lying at least 50 cm-1 or 50 pixels
// (on a plot of height plotHeight between PlotYTop and PlotYBottom) away from
// every deeper candidate, at most 11. Raises ArithmeticFault for a zero %T
// span.
void FindPeakTops(PeakList& peaks, const Spectrum& s, const MappingState& m,
                  std::int32_t plotHeight);

}  // namespace halvorn
