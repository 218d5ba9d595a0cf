#include "import/jcamp_reader.h"

#include <gtest/gtest.h>

#include "import/read_checks.h"

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

const std::string kNoXyData =
    "Cannot open!\r\nThis file is corrupted,\r\nor has unsupported format." + kSuffix;

// A JCAMP-DX file of header lines and data lines; labels left empty are not
// written.
struct JcampFile {
    std::vector<std::string> before;  // lines before the unit labels
    std::string xUnits = "1/CM";
    std::string yUnits = "TRANSMITTANCE";
    std::string yFactor = "1";
    std::string deltaX = "-1";
    std::string firstX = "4000";
    std::string lastX = "3995";
    std::string minY = "0.9";
    std::string maxY = "0.95";
    std::string nPoints = "6";
    std::vector<std::string> data = {"4000 0.95 0.94 0.93", "3997 0.92 0.91 0.9"};
    std::string lineEnd = "\n";

    std::string Bytes() const {
        std::vector<std::string> lines = {"##TITLE=Test"};
        lines.insert(lines.end(), before.begin(), before.end());
        auto put = [&](const std::string& label, const std::string& value) {
            if (!value.empty()) {
                lines.push_back(label + value);
            }
        };
        put("##XUNITS=", xUnits);
        put("##YUNITS=", yUnits);
        put("##YFACTOR=", yFactor);
        put("##DELTAX=", deltaX);
        put("##FIRSTX=", firstX);
        put("##LASTX=", lastX);
        put("##MINY=", minY);
        put("##MAXY=", maxY);
        put("##NPOINTS=", nPoints);
        lines.push_back("##XYDATA=(X++(Y..Y))");
        lines.insert(lines.end(), data.begin(), data.end());
        lines.push_back("##END=");
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += line + lineEnd;
        }
        return bytes;
    }
};

ReadOutcome Read(const std::string& bytes, Spectrum& s, char separator = '.') {
    ReadRequest request;
    request.fileTitle = "t.jdx";
    request.decimalSeparator = separator;
    return ReadJcampBytes(bytes, request, s);
}

ReadOutcome Read(const JcampFile& file, Spectrum& s) {
    return Read(file.Bytes(), s);
}

float Single(double value) {
    return static_cast<float>(value);
}

TEST(JcampReader, ThreeOrdinatesPerLineWithTheirDiagnostics) {
    Spectrum s;
    ASSERT_TRUE(Read(JcampFile{}, s).ok);
    EXPECT_EQ(s.PointCount, 6);
    EXPECT_EQ(s.StepCount, 5);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998, 3997, 3996, 3995}));
    EXPECT_EQ(Percent(s), (std::vector<double>{95, 94, 93, 92, 91, 90}));
    EXPECT_EQ(s.YFactor, 41943.04);
    EXPECT_EQ(s.DeltaX, -1.0);
    EXPECT_EQ(s.FirstX, 4000.0);
    EXPECT_EQ(s.LastX, 3995.0);
    EXPECT_EQ(s.FullFirstX, 4000.0);
    EXPECT_EQ(s.FullLastWL, 10000.0 / 3995.0);
    EXPECT_EQ(s.ViewFirstPoint, 1);
    EXPECT_EQ(s.ViewLastPoint, 6);
    EXPECT_EQ(s.RawYMin, ToLong(0.9 * 100 * 41943.04));
    EXPECT_EQ(s.RawYMax, ToLong(0.95 * 100 * 41943.04));
    EXPECT_EQ(s.YAxisTop, 95.0f);  // a maximum of 95 % is the top itself
    EXPECT_TRUE(s.YAxisTopHalf);
    EXPECT_EQ(s.YAxisBottom, 90.0f);
    EXPECT_FALSE(s.YAxisBottomHalf);
    EXPECT_EQ(s.PointCountLabel, "Number of points: 6");
    EXPECT_EQ(s.FirstPointLabel, "First point: 4000 cm^(-1)");
    EXPECT_EQ(s.IntervalLabel, "points: -1 cm^(-1)");
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (t.jdx)");
    // A descending file is reversed twice: by the file orientation, then back
    // to the largest wavenumber first; InicHcm shows the first abscissa in
    // between.
    EXPECT_EQ(s.DiagnosticList,
              (std::vector<std::string>{"Yfactor = 1", "6", "YirminL = 0.9", "YirmaxL = 0.95",
                                        "XP(1)=4000", "XP(2)=3997", "MaxG=3", "NoInvert=False",
                                        "InicHcm=3995", "YirminL = 0.9", "YirmaxL = 0.95",
                                        "Yirmin = 90.0000095367432", "Yirmax = 95.0000047683716"}));
    EXPECT_EQ(s.HeaderList.size(), 11u);
    EXPECT_EQ(s.HeaderList.back(), "##XYDATA=(X++(Y..Y))");
    EXPECT_EQ(s.Label14[0], "Test");
    EXPECT_EQ(s.Label14[5], "XUNITS=1/CM");
    EXPECT_EQ(s.Label14[6], "YUNITS=TRANSMITTANCE");
}

