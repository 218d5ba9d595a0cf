#include "import/prn_reader.h"

#include <gtest/gtest.h>

#include "import/read_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/export_text.h"
#include "core/numbers.h"

namespace halvorn {
namespace {

using test::ExpectFailure;
using test::kSuffix;
using test::Percent;
using test::Wave;

ReadOutcome Read(const std::string& bytes, Spectrum& s, char separator = '.') {
    ReadRequest request;
    request.fileTitle = "t.prn";
    request.decimalSeparator = separator;
    return ReadPrnBytes(bytes, request, s);
}

// A table of the given points, one "x<TAB>y" line each.
std::string Table(const std::vector<std::pair<double, double>>& points,
                  const std::string& lineEnd = "\r\n") {
    std::string bytes;
    for (const auto& [x, y] : points) {
        bytes += DoubleText(x) + "\t" + DoubleText(y) + lineEnd;
    }
    return bytes;
}

TEST(PrnReader, DecimalCommasAreRead) {
    Spectrum s;
    ASSERT_TRUE(Read("4000,5\t95,2\r\n3999,5\t94,8\r\n", s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000.5f, 3999.5f}));
    EXPECT_EQ(Percent(s), (std::vector<double>{95.2, 94.8}));
    EXPECT_EQ(s.RawY[1], ToLong(95.2 * 41943.04));
}

TEST(PrnReader, BothOrdersEndWithTheLargestWavenumberFirst) {
    const std::vector<std::pair<double, double>> falling = {
        {4000, 50}, {3998.07119, 51}, {3996.14238, 52}};
    std::vector<std::pair<double, double>> rising(falling.rbegin(), falling.rend());
    for (const auto& points : {falling, rising}) {
        Spectrum s;
        ASSERT_TRUE(Read(Table(points), s).ok);
        EXPECT_EQ(Wave(s), (std::vector<float>{4000.0f, 3998.07119f, 3996.14238f}));
        EXPECT_EQ(Percent(s), (std::vector<double>{50, 51, 52}));
        // The step between the two points at the file's start or end.
        EXPECT_NEAR(s.DeltaX, -1.9288, 2e-4);
        EXPECT_EQ(s.FirstX, 4000.0);
        EXPECT_EQ(s.LastX, static_cast<double>(3996.14238f));
        EXPECT_EQ(s.FullFirstWL, 2.5);
        EXPECT_EQ(s.LastWL, 10000.0 / s.LastX);
        EXPECT_EQ(s.ViewLastPoint, 3);
        EXPECT_EQ(s.PointCountLabel, "Number of points: 3");
        EXPECT_EQ(s.FirstPointLabel, "First point: 4000 cm^(-1)");
        EXPECT_EQ(s.IntervalLabel, "points: -1.929 cm^(-1)");
    }
}

TEST(PrnReader, AxisProposalFromTheExtremes) {
    Spectrum s;
    ASSERT_TRUE(Read(Table({{4000, 40}, {3999, 60}, {3998, 55}}), s).ok);
    EXPECT_EQ(s.RawYMax, ToLong(60 * 41943.04));
    EXPECT_EQ(s.RawYMin, ToLong(40 * 41943.04));
    EXPECT_EQ(s.YAxisTop, 65.0f);
    EXPECT_TRUE(s.YAxisTopHalf);
    EXPECT_EQ(s.YAxisBottom, 40.0f);
    EXPECT_FALSE(s.YAxisBottomHalf);
}

TEST(PrnReader, TheOrdinateStartsAfterTheFirstTab) {
    Spectrum s;
    ASSERT_TRUE(Read("4000\t95.2\tnote\r\n3999\t94\t\r\n", s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{95.2, 94}));
}

TEST(PrnReader, LinesEndAtCrLfCrOrLf) {
    const std::vector<std::pair<double, double>> points = {{4000, 90}, {3999, 91}, {3998, 92}};
    Spectrum reference;
    ASSERT_TRUE(Read(Table(points), reference).ok);
    for (const char* end : {"\n", "\r"}) {
        Spectrum s;
        ASSERT_TRUE(Read(Table(points, end), s).ok);
        EXPECT_EQ(s.WaveX, reference.WaveX);
        EXPECT_EQ(s.RawY, reference.RawY);
    }
    // The last line needs no line end, and blank lines at the end are ignored.
    Spectrum s;
    ASSERT_TRUE(Read("4000\t90\r\n3999\t91\r\n3998\t92", s).ok);
    EXPECT_EQ(s.RawY, reference.RawY);
    ASSERT_TRUE(Read(Table(points) + "\r\n  \r\n\t\n\n", s).ok);
    EXPECT_EQ(s.RawY, reference.RawY);
    EXPECT_EQ(PrnTableLines("a\r\n\r\nb\r\rc\n \n"),
              (std::vector<std::string_view>{"a", "", "b", "", "c"}));
}

TEST(PrnReader, InnerBlankAndTextLinesArePointsAtZero) {
    Spectrum s;
    ASSERT_TRUE(Read("4000\t90\r\n\r\nabc\r\n3997\t93\r\n", s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 0, 0, 3997}));
    EXPECT_EQ(Percent(s), (std::vector<double>{90, 0, 0, 93}));
}

