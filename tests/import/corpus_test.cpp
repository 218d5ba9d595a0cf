// The readers on real files written by instruments and other programs. The
// corpus lives beside the repository; without it these tests are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/export_text.h"
#include "core/numbers.h"
#include "import/file_bytes.h"
#include "import/jcamp_reader.h"
#include "import/prn_reader.h"
#include "import/sp_reader.h"

namespace halvorn {
namespace {

const std::filesystem::path kCorpus = HALVORN_CORPUS_DIR;

std::optional<std::string> CorpusBytes(const std::string& relative) {
    return ReadFileBytes((kCorpus / relative).string());
}

#define SKIP_WITHOUT_CORPUS()                                                             \
    if (!std::filesystem::is_directory(kCorpus)) {                                        \
        GTEST_SKIP() << "corpus not found at " << kCorpus << "; real-file tests skipped"; \
    }

// The value of a header label, as written.
std::optional<std::string> HeaderValue(const std::string& text, const std::string& label) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(label, 0) == 0) {
            return line.substr(label.size());
        }
    }
    return std::nullopt;
}

// One data line as written: its abscissa and ordinates, scaled by the factors.
struct WrittenLine {
    double x;
    std::vector<double> percent;
};

std::vector<WrittenLine> WrittenData(const std::string& text, std::int32_t points) {
    const double xFactor = ParseNumber(HeaderValue(text, "##XFACTOR=").value_or("1"));
    const double yFactor = ParseNumber(HeaderValue(text, "##YFACTOR=").value_or("0"));
    std::string yUnits = HeaderValue(text, "##YUNITS=").value_or("");
    const bool absorbance = yUnits.find("ABSORBANCE") != std::string::npos;
    std::vector<WrittenLine> lines;
    std::istringstream in(text.substr(text.find('\n', text.find("\n##XYDATA") + 1) + 1));
    std::string line;
    std::int32_t count = 0;
    while (count < points && std::getline(in, line) && line.find("##") == std::string::npos) {
        std::istringstream tokens(line.substr(0, line.find("$$")));
        WrittenLine written{};
        std::string token;
        if (!(tokens >> token)) {
            continue;
        }
        written.x = std::stod(token) * xFactor;
        while (tokens >> token && count < points) {
            const double y = std::stod(token) * yFactor;
            written.percent.push_back(100.0 * (absorbance ? std::pow(10.0, -y) : y));
            ++count;
        }
        lines.push_back(written);
    }
    return lines;
}

ReadOutcome ReadJcamp(const std::string& bytes, Spectrum& s) {
    ReadRequest request;
    request.fileTitle = "corpus";
    return ReadJcampBytes(bytes, request, s);
}

// Every line's ordinates must sit, in order, at the points that follow the
// one with the line's abscissa.
void ExpectPointsAsWritten(const Spectrum& s, const std::vector<WrittenLine>& lines) {
    ASSERT_GE(lines.size(), 2u);
    const std::int32_t n = s.PointCount;
    const bool fileFalls = lines[1].x < lines[0].x;
    const double tolerance = std::fabs(s.DeltaX) / 4;
    std::int32_t checked = 0;
    for (const WrittenLine& line : lines) {
        const auto nearest = std::min_element(
            s.WaveX.begin() + 1, s.WaveX.end(),
            [&](float a, float b) { return std::fabs(a - line.x) < std::fabs(b - line.x); });
        ASSERT_NEAR(*nearest, line.x, tolerance) << "no point at a line's abscissa";
        auto i = static_cast<std::int32_t>(nearest - s.WaveX.begin());
        for (double percent : line.percent) {
            ASSERT_TRUE(i >= 1 && i <= n);
            ASSERT_NEAR(s.RawY[static_cast<std::size_t>(i)] / s.YFactor, percent, 1.2e-5)
                << "point " << i << " of the line at " << line.x;
            i += fileFalls ? 1 : -1;
            ++checked;
        }
    }
    EXPECT_EQ(checked, n);
}

struct JcampCase {
    const char* file;
    std::int32_t points;       // 0: refused
    const char* message = "";  // part of the refusal message, or "general": read by the
                               // general reader behind the plain one
};