TEST(JcampReader, LfAndCrLfLineEndsReadAlike) {
    JcampFile lf;
    JcampFile crlf;
    crlf.lineEnd = "\r\n";
    Spectrum a;
    Spectrum b;
    ASSERT_TRUE(Read(lf, a).ok);
    ASSERT_TRUE(Read(crlf, b).ok);
    EXPECT_EQ(a.WaveX, b.WaveX);
    EXPECT_EQ(a.RawY, b.RawY);
    EXPECT_EQ(a.HeaderList, b.HeaderList);
    EXPECT_EQ(a.DiagnosticList, b.DiagnosticList);
}

TEST(JcampReader, EveryOrderEndsWithTheLargestWavenumberFirst) {
    struct Case {
        const char* name;
        std::string deltaX, firstX, lastX;
        std::vector<std::string> data;
        const char* noInvert;
        const char* inicHcm;
    };
    const std::vector<Case> cases = {
        {"ascending",
         "1",
         "3995",
         "4000",
         {"3995 0.9 0.91 0.92", "3998 0.93 0.94 0.95"},
         "False",
         "4000"},
        {"descending",
         "-1",
         "4000",
         "3995",
         {"4000 0.95 0.94 0.93", "3997 0.92 0.91 0.9"},
         "False",
         "3995"},
        {"ascending, DELTAX of the wrong sign",
         "-1",
         "3995",
         "4000",
         {"3995 0.9 0.91 0.92", "3998 0.93 0.94 0.95"},
         "True",
         "3995"},
        {"descending, DELTAX of the wrong sign",
         "1",
         "4000",
         "3995",
         {"4000 0.95 0.94 0.93", "3997 0.92 0.91 0.9"},
         "True",
         "4000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JcampFile file;
        file.deltaX = c.deltaX;
        file.firstX = c.firstX;
        file.lastX = c.lastX;
        file.data = c.data;
        Spectrum s;
        ASSERT_TRUE(Read(file, s).ok);
        EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998, 3997, 3996, 3995}));
        EXPECT_EQ(Percent(s), (std::vector<double>{95, 94, 93, 92, 91, 90}));
        EXPECT_EQ(s.DeltaX, -1.0);
        EXPECT_EQ(s.FirstX, 4000.0);
        EXPECT_EQ(s.LastX, 3995.0);
        EXPECT_EQ(s.FullFirstWL, 2.5);
        EXPECT_EQ(s.FullLastX, 3995.0);
        EXPECT_EQ(s.FirstPointLabel, "First point: 4000 cm^(-1)");
        EXPECT_EQ(s.IntervalLabel, "points: -1 cm^(-1)");
        EXPECT_EQ(s.DiagnosticList[7], std::string("NoInvert=") + c.noInvert);
        EXPECT_EQ(s.DiagnosticList[8], std::string("InicHcm=") + c.inicHcm);
    }
}

TEST(JcampReader, TheSecondLineGivesTheDirectionEvenBeyondThePointCount) {
    JcampFile file;
    file.deltaX = "1";  // the wrong sign
    file.nPoints = "3";
    file.lastX = "3998";
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998}));
    EXPECT_EQ(s.DiagnosticList[5], "XP(2)=3997");
}

