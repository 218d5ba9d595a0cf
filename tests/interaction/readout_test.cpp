// The cursor readout at known pixels of a 4000..400 cm-1 spectrum (0.5 cm-1
// steps) on a 673 x 348 plot with a 0..100 %T axis.
#include "interaction/readout.h"

#include <gtest/gtest.h>

#include "scene.h"

namespace halvorn {
namespace {

using test::Dip;
using test::DipSpectrum;
using test::Scene;

// Candidates, deepest first: 1602.5 (20 %T), 1000 (30 %T), 2900 (40 %T).
Spectrum ThreeDips() {
    return DipSpectrum(4000, 400, 0.5, {{2900, 40}, {1602.5, 20}, {1000, 30}});
}

class Readout : public ::testing::Test {
  protected:
    ReadoutStep Move(float x, float y, bool peakMark = false, char separator = '.') {
        return MoveReadout(f, scene.g.peaks, scene.s, scene.g.mapping, scene.settings,
                           scene.s.Loading, peakMark, x, y, scene.W, scene.H, separator);
    }
    double NuAt(float x) const { return WavenumberAtX(scene.g.mapping, x); }

    Scene scene{ThreeDips()};
    ReadoutFields f;
};

TEST_F(Readout, AGridlineRowShowsItsValueAndOneRowOffTheRoundedValue) {
    // 45 %T lies at 3.48 x 55 = 191.4, row 191.
    EXPECT_EQ(Move(100, 191), ReadoutStep::Normal);
    EXPECT_EQ(f.Label1[1], " Y (%T) = 45");
    EXPECT_EQ(f.Label1[0], " Y (abs) = 0.347");
    Move(100, 192);
    EXPECT_EQ(f.Label1[1], " Y (%T) = 44.8");
    EXPECT_EQ(f.Label1[0], " Y (abs) = 0.349");
    Move(100, 192, false, ',');
    EXPECT_EQ(f.Label1[1], " Y (%T) = 44,8");
    EXPECT_EQ(f.Label1[0], " Y (abs) = 0,349");
}

TEST_F(Readout, AbsorbanceAtTheTopTenPercentAndTheBottom) {
    Move(100, 0);
    EXPECT_EQ(f.Label1[1], " Y (%T) = 100");
    EXPECT_EQ(f.Label1[0], " Y (abs) = 0");
    Move(100, 313);  // the 10 %T gridline
    EXPECT_EQ(f.Label1[1], " Y (%T) = 10");
    EXPECT_EQ(f.Label1[0], " Y (abs) = 1");
    Move(100, 347.7f);  // 0.086 %T rounds to 0.1
    EXPECT_EQ(f.Label1[1], " Y (%T) = 0.1");
    EXPECT_EQ(f.Label1[0], " Y (abs) = 3");
    // The bottom row H still reads out, and 0 %T has no absorbance.
    EXPECT_EQ(Move(100, 348), ReadoutStep::Normal);
    EXPECT_EQ(f.Label1[1], " Y (%T) = 0");
    EXPECT_EQ(f.Label1[0], " Y (abs) = inf");
}

TEST_F(Readout, AboveTheHundredPercentLineTheAbsorbanceIsNegative) {
    Spectrum s = DipSpectrum(4000, 400, 0.5, {{1602.5, 20}});
    s.RawY[10] = static_cast<std::int32_t>(104 * s.YFactor);
    SetYAxisFromExtremes(s, 104.0f, 20.0f);
    Scene high(std::move(s));
    high.settings.FixedYRange = 0;
    high.Redraw();
    ASSERT_EQ(high.g.mapping.PlotYTop, 105.0f);
    MoveReadout(f, high.g.peaks, high.s, high.g.mapping, high.settings, false, false, 100, 0,
                high.W, high.H, '.');
    EXPECT_EQ(f.Label1[1], " Y (%T) = 105");
    EXPECT_EQ(f.Label1[0], " Y (abs) = -0.021");
}

TEST_F(Readout, AMarkedPeaksColumnShowsThatPeakExactly) {
    const float x = scene.ColumnOf(1602.5);
    // The column's own wavenumber is a few points away from the peak.
    ASSERT_GT(std::fabs(NuAt(x) - 1602.5), 0.5);
    Move(x, 100);
    EXPECT_EQ(f.Label1[3], " X (cm-1) = 1602.5");
    EXPECT_EQ(f.Label1[2], " X (um) = 6.24");
    // Once unmarked, the same column shows the nearest point instead.
    scene.g.peaks.PeakCount = 0;
    Move(x, 100);
    EXPECT_NE(f.Label1[3], " X (cm-1) = 1602.5");
}

TEST_F(Readout, AFiftyColumnShowsTheMultipleOfFiftyWithinTenPoints) {
    const float x = scene.ColumnOf(1450);
    const double nu = NuAt(x);
    ASSERT_GT(std::fabs(nu - 1450), 0.5);
    ASSERT_LT(std::fabs(nu - 1450), 5.0);
    Move(x, 100);
    EXPECT_EQ(f.Label1[3], " X (cm-1) = 1450");
    EXPECT_EQ(f.Label1[2], " X (um) = 6.9");
    // The next column is no 50 cm-1 column: the nearest point.
    Move(x + 1, 100);
    const std::string next = f.Label1[3];
    EXPECT_NE(next, " X (cm-1) = 1450");
    const double shown = std::stod(next.substr(std::string(" X (cm-1) = ").size()));
    EXPECT_LE(std::fabs(shown - NuAt(x + 1)), 0.25);
}

TEST_F(Readout, TheLastColumnReadsOutAndTheWidthDoesNot) {
    EXPECT_EQ(Move(672, 10), ReadoutStep::Normal);
    EXPECT_FALSE(f.Label1[3].empty());
    f.Line5Visible = f.Label19Visible = true;
    for (auto [x, y] : {std::pair{672.5f, 10.0f},
                        {673.0f, 10.0f},
                        {-0.5f, 10.0f},
                        {10.0f, -1.0f},
                        {10.0f, 348.5f}}) {
        f.Label1[0] = "old";
        EXPECT_EQ(Move(x, y), ReadoutStep::Off) << x << "," << y;
        for (const std::string& text : f.Label1) {
            EXPECT_EQ(text, "");
        }
        EXPECT_FALSE(f.Line5Visible);
        EXPECT_FALSE(f.Label19Visible);
    }
}

TEST_F(Readout, WhileLoadingNothingChanges) {
    f.Label1[1] = "kept";
    scene.s.Loading = true;
    EXPECT_EQ(Move(100, 100), ReadoutStep::Ignored);
    EXPECT_EQ(Move(-5, 100), ReadoutStep::Ignored);
    EXPECT_EQ(f.Label1[1], "kept");
}

TEST_F(Readout, PeakMarkFollowsTheNearestCandidateAndKeepsTheYFields) {
    Move(100, 192);
    const float x = scene.ColumnOf(2890);
    EXPECT_EQ(Move(x, 50, true), ReadoutStep::PeakMark);
    EXPECT_EQ(scene.g.peaks.NearestCandidate, 3);  // 2900, the shallowest
    EXPECT_TRUE(f.Line5Visible);
    EXPECT_EQ(f.Line5X, static_cast<float>(XOfWavenumber(scene.g.mapping, 2900)));
    EXPECT_EQ(f.Label1[3], " X (cm-1) = 2900");
    EXPECT_EQ(f.Label1[2], " X (um) = 3.45");
    EXPECT_EQ(f.Label1[1], " Y (%T) = 44.8");
    EXPECT_TRUE(f.Label19Visible);
    EXPECT_EQ(f.Label19Text, "  2900  ");
    EXPECT_FALSE(f.Label19Flipped);
    EXPECT_EQ(Label19Left(f, 40), x + 10);
    EXPECT_EQ(f.Label19Top, 40.0f);

    // 1250 lies nearer 1000 than the deeper 1602.5.
    Move(scene.ColumnOf(1250), 50, true);
    EXPECT_EQ(scene.g.peaks.NearestCandidate, 2);
}

TEST_F(Readout, PastNinetyPercentOfTheWidthTheLabelSitsLeft) {
    // 0.9 x 673 = 605.7
    Move(605, 50, true);
    EXPECT_FALSE(f.Label19Flipped);
    Move(606, 50, true);
    EXPECT_TRUE(f.Label19Flipped);
    EXPECT_EQ(Label19Left(f, 40), 606 - 10 - 40);
}

TEST_F(Readout, OnTheWavelengthScaleTheFloatingLabelShowsMicrometres) {
    scene.settings.XScaleKind = 1;
    scene.Redraw();
    Move(scene.ColumnOf(1602.5), 50, true);
    EXPECT_EQ(f.Label19Text, "  6.24  ");
    EXPECT_EQ(f.Label1[3], " X (cm-1) = 1602.5");
}

TEST_F(Readout, WithoutCandidatesPeakMarkShowsNoLineAndNoLabel) {
    Scene flat(test::FlatSpectrum(4000, 400));
    ASSERT_EQ(flat.g.peaks.TopCandidateCount, 0);
    f.Line5Visible = f.Label19Visible = true;
    flat.g.peaks.NearestCandidate = 5;
    EXPECT_EQ(MoveReadout(f, flat.g.peaks, flat.s, flat.g.mapping, flat.settings, false, true, 300,
                          100, flat.W, flat.H, '.'),
              ReadoutStep::PeakMark);
    EXPECT_EQ(flat.g.peaks.NearestCandidate, 0);
    EXPECT_FALSE(f.Line5Visible);
    EXPECT_FALSE(f.Label19Visible);
}

TEST(ClearReadout, EmptiesTheFieldsAndHidesLineAndLabel) {
    ReadoutFields f;
    f.Label1 = {"a", "b", "c", "d"};
    f.Line5Visible = f.Label19Visible = true;
    ClearReadout(f);
    EXPECT_EQ(f.Label1, (std::array<std::string, 4>{}));
    EXPECT_FALSE(f.Line5Visible || f.Label19Visible);
}

}  // namespace
}  // namespace halvorn
