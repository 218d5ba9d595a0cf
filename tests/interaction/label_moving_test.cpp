// Picking a label with the right button, dropping it, and which redraws keep
// the dropped place.
#include "interaction/label_moving.h"

#include <gtest/gtest.h>

#include "graph/graph.h"
#include "interaction/peak_marking.h"
#include "scene.h"

namespace halvorn {
namespace {

using test::DipSpectrum;
using test::Scene;

constexpr Rgb kBlue = MakeRgb(0, 0, 255);
constexpr Rgb kCyan = MakeRgb(192, 255, 255);

PeakList TwoBoxes(const DisplaySettings& settings) {
    PeakList peaks;
    peaks.PeakCount = 2;
    *LabelBoxOf(peaks, settings, 0) = {100, 50, 110, 80};
    *LabelBoxOf(peaks, settings, 1) = {105, 60, 115, 90};  // overlaps slot 0
    return peaks;
}

TEST(PickLabel, OnlyALabelPixelStrictlyInsideARectanglePicksAndTheLastSlotWins) {
    const DisplaySettings settings;
    const PeakList peaks = TwoBoxes(settings);
    EXPECT_TRUE(IsLabelPixel(kBlue) && IsLabelPixel(kCyan));
    EXPECT_FALSE(IsLabelPixel(kScreenTraceColour) || IsLabelPixel(0) ||
                 IsLabelPixel(MakeRgb(255, 255, 255)));

    // On the edges nothing; just inside, slot 0 with its grab offsets
    // rounded half to even.
    EXPECT_FALSE(PickLabel(peaks, settings, 100, 55, kCyan));
    EXPECT_FALSE(PickLabel(peaks, settings, 102, 50, kCyan));
    const auto grab = PickLabel(peaks, settings, 100.5f, 52.5f, kBlue);
    ASSERT_TRUE(grab);
    EXPECT_EQ(grab->MovingLabel, 0);
    EXPECT_EQ(grab->box, (LabelBox{100, 50, 110, 80}));
    EXPECT_EQ(grab->GrabOffsetX, 0);
    EXPECT_EQ(grab->GrabOffsetY, 2);
    const FramePosition frame = DragFrameAt(*grab, 200, 30);
    EXPECT_EQ(frame.Left, 200.0f);
    EXPECT_EQ(frame.Top, 28.0f);

    // Where both contain the point, the later slot.
    const auto both = PickLabel(peaks, settings, 107, 70, kCyan);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->MovingLabel, 1);
    // A blue leader pixel outside every rectangle, or a grid pixel inside.
    EXPECT_FALSE(PickLabel(peaks, settings, 104, 45, kBlue));
    EXPECT_FALSE(PickLabel(peaks, settings, 107, 70, MakeRgb(192, 192, 0)));
    // Another layout's boxes are not looked at.
    DisplaySettings wavelength = settings;
    wavelength.XScaleKind = 1;
    EXPECT_FALSE(PickLabel(peaks, wavelength, 107, 70, kCyan));
}

TEST(PixelOf, RoundsHalfToEven) {
    EXPECT_EQ(PixelOf(2.5f), 2);
    EXPECT_EQ(PixelOf(3.5f), 4);
    EXPECT_EQ(PixelOf(-0.5f), 0);
    EXPECT_EQ(PixelOf(1e12f), INT32_MAX);
}

TEST(DropLabel, StoresTheFrameRoundedHalfToEven) {
    const DisplaySettings settings;
    PeakList peaks = TwoBoxes(settings);
    EXPECT_TRUE(DropLabel(peaks, settings, 1, 20.5, 31.5, 10, 31));
    EXPECT_EQ(*LabelBoxOf(peaks, settings, 1), (LabelBox{20, 32, 30, 63}));
    EXPECT_FALSE(DropLabel(peaks, settings, 30, 1, 1, 1, 1));
    EXPECT_FALSE(DropLabel(peaks, settings, 0, 1e10, 1, 1, 1));
    EXPECT_EQ(*LabelBoxOf(peaks, settings, 0), (LabelBox{100, 50, 110, 80}));
}

class MovedLabel : public ::testing::Test {
  protected:
    LabelBox Box(int slot) const { return *LabelBoxOf(scene.g.peaks, scene.settings, slot); }