TEST(JcampReader, HeaderExtremesThatDoNotHoldThePointsGiveWayToThePoints) {
    struct Case {
        const char* why;
        const char* minY;
        const char* maxY;
        const char* yFactor;
    };
    // The points run from 20 to 90 %T.
    for (const Case& c : {Case{"MINY above MAXY", "0.9", "0.2", "1"},
                          Case{"extremes in percent, not as fractions", "20", "90", "100"},
                          Case{"MAXY far below the points", "0.2", "0.5", "1"}}) {
        JcampFile file;
        file.minY = c.minY;
        file.maxY = c.maxY;
        file.yFactor = c.yFactor;
        const double scale = 1.0 / std::stod(c.yFactor);
        file.data.clear();
        for (int line = 0; line < 2; ++line) {
            std::string text = std::to_string(4000 - 3 * line);
            for (double t : {0.2, 0.9, 0.5}) {
                text += " " + std::to_string(t * scale);
            }
            file.data.push_back(text);
        }
        Spectrum s;
        ASSERT_TRUE(Read(file, s).ok) << c.why;
        EXPECT_EQ(s.RawYMin, ToLong(0.2 * 100 * 41943.04)) << c.why;
        EXPECT_EQ(s.RawYMax, ToLong(0.9 * 100 * 41943.04)) << c.why;
        EXPECT_EQ(s.YAxisTop, 95.0f) << c.why;
        EXPECT_EQ(s.YAxisBottom, 20.0f) << c.why;
    }
    // Extremes rounded a little inside the points are the header's own.
    JcampFile file;
    file.minY = "0.205";
    file.maxY = "0.895";
    file.data = {"4000 0.2 0.9 0.5", "3997 0.2 0.9 0.5"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.RawYMin, ToLong(0.205 * 100 * 41943.04));
    EXPECT_EQ(s.RawYMax, ToLong(0.895 * 100 * 41943.04));
}

TEST(JcampReader, AbsorbanceOrdinatesBecomeTransmittance) {
    JcampFile file;
    file.yUnits = "ABSORBANCE";
    file.minY = "0.1";
    file.maxY = "1.5";
    file.data = {"4000 1 0.1 1.5", "3997 0.2 1.5 0.5"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{10, 79.4328, 3.1623, 63.0957, 3.1623, 31.6228}));
    // MINY and MAXY change places: the largest absorbance is the smallest %T.
    EXPECT_EQ(s.RawYMax, ToLong(1 / std::pow(10.0, 0.1) * 100 * 41943.04));
    EXPECT_EQ(s.RawYMin, ToLong(1 / std::pow(10.0, 1.5) * 100 * 41943.04));
    EXPECT_EQ(s.YAxisTop, 80.0f);
    EXPECT_EQ(s.YAxisBottom, 0.0f);
    EXPECT_EQ(s.DiagnosticList[9], "YirminL = " + DoubleText(1 / std::pow(10.0, 1.5)));
}

// Every stored point is its ordinate's nearest stored value and its
// wavenumber as a Single, however many points there are, in either order, for
// wavenumbers and wavelengths, transmittances and absorbances, among them one
// that lies so near a tie of two roundings that only pow can tell it.
TEST(JcampReader, EveryPointIsStoredAsDefinedAtEveryLength) {
    const double scale = 100.0 * kTransmittanceYFactor;
    // 10^-a x scale is 1000000.5 to the last digit written.
    const double nearTie = -std::log10(1000000.5 / scale);
    for (const bool micrometres : {false, true}) {
        for (const bool absorbance : {false, true}) {
            for (const bool ascending : {false, true}) {
                // The file's abscissae: whole wavenumbers, or half micrometres.
                const double start = micrometres ? (ascending ? 2 : 8) : (ascending ? 3000 : 4000);
                const double step = (micrometres ? 0.5 : 1.0) * (ascending ? 1 : -1);
                // A spectrum in micrometres needs two points.
                for (int n = micrometres ? 2 : 1; n <= 13; ++n) {
                    SCOPED_TRACE(std::to_string(n) + (ascending ? " ascending" : " descending") +
                                 (absorbance ? ", absorbance" : "") +
                                 (micrometres ? ", micrometres" : ""));
                    std::vector<double> values;
                    std::string line = DoubleText(start);
                    for (int k = 0; k < n; ++k) {
                        const double v = k == n / 2 && absorbance ? nearTie : 0.05 + 0.11 * k;
                        values.push_back(std::stod(DoubleText(v)));
                        line += " " + DoubleText(v);
                    }
                    JcampFile file;
                    file.xUnits = micrometres ? "MICROMETERS" : "1/CM";
                    file.yUnits = absorbance ? "ABSORBANCE" : "TRANSMITTANCE";
                    file.deltaX = DoubleText(step);
                    file.firstX = DoubleText(start);
                    file.lastX = DoubleText(start + (n - 1) * step);
                    file.nPoints = std::to_string(n);
                    file.minY = "";
                    file.maxY = "";
                    file.data = {line};
                    Spectrum s;
                    const ReadOutcome outcome = Read(file, s);
                    ASSERT_TRUE(outcome.ok) << outcome.message;
                    ASSERT_EQ(s.PointCount, n);
                    // The largest wavenumber comes first.
                    const bool largestFirst = micrometres == ascending;
                    for (int k = 1; k <= n; ++k) {
                        const int from = largestFirst ? k - 1 : n - k;
                        const double a = values[static_cast<std::size_t>(from)];
                        const double t = absorbance ? Divide(1.0, std::pow(10.0, a)) : a;
                        const double x = start + from * step;
                        EXPECT_EQ(s.RawY[static_cast<std::size_t>(k)], ToLong(t * scale)) << k;
                        EXPECT_EQ(s.WaveX[static_cast<std::size_t>(k)],
                                  Single(micrometres ? 10000.0 / x : x))
                            << k;
                    }
                }
            }
        }
    }
}