TEST(PrnReader, FailuresSayWhatIsWrong) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"empty file", "", "holds 0 lines"},
        {"one line", "4000\t95\r\n", "holds 1 line;"},
        {"blank first line", "\r\n4000\t95\r\n3999\t95\r\n", "Line 1 gives the abscissa 0"},
        {"text as the last line", "4000\t95\r\nend\r\n", "Line 2 gives the abscissa 0"},
        {"comma-separated, one number a line", "4000,95\n3999\n", "Line 2 gives the abscissa 0"},
        {"ordinate beyond a Long", "4000\t95\r\n3999\t1E8\r\n", "Line 2 holds a value too large"},
        {"abscissa beyond a Single", "4000\t95\r\n1E39\t95\r\n", "Line 2 holds a value too large"},
        {"number beyond a Double", "4000\t95\r\n3999\t1E999\r\n", "out of the range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Spectrum s;
        ExpectFailure(Read(c.bytes, s), s, c.message);
    }
}

TEST(PrnReader, AFailureKeepsTheLabelsSetBeforeIt) {
    Spectrum s;
    ExpectFailure(Read("4000\t95\r\n", s), s, "holds 1 line;");
    EXPECT_EQ(s.PointCountLabel, "Number of points: 1");
    EXPECT_EQ(s.IntervalLabel, "");

    // The count and the step come before the first and last abscissa are used.
    ExpectFailure(Read("\r\n4000\t95\r\n3999\t95\r\n", s), s, "Line 1 gives the abscissa 0");
    EXPECT_EQ(s.PointCountLabel, "Number of points: 3");
    EXPECT_EQ(s.IntervalLabel, "points: 1 cm^(-1)");
}

TEST(PrnReader, HoldsUpTo32767Lines) {
    std::string bytes;
    for (int k = 0; k < 32767; ++k) {
        bytes += std::to_string(4000 - k * 0.1) + "\t50\n";
    }
    Spectrum s;
    ASSERT_TRUE(Read(bytes, s).ok);
    EXPECT_EQ(s.PointCount, 32767);
    EXPECT_EQ(s.ViewLastPoint, 32767);
    ExpectFailure(Read(bytes + "1\t50\n", s), s, "more than 32767 lines");
}

TEST(PrnReader, KeepsTheHeaderAndLabelsOfThePreviousSpectrum) {
    Spectrum s;
    s.HeaderList = {"header"};
    s.Label14[0] = "Sample: x";
    s.FileIsAbsorbance = true;
    s.YFactor = kAbsorbanceYFactor;
    ASSERT_TRUE(Read(Table({{4000, 90}, {3999, 91}}), s).ok);
    EXPECT_EQ(s.HeaderList, std::vector<std::string>{"header"});
    EXPECT_EQ(s.Label14[0], "Sample: x");
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(s.YFactor, kTransmittanceYFactor);
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (t.prn)");
}

TEST(PrnReader, ExportTextsDescribeTheLoadedSpectrum) {
    Spectrum s;
    ASSERT_TRUE(Read("3999,5\t91\r\n4000,5\t90,5\r\n", s, ',').ok);
    EXPECT_EQ(ExportTextOf(s, ExportText::X), "4000,5\r\n3999,5\r\n");
    EXPECT_EQ(ExportTextOf(s, ExportText::StoredY), IntegerText(ToLong(90.5 * 41943.04)) + "\r\n" +
                                                        IntegerText(ToLong(91 * 41943.04)) +
                                                        "\r\n");
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues)
                  .substr(0, ExportTextOf(s, ExportText::YValues).find('\r')),
              DoubleText(s.RawY[1] / 41943.04, ','));
    EXPECT_EQ(s.FirstPointLabel, "First point: 4000,5 cm^(-1)");
    EXPECT_EQ(s.IntervalLabel, "points: -1 cm^(-1)");

    EXPECT_FALSE(Read("garbage", s).ok);
    EXPECT_TRUE(ExportTextOf(s, ExportText::X).empty());
}

TEST(PrnReader, MissingFileFails) {
    Spectrum s;
    ExpectFailure(ReadPrnFile("/nonexistent/none.prn", {}, s), s, "cannot be opened");
    EXPECT_EQ(s.YFactor, kTransmittanceYFactor);  // set before the file is opened
}

}  // namespace
}  // namespace halvorn

namespace halvorn {
namespace {

TEST(PrnReader, ShortNumbersReadAsTheGeneralPathReadsThem) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> ordinate(-5.0, 100.0);
    std::uniform_int_distribution<int> form(0, 4);
    const auto spell = [&](double value, int which) {
        char text[64];
        const char* formats[] = {"%.4f", "%.1f", "%+.6f", "%.17g", "%.0f"};
        std::snprintf(text, sizeof text, formats[which], value);
        std::string spelled = text;
        if (which == 1) {
            std::replace(spelled.begin(), spelled.end(), '.', ',');
        }
        return (form(random) == 0 ? "  " : "") + spelled;
    };
    std::string quick;
    std::string general;
    for (int k = 0; k < 500; ++k) {
        const std::string line = spell(4000.0 - 0.37 * k, form(random)) + "\t" +
                                 (form(random) == 0 ? " \t" : "") +
                                 spell(ordinate(random), form(random));
        quick += line + "\r\n";
        general += line + " \r\n";  // a blank after the ordinate takes the general path
    }
    Spectrum a;
    Spectrum b;
    ASSERT_TRUE(Read(quick, a).ok);
    ASSERT_TRUE(Read(general, b).ok);
    EXPECT_EQ(a.RawY, b.RawY);
    EXPECT_EQ(a.WaveX, b.WaveX);
    EXPECT_EQ(a.IntervalLabel, b.IntervalLabel);
}

}  // namespace
}  // namespace halvorn