// The files the reader must open (uncompressed, with recognised units and
// consistent headers) and those it must refuse, with what the message says.
const JcampCase kJcampCases[] = {
    {"methane.jdx", 3583},
    {"benzene.jdx", 3343},
    {"ethane.jdx", 3571},
    {"p-xylene.jdx", 2618},
    {"water.jdx", 880},
    {"xyinc1.jdx", 3601},
    {"scientific_notation_example.jdx", 1867},
    {"SBO.jdx", 1868},
    {"JDX-nicolet.JDX", 1764},
    {"fixinc2.jdx", 3601},
    {"LABCALC.DX", 3435},
    {"jtpolys.jdx", 1844},
    {"1-butanol.jdx", 14106, "general"},
    {"BRUKER1.JCM", 3735, "general"},
    {"BRUKER2.JCM", 3735, "general"},
    {"PE1800.DX", 3301, "general"},
    {"SPECFILE.DX", 1801, "general"},
    {"dupinc2.jdx", 3734, "general"},
    {"ethanol2.jdx", 1764, "general"},
    {"fitr_nitrocellulose.jdx", 7154, "general"},
    {"fixdec1.jdx", 3951, "general"},
    {"fixinc1.jdx", 3736, "general"},
    {"isopropanol_ASDF.jdx", 9541, "general"},
    {"sqzdupd1.jdx", 18669, "general"},
    {"JCAMP_test_file.jdx", 16383, "general"},
    {"example_compound_file.jdx", 2074, "general"},
    {"transmittance.txt", 5901, "general"},
};

TEST(Corpus, JcampFilesOpenWithTheirValuesOrAreRefusedClearly) {
    SKIP_WITHOUT_CORPUS();
    for (const JcampCase& c : kJcampCases) {
        SCOPED_TRACE(c.file);
        const std::optional<std::string> bytes = CorpusBytes(std::string("jcamp/") + c.file);
        ASSERT_TRUE(bytes);
        Spectrum s;
        const ReadOutcome outcome = ReadJcamp(*bytes, s);
        if (c.points == 0) {
            EXPECT_FALSE(outcome.ok);
            EXPECT_NE(outcome.message.find(c.message), std::string::npos) << outcome.message;
            EXPECT_EQ(s.PointCount, 0);
            continue;
        }
        ASSERT_TRUE(outcome.ok) << outcome.message;
        EXPECT_EQ(s.PointCount, c.points);
        for (std::int32_t i = 1; i < s.PointCount; ++i) {
            ASSERT_GT(s.WaveX[static_cast<std::size_t>(i)],
                      s.WaveX[static_cast<std::size_t>(i + 1)]);
        }
        EXPECT_LT(s.DeltaX, 0.0);
        const bool general = std::string(c.message) == "general";
        EXPECT_EQ(!s.DiagnosticList.empty() &&
                      s.DiagnosticList.front().starts_with("read as standard JCAMP-DX: "),
                  general);
        if (general) {
            continue;  // their values are checked in jcamp_fallback_test.cpp
        }
        // The range comes from the header, the points from the data lines.
        EXPECT_NEAR(s.FirstX, s.WaveX[1], std::fabs(s.DeltaX) / 4);
        EXPECT_NEAR(s.LastX, s.WaveX.back(), std::fabs(s.DeltaX) / 4);
        EXPECT_EQ(s.FirstWL, 10000.0 / s.FirstX);
        ExpectPointsAsWritten(s, WrittenData(*bytes, c.points));
    }
}

TEST(Corpus, JcampHeaderTextsOfARealFile) {
    SKIP_WITHOUT_CORPUS();
    Spectrum s;
    ASSERT_TRUE(ReadJcamp(*CorpusBytes("jcamp/methane.jdx"), s).ok);
    EXPECT_EQ(s.Label14[0], "METHANE");
    EXPECT_EQ(s.Label14[1], "1964");
    EXPECT_EQ(s.Label14[2], "GAS");
    EXPECT_EQ(s.Label14[4], "DOW KBr FOREPRISM");
    EXPECT_EQ(s.Label14[5], "XUNITS=1/CM");
    EXPECT_EQ(s.HeaderList.size(), 34u);
    EXPECT_EQ(s.FirstPointLabel, "First point: 3801.32 cm^(-1)");
    EXPECT_EQ(s.IntervalLabel, "points: -0.935748 cm^(-1)");
    EXPECT_EQ(s.DiagnosticList[4], "XP(1)=449.47");
    EXPECT_EQ(s.DiagnosticList[6], "MaxG=5");

    // A unit written with a blank after the "=" is read.
    ASSERT_TRUE(ReadJcamp(*CorpusBytes("jcamp/xyinc1.jdx"), s).ok);
    EXPECT_EQ(s.Label14[5], "XUNITS= 1/CM");
    EXPECT_EQ(s.WaveX[1], 4000.0f);
    EXPECT_EQ(s.RawY.back(), ToLong(0.448 * 100 * 41943.04));
}