TEST(JcampReader, MissingMinYOrMaxYIsTakenFromThePoints) {
    // Without them the header values would be 0 and the axis 0..5 %T.
    JcampFile file;
    file.minY.clear();
    file.maxY.clear();
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.RawYMax, ToLong(95 * 41943.04));
    EXPECT_EQ(s.RawYMin, ToLong(90 * 41943.04));
    EXPECT_EQ(s.YAxisTop, 95.0f);
    EXPECT_EQ(s.YAxisBottom, 90.0f);

    file.maxY = "0.99";  // a given value is kept
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.RawYMax, ToLong(99 * 41943.04));
    EXPECT_EQ(s.RawYMin, ToLong(90 * 41943.04));

    file.yUnits = "ABSORBANCE";  // MAXY absent: the smallest %T comes from the points
    file.maxY.clear();
    file.minY = "0";
    file.data = {"4000 1 0 2", "3997 0.1 1.5 0.5"};
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.RawYMax, ToLong(100 * 41943.04));
    EXPECT_EQ(s.RawYMin, ToLong(1 * 41943.04));
}

TEST(JcampReader, MultGlobalScalesOrdinatesAndMayComeFromTheFile) {
    JcampFile file;
    file.data = {"4000 95 94 93", "3997 92 91 90"};
    file.minY = "90";
    file.maxY = "95";
    Spectrum percent;
    percent.MultGlobal = 0.01;
    ASSERT_TRUE(Read(file, percent).ok);
    EXPECT_EQ(Percent(percent), (std::vector<double>{95, 94, 93, 92, 91, 90}));
    EXPECT_EQ(percent.YAxisTop, 95.0f);

    file.before = {"##MultGlobal=0.01"};
    Spectrum fromFile;
    ASSERT_TRUE(Read(file, fromFile).ok);
    EXPECT_EQ(fromFile.MultGlobal, 0.01);
    EXPECT_EQ(Percent(fromFile), Percent(percent));
    EXPECT_EQ(fromFile.DiagnosticList[0], "Yfactor = 1");
}

TEST(JcampReader, UnitValuesAreTrimmedAndCaseFree) {
    for (const char* unit : {" 1/CM", "1/CM ", "1/cm", " CM-1", "cm-1"}) {
        SCOPED_TRACE(unit);
        JcampFile file;
        file.xUnits = unit;
        file.yUnits = " absorbance ";
        file.data = {"4000 1 1 1", "3997 1 1 1"};
        Spectrum s;
        ASSERT_TRUE(Read(file, s).ok);
        EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998, 3997, 3996, 3995}));
        EXPECT_EQ(Percent(s), std::vector<double>(6, 10.0));
        EXPECT_EQ(s.Label14[5], std::string("XUNITS=") + unit);
    }
}

TEST(JcampReader, WithoutYFactorEveryOrdinateIsZero) {
    JcampFile file;
    file.yFactor.clear();
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Percent(s), std::vector<double>(6, 0.0));
    EXPECT_EQ(s.DiagnosticList[0], "6");
}

TEST(JcampReader, SampleLabelsAndTheirShortening) {
    const std::string system58 = "##SPECTROMETER/DATA SYSTEM=" + std::string(33, 'S');
    const std::string system61 = "##SPECTROMETER/DATA SYSTEM=" + std::string(34, 'S');
    JcampFile file;
    file.before = {"##DATE=1964", "##STATE=GAS", system58};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.Label14[1], "1964");
    EXPECT_EQ(s.Label14[2], "GAS");
    EXPECT_EQ(s.Label14[3], "");
    EXPECT_EQ(s.Label14[4], std::string(33, 'S'));

    file.before = {"##STATE=" + std::string(21, 'g'), system61, "##DATE=x"};
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.Label14[2], std::string(20, 'g') + "...");
    EXPECT_EQ(s.Label14[4], std::string(32, 'S') + "...");

    file.before = {"##STATE=" + std::string(20, 'g')};  // 28 characters: kept whole
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.Label14[2], std::string(20, 'g'));
    EXPECT_EQ(s.Label14[1], "");  // every read starts with empty labels
}

