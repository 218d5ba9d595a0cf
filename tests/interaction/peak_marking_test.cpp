// Marking and unmarking candidates by clicking in peak-mark mode.
#include "interaction/peak_marking.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scene.h"

namespace halvorn {
namespace {

using test::Dip;
using test::DipSpectrum;
using test::Scene;

std::vector<int> Marked(const PeakList& peaks) {
    return {peaks.PeakPoints.begin(), peaks.PeakPoints.begin() + peaks.PeakCount};
}

// The 1-based candidate position of a point.
std::int16_t CandidateOf(const PeakList& peaks, int point) {
    for (int c = 1; c <= peaks.TopCandidateCount; ++c) {
        if (peaks.TopCandidates[static_cast<std::size_t>(c)] == point) {
            return static_cast<std::int16_t>(c);
        }
    }
    return 0;
}

TEST(TopCollecModify, RemovalKeepsTheOrderAndMovesTheLaterLabelBoxesAlong) {
    Scene scene(DipSpectrum(4000, 400, 0.5, {{2900, 40}, {1601.5, 20}, {1000, 30}}));
    PeakList& peaks = scene.g.peaks;
    const int p2900 = scene.PointOf(2900);
    const int p1601 = scene.PointOf(1601.5);
    const int p1000 = scene.PointOf(1000);
    ASSERT_EQ(Marked(peaks), (std::vector<int>{p1601, p1000, p2900}));
    LabelBox& slot1 = *LabelBoxOf(peaks, scene.settings, 1);
    LabelBox& slot2 = *LabelBoxOf(peaks, scene.settings, 2);
    slot1 = {1, 2, 3, 4};
    slot2 = {5, 6, 7, 8};
    // The three-section layout's boxes stay where they are.
    DisplaySettings three = scene.settings;
    three.WavenumberSections = 2;
    *LabelBoxOf(peaks, three, 1) = {9, 9, 9, 9};

    peaks.NearestCandidate = CandidateOf(peaks, p1601);
    EXPECT_EQ(TopCollecModify(peaks, scene.settings), PeakToggle::Removed);
    EXPECT_EQ(Marked(peaks), (std::vector<int>{p1000, p2900}));
    EXPECT_EQ(*LabelBoxOf(peaks, scene.settings, 0), (LabelBox{1, 2, 3, 4}));
    EXPECT_EQ(*LabelBoxOf(peaks, scene.settings, 1), (LabelBox{5, 6, 7, 8}));
    EXPECT_EQ(*LabelBoxOf(peaks, three, 1), (LabelBox{9, 9, 9, 9}));
    // Every layout is due to be laid out again.
    EXPECT_FALSE(IsLaidOut(peaks, scene.settings));

    // Clicking it again marks it in the first free slot.
    EXPECT_EQ(TopCollecModify(peaks, scene.settings), PeakToggle::Added);
    EXPECT_EQ(Marked(peaks), (std::vector<int>{p1000, p2900, p1601}));
}

TEST(TopCollecModify, TheThirtyFirstMarkIsRefusedAndAMarkedOneStillRemovable) {
    // Forty dips 85 cm-1 apart, all candidates; the search marks 11.
    std::vector<Dip> dips;
    for (int k = 0; k < 40; ++k) {
        dips.push_back({3900.0 - 85.0 * k, 20.0 + 0.5 * k});
    }
    Scene scene(DipSpectrum(4000, 400, 0.5, dips));
    PeakList& peaks = scene.g.peaks;
    ASSERT_EQ(peaks.TopCandidateCount, 40);
    ASSERT_EQ(peaks.PeakCount, 11);
    std::int16_t c = 1;
    while (peaks.PeakCount < 30) {
        peaks.NearestCandidate = ++c;
        const int before = peaks.PeakCount;
        const PeakToggle result = TopCollecModify(peaks, scene.settings);
        if (result == PeakToggle::Removed) {
            // An automatic mark: put it back at the end.
            EXPECT_EQ(TopCollecModify(peaks, scene.settings), PeakToggle::Added);
        } else {
            EXPECT_EQ(result, PeakToggle::Added);
            EXPECT_EQ(peaks.PeakCount, before + 1);
        }
    }
    const std::vector<int> thirty = Marked(peaks);
    std::int16_t unmarked = 1;
    while (std::count(thirty.begin(), thirty.end(),
                      peaks.TopCandidates[static_cast<std::size_t>(unmarked)]) != 0) {
        ++unmarked;
    }
    peaks.NearestCandidate = unmarked;
    EXPECT_EQ(TopCollecModify(peaks, scene.settings), PeakToggle::TooMany);
    EXPECT_EQ(Marked(peaks), thirty);
    EXPECT_STREQ(kTooManyPeaksText, "Cannot mark more than 30 peaks!");
    EXPECT_STREQ(kTooManyPeaksTitle, "Too many peaks!");

    peaks.NearestCandidate = CandidateOf(peaks, thirty[5]);
    EXPECT_EQ(TopCollecModify(peaks, scene.settings), PeakToggle::Removed);
    EXPECT_EQ(peaks.PeakCount, 29);
}

TEST(TopCollecModify, NoCandidatePointedAtChangesNothing) {
    Scene scene(test::FlatSpectrum(4000, 400));
    scene.g.peaks.NearestCandidate = 0;
    EXPECT_EQ(TopCollecModify(scene.g.peaks, scene.settings), PeakToggle::NoCandidate);
    scene.g.peaks.NearestCandidate = 3;
    EXPECT_EQ(TopCollecModify(scene.g.peaks, scene.settings), PeakToggle::NoCandidate);
    EXPECT_EQ(scene.g.peaks.PeakCount, 0);
}

}  // namespace
}  // namespace halvorn
