// The binary block *.sp files and the *.sp files with ASCII data: hand-built
// files with known values, the real files, and damaged files that must never
// crash a read.
#include "import/sp_blocks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/export_text.h"
#include "core/numbers.h"
#include "import/file_bytes.h"
#include "import/read_checks.h"
#include "import/readers.h"
#include "import/sp_ascii.h"
#include "import/sp_file_builder.h"
#include "import/sp_reader.h"

namespace halvorn {
namespace {

using test::ExpectFailure;
using test::Percent;
using test::Wave;

const std::filesystem::path kCorpus = HALVORN_CORPUS_DIR;

std::string Le16(int v) {
    const auto u = static_cast<std::uint16_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
}

std::string Le32(std::uint32_t u) {
    std::string bytes;
    for (int k = 0; k < 4; ++k) {
        bytes += static_cast<char>((u >> (8 * k)) & 0xFF);
    }
    return bytes;
}

std::string Le64(double v) {
    const auto u = std::bit_cast<std::uint64_t>(v);
    return Le32(static_cast<std::uint32_t>(u)) + Le32(static_cast<std::uint32_t>(u >> 32));
}

std::string Item(int id, const std::string& content) {
    return Le16(id) + Le32(static_cast<std::uint32_t>(content.size())) + content;
}

std::string Text(const std::string& text) {
    return Le16(29987) + Le16(static_cast<int>(text.size())) + text;
}

// A block file as newer instrument software writes it, with the members the
// reader uses.
struct BlockFile {
    std::string xLabel = "cm-1";
    std::string yLabel = "%T";
    int xUnit = 10;
    int yUnit = 2;
    double first = 4000.0;
    double last = 3996.0;
    double step = -2.0;
    std::vector<double> values = {100.0, 50.0, 25.0};
    bool floats = false;      // 32-bit ordinates
    int countShift = 0;       // the point count member minus the number of values
    bool shortCount = false;  // the point count as a 16-bit integer
    std::string name = "C:\\data\\film 7.sp";
    std::string alias = "film 7";
    std::string date = "Thu Mar 09 09:19:21 2006";
    std::string instrument = "Model 9";