TEST(JcampReader, LabelsUseTheRequestedDecimalSeparator) {
    JcampFile file;
    file.deltaX = "-0.5";
    file.firstX = "4000.5";
    file.lastX = "3998";
    file.data = {"4000.5 0.95 0.94 0.93", "3999 0.92 0.91 0.9"};
    Spectrum s;
    ASSERT_TRUE(Read(file.Bytes(), s, ',').ok);
    EXPECT_EQ(s.FirstPointLabel, "First point: 4000,5 cm^(-1)");
    EXPECT_EQ(s.IntervalLabel, "points: -0,5 cm^(-1)");
    EXPECT_EQ(ExportTextOf(s, ExportText::X).substr(0, 8), "4000,5\r\n");
}

TEST(JcampReader, TheDataLineMustBeAmongTheFirst80Lines) {
    JcampFile file;
    file.before = std::vector<std::string>(68, "$$ comment");  // ##XYDATA on line 79
    Spectrum s;
    EXPECT_TRUE(Read(file, s).ok);
    file.before.push_back("$$");  // line 80
    EXPECT_TRUE(Read(file, s).ok);
    file.before.push_back("$$");  // line 81
    ReadOutcome outcome = Read(file, s);
    ExpectFailure(outcome, s, "Cannot open!");
    EXPECT_EQ(outcome.message, kNoXyData);
    EXPECT_EQ(s.HeaderList.size(), 80u);
    EXPECT_EQ(s.DiagnosticList,
              (std::vector<std::string>{"Yfactor = 1", "6", "YirminL = 0.9", "YirmaxL = 0.95"}));

    // A short file without ##XYDATA ends with the same message.
    outcome = Read("##TITLE=x\n##XUNITS=1/CM\n", s);
    EXPECT_EQ(outcome.message, kNoXyData);
    EXPECT_EQ(Read("", s).message, kNoXyData);
}

TEST(JcampReader, CrOnlyLinesAndTextAfterTheLastLfAreNotRead) {
    JcampFile file;
    file.lineEnd = "\r";
    Spectrum s;
    ExpectFailure(Read(file, s), s, "CR alone");

    // Without a final LF the last line is dropped: here the ##END= line.
    std::string bytes = JcampFile{}.Bytes();
    bytes.pop_back();
    EXPECT_TRUE(Read(bytes, s).ok);
    // ... and here the last data line.
    bytes = JcampFile{}.Bytes();
    bytes.resize(bytes.size() - std::string("\n##END=\n").size());
    ExpectFailure(Read(bytes, s), s, "holds 3 of the 6 points");
}