    Scene scene{DipSpectrum(4000, 400, 0.5, {{2900, 40}, {1601.5, 20}, {1000, 30}})};
    const LabelBox above{300, 20, 310, 59};
};

TEST_F(MovedLabel, ARedrawKeepsItAndARelayoutPutsItBack) {
    const LabelBox computed = Box(0);
    ASSERT_TRUE(DropLabel(scene.g.peaks, scene.settings, 0, 300, 20, 10, 39));
    scene.Redraw();
    EXPECT_EQ(Box(0), above);
    // "*2", a new range or a scale button ask for a relayout.
    scene.s.RelayoutLabels = true;
    scene.Redraw();
    EXPECT_EQ(Box(0), computed);
}

TEST_F(MovedLabel, ChangingThePeakListPutsItBack) {
    const LabelBox computed = Box(0);
    DropLabel(scene.g.peaks, scene.settings, 0, 300, 20, 10, 39);
    scene.g.peaks.NearestCandidate = 3;  // 2900, in slot 2
    ASSERT_EQ(TopCollecModify(scene.g.peaks, scene.settings), PeakToggle::Removed);
    scene.s.RelayoutLabels = true;
    scene.Redraw();
    EXPECT_EQ(Box(0), computed);
}

TEST_F(MovedLabel, AScaleChosenInTheOptionsIsLaidOutBeforeItIsDrawn) {
    // The same peaks laid out on the three-section scale from the start.
    Scene reference(DipSpectrum(4000, 400, 0.5, {{2900, 40}, {1601.5, 20}, {1000, 30}}));
    reference.settings.WavenumberSections = 2;
    reference.s.RelayoutLabels = true;
    reference.Redraw();

    DropLabel(scene.g.peaks, scene.settings, 0, 300, 20, 10, 39);
    // The options change the scale without asking for a relayout; the plain
    // redraw ("IR4") still draws laid-out labels.
    scene.settings.WavenumberSections = 2;
    scene.Redraw();
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(Box(slot), *LabelBoxOf(reference.g.peaks, reference.settings, slot)) << slot;
    }
    // Back on the two-section scale the moved label is where it was dropped.
    scene.settings.WavenumberSections = 0;
    scene.Redraw();
    EXPECT_EQ(Box(0), above);
}

TEST_F(MovedLabel, ALayoutLaidOutBeforeThePeakListChangedIsLaidOutAgain) {
    scene.settings.XScaleKind = 1;
    scene.s.RelayoutLabels = true;
    scene.Redraw();
    scene.settings.XScaleKind = 0;
    scene.s.RelayoutLabels = true;
    scene.Redraw();
    // Unmark slot 0 on the wavenumber scale; the wavelength layout's slot 0
    // box belonged to the removed peak.
    scene.g.peaks.NearestCandidate = 1;
    ASSERT_EQ(TopCollecModify(scene.g.peaks, scene.settings), PeakToggle::Removed);
    scene.s.RelayoutLabels = true;
    scene.Redraw();
    scene.settings.XScaleKind = 1;
    const LabelBox stale = Box(0);
    scene.Redraw();  // the options chose the wavelength scale: no relayout asked
    Graph graph(scene.s, scene.settings, scene.g);
    const PeakList before = scene.g.peaks;
    graph.LayoutPeakLabels();
    EXPECT_EQ(scene.g.peaks.PeakLabelBoxes, before.PeakLabelBoxes);
    EXPECT_NE(Box(0), stale);
}

}  // namespace
}  // namespace halvorn