    std::string Bytes() const {
        const auto count = static_cast<std::uint32_t>(static_cast<int>(values.size()) + countShift);
        std::string data;
        for (double v : values) {
            if (floats) {
                data += Le32(std::bit_cast<std::uint32_t>(static_cast<float>(v)));
            } else {
                data += Le64(v);
            }
        }
        const std::string record =
            Item(-29839, Le16(29999) + Le16(121)) + Item(-29837, Text("Created")) +
            Item(-29836, Text(date)) + Item(-29834, Text("Spectrum at 1,2")) +
            Item(-29831, Item(124, Item(123, Item(-29699, Text(instrument)))));
        const std::string members =
            Item(-29825, Item(121, record)) + Item(-29826, Le16(29978) + Le32(0)) +
            Item(-29827, Text(name)) + Item(-29838, Le16(29981) + Le64(first) + Le64(last)) +
            Item(-29836, Le16(29979) + Le64(step)) +
            Item(-29835, shortCount ? Le16(29999) + Le16(static_cast<int>(count))
                                    : Le16(29995) + Le32(count)) +
            Item(-29833, Text(xLabel)) + Item(-29831, Le16(29973) + Le16(xUnit)) +
            Item(-29832, Text(yLabel)) + Item(-29830, Le16(29973) + Le16(yUnit)) +
            Item(-29829, Text("SPECTRUM")) + Item(-29823, Text(alias)) +
            Item(-29828, Le16(29974) + Le32(static_cast<std::uint32_t>(data.size())) + data);
        std::string preamble =
            "\x50\x45\x50\x45"
            "2D constant interval DataSet file";
        preamble.resize(44, '\0');
        return preamble + Item(120, members);
    }
};

ReadOutcome Read(const std::string& bytes, Spectrum& s) {
    ReadRequest request;
    request.fileTitle = "x.sp";
    return ReadSpBytes(bytes, request, s);
}

TEST(SpBlocks, ReadsATransmittanceFileAsTheTextHeaderFilesAreRead) {
    const BlockFile file;
    EXPECT_EQ(SpKindOf(file.Bytes()), SpKind::Blocks);
    EXPECT_EQ(FormatOfBytes(file.Bytes()), FileFormat::Sp);
    Spectrum s;
    ASSERT_TRUE(Read(file.Bytes(), s).ok);
    EXPECT_EQ(s.PointCount, 3);
    EXPECT_EQ(s.StepCount, 2);
    EXPECT_EQ(s.DeltaX, -2.0);
    EXPECT_EQ(s.FirstX, 4000.0);
    EXPECT_EQ(s.LastX, 3996.0);
    EXPECT_DOUBLE_EQ(s.LastWL, 10000.0 / 3996.0);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3998, 3996}));
    EXPECT_EQ(s.YFactor, kTransmittanceYFactor);
    EXPECT_FALSE(s.FileIsAbsorbance);
    EXPECT_EQ(s.RawY, (std::vector<std::int32_t>{0, 4194304, 2097152, 1048576}));
    EXPECT_EQ(s.RawYMax, 4194304);
    EXPECT_EQ(s.RawYMin, 1048576);
    EXPECT_EQ(s.Label14[0], "Sample: film 7");
    EXPECT_EQ(s.Label14[1], "Date: 09/03/06");
    EXPECT_EQ(s.Label14[4], "Model 9");
    EXPECT_EQ(s.Label14[5], "Remarks1: Spectrum at 1,2");
    EXPECT_EQ(s.PointCountLabel, "Number of points: 3");
    EXPECT_EQ(s.IntervalLabel, "points: -2 cm^(-1)");
    EXPECT_EQ(s.FirstPointLabel, "First point: 4000 cm^(-1)");
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (x.sp)");
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues), "100\r\n50\r\n25\r\n");
    EXPECT_EQ(s.mnuCopyYPercentCaption, "Copy Y % values (calculated from file values)");
    ASSERT_EQ(s.DiagnosticList.size(), 1u);
    EXPECT_EQ(s.DiagnosticList[0],
              "read as a binary block *.sp file: 3 points, 64-bit ordinates, %T");
    EXPECT_NE(std::find(s.HeaderList.begin(), s.HeaderList.end(), "Name: C:\\data\\film 7.sp"),
              s.HeaderList.end());
}

TEST(SpBlocks, AbsorbanceIn32BitFloatsAscendingListsAbsorbancesAndHoldsPercent) {
    BlockFile file;
    file.yLabel = "A";
    file.yUnit = 1;
    file.floats = true;
    file.shortCount = true;
    file.first = 400.0;
    file.last = 404.0;
    file.step = 2.0;
    file.values = {0.0, 1.0, 0.5};
    Spectrum s;
    ASSERT_TRUE(Read(file.Bytes(), s).ok);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(s.YFactor, kAbsorbanceYFactor);
    // Held with the largest wavenumber first, the export texts in the file's order.
    EXPECT_EQ(Wave(s), (std::vector<float>{404, 402, 400}));
    EXPECT_EQ(s.DeltaX, -2.0);
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues), "0\r\n1\r\n0.5\r\n");
    EXPECT_EQ(ExportTextOf(s, ExportText::X), "400\r\n402\r\n404\r\n");
    EXPECT_EQ(s.RawY[2], 83886080);  // absorbance 1 is 10 %T
    EXPECT_EQ(s.RawY[3], 838860800);
    EXPECT_EQ(s.mnuCopyYPercentCaption, "Copy Y (Absorbance) values (calculated from file values)");
    EXPECT_NE(s.DiagnosticList[0].find("32-bit ordinates, absorbance"), std::string::npos);
}