TEST(JcampReader, HeaderValuesThatCannotPlaceThePointsAreRefused) {
    struct Case {
        const char* name;
        void (*change)(JcampFile&);
        const char* message;
    };
    const std::vector<Case> cases = {
        {"zero DELTAX", [](JcampFile& f) { f.deltaX = "0"; }, "##DELTAX=) is 0"},
        {"unknown abscissa unit", [](JcampFile& f) { f.xUnits = "HZ"; }, "\"HZ\" is not supported"},
        {"too many points", [](JcampFile& f) { f.nPoints = "32768"; }, "holds 1 to 32767"},
        {"no points", [](JcampFile& f) { f.nPoints = "0"; }, "holds 1 to 32767"},
        {"point count beyond a Long", [](JcampFile& f) { f.nPoints = "1E12"; }, "out of range"},
        {"first abscissa that is not the data's", [](JcampFile& f) { f.firstX = "4100"; },
         "##FIRSTX=4100 does not agree"},
        {"lines that do not follow DELTAX",
         [](JcampFile& f) {
             f.data = {"4000 0.95 0.94 0.93", "3990 0.92 0.91 0.9"};
         },
         "Data line 13 starts at 3990"},
        {"number beyond a Double", [](JcampFile& f) { f.data[1] = "3997 0.92 0.91 1E999"; },
         "out of the range"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JcampFile file;
        c.change(file);
        Spectrum s;
        ExpectFailure(Read(file, s), s, c.message);
    }

    // A zero step fails where MaxG is computed, an unknown unit where the
    // orientation is chosen: the diagnostic lines before them are written.
    JcampFile flat;
    flat.deltaX = "0";
    Spectrum f;
    ExpectFailure(Read(flat, f), f, "is 0");
    EXPECT_EQ(f.DiagnosticList.back(), "XP(2)=3997");
    JcampFile hertz;
    hertz.xUnits = "HZ";
    ExpectFailure(Read(hertz, f), f, "not supported");
    EXPECT_EQ(f.DiagnosticList.back(), "MaxG=3");

    // A spectrum that reaches 0 cm-1 fails after the count and step are shown.
    JcampFile zero;
    zero.deltaX = "1";
    zero.firstX = "0";
    zero.lastX = "5";
    zero.data = {"0 0.5 0.6 0.7", "3 0.8 0.8 0.8"};
    Spectrum s;
    ExpectFailure(Read(zero, s), s, "reaches 0 cm^(-1)");
    EXPECT_EQ(s.PointCountLabel, "Number of points: 6");
    EXPECT_EQ(s.IntervalLabel, "points: -1 cm^(-1)");
    EXPECT_EQ(s.FirstPointLabel, "");
}

TEST(JcampReader, LabelsMissingAndOrdinatesBeyondTransmittanceGoToTheGeneralReader) {
    // What this reader refuses for a label it needs or for ordinates that
    // are no transmittances, the general reader reads, and says so.
    struct Case {
        const char* name;
        void (*change)(JcampFile&);
        std::vector<double> percent;
    };
    const std::vector<Case> cases = {
        {"no point count", [](JcampFile& f) { f.nPoints.clear(); }, {95, 94, 93, 92, 91, 90}},
        {"no last abscissa for an ascending file",
         [](JcampFile& f) {
             f.deltaX = "1";
             f.lastX.clear();
             f.data = {"3995 0.9 0.91 0.92", "3998 0.93 0.94 0.95"};
             f.firstX = "3995";
         },
         {95, 94, 93, 92, 91, 90}},
        {"MAXY beyond every ordinate",
         [](JcampFile& f) { f.maxY = "1E7"; },
         {95, 94, 93, 92, 91, 90}},
        // Counts rather than transmittances are scaled into 0..100.
        {"ordinate far beyond 100 %T",
         [](JcampFile& f) {
             f.data = {"4000 0 10 20", "3997 30 40 100000"};
         },
         {0, 0.01, 0.02, 0.03, 0.04, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JcampFile file;
        c.change(file);
        Spectrum s;
        ASSERT_TRUE(Read(file, s).ok);
        EXPECT_EQ(s.DiagnosticList.front(), "read as standard JCAMP-DX: AFFN, 6 points");
        EXPECT_EQ(Percent(s), c.percent);
    }

    // Without a unit and without a data type the file does not say what it
    // holds.
    JcampFile noUnit;
    noUnit.xUnits.clear();
    Spectrum s;
    ExpectFailure(Read(noUnit, s), s, "does not say what it holds");
}

TEST(JcampReader, LinesOfVaryingLengthPlaceEveryOrdinate) {
    JcampFile file;
    file.nPoints = "7";
    file.lastX = "3994";
    file.data = {"4000 0.95 0.94 0.93", "3997 0.92 0.91", "3995 0.9", "3994 0.89 0.88"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998, 3997, 3996, 3995, 3994}));
    EXPECT_EQ(Percent(s), (std::vector<double>{95, 94, 93, 92, 91, 90, 89}));
}

TEST(JcampReader, BlankRunsTabsAndLeadingBlanksSeparateValues) {
    JcampFile file;
    file.data = {"  4000   0.95\t0.94 \t 0.93  ", "\t3997 0.92  0.91   0.9 $$ checksum 12"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998, 3997, 3996, 3995}));
    EXPECT_EQ(Percent(s), (std::vector<double>{95, 94, 93, 92, 91, 90}));
}

TEST(JcampReader, CompressedDataGoToTheGeneralReaderAndOtherTextIsRefused) {
    // Compressed or packed lines are read by the general reader, which
    // checks them: a difference line must be followed by its check value,
    // and the count must be the header's.
    struct Case {
        const char* line;
        const char* result;  // the first diagnostic line, or part of the message
    };
    for (const Case& c :
         std::vector<Case>{{"4000 95+94+93", "read as standard JCAMP-DX: PAC, 6 points"},
                           {"4000 95-94-93", "read as standard JCAMP-DX: PAC, 6 points"},
                           {"4000 A5B4C3", "read as standard JCAMP-DX: SQZ, 6 points"},
                           {"4000 95J1j1", "Data line 13 starts with the check value 0.92"},
                           {"4000 95S2", "more points than its\r\nheader gives"},
                           {"4000 95 94 93 @", "holds 7 points,\r\nbut ##NPOINTS= gives 6"},
                           {"4000D95", "holds 4 points,\r\nbut ##NPOINTS= gives 6"}}) {
        SCOPED_TRACE(c.line);
        JcampFile file;
        file.data[0] = c.line;
        Spectrum s;
        const ReadOutcome outcome = Read(file, s);
        if (std::string(c.result).starts_with("read as")) {
            ASSERT_TRUE(outcome.ok) << outcome.message;
            EXPECT_EQ(s.DiagnosticList.front(), c.result);
        } else {
            ExpectFailure(outcome, s, c.result);
        }
    }
    JcampFile file;
    file.data[0] = "4000 0,95 0,94 0,93";
    Spectrum s;
    ExpectFailure(Read(file, s), s, "not\r\na number (line 12: \"0,95\")");
}

