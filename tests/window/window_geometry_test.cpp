#include "window/graph_geometry.h"

#include <gtest/gtest.h>

#include "core/numbers.h"

namespace halvorn {
namespace {

TEST(HeightsForOption, FullHeightIsTheDesignLayout) {
    const GraphHeights h = HeightsForOption(0);
    EXPECT_EQ(h.plotHeight, 348);
    EXPECT_EQ(h.picture6Height, 416);
    EXPECT_EQ(h.picture2Height, 449);
    EXPECT_EQ(h.picture11Top, 376);
    EXPECT_EQ(h.picture4Top, 431);
    EXPECT_EQ(h.picture7Height, 473);
    EXPECT_EQ(h.line6End, 384);
}

TEST(HeightsForOption, ReducedHeightsShrinkEverythingWithThePlot) {
    const GraphHeights half = HeightsForOption(5);
    EXPECT_EQ(half.plotHeight, 174);
    EXPECT_EQ(half.picture6Height, 242);
    EXPECT_EQ(half.picture2Height, 275);
    // The scale strip starts at the plot's bottom edge (plot top 28).
    EXPECT_EQ(half.picture11Top, 28 + 174);
    EXPECT_EQ(half.picture4Top, half.picture11Top + 55);
    EXPECT_EQ(half.picture7Height, half.picture11Top + 97);
    EXPECT_EQ(half.line6End, 174 + 36);

    // 348 x 0.9 = 313.2 and 348 x 0.7 = 243.6 round to the nearest pixel.
    EXPECT_EQ(HeightsForOption(1).plotHeight, 313);
    EXPECT_EQ(HeightsForOption(2).plotHeight, 278);
    EXPECT_EQ(HeightsForOption(3).plotHeight, 244);
    EXPECT_EQ(HeightsForOption(4).plotHeight, 209);
}

TEST(HeightOptionCaption, PercentSteps) {
    EXPECT_EQ(HeightOptionCaption(0), "100 %");
    EXPECT_EQ(HeightOptionCaption(1), "90 %");
    EXPECT_EQ(HeightOptionCaption(5), "50 %");
}

TEST(Expansion, WidthsAndFactorTexts) {
    EXPECT_EQ(PlotWidthAtLevel(0), 673);
    EXPECT_EQ(PlotWidthAtLevel(1), 1346);
    EXPECT_EQ(PlotWidthAtLevel(2), 2692);
    EXPECT_EQ(PlotWidthAtLevel(3), 5384);
    EXPECT_EQ(ExpansionFactorText(0), "1/ 1");
    EXPECT_EQ(ExpansionFactorText(1), "2/ 1");
    EXPECT_EQ(ExpansionFactorText(3), "8/ 1");
}

TEST(CenteredPlotLeft, CentresThePlotInsideTheBorders) {
    // A 697-pixel frame (693 inside) and the container at -10 inside it: the
    // plot starts 18 pixels into the container, 10 pixels into the frame.
    EXPECT_EQ(CenteredPlotLeft(697, -10), 18);
    EXPECT_EQ(-10 + 2 + CenteredPlotLeft(697, -10), (693 - 673) / 2);
}

TEST(ScrollAdjustSettings, NarrowPlotsKeepTheBar) {
    EXPECT_FALSE(ScrollAdjustSettings(697, 673, 18));
    EXPECT_FALSE(ScrollAdjustSettings(697, 999, 18));
}

TEST(ScrollAdjustSettings, RangeAndSteps) {
    const auto s = ScrollAdjustSettings(697, 1346, 18);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->min, 697 - 1346 - 36);
    EXPECT_EQ(s->max, -10);
    EXPECT_EQ(s->largeChange, 68);  // (−10 − (−685)) / 10 = 67.5, to even
    EXPECT_EQ(s->smallChange, 7);   // 6.8

    const auto wide = ScrollAdjustSettings(697, 5384, 18);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->min, -4723);
    EXPECT_EQ(wide->largeChange, 471);
    EXPECT_EQ(wide->smallChange, 47);

    // A span below 100 pixels gives a LargeChange below 10 and SmallChange 1.
    const auto tight = ScrollAdjustSettings(1000, 1000, 15);
    ASSERT_TRUE(tight);
    EXPECT_EQ(tight->min, -30);
    EXPECT_EQ(tight->largeChange, 2);
    EXPECT_EQ(tight->smallChange, 1);
}

TEST(ScrollAdjustSettings, A16BitOverflowIsAnError) {
    EXPECT_THROW((void)ScrollAdjustSettings(697, 70000, 18), ArithmeticFault);
}

TEST(ScrollProportion, KeepsTheRelativePlaceAcrossLevels) {
    // Centre of the first expansion: Value = CInt((Max + Min) / 2).
    EXPECT_EQ(ValueAtProportion(-685, -10, 2.0), -348);  // -347.5, ties to even
    // A thumb a third of the way along level 2 lands a third along level 3.
    const auto level2 = *ScrollAdjustSettings(697, 2692, 18);
    const auto level3 = *ScrollAdjustSettings(697, 5384, 18);
    const int value = level2.min + (level2.max - level2.min) / 3;
    const double q = ScrollProportion(level2.min, level2.max, value);
    const int moved = ValueAtProportion(level3.min, level3.max, q);
    EXPECT_NEAR(static_cast<double>(moved) / (level3.max + level3.min),
                static_cast<double>(value) / (level2.max + level2.min), 1e-3);
}

TEST(ContainerLeftForValue, ThumbEndsShowThePlotEnds) {
    EXPECT_EQ(ContainerLeftForValue(-685, -10, -685), -10);
    EXPECT_EQ(ContainerLeftForValue(-685, -10, -10), -685);
}

}  // namespace
}  // namespace halvorn