TEST(SpBlocks, OtherUnitsAreScaledOrRefused) {
    BlockFile counts;
    counts.yLabel = "Counts";
    counts.yUnit = 7;
    counts.values = {10.0, 30.0, 20.0};
    Spectrum s;
    ASSERT_TRUE(Read(counts.Bytes(), s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{0, 100, 50}));
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (x.sp) (scaled)");

    BlockFile fraction;
    fraction.yLabel = "T";
    fraction.values = {1.0, 0.5, 0.25};
    ASSERT_TRUE(Read(fraction.Bytes(), s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{100, 50, 25}));

    BlockFile uv;
    uv.xLabel = "nm";
    uv.xUnit = 3;
    ExpectFailure(Read(uv.Bytes(), s), s,
                  "This file holds a UV/VIS spectrum (nm), not an infrared spectrum.");
    BlockFile seconds;
    seconds.xLabel = "s";
    ExpectFailure(Read(seconds.Bytes(), s), s, "abscissa unit is \"s\"");
}

TEST(SpBlocks, InconsistentOrDamagedBlocksAreRefusedWithAMessage) {
    Spectrum s;
    BlockFile file;
    file.countShift = 1;  // 4 points announced, 3 values of 8 bytes
    ExpectFailure(Read(file.Bytes(), s), s, "neither 4 nor 8 bytes a point");

    file.countShift = 0;
    file.values = {50.0, std::nan(""), 50.0};
    ExpectFailure(Read(file.Bytes(), s), s, "Point 2 has the ordinate \"not a number\"");

    file.values = {50.0, 50.0, 50.0};
    file.last = 0.0;
    file.step = -2000.0;
    ExpectFailure(Read(file.Bytes(), s), s, "The last abscissa is 0");

    file.last = 4000.0;
    file.step = 0.0;
    ExpectFailure(Read(file.Bytes(), s), s, "The abscissa step is 0");

    const std::string good = BlockFile{}.Bytes();
    ExpectFailure(Read(good.substr(0, 30), s), s, "truncated");
    ExpectFailure(Read(good.substr(0, good.size() - 1), s), s, "runs past");
    std::string noDataSet = good;
    noDataSet[44] = 121;
    ExpectFailure(Read(noDataSet, s), s, "no spectrum block");

    // A range given from the wrong end follows the step's direction.
    BlockFile backwards;
    backwards.first = 3996.0;
    backwards.last = 4000.0;
    ASSERT_TRUE(Read(backwards.Bytes(), s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3998, 3996}));
    EXPECT_EQ(s.RawY[1], 4194304);
    EXPECT_NE(s.DiagnosticList.back().find("runs the other way"), std::string::npos);

    // A step that does not fit the range gives way to it, and says so.
    BlockFile offStep;
    offStep.step = -3.0;
    ASSERT_TRUE(Read(offStep.Bytes(), s).ok);
    EXPECT_EQ(s.DeltaX, -2.0);
    EXPECT_NE(s.DiagnosticList.back().find("does not fit the range"), std::string::npos);
}

TEST(SpBlocks, EveryPrefixAndManyMutationsOfAFileReadOrFailCleanly) {
    const std::string bytes = BlockFile{}.Bytes();
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        Spectrum s;
        const ReadOutcome outcome = Read(bytes.substr(0, size), s);
        ASSERT_FALSE(outcome.ok) << size;
        ASSERT_FALSE(outcome.message.empty());
        ASSERT_EQ(s.PointCount, 0);
    }
    std::mt19937 random(12);
    for (int round = 0; round < 3000; ++round) {
        std::string mutated = bytes;
        for (int k = 0; k < 1 + round % 5; ++k) {
            mutated[random() % mutated.size()] = static_cast<char>(random() & 0xFF);
        }
        Spectrum s;
        const ReadOutcome outcome = Read(mutated, s);
        ASSERT_EQ(outcome.ok, s.PointCount > 0);
        ASSERT_EQ(s.WaveX.size(), static_cast<std::size_t>(s.PointCount) + 1);
    }
}

