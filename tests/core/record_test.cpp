#include "core/record.h"

#include <gtest/gtest.h>

#include "core/export_text.h"
#include "core/numbers.h"

namespace halvorn {
namespace {

struct Axis {
    float top, bottom;
    bool topHalf, bottomHalf;
};

Axis Propose(float tmax, float tmin) {
    Spectrum s;
    SetYAxisFromExtremes(s, tmax, tmin);
    return {s.YAxisTop, s.YAxisBottom, s.YAxisTopHalf, s.YAxisBottomHalf};
}

TEST(SetYAxisFromExtremes, ProposesMultiplesOfFive) {
    Axis a = Propose(92.3f, 17.0f);
    EXPECT_EQ(a.top, 95.0f);
    EXPECT_TRUE(a.topHalf);
    EXPECT_EQ(a.bottom, 15.0f);
    EXPECT_TRUE(a.bottomHalf);

    a = Propose(96.0f, 3.2f);
    EXPECT_EQ(a.top, 100.0f);
    EXPECT_FALSE(a.topHalf);
    EXPECT_EQ(a.bottom, 0.0f);
    EXPECT_FALSE(a.bottomHalf);

    a = Propose(100.0f, 0.0f);
    EXPECT_EQ(a.top, 105.0f);
    EXPECT_TRUE(a.topHalf);
    EXPECT_EQ(a.bottom, 0.0f);

    a = Propose(95.0f, -2.0f);
    EXPECT_EQ(a.top, 95.0f);
    EXPECT_TRUE(a.topHalf);
    EXPECT_EQ(a.bottom, -5.0f);
    EXPECT_TRUE(a.bottomHalf);

    a = Propose(90.0f, 50.0f);  // a maximum on a multiple of 10 gets room above it
    EXPECT_EQ(a.top, 95.0f);
    EXPECT_EQ(a.bottom, 50.0f);
}

TEST(SetYAxisFromExtremes, RoundsToTwoDecimalsFirst) {
    // 94.996 rounds to 95.00, which ends in 5: the top stays at 95.
    EXPECT_EQ(Propose(94.996f, 10.0f).top, 95.0f);
    // 85.006 rounds to 85.01: 90 - 85.01 < 5, so no lowering; 84.994 rounds to
    // 84.99, which leaves more than 5.
    EXPECT_EQ(Propose(85.006f, 10.0f).top, 90.0f);
    EXPECT_EQ(Propose(84.994f, 10.0f).top, 85.0f);
}

TEST(SetYAxisFromExtremes, AFlatLineAlwaysGetsASpan) {
    // On an odd multiple of 5 the top and bottom would meet: 10 more each way.
    Axis a = Propose(55.0f, 55.0f);
    EXPECT_EQ(a.top, 65.0f);
    EXPECT_TRUE(a.topHalf);
    EXPECT_EQ(a.bottom, 45.0f);
    EXPECT_TRUE(a.bottomHalf);
    a = Propose(-5.0f, -5.0f);
    EXPECT_EQ(a.top, 5.0f);
    EXPECT_EQ(a.bottom, -15.0f);
    // Flat elsewhere already has a span and keeps its proposal.
    a = Propose(50.0f, 50.0f);
    EXPECT_EQ(a.top, 55.0f);
    EXPECT_EQ(a.bottom, 50.0f);
    a = Propose(57.3f, 57.3f);
    EXPECT_EQ(a.top, 60.0f);
    EXPECT_EQ(a.bottom, 55.0f);
}

TEST(SetYAxisFromExtremes, HugeExtremeIsAFault) {
    Spectrum s;
    EXPECT_THROW(SetYAxisFromExtremes(s, 3e7f, 0.0f), ArithmeticFault);
}

Spectrum Ascending() {
    Spectrum s;
    s.PointCount = 3;
    s.StepCount = 2;
    s.WaveX = {0.0f, 400.0f, 500.0f, 600.0f};
    s.RawY = {0, 10, 20, 30};
    s.DeltaX = 100.0;
    s.FirstX = s.FullFirstX = 400.0;
    s.LastX = s.FullLastX = 600.0;
    s.FirstWL = s.FullFirstWL = 25.0;
    s.LastWL = s.FullLastWL = 10000.0 / 600.0;
    s.ViewFirstPoint = 1;
    s.ViewLastPoint = 3;
    return s;
}

TEST(PutLargestWavenumberFirst, ReversesAnAscendingSpectrum) {
    Spectrum s = Ascending();
    EXPECT_TRUE(PutLargestWavenumberFirst(s));
    EXPECT_EQ(s.WaveX, (std::vector<float>{0.0f, 600.0f, 500.0f, 400.0f}));
    EXPECT_EQ(s.RawY, (std::vector<std::int32_t>{0, 30, 20, 10}));
    EXPECT_EQ(s.DeltaX, -100.0);
    EXPECT_EQ(s.FirstX, 600.0);
    EXPECT_EQ(s.LastX, 400.0);
    EXPECT_EQ(s.FullFirstX, 600.0);
    EXPECT_EQ(s.FullLastX, 400.0);
    EXPECT_DOUBLE_EQ(s.FirstWL, 10000.0 / 600.0);
    EXPECT_EQ(s.LastWL, 25.0);
    EXPECT_DOUBLE_EQ(s.FullFirstWL, 10000.0 / 600.0);
    EXPECT_EQ(s.FullLastWL, 25.0);
    EXPECT_EQ(s.ViewFirstPoint, 1);
    EXPECT_EQ(s.ViewLastPoint, 3);

    EXPECT_FALSE(PutLargestWavenumberFirst(s));  // already descending
}

TEST(ExportTexts, OneLinePerPointAndDefaultNames) {
    Spectrum s = Ascending();
    s.YFactor = 41943.04;
    s.RawY = {0, 4194304, -1, 20971520};
    BuildExportTexts(s);
    EXPECT_EQ(s.ZZ, "4194304\r\n-1\r\n20971520\r\n");
    EXPECT_EQ(s.ZZX, "400\r\n500\r\n600\r\n");
    EXPECT_EQ(s.ZZYE, "100\r\n-2.38418579101562E-05\r\n500\r\n");
    EXPECT_EQ(s.DataTextBox, s.ZZ);
    EXPECT_EQ(SavedFileBytes(s, ExportText::X), "400\r\n500\r\n600\r\n\r\n");

    EXPECT_EQ(DefaultSaveName(s, ExportText::StoredY), "Demo(Y).txt");
    EXPECT_EQ(DefaultSaveName(s, ExportText::X), "Demo(X).txt");
    EXPECT_EQ(DefaultSaveName(s, ExportText::YValues), "Demo(Y%).txt");
    s.OpenedFilePath = "/data/b.jdx";
    EXPECT_EQ(DefaultSaveName(s, ExportText::StoredY), "/data/b.(Y).txt");
    // Characters, not bytes: "é" is two bytes in UTF-8, "€" three.
    s.OpenedFilePath = "/data/a.\xC3\xA9\xE2\x82\xAC\x78";
    EXPECT_EQ(DefaultSaveName(s, ExportText::StoredY), "/data/a.(Y).txt");
    s.OpenedFilePath = "ab";
    EXPECT_EQ(DefaultSaveName(s, ExportText::X), "(X).txt");
    s.OpenedFilePath = "/data/sample.sp";
    s.FileIsAbsorbance = true;
    EXPECT_EQ(DefaultSaveName(s, ExportText::YValues), "/data/sample(Y(Absorbance)).txt");
}

}  // namespace
}  // namespace halvorn
