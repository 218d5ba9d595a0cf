#include "import/sp_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

#include "core/export_text.h"
#include "core/numbers.h"
#include "import/sp_file_builder.h"

namespace halvorn {
namespace {

using test::SpFile;

const std::string kSuffix = "\r\nTry to look in 'File Details'";
const std::string kSomethingWrong = "Something is wrong here!!" + kSuffix;
const std::string kNoMarker =
    "Cannot open!\r\nThis file is corrupted,\r\nor has unsupported format." + kSuffix;
const std::string kNotWavenumbers =
    "This program can open only files\r\nwith abscissa units in CM-1.\r\nSorry!" + kSuffix;

ReadOutcome Read(const SpFile& file, Spectrum& s, const std::string& title = "a.sp") {
    ReadRequest request;
    request.fileTitle = title;
    return ReadSpBytes(file.Bytes(), request, s);
}

SpFile Transmittance(std::vector<std::int32_t> values) {
    SpFile file;
    file.values = std::move(values);
    return file;
}

// Every failure leaves an empty spectrum whose arrays, counts and range agree.
void ExpectEmptyPoints(const Spectrum& s) {
    EXPECT_TRUE(s.OpenFailed);
    EXPECT_EQ(s.PointCount, 0);
    EXPECT_EQ(s.RawY.size(), 1u);
    EXPECT_EQ(s.WaveX.size(), 1u);
    EXPECT_EQ(s.ViewFirstPoint, 0);
    EXPECT_EQ(s.ViewLastPoint, 0);
    EXPECT_TRUE(s.ZZ.empty());
}

TEST(SpReader, ReadsATransmittanceFile) {
    Spectrum s;
    ASSERT_TRUE(Read(Transmittance({4194304, 2097152, 41943}), s).ok);
    EXPECT_FALSE(s.OpenFailed);
    EXPECT_TRUE(s.NeedPeakSearch);
    EXPECT_TRUE(s.RelayoutLabels);
    EXPECT_EQ(s.PointCount, 3);
    EXPECT_EQ(s.StepCount, 2);
    EXPECT_EQ(s.YFactor, 41943.04);
    EXPECT_FALSE(s.FileIsAbsorbance);
    EXPECT_EQ(s.WaveX, (std::vector<float>{0.0f, 4000.0f, 3999.0f, 3998.0f}));
    EXPECT_EQ(s.RawY, (std::vector<std::int32_t>{0, 4194304, 2097152, 41943}));
    EXPECT_EQ(s.RawYMax, 4194304);
    EXPECT_EQ(s.RawYMin, 41943);
    EXPECT_EQ(s.DeltaX, -1.0);
    EXPECT_EQ(s.FirstX, 4000.0);
    EXPECT_EQ(s.LastX, 3998.0);
    EXPECT_EQ(s.FirstWL, 2.5);
    EXPECT_DOUBLE_EQ(s.LastWL, 10000.0 / 3998.0);
    EXPECT_EQ(s.FullFirstX, s.FirstX);
    EXPECT_EQ(s.FullLastX, s.LastX);
    EXPECT_EQ(s.FullFirstWL, s.FirstWL);
    EXPECT_EQ(s.FullLastWL, s.LastWL);
    EXPECT_EQ(s.ViewFirstPoint, 1);
    EXPECT_EQ(s.ViewLastPoint, 3);
    // tmax = 100 gives a top of 105 (half); tmin = 0.99999... gives 0.
    EXPECT_EQ(s.YAxisTop, 105.0f);
    EXPECT_TRUE(s.YAxisTopHalf);
    EXPECT_EQ(s.YAxisBottom, 0.0f);
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (a.sp)");
    EXPECT_EQ(s.PointCountLabel, "Number of points: 3");
    EXPECT_EQ(s.FirstPointLabel, "First point: 4000 cm^(-1)");
    EXPECT_EQ(s.IntervalLabel, "points: -1 cm^(-1)");
    EXPECT_EQ(s.mnuCopyYPercentCaption, "Copy Y % values (calculated from file values)");
    EXPECT_EQ(s.mnuSaveDataYPercentCaption, "Save Data (Calculated Y % values only) As...");
    EXPECT_EQ(s.HeaderList.size(), 61u);
    EXPECT_EQ(s.HeaderList.back(), "#DATA");
}

TEST(SpReader, FillsTheSampleLabels) {
    Spectrum s;
    ASSERT_TRUE(Read(Transmittance({1}), s).ok);
    EXPECT_EQ(s.Label14[0], "Sample: Polystyrene");
    EXPECT_EQ(s.Label14[1], "Date: 20/05/98");
    EXPECT_EQ(s.Label14[2], "Operator: Jane");
    EXPECT_EQ(s.Label14[3], "Sample prep. as: ");
    EXPECT_EQ(s.Label14[4], "Perkin-Elmer ABC");
    EXPECT_EQ(s.Label14[5], "Remarks1: film");
    EXPECT_EQ(s.Label14[6], "Remarks2: ");

    SpFile file = Transmittance({1});
    file.instrument = "no comma here";
    file.date = "7/1";  // a short date line gives what it has
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.Label14[4], "Perkin-Elmer no comma here");
    EXPECT_EQ(s.Label14[1], "Date: //7/");
}

TEST(SpReader, EmptyFileTitleGivesTheDemoCaption) {
    Spectrum s;
    ASSERT_TRUE(Read(Transmittance({1}), s, "").ok);
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (Demo.sp)");
}

TEST(SpReader, MarkerMustBeOnLines2To81) {
    Spectrum s;
    SpFile file = Transmittance({1, 2});
    file.linesBeforeData = 80;  // marker on line 81
    EXPECT_TRUE(Read(file, s).ok);

    file.linesBeforeData = 81;  // marker on line 82
    ReadOutcome outcome = Read(file, s);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, kNoMarker);
    ExpectEmptyPoints(s);
    EXPECT_EQ(s.HeaderList.size(), 81u);
}