TEST(JcampReader, ExponentsAreNumbersNotCompression) {
    JcampFile file;
    file.yFactor = "1e-2";
    file.data = {"4.000E3 95 9.4e1 9.3E+01", "3997 92 9.1e+1 900e-1"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{95, 94, 93, 92, 91, 90}));
}

TEST(JcampReader, DataBeyondThePointCountAreIgnored) {
    JcampFile file;
    file.nPoints = "4";
    file.lastX = "3997";
    file.data = {"4000 0.95 0.94 0.93", "3997 0.92 0.91 0.9", "3994 junk"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998, 3997}));
}

TEST(JcampReader, FactorsAndAMissingStep) {
    // The abscissa tokens are multiplied by XFACTOR; without ##DELTAX= the
    // step follows from FIRSTX, LASTX and NPOINTS.
    JcampFile file;
    file.before = {"##XFACTOR=0.5"};
    file.deltaX.clear();
    file.firstX = "400";
    file.lastX = "405";
    file.data = {"800 0.9 0.91 0.92", "806 0.93 0.94 0.95"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{405, 404, 403, 402, 401, 400}));
    EXPECT_EQ(s.DiagnosticList[4], "XP(1)=400");
    EXPECT_EQ(s.DiagnosticList[6], "MaxG=3");
}

TEST(JcampReader, MicrometreAbscissaeBecomeWavenumbers) {
    JcampFile file;
    file.xUnits = "MICROMETERS";
    file.deltaX = "0.5";
    file.firstX = "2.5";
    file.lastX = "5";
    file.data = {"2.5 0.9 0.91 0.92", "4 0.93 0.94 0.95"};
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, Single(10000 / 3.0), Single(10000 / 3.5), 2500,
                                           Single(10000 / 4.5), 2000}));
    EXPECT_EQ(Percent(s), (std::vector<double>{90, 91, 92, 93, 94, 95}));
    EXPECT_EQ(s.FirstX, 4000.0);
    EXPECT_EQ(s.LastX, 2000.0);
    EXPECT_EQ(s.FirstWL, 2.5);
    EXPECT_EQ(s.DeltaX, static_cast<double>(s.WaveX[2] - s.WaveX[1]));
    EXPECT_EQ(s.DiagnosticList[7], "NoInvert=True");

    // Descending micrometres keep their wavenumbers falling after the
    // reversal.
    file.deltaX = "-0.5";
    file.firstX = "5";
    file.lastX = "2.5";
    file.data = {"5 0.95 0.94 0.93", "3.5 0.92 0.91 0.9"};
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, Single(10000 / 3.0), Single(10000 / 3.5), 2500,
                                           Single(10000 / 4.5), 2000}));
    EXPECT_EQ(Percent(s), (std::vector<double>{90, 91, 92, 93, 94, 95}));
    EXPECT_LT(s.DeltaX, 0.0);
    EXPECT_EQ(s.LastX, 2000.0);
}

TEST(JcampReader, ExportTextsDescribeTheLoadedSpectrum) {
    Spectrum s;
    ASSERT_TRUE(Read(JcampFile{}, s).ok);
    EXPECT_EQ(ExportTextOf(s, ExportText::X), "4000\r\n3999\r\n3998\r\n3997\r\n3996\r\n3995\r\n");
    const std::string& zz = ExportTextOf(s, ExportText::StoredY);
    EXPECT_EQ(zz.substr(0, zz.find('\r')), IntegerText(s.RawY[1]));
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues)
                  .substr(0, ExportTextOf(s, ExportText::YValues).find('\r')),
              DoubleText(s.RawY[1] / 41943.04));

    // A text written for one file is replaced by the next file's.
    JcampFile other;
    other.data = {"4000 0.5 0.5 0.5", "3997 0.5 0.5 0.5"};
    other.minY = other.maxY = "0.5";
    ASSERT_TRUE(Read(other, s).ok);
    std::string sixTimes;
    for (int k = 0; k < 6; ++k) {
        sixTimes += "2097152\r\n";
    }
    EXPECT_EQ(ExportTextOf(s, ExportText::StoredY), sixTimes);

    JcampFile broken;
    broken.deltaX = "0";
    EXPECT_FALSE(Read(broken, s).ok);
    EXPECT_TRUE(s.ZZ.empty());
    EXPECT_TRUE(ExportTextOf(s, ExportText::YValues).empty());
}

