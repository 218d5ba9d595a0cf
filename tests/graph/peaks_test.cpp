// The peak search: where the scan looks, the order of the candidates and which
// of them get marked.
#include "graph/peaks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/numbers.h"
#include "graph/graph.h"
#include "graph/graph_test_support.h"

namespace halvorn {
namespace {

// A 0..100 %T plot 348 pixels high: 1 %T is 3.48 pixels.
MappingState FullRange() {
    MappingState m;
    m.PlotYTop = 100.0f;
    m.PlotYBottom = 0.0f;
    return m;
}

// 90 %T from 3000 cm-1 down in 1 cm-1 steps, with one-point dips at the given
// wavenumbers and %T.
Spectrum WithDips(const std::vector<std::pair<int, double>>& dips, int points = 2001) {
    std::vector<double> percent(static_cast<std::size_t>(points), 90.0);
    for (auto [nu, t] : dips) {
        percent[static_cast<std::size_t>(3000 - nu)] = t;
    }
    return test::MakeSpectrum(3000, -1, percent);
}

std::vector<int> Marked(const PeakList& peaks) {
    return {peaks.PeakPoints.begin(), peaks.PeakPoints.begin() + peaks.PeakCount};
}

std::vector<int> Candidates(const PeakList& peaks) {
    return {peaks.TopCandidates.begin() + 1,
            peaks.TopCandidates.begin() + 1 + peaks.TopCandidateCount};
}

TEST(FindPeakTops, FlatBottomGivesItsLastPointAndTheLastTwoPointsEndNoDip) {
    // Points 1..8; the dip at point 6 rises only at point 7, beyond the scan.
    const Spectrum s = test::MakeSpectrum(4000, -1, {50, 40, 40, 45, 60, 55, 70, 80});
    PeakList peaks;
    FindPeakTops(peaks, s, FullRange(), 348);
    EXPECT_EQ(Candidates(peaks), std::vector<int>{3});
    EXPECT_EQ(Marked(peaks), std::vector<int>{3});
    EXPECT_EQ(peaks.TopCandidates.size(), 9u);
}

TEST(FindPeakTops, ARisingStartOrNoDipGivesNothing) {
    PeakList peaks;
    FindPeakTops(peaks, test::MakeSpectrum(4000, -1, {10, 20, 30, 40, 50, 60}), FullRange(), 348);
    EXPECT_EQ(peaks.TopCandidateCount, 0);
    EXPECT_EQ(peaks.PeakCount, 0);
    FindPeakTops(peaks, Spectrum{}, FullRange(), 348);
    EXPECT_EQ(peaks.TopCandidateCount, 0);
    EXPECT_EQ(peaks.PeakCount, 0);
    EXPECT_EQ(peaks.TopCandidates.size(), 1u);
    // Falling into the last two points ends no dip.
    FindPeakTops(peaks, test::MakeSpectrum(4000, -1, {90, 90, 90, 50, 90}), FullRange(), 348);
    EXPECT_EQ(peaks.TopCandidateCount, 0);
}

TEST(FindPeakTops, EqualDepthsKeepTheExchangeOrder) {
    // Scan order A(30), B(20), C(30), D(20): the exchange sort gives B, D, C, A.
    const Spectrum s = WithDips({{2900, 30}, {2700, 20}, {2500, 30}, {2300, 20}});
    PeakList peaks;
    FindPeakTops(peaks, s, FullRange(), 348);
    const int a = 101, b = 301, c = 501, d = 701;
    EXPECT_EQ(Candidates(peaks), (std::vector<int>{b, d, c, a}));
    EXPECT_EQ(Marked(peaks), (std::vector<int>{b, d, c, a}));
}

// The candidate order the peak search documents: the plain exchange sort.
void ExchangeSort(std::vector<std::int16_t>& top, std::int32_t count,
                  const std::vector<std::int32_t>& rawY) {
    for (std::int32_t j = 1; j <= count; ++j) {
        for (std::int32_t k = j + 1; k <= count; ++k) {
            if (rawY[static_cast<std::size_t>(top[static_cast<std::size_t>(k)])] <
                rawY[static_cast<std::size_t>(top[static_cast<std::size_t>(j)])]) {
                std::swap(top[static_cast<std::size_t>(j)], top[static_cast<std::size_t>(k)]);
            }
        }
    }
}

TEST(SortDeepestFirst, GivesEqualDepthsTheExchangeSortOrder) {
    std::mt19937 random(20261208);
    int cases = 0;
    // Few distinct depths, many equal ones, runs of one depth, sorted and
    // reversed lists, and lists of a few hundred entries.
    for (int round = 0; round < 4000; ++round) {
        const int count =
            round < 3000 ? static_cast<int>(random() % 40) : static_cast<int>(random() % 600);
        const int distinct = 1 + static_cast<int>(random() % (round % 4 == 0 ? 3 : 12));
        const int shape = static_cast<int>(random() % 5);
        std::vector<std::int32_t> depths;
        for (int t = 0; t < count; ++t) {
            int d = static_cast<int>(random() % static_cast<unsigned>(distinct));
            if (shape == 1 && t > 0 && random() % 3 != 0) {
                d = depths.back() / 1000;  // flat runs
            }
            depths.push_back(d * 1000);
        }
        if (shape == 2) {
            std::sort(depths.begin(), depths.end());
        } else if (shape == 3) {
            std::sort(depths.rbegin(), depths.rend());
        }
        // Candidates point at distinct points of a spectrum, in scan order.
        std::vector<std::int32_t> rawY(static_cast<std::size_t>(count) + 1, 0);
        std::vector<std::int16_t> top(static_cast<std::size_t>(count) + 1, 0);
        for (int t = 1; t <= count; ++t) {
            top[static_cast<std::size_t>(t)] = static_cast<std::int16_t>(t);
            rawY[static_cast<std::size_t>(t)] = depths[static_cast<std::size_t>(t - 1)];
        }
        std::vector<std::int16_t> expected = top;
        ExchangeSort(expected, count, rawY);
        SortDeepestFirst(top, count, rawY);
        ASSERT_EQ(top, expected) << "case " << round << " with " << count << " entries";
        ++cases;
    }
    EXPECT_EQ(cases, 4000);
}

TEST(FindPeakTops, SeparationInWavenumbersAndInPixels) {
    PeakList peaks;
    // 30 cm-1 apart and 5 %T (17 pixels) apart: only the deeper is marked.
    FindPeakTops(peaks, WithDips({{2000, 20}, {1970, 25}}), FullRange(), 348);
    EXPECT_EQ(Marked(peaks), std::vector<int>{1001});
    EXPECT_EQ(peaks.TopCandidateCount, 2);
    // 30 cm-1 apart but 20 %T (70 pixels) apart: both.
    FindPeakTops(peaks, WithDips({{2000, 20}, {1970, 40}}), FullRange(), 348);
    EXPECT_EQ(Marked(peaks), (std::vector<int>{1001, 1031}));
    // The same depths on a plot a quarter as high are 17 pixels apart: one.
    FindPeakTops(peaks, WithDips({{2000, 20}, {1970, 40}}), FullRange(), 87);
    EXPECT_EQ(Marked(peaks), std::vector<int>{1001});
    // Exactly 50 cm-1 apart is far enough.
    FindPeakTops(peaks, WithDips({{2000, 20}, {1950, 25}}), FullRange(), 348);
    EXPECT_EQ(Marked(peaks), (std::vector<int>{1001, 1051}));
    // A candidate too close to a deeper unmarked one is rejected as well.
    FindPeakTops(peaks, WithDips({{2000, 20}, {1960, 22}, {1920, 24}}), FullRange(), 348);
    EXPECT_EQ(Marked(peaks), std::vector<int>{1001});
}

TEST(FindPeakTops, AtMostElevenTheDeepestThatPass) {
    std::vector<std::pair<int, double>> dips;
    for (int k = 0; k < 20; ++k) {
        dips.push_back({2950 - 100 * k, 10.0 + k});  // deeper towards the left
    }
    PeakList peaks;
    FindPeakTops(peaks, WithDips(dips), FullRange(), 348);
    EXPECT_EQ(peaks.TopCandidateCount, 20);
    std::vector<int> expected;
    for (int k = 0; k < 11; ++k) {
        expected.push_back(51 + 100 * k);
    }
    EXPECT_EQ(Marked(peaks), expected);
}

TEST(FindPeakTops, TheRedrawSearchesWithItsPlotHeightAndYRange) {
    // Dips of 20 and 40 %T, 30 cm-1 apart; the readers' axis runs from 95 down
    // to 20 %T. The 20 %T between them are 53 pixels on that axis 200 pixels
    // high, 40 pixels on the fixed 0..100 %T axis, and 70 pixels at 348.
    struct Case {
        std::int16_t fixed;
        std::int32_t height;
        std::vector<int> marked;
    };
    for (const Case& c :
         {Case{0, 200, {1001, 1031}}, Case{1, 200, {1001}}, Case{1, 348, {1001, 1031}}}) {
        Spectrum s = WithDips({{2000, 20}, {1970, 40}});
        DisplaySettings settings;
        settings.FixedYRange = c.fixed;
        GraphState state;
        Graph graph(s, settings, state);
        ASSERT_TRUE(graph.PrepareRedraw(673, c.height).ok);
        EXPECT_EQ(Marked(state.peaks), c.marked) << c.fixed << " " << c.height;
        EXPECT_FALSE(s.NeedPeakSearch);
    }
}

TEST(FindPeakTops, ZeroSpanIsAnError) {
    MappingState m;
    m.PlotYTop = m.PlotYBottom = 50.0f;
    PeakList peaks;
    EXPECT_THROW(FindPeakTops(peaks, WithDips({{2000, 20}, {1900, 30}}), m, 348), ArithmeticFault);
}

}  // namespace
}  // namespace halvorn