TEST(SpBlocks, RealFilesGiveTheValuesWrittenInThem) {
    if (!std::filesystem::is_directory(kCorpus)) {
        GTEST_SKIP() << "corpus not found";
    }
    Spectrum s;
    // Absorbance, 3301 doubles from 4000 to 700 cm-1, step -1.
    ASSERT_TRUE(ReadSpFile((kCorpus / "sp/spectra.sp").string(), {}, s).ok);
    EXPECT_EQ(s.PointCount, 3301);
    EXPECT_EQ(s.FirstX, 4000.0);
    EXPECT_EQ(s.LastX, 700.0);
    EXPECT_EQ(s.DeltaX, -1.0);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(s.WaveX[101], 3900.0f);
    // Absorbances are held to 1/8388608, as in the text-header files.
    // Absorbances are held to 1/8388608, as in the text-header files.
    const auto percentOf = [](double absorbance) { return 100.0 * std::pow(10.0, -absorbance); };
    EXPECT_NEAR(s.RawY[1] / s.YFactor, percentOf(0.03723936007346753), 5e-5);
    EXPECT_NEAR(s.RawY[101] / s.YFactor, percentOf(0.03565136005572459), 5e-5);
    EXPECT_NEAR(s.RawY[1651] / s.YFactor, percentOf(0.011194380626662198), 5e-5);
    EXPECT_NEAR(s.RawY[3301] / s.YFactor, percentOf(0.004175562077308466), 5e-5);
    EXPECT_EQ(s.Label14[0], "Sample: strip01");
    EXPECT_EQ(s.Label14[1], "Date: 09/03/06");
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues).substr(0, 20),
              DoubleText(ToLong(0.03723936007346753 * 8388608) / 8388608.0) + "\r\n");

    // %T, 1626 doubles from 4000 to 750 cm-1, step -2.
    ASSERT_TRUE(ReadSpFile((kCorpus / "sp/single_PE_spectrum.sp").string(), {}, s).ok);
    EXPECT_EQ(s.PointCount, 1626);
    EXPECT_EQ(s.FirstX, 4000.0);
    EXPECT_EQ(s.LastX, 750.0);
    EXPECT_EQ(s.DeltaX, -2.0);
    EXPECT_FALSE(s.FileIsAbsorbance);
    EXPECT_EQ(s.WaveX[814], 2374.0f);
    EXPECT_NEAR(s.RawY[1] / s.YFactor, 100.71570587158203, 1e-4);
    EXPECT_NEAR(s.RawY[101] / s.YFactor, 100.0702133178711, 1e-4);
    EXPECT_NEAR(s.RawY[814] / s.YFactor, 92.25109100341797, 1e-4);
    EXPECT_NEAR(s.RawY[1626] / s.YFactor, 101.09009552001953, 1e-4);
    EXPECT_EQ(s.Label14[1], "Date: 28/10/24");
}

// ASCII data after a *.sp text header.
std::string AsciiFile(const std::string& lineEnd, const std::string& xUnit = "CM-1",
                      const std::string& yUnit = "%T", const std::string& step = "-2",
                      const std::vector<std::string>& y = {"95.500000", "90.250000", "80.0"}) {
    test::SpFile header;
    header.line1 = "IR SPECTRUM ASCII";
    header.xUnit = xUnit;
    header.yUnit = yUnit;
    header.deltaX = step;
    header.count = "3";
    header.lineEnd = lineEnd;
    return header.Bytes() + "4000.000000\t" + y[0] + " " + lineEnd + "3998.000000\t" + y[1] + " " +
           lineEnd + "3996.000000\t" + y[2] + " " + lineEnd;
}