TEST(SpReader, ShortFilesFailWithSomethingWrong) {
    Spectrum s;
    // Ends before line 81 without a marker: reading past the end.
    ReadOutcome outcome = ReadSpBytes("line1\r\nline2\r\n", {}, s);
    EXPECT_EQ(outcome.message, kSomethingWrong);
    EXPECT_EQ(ReadSpBytes("", {}, s).message, kSomethingWrong);
    // Lone LF does not end a line: one long line, then the end of the file.
    SpFile lf = Transmittance({1});
    lf.lineEnd = "\n";
    EXPECT_EQ(Read(lf, s).message, kSomethingWrong);
    ExpectEmptyPoints(s);
}

TEST(SpReader, DataPartShorterThanTheCountFails) {
    Spectrum s;
    SpFile file = Transmittance({1, 2, 3});
    file.count = "4";
    ReadOutcome outcome = Read(file, s);
    EXPECT_EQ(outcome.message, kSomethingWrong);
    ExpectEmptyPoints(s);

    file.count = "2";  // extra data beyond N is ignored
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.PointCount, 2);
}

TEST(SpReader, UnitChecksAreExactAndOrdered) {
    Spectrum s;
    SpFile file = Transmittance({1});
    file.xUnit = "cm-1";
    EXPECT_EQ(Read(file, s).message, kNotWavenumbers);
    // Labels replaced before the unit check stay replaced.
    EXPECT_EQ(s.PointCountLabel, "Number of points: 1");
    EXPECT_EQ(s.IntervalLabel, "points: -1 cm^(-1)");
    ExpectEmptyPoints(s);

    file.xUnit = "CM-1 ";
    EXPECT_EQ(Read(file, s).message, kNotWavenumbers);

    file.xUnit = "CM-1";
    file.yUnit = "%t";
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);

    // A point count beyond the 16-bit step count fails before the unit test.
    file.yUnit = "%T";
    file.xUnit = "NM";
    file.count = "40000";
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);
}

TEST(SpReader, PointCountRulesAndNumbers) {
    Spectrum s;
    SpFile file = Transmittance(std::vector<std::int32_t>(32768, 100));
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);  // N above 32767
    file.values.resize(32767);
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.ViewLastPoint, 32767);

    file = Transmittance({1, 2, 3});
    file.count = " 2.5";  // rounded half to even
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.PointCount, 2);
    file.count = "-2";
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);
    file.count = "3";
    file.firstX = "0";  // 10000 / 0
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);
    file.firstX = "2";  // the last abscissa is 0
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);
    file.firstX = "1E999";
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);
    file.firstX = "1E300";  // an abscissa beyond the Single range
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);

    // A file without a single point is no spectrum; one point is.
    ASSERT_TRUE(Read(Transmittance({100, 200}), s).ok);
    EXPECT_EQ(Read(Transmittance({}), s).message, kSomethingWrong);
    ExpectEmptyPoints(s);
    ASSERT_TRUE(Read(Transmittance({4194304}), s).ok);
    EXPECT_EQ(s.PointCount, 1);
}

