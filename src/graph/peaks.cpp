#include "graph/peaks.h"

#include <algorithm>
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

namespace {

// A Fenwick tree of counts over positions 1..size.
class CountTree {
  public:
    explicit CountTree(std::size_t capacity) : tree_(capacity + 1, 0), size_(capacity) {}

    // Uses positions 1..size (at most the capacity), every one set to one.
    void FillOnes(std::size_t size) {
        size_ = size;
        for (std::size_t i = 1; i <= size_; ++i) {
            tree_[i] = static_cast<std::int32_t>(i & (~i + 1));
        }
    }

    void Add(std::size_t position, std::int32_t delta) {
        for (; position <= size_; position += position & (~position + 1)) {
            tree_[position] += delta;
        }
    }

    // The count over positions 1..position.
    std::int32_t Sum(std::size_t position) const {
        std::int32_t sum = 0;
        for (; position > 0; position -= position & (~position + 1)) {
            sum += tree_[position];
        }
        return sum;
    }

    // The smallest position whose prefix count reaches rank (1-based).
    std::size_t Find(std::int32_t rank) const {
        std::size_t position = 0;
        std::size_t bit = 1;
        while (bit * 2 <= size_) {
            bit *= 2;
        }
        for (; bit > 0; bit /= 2) {
            const std::size_t next = position + bit;
            if (next <= size_ && tree_[next] < rank) {
                position = next;
                rank -= tree_[next];
            }
        }
        return position + 1;
    }

  private:
    std::vector<std::int32_t> tree_;
    std::size_t size_;
};

}  // namespace

// The exchange sort (for j, for k > j: swap when entry k is strictly smaller
// than entry j) fixes the order of equal depths in
// a way that follows from the pattern of smaller and equal entries alone:
//
// - Pass j puts the first entry of the smallest value at j. Entries of a
//   value v only move in passes whose smallest value is below v, and then
//   only the first entry of the remaining list, when it has value v: it goes
//   to the place of the first entry below v after it, jumping over the
//   entries of value v in between.
// - So, reading the entries of value v and those below v in list order, the
//   entries of value v form a queue: each joins at the back, and every entry
//   below v read after the first of them moves the front of the queue to the
//   back. The final queue is their order in the sorted list.
//
// The queue is kept as a circular list with a moving head; the positions at
// which the entries join are replayed backwards on a count tree to place
// them, so the whole order costs O(n log n).
void SortDeepestFirst(std::vector<std::int16_t>& top, std::int32_t count,
                      const std::vector<std::int32_t>& rawY) {
    if (count < 2) {
        return;
    }
    const auto n = static_cast<std::size_t>(count);
    // Positions 1..n by depth, equal depths in list order.
    std::vector<std::int32_t> byDepth(n);
    for (std::size_t t = 0; t < n; ++t) {
        byDepth[t] = static_cast<std::int32_t>(t + 1);
    }
    const auto depth = [&](std::int32_t position) {
        return rawY[static_cast<std::size_t>(top[static_cast<std::size_t>(position)])];
    };
    std::stable_sort(byDepth.begin(), byDepth.end(),
                     [&](std::int32_t a, std::int32_t b) { return depth(a) < depth(b); });

    CountTree smaller(n);  // positions of the entries already placed (all smaller)
    CountTree slots(n);
    std::vector<std::int32_t> joinAt(n);
    std::vector<std::int32_t> circle(n);
    std::vector<std::int16_t> sorted(n + 1, 0);
    std::size_t placed = 0;
    for (std::size_t first = 0; first < n;) {
        std::size_t last = first + 1;
        while (last < n && depth(byDepth[last]) == depth(byDepth[first])) {
            ++last;
        }
        const std::size_t size = last - first;
        const auto position = [&](std::size_t i) {
            return static_cast<std::size_t>(byDepth[first + i]);
        };

        // The queue as a circular list: entry i joins at index joinAt[i] of
        // the list of i entries, the head then moves on by the count of
        // smaller entries read before the next one joins.
        std::int64_t head = 0;
        for (std::size_t i = 0; i < size; ++i) {
            joinAt[i] = static_cast<std::int32_t>(head);
            const auto length = static_cast<std::int64_t>(i + 1);
            head = i == 0 ? 0 : head + 1;
            const std::size_t to = i + 1 < size ? position(i + 1) - 1 : n;
            const std::int64_t between = smaller.Sum(to) - smaller.Sum(position(i));
            head = (head + between) % length;
        }
        // Replayed backwards, the entry that joined at index k of a list of i
        // entries takes the (k + 1)-th slot still free.
        slots.FillOnes(size);
        for (std::size_t i = size; i-- > 0;) {
            const std::size_t slot = slots.Find(joinAt[i] + 1);
            circle[slot - 1] = static_cast<std::int32_t>(i);
            slots.Add(slot, -1);
        }
        for (std::size_t k = 0; k < size; ++k) {
            const std::size_t i =
                static_cast<std::size_t>(circle[(static_cast<std::size_t>(head) + k) % size]);
            sorted[++placed] = top[position(i)];
        }
        for (std::size_t i = 0; i < size; ++i) {
            smaller.Add(position(i), 1);
        }
        first = last;
    }
    std::copy(sorted.begin() + 1, sorted.end(), top.begin() + 1);
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

    SortDeepestFirst(top, count, s.RawY);

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