TEST(SpAscii, ReadsTheDataLinesWithTheHeaderFieldsWithEitherLineEnd) {
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        SCOPED_TRACE(lineEnd.size());
        const std::string bytes = AsciiFile(lineEnd);
        EXPECT_EQ(SpKindOf(bytes), SpKind::AsciiData);
        Spectrum s;
        ASSERT_TRUE(Read(bytes, s).ok);
        EXPECT_EQ(s.PointCount, 3);
        EXPECT_EQ(s.DeltaX, -2.0);
        EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3998, 3996}));
        EXPECT_EQ(Percent(s), (std::vector<double>{95.5, 90.25, 80.0}));
        EXPECT_EQ(s.Label14[0], "Sample: Polystyrene");
        EXPECT_EQ(s.Label14[1], "Date: 20/05/98");
        EXPECT_EQ(s.HeaderList.size(), 61u);
        EXPECT_EQ(s.HeaderList.back(), "#DATA");
        EXPECT_EQ(s.DiagnosticList,
                  std::vector<std::string>{"read as a *.sp file with ASCII data: 3 points, %T"});
    }
    // A step whose sign disagrees with the data lines' order takes the data's.
    Spectrum s;
    ASSERT_TRUE(Read(AsciiFile("\n", "CM-1", "ABS", "2", {"0.5", "1", "-0.25"}), s).ok);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(s.DeltaX, -2.0);
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues), "0.5\r\n1\r\n-0.25\r\n");
    EXPECT_EQ(s.RawY[2], 83886080);
    EXPECT_NE(s.DiagnosticList.back().find("run the other way"), std::string::npos);

    ExpectFailure(Read(AsciiFile("\n", "NM", "A"), s), s,
                  "This file holds a UV/VIS spectrum (nm), not an infrared spectrum.");
    ExpectFailure(Read(AsciiFile("\r\n", "UM"), s), s, "with abscissa units in CM-1.");
}

TEST(SpAscii, TheTextHeaderFilesWithBinaryDataKeepTheirReader) {
    // Even a first line that says ASCII: binary ordinates after #DATA are read
    // as integers.
    test::SpFile file;
    file.line1 = "IR SPECTRUM ASCII";
    file.values = {4194304, 2097152, 41943};
    EXPECT_EQ(SpKindOf(file.Bytes()), SpKind::TextHeader);
    Spectrum s;
    ASSERT_TRUE(Read(file.Bytes(), s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{100, 50, 1}));
    EXPECT_FALSE(HasAsciiSpData(""));
    EXPECT_FALSE(HasBlockSignature("\x50\x45\x50"));
}

TEST(SpAscii, APlainTableSavedAsAscIsReadAsATable) {
    Spectrum s;
    ASSERT_TRUE(Read("Wavenumber\tAbsorbance\r\n4000\t0.5\r\n3998\t1\r\n", s).ok);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3998}));
    EXPECT_TRUE(s.DiagnosticList[0].starts_with("read as a table: 2 points"));
    // Files with a #DATA line, or without two numbers a line, keep the
    // text-header reader's refusal.
    EXPECT_EQ(Read("line1\r\nline2\r\n", s).message, kSomethingWrong + test::kSuffix);
    EXPECT_FALSE(Read("#DATA\n4000 5\n3000 6\n", s).ok);
}

TEST(SpAscii, TheUvVisFileOfTheCorpusIsRefusedSayingWhatItHolds) {
    if (!std::filesystem::is_directory(kCorpus)) {
        GTEST_SKIP() << "corpus not found";
    }
    const std::string bytes = *ReadFileBytes((kCorpus / "sp/3.SP").string());
    EXPECT_EQ(SpKindOf(bytes), SpKind::AsciiData);
    Spectrum s;
    ExpectFailure(Read(bytes, s), s,
                  "This file holds a UV/VIS spectrum (nm), not an infrared spectrum.");
}

}  // namespace
}  // namespace halvorn