TEST(Corpus, TwoColumnTables) {
    SKIP_WITHOUT_CORPUS();
    Spectrum s;
    ASSERT_TRUE(ReadPrnBytes(*CorpusBytes("prn/peach_juice.dpt"), {}, s).ok);
    EXPECT_EQ(s.PointCount, 1816);
    EXPECT_NEAR(s.FirstX, 4000.116, 1e-3);
    EXPECT_NEAR(s.LastX, 499.532, 1e-3);
    EXPECT_LT(s.DeltaX, 0.0);
    EXPECT_TRUE(s.DiagnosticList.empty());
    // The two comma-separated tables are refused by the TAB table reader and
    // read by the forgiving one, which says so.
    for (const char* file : {"prn/IR.CSV", "prn/ftir_test.csv"}) {
        SCOPED_TRACE(file);
        const ReadOutcome outcome = ReadPrnBytes(*CorpusBytes(file), {}, s);
        EXPECT_TRUE(outcome.ok) << outcome.message;
        ASSERT_FALSE(s.DiagnosticList.empty());
        EXPECT_TRUE(s.DiagnosticList[0].starts_with("read as a table")) << s.DiagnosticList[0];
    }
}

// Whatever the bytes, a read ends with a consistent record: a spectrum held
// with the largest wavenumber first, or an empty one and a message.
void ExpectConsistent(const ReadOutcome& outcome, const Spectrum& s) {
    if (!outcome.ok) {
        ASSERT_FALSE(outcome.message.empty());
        ASSERT_EQ(s.PointCount, 0);
        ASSERT_EQ(s.WaveX.size(), 1u);
        ASSERT_EQ(s.RawY.size(), 1u);
        return;
    }
    const auto n = static_cast<std::size_t>(s.PointCount);
    ASSERT_TRUE(n >= 1 && n <= static_cast<std::size_t>(kMaxPoints));
    ASSERT_EQ(s.WaveX.size(), n + 1);
    ASSERT_EQ(s.RawY.size(), n + 1);
    ASSERT_EQ(s.ViewLastPoint, s.PointCount);
    ASSERT_GE(s.WaveX[1], s.WaveX[n]);
    ASSERT_EQ(static_cast<std::size_t>(std::count(ExportTextOf(s, ExportText::X).begin(),
                                                  ExportTextOf(s, ExportText::X).end(), '\n')),
              n);
}

TEST(Corpus, ReadersSurviveTruncatedAndMutatedFiles) {
    SKIP_WITHOUT_CORPUS();
    std::mt19937 random(20261208);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpus)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") {
            continue;
        }
        SCOPED_TRACE(entry.path().string());
        const std::string original = *ReadFileBytes(entry.path().string());
        for (int round = 0; round < 24; ++round) {
            std::string bytes = original;
            if (round % 3 == 0) {
                bytes.resize(random() % (bytes.size() + 1));
            }
            const int changes = round % 3 == 2 ? 40 : 4;
            for (int k = 0; k < changes && !bytes.empty(); ++k) {
                const char replacements[] = {'\n', '\r', ' ', '\t', '-',
                                             '+',  '.',  ',', '0',  '9',
                                             'E',  'A',  '#', '\0', static_cast<char>(0xFF)};
                bytes[random() % bytes.size()] = replacements[random() % sizeof replacements];
            }
            Spectrum s;
            ExpectConsistent(ReadJcamp(bytes, s), s);
            ExpectConsistent(ReadPrnBytes(bytes, {}, s), s);
            ExpectConsistent(ReadSpBytes(bytes, {}, s), s);
        }
    }
}

}  // namespace
}  // namespace halvorn