TEST(SpReader, AbsorbanceFilesAreConvertedAfterTheExportTexts) {
    Spectrum s;
    SpFile file = Transmittance({8388608, 0, 4194304});  // A = 1, 0, 0.5
    file.yUnit = "ABS";
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(s.YFactor, 8388608.0);
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues), "1\r\n0\r\n0.5\r\n");
    EXPECT_EQ(ExportTextOf(s, ExportText::StoredY), "8388608\r\n0\r\n4194304\r\n");
    EXPECT_EQ(s.RawY[1], 83886080);   // 10 %T
    EXPECT_EQ(s.RawY[2], 838860800);  // 100 %T
    EXPECT_EQ(s.RawY[3], ToLong(838860800.0 / std::sqrt(10.0)));
    // tmax comes from the smallest absorbance.
    EXPECT_EQ(s.YAxisTop, 105.0f);
    EXPECT_EQ(s.YAxisBottom, 10.0f);
    EXPECT_EQ(s.mnuCopyYPercentCaption, "Copy Y (Absorbance) values (calculated from file values)");
    EXPECT_EQ(s.mnuSaveDataYPercentCaption,
              "Save Data (Calculated Y (Absorbance) values only) As...");
    EXPECT_EQ(DefaultSaveName(s, ExportText::YValues), "Demo(Y(Absorbance)).txt");
}

TEST(SpReader, AbsorbanceBelowMinusPoint408Overflows) {
    Spectrum s;
    SpFile file = Transmittance({-3439329});  // A = -0.41: 257 %T, beyond a Long
    file.yUnit = "ABS";
    EXPECT_EQ(Read(file, s).message, kSomethingWrong);
    ExpectEmptyPoints(s);
    file.values = {-3397386};  // A = -0.405 still fits
    EXPECT_TRUE(Read(file, s).ok);
}

TEST(SpReader, AscendingFilesAreHeldLargestWavenumberFirst) {
    Spectrum s;
    SpFile file = Transmittance({10, 20, 30});
    file.firstX = "400";
    file.deltaX = "2";
    ASSERT_TRUE(Read(file, s).ok);
    EXPECT_EQ(s.WaveX, (std::vector<float>{0.0f, 404.0f, 402.0f, 400.0f}));
    EXPECT_EQ(s.RawY, (std::vector<std::int32_t>{0, 30, 20, 10}));
    EXPECT_EQ(s.DeltaX, -2.0);
    EXPECT_EQ(s.FirstX, 404.0);
    EXPECT_EQ(s.LastX, 400.0);
    EXPECT_EQ(s.FullFirstX, 404.0);
    EXPECT_EQ(s.FullLastX, 400.0);
    EXPECT_EQ(s.LastWL, 25.0);
    EXPECT_EQ(s.FirstPointLabel, "First point: 404 cm^(-1)");
    EXPECT_EQ(s.IntervalLabel, "points: -2 cm^(-1)");
    // The export texts keep the file's order.
    EXPECT_EQ(ExportTextOf(s, ExportText::StoredY), "10\r\n20\r\n30\r\n");
    EXPECT_EQ(ExportTextOf(s, ExportText::X), "400\r\n402\r\n404\r\n");
}

TEST(SpReader, ExportTextsHaveOneLinePerPointInFileOrder) {
    for (int n : {1, 100, 250}) {
        std::vector<std::int32_t> values;
        for (int i = 0; i < n; ++i) {
            values.push_back(i * 1000 - 7);
        }
        SpFile file = Transmittance(values);
        file.deltaX = "-0.5";
        Spectrum s;
        ASSERT_TRUE(Read(file, s).ok) << n;
        std::string zz, zzx;
        for (int i = 0; i < n; ++i) {
            zz += std::to_string(values[i]) + "\r\n";
            zzx += SingleText(static_cast<float>(4000.0 - 0.5 * i)) + "\r\n";
        }
        // Nothing is written before it is asked for.
        EXPECT_TRUE(s.ZZ.empty() && s.ZZX.empty() && s.ZZYE.empty()) << n;
        EXPECT_EQ(ExportTextOf(s, ExportText::StoredY), zz) << n;
        EXPECT_EQ(ExportTextOf(s, ExportText::X), zzx) << n;
        EXPECT_EQ(std::count(ExportTextOf(s, ExportText::YValues).begin(),
                             ExportTextOf(s, ExportText::YValues).end(), '\n'),
                  n);
    }
}

TEST(SpReader, ReportsProgressUpToTheLastPoint) {
    Spectrum s;
    int last = -1;
    int maximum = -1;
    ReadRequest request;
    request.progress = [&](int value, int max) {
        last = value;
        maximum = max;
    };
    ASSERT_TRUE(
        ReadSpBytes(Transmittance(std::vector<std::int32_t>(5000, 7)).Bytes(), request, s).ok);
    EXPECT_EQ(last, 5000);
    EXPECT_EQ(maximum, 5000);
}