TEST(JcampReader, TextLinesEndAtLf) {
    EXPECT_EQ(JcampTextLines("a\r\nb\n\r\nc\rd\ne"),
              (std::vector<std::string_view>{"a", "b", "", "c\rd"}));
    EXPECT_TRUE(JcampTextLines("no line end").empty());
}

TEST(JcampReader, MissingFileFails) {
    Spectrum s;
    ReadRequest request;
    request.fileTitle = "none.jdx";
    s.YFactor = kAbsorbanceYFactor;
    s.Label14[0] = "previous";
    ExpectFailure(ReadJcampFile("/nonexistent/none.jdx", request, s), s, "cannot be opened");
    EXPECT_EQ(s.YFactor, kTransmittanceYFactor);  // set before the file is opened
    EXPECT_EQ(s.Label14[0], "");
}

}  // namespace
}  // namespace halvorn

namespace halvorn {
namespace {

// Random data lines with numbers spelled in every plain form, some of them too
// long for a quick reading.
JcampFile SpelledNumbers(std::mt19937& random, bool absorbance, std::vector<double>& ordinates) {
    const auto spell = [&](double value, int form) {
        char text[64];
        switch (form) {
            case 0:
                std::snprintf(text, sizeof text, "%.4f", value);
                break;
            case 1:
                std::snprintf(text, sizeof text, "%.3e", value);
                break;
            case 2:
                std::snprintf(text, sizeof text, "%+.5E", value);
                break;
            case 3:
                std::snprintf(text, sizeof text, "%.17g", value);  // beyond 15 digits
                break;
            case 4:
                std::snprintf(text, sizeof text, "%.2f", value);
                break;
            default:
                std::snprintf(text, sizeof text, "%.0f", value * 1000.0);
                return std::string(text) + "e-3";
        }
        return std::string(text);
    };
    std::uniform_real_distribution<double> value(absorbance ? 0.0 : 0.01, absorbance ? 3.0 : 1.0);
    std::uniform_int_distribution<int> form(0, 5);
    JcampFile file;
    file.yUnits = absorbance ? "ABSORBANCE" : "TRANSMITTANCE";
    file.minY = file.maxY = "";
    file.data.clear();
    ordinates.clear();
    const int lines = 40;
    for (int k = 0; k < lines; ++k) {
        const int x = 4000 - 5 * k;
        const std::string abscissa[] = {std::to_string(x), std::to_string(x) + ".0",
                                        std::to_string(x) + ".", "+" + std::to_string(x),
                                        std::to_string(x / 1000.0).substr(0, 5) + "E3"};
        std::string line = abscissa[form(random) % 5];
        for (int j = 0; j < 5; ++j) {
            const std::string token = spell(value(random), form(random));
            ordinates.push_back(ParseNumber(token));
            line += (j % 2 == 0 ? " " : "\t") + token;
        }
        file.data.push_back(line);
    }
    file.deltaX = "-1";
    file.firstX = "4000";
    file.lastX = std::to_string(4000 - 5 * lines + 1);
    file.nPoints = std::to_string(5 * lines);
    return file;
}

TEST(JcampReader, PlainNumbersReadTheSameInEveryForm) {
    std::mt19937 random(2024);
    std::vector<double> ordinates;
    for (int round = 0; round < 40; ++round) {
        const bool absorbance = round % 2 == 1;
        JcampFile file = SpelledNumbers(random, absorbance, ordinates);
        Spectrum quick;
        ASSERT_TRUE(Read(file, quick).ok) << round;
        // A comment at the end of every line changes nothing the line says.
        for (std::string& line : file.data) {
            line += " $$ checked";
        }
        Spectrum general;
        ASSERT_TRUE(Read(file, general).ok) << round;
        EXPECT_EQ(quick.RawY, general.RawY) << round;
        EXPECT_EQ(quick.WaveX, general.WaveX) << round;
        EXPECT_EQ(quick.DiagnosticList, general.DiagnosticList) << round;
        // Every stored ordinate is the rounded transmittance, an absorbance
        // converted by the power of ten.
        for (std::size_t k = 0; k < ordinates.size(); ++k) {
            const double t = absorbance ? Divide(1.0, std::pow(10.0, ordinates[k])) : ordinates[k];
            ASSERT_EQ(quick.RawY[k + 1], ToLong(t * 100.0 * 41943.04)) << round << " " << k;
        }
    }
}

}  // namespace
}  // namespace halvorn
