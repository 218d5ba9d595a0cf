// The axis mapping: the positions of the breaks in each scale mode,
// exact round trips and the failures of degenerate ranges.
#include "graph/mapping.h"

#include <gtest/gtest.h>

#include "core/numbers.h"
#include "graph/graph_test_support.h"

namespace halvorn {
namespace {

using test::FlatSpectrum;

struct Mode {
    std::int16_t kind;
    std::int16_t sections;
};
constexpr Mode kOne{0, 1}, kTwo{0, 0}, kThree{0, 2}, kWavelength{1, 0};

MappingState MapFor(const Spectrum& s, Mode mode, int width, int height = 348, int fixed = 0) {
    DisplaySettings settings;
    settings.XScaleKind = mode.kind;
    settings.WavenumberSections = mode.sections;
    settings.FixedYRange = static_cast<std::int16_t>(fixed);
    MappingState m;
    SetUpYRange(m, s, settings);
    SetUpMapping(m, s, settings, width, height);
    return m;
}

TEST(Mapping, BreaksOfTheThreeWavenumberScales) {
    const Spectrum s = FlatSpectrum(4000, 400);
    const MappingState one = MapFor(s, kOne, 700);
    EXPECT_NEAR(XOfWavenumber(one, 4000), 0.0, 1e-9);
    EXPECT_NEAR(XOfWavenumber(one, 400), 700.0, 1e-9);
    EXPECT_NEAR(XOfWavenumber(one, 2000), 388.888888888889, 1e-9);
    EXPECT_NEAR(one.Anchor1X, 388.888888888889, 1e-9);

    const MappingState two = MapFor(s, kTwo, 700);
    EXPECT_NEAR(two.Anchor1X, 700.0 * 2000 / 5200, 1e-9);
    EXPECT_NEAR(two.Anchor2X, 700.0 * 4000 / 5200, 1e-9);
    EXPECT_NEAR(XOfWavenumber(two, 400), 700.0, 1e-9);
    // Section 2 is drawn twice as wide per cm-1 as section 1.
    EXPECT_NEAR(two.MinorStep2, 2 * two.MinorStep1, 1e-12);
    EXPECT_NEAR(two.MinorStep3, two.MinorStep2, 1e-12);
    EXPECT_NEAR(two.MajorStep1, 2 * two.MinorStep1, 1e-12);

    const MappingState three = MapFor(s, kThree, 700);
    EXPECT_NEAR(three.Anchor1X, 700.0 * 2000 / 6400, 1e-9);
    EXPECT_NEAR(three.Anchor2X, 700.0 * 4000 / 6400, 1e-9);
    EXPECT_NEAR(three.MinorStep3, 4 * three.MinorStep1, 1e-12);
}

TEST(Mapping, RangeOnOneSideOfTheBreaksIsLinear) {
    const Spectrum below = FlatSpectrum(900, 500);
    const MappingState m = MapFor(below, kThree, 400);
    EXPECT_NEAR(XOfWavenumber(m, 700), 200.0, 1e-9);
    EXPECT_GT(0.0, m.Anchor2X);  // 1000 cm-1 lies left of the plot
    const Spectrum above = FlatSpectrum(3800, 2200);
    const MappingState n = MapFor(above, kTwo, 400);
    EXPECT_NEAR(XOfWavenumber(n, 3000), 200.0, 1e-9);
    EXPECT_LT(400.0, n.Anchor1X);
}

TEST(Mapping, WavelengthStepsFollowPixelsPerMicron) {
    const Spectrum s = FlatSpectrum(4000, 400);  // 2.5 .. 25 um
    const MappingState narrow = MapFor(s, kWavelength, 700);
    EXPECT_EQ(narrow.WlMajorPerMicron, 1);
    EXPECT_EQ(narrow.WlAnchor, 5);
    EXPECT_NEAR(narrow.MajorStep1, 700 / 22.5, 1e-9);
    EXPECT_NEAR(narrow.MinorStep1, 700 / 45.0, 1e-9);
    EXPECT_EQ(narrow.MinorStep3, 0.0);
    EXPECT_EQ(narrow.Anchor2X, 700.0);
    EXPECT_NEAR(narrow.Anchor1X, 2.5 * 700 / 22.5, 1e-9);  // 5 um
    EXPECT_NEAR(XOfWavenumber(narrow, 400), 700.0, 1e-9);

    const MappingState wide = MapFor(s, kWavelength, 1400);
    EXPECT_EQ(wide.WlMajorPerMicron, 2);
    EXPECT_NEAR(wide.MinorStep1, 1400 / 22.5 / 10, 1e-9);
    EXPECT_NEAR(wide.MajorStep1, 1400 / 22.5 / 2, 1e-9);
}

TEST(Mapping, RoundTripsInEveryModeAndOnTheAnchors) {
    const Spectrum s = FlatSpectrum(4000, 400);
    for (Mode mode : {kOne, kTwo, kThree, kWavelength}) {
        for (int width : {673, 1346, 5384, 97}) {
            const MappingState m = MapFor(s, mode, width);
            for (double nu = 400; nu <= 4000; nu += 3.7) {
                const double back = WavenumberAtX(m, XOfWavenumber(m, nu));
                EXPECT_NEAR(back, nu, 1e-9 * nu) << mode.kind << mode.sections << " " << width;
            }
            if (mode.kind == 0) {
                EXPECT_EQ(XOfWavenumber(m, 2000), m.Anchor1X);
                EXPECT_EQ(WavenumberAtX(m, m.Anchor1X), 2000.0);
                EXPECT_NEAR(WavenumberAtX(m, m.Anchor2X), 1000.0, 1e-9);
                EXPECT_NEAR(XOfWavenumber(m, 1000), m.Anchor2X, 1e-9);
                EXPECT_NEAR(WavenumberAtX(m, XOfWavenumber(m, 1000)), 1000.0, 1e-9);
            } else {
                EXPECT_NEAR(WavenumberAtX(m, m.Anchor1X), 2000.0, 1e-9);  // 5 um
            }
        }
    }
}

TEST(Mapping, YRangeAndSteps) {
    Spectrum s = test::MakeSpectrum(4000, -1, {40, 60, 90});  // top 95 (half), bottom 40
    MappingState m = MapFor(s, kTwo, 673, 348);
    EXPECT_EQ(m.PlotYTop, 95.0f);
    EXPECT_EQ(m.PlotYBottom, 40.0f);
    EXPECT_EQ(m.YMajorShift, 1);
    EXPECT_NEAR(m.YMajorStep, 348 / 5.5, 1e-12);
    EXPECT_NEAR(m.YMinorStep, 348 / 11.0, 1e-12);
    m = MapFor(s, kTwo, 673, 348, 1);
    EXPECT_EQ(m.PlotYTop, 100.0f);
    EXPECT_EQ(m.PlotYBottom, 0.0f);
    EXPECT_EQ(m.YMajorShift, 0);
    EXPECT_EQ(YOfTransmittance(m, 50, 0, 348), 174);
}

TEST(Mapping, DegenerateRangesFailInsteadOfDrawing) {
    Spectrum one = test::MakeSpectrum(1500, -1, {50});
    for (Mode mode : {kOne, kTwo, kThree, kWavelength}) {
        EXPECT_THROW(MapFor(one, mode, 673), ArithmeticFault);
    }
    Spectrum flatY = FlatSpectrum(4000, 400);
    flatY.YAxisTop = flatY.YAxisBottom = 50.0f;
    EXPECT_THROW(MapFor(flatY, kTwo, 673), ArithmeticFault);
    EXPECT_NO_THROW(MapFor(flatY, kTwo, 673, 348, 1));  // the fixed range does not care
    Spectrum upsideDown = FlatSpectrum(4000, 400);
    upsideDown.YAxisTop = 20.0f;
    upsideDown.YAxisBottom = 90.0f;
    EXPECT_THROW(MapFor(upsideDown, kTwo, 673), ArithmeticFault);

    Spectrum huge = FlatSpectrum(4000, 400);
    huge.FirstX = 1e308;
    EXPECT_THROW(MapFor(huge, kOne, 673), ArithmeticFault);
    Spectrum zeroWave = FlatSpectrum(4000, 400);
    zeroWave.LastWL = 1e308 * 10;  // infinite
    EXPECT_THROW(MapFor(zeroWave, kWavelength, 673), ArithmeticFault);

    DisplaySettings odd;
    odd.WavenumberSections = 7;
    MappingState m;
    EXPECT_THROW(SetUpMapping(m, flatY, odd, 673, 348), std::runtime_error);
}

TEST(Mapping, PositivePart) {
    EXPECT_EQ(PositivePart(5, 3), 2.0);
    EXPECT_EQ(PositivePart(3, 5), 0.0);
    EXPECT_EQ(PositivePart(-1, -1), 0.0);
}

}  // namespace
}  // namespace halvorn