TEST(SpReader, FailureAfterASuccessLeavesNoStaleData) {
    Spectrum s;
    ASSERT_TRUE(Read(Transmittance({1, 2, 3}), s).ok);
    SpFile bad = Transmittance({1});
    bad.yUnit = "XX";
    EXPECT_FALSE(Read(bad, s).ok);
    ExpectEmptyPoints(s);
    EXPECT_TRUE(s.Loading);
}

TEST(SpReader, MissingFileFails) {
    Spectrum s;
    ReadOutcome outcome = ReadSpFile("/nonexistent/x.sp", {}, s);
    EXPECT_EQ(outcome.message, kSomethingWrong);
    EXPECT_TRUE(s.OpenFailed);
}

TEST(SpReader, ReadsTheDemonstrationSpectrum) {
    Spectrum s;
    ASSERT_TRUE(ReadSpFile(HALVORN_DATA_DIR "/Demo.sp", {}, s).ok);
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (Demo.sp)");
    EXPECT_EQ(s.PointCount, 3551);
    EXPECT_EQ(s.FirstX, 4000.0);
    EXPECT_EQ(s.LastX, 450.0);
    EXPECT_GT(s.HeaderList.size(), 59u);
    EXPECT_LT(s.HeaderList.size(), 82u);
}

// Whatever the bytes, a read either succeeds with a record whose arrays, counts
// and range agree, or fails with a message and an empty record.
void ExpectConsistent(const std::string& bytes) {
    Spectrum s;
    const ReadOutcome outcome = ReadSpBytes(bytes, {}, s);
    if (!outcome.ok) {
        ASSERT_FALSE(outcome.message.empty());
        ASSERT_EQ(s.PointCount, 0);
        ASSERT_EQ(s.RawY.size(), 1u);
        return;
    }
    ASSERT_GE(s.PointCount, 0);
    ASSERT_LE(s.PointCount, 32767);
    ASSERT_EQ(s.RawY.size(), static_cast<std::size_t>(s.PointCount) + 1);
    ASSERT_EQ(s.WaveX.size(), s.RawY.size());
    ASSERT_EQ(s.ViewLastPoint, s.PointCount);
    if (s.PointCount > 1) {
        ASSERT_GE(s.WaveX[1], s.WaveX[s.PointCount]);
    }
}

TEST(SpReader, SurvivesTruncationAndMutation) {
    SpFile file = Transmittance({4194304, 2097152, 41943, -5, 0, 2147483647});
    file.yUnit = "ABS";
    const std::string valid = file.Bytes();
    for (std::size_t length = 0; length <= valid.size(); ++length) {
        ExpectConsistent(valid.substr(0, length));
    }
    std::uint64_t state = 99;
    auto next = [&] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return state >> 33;
    };
    const std::string alphabet = "0123456789.-+ED\r\n#ATCMS%,\t";
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = valid;
        for (int k = 0; k < 3; ++k) {
            const std::size_t at = next() % bytes.size();
            bytes[at] = (next() % 2) ? alphabet[next() % alphabet.size()]
                                     : static_cast<char>(next() & 0xFF);
        }
        ExpectConsistent(bytes);
    }
}

}  // namespace
}  // namespace halvorn

namespace halvorn {
namespace {

TEST(SpReader, AbsorbancesConvertAsByThePowerOfTen) {
    std::mt19937 random(11);
    std::uniform_int_distribution<std::int32_t> absorbance(-600000, 40000000);
    std::vector<std::int32_t> values;
    for (int i = 0; i < 3000; ++i) {
        values.push_back(absorbance(random));
    }
    // Whole decades and small values, where the transmittance is exact or large.
    values.insert(values.end(), {0, 8388608, 16777216, 4194304, -1, 1});
    SpFile file = Transmittance(values);
    file.yUnit = "ABS";
    Spectrum s;
    ASSERT_TRUE(Read(file, s).ok);
    std::vector<std::int32_t> expected = {0};
    for (std::int32_t value : values) {
        expected.push_back(ToLong(838860800.0 / std::pow(10.0, value / 8388608.0)));
    }
    std::vector<std::int32_t> reversed = {0};
    reversed.insert(reversed.end(), expected.rbegin(), expected.rend() - 1);
    // The record holds the points with the largest wavenumber first.
    EXPECT_TRUE(s.RawY == expected || s.RawY == reversed);
}

}  // namespace
}  // namespace halvorn
