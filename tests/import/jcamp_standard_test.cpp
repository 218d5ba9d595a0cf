// The general JCAMP-DX reader on hand-made files: the checks of compressed
// tables, blocks, units, refusals of other spectra, and damaged input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/export_text.h"
#include "import/jcamp_standard.h"
#include "read_checks.h"

namespace halvorn {
namespace {

using test::ExpectFailure;
using test::Percent;
using test::Wave;

struct Read {
    StandardJcampRead result;
    Spectrum s;
};

Read ReadText(const std::string& text, int block = 0) {
    Read r;
    ReadRequest request;
    request.fileTitle = "test.jdx";
    request.block = block;
    r.result = ReadStandardJcamp(text, request, r.s);
    return r;
}

// A header of an infrared block with the given further lines.
std::string Header(const std::string& lines) {
    return "##TITLE=test\n##JCAMP-DX=4.24\n##DATA TYPE=INFRARED SPECTRUM\n" + lines;
}

bool HasLine(const std::vector<std::string>& list, const std::string& part) {
    for (const std::string& line : list) {
        if (line.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

const std::string kDifFile = Header(
    "##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n##XFACTOR=1\n##YFACTOR=0.01\n"
    "##FIRSTX=1000\n##LASTX=1008\n##DELTAX=1\n##NPOINTS=9\n##XYDATA=(X++(Y..Y))\n"
    "1000 A000J000U\n"  // 1000 2000 3000 4000
    "1003 D000j000T\n"  // check 4000, then 3000 2000
    "1005 B000%J000\n"  // check 2000, then 2000 3000
    "1007 C000J000\n"   // check 3000, then 4000
    "##END=\n");

TEST(StandardJcampTest, DifferenceTableWithCheckValuesReadsEveryPoint) {
    const Read r = ReadText(kDifFile);
    ASSERT_TRUE(r.result.outcome.ok) << r.result.outcome.message;
    const Spectrum& s = r.s;
    EXPECT_EQ(s.PointCount, 9);
    // Largest wavenumber first; fractions become percent.
    EXPECT_EQ(Wave(s), (std::vector<float>{1008, 1007, 1006, 1005, 1004, 1003, 1002, 1001, 1000}));
    EXPECT_EQ(Percent(s), (std::vector<double>{40, 30, 20, 20, 30, 40, 30, 20, 10}));
    EXPECT_DOUBLE_EQ(s.DeltaX, -1.0);
    EXPECT_DOUBLE_EQ(s.FirstX, 1008.0);
    EXPECT_DOUBLE_EQ(s.LastX, 1000.0);
    EXPECT_EQ(s.ViewLastPoint, 9);
    ASSERT_FALSE(s.DiagnosticList.empty());
    EXPECT_EQ(s.DiagnosticList[0], "read as standard JCAMP-DX: DIFDUP, 9 points");
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (test.jdx)");
    EXPECT_EQ(s.Label14[0], "test");
    EXPECT_EQ(s.Label14[5], "XUNITS=1/CM");
    EXPECT_EQ(s.HeaderList.back(), "##XYDATA=(X++(Y..Y))");
    EXPECT_EQ(ExportTextOf(s, ExportText::X).substr(0, 12), "1008\r\n1007\r\n");

    // Without ##NPOINTS= the data give the count.
    std::string noCount = kDifFile;
    noCount.erase(noCount.find("##NPOINTS=9\n"), 12);
    const Read counted = ReadText(noCount);
    ASSERT_TRUE(counted.result.outcome.ok) << counted.result.outcome.message;
    EXPECT_EQ(counted.s.PointCount, 9);
}

TEST(StandardJcampTest, CheckValueAndAbscissaMismatchesAreErrorsWithTheirLine) {
    // The check value at the start of line 14 does not repeat 4000.
    std::string wrongCheck = kDifFile;
    wrongCheck.replace(wrongCheck.find("1003 D000"), 9, "1003 D001");
    Read r = ReadText(wrongCheck);
    ExpectFailure(r.result.outcome, r.s, "Data line 14 starts with the check value 4001");

    // Counted past a long header too, in CR LF and in CR alone.
    std::string comments;
    for (int k = 0; k < 300; ++k) {
        comments += "##$COMMENT= a line of the header, long enough to matter\n";
    }
    std::string longHeader = wrongCheck;
    longHeader.insert(longHeader.find("##XUNITS"), comments);
    r = ReadText(longHeader);
    ExpectFailure(r.result.outcome, r.s, "Data line 314 starts with the check value 4001");
    for (const std::string ending : {"\r\n", "\r"}) {
        std::string other;
        for (const char c : longHeader) {
            other += c == '\n' ? ending : std::string(1, c);
        }
        r = ReadText(other);
        ExpectFailure(r.result.outcome, r.s, "Data line 314 starts with the check value 4001");
    }

    // A line lost: the next line's abscissa is three points off.
    std::string lost = Header(
        "##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n##FIRSTX=1000\n##DELTAX=1\n##XYDATA=(X++(Y..Y))\n"
        "1000.0 0.1 0.2 0.3\n1006.0 0.4 0.5 0.6\n");
    r = ReadText(lost);
    ExpectFailure(r.result.outcome, r.s, "Data line 10 starts at 1006");

    // A count that disagrees with ##NPOINTS=.
    std::string fewer = kDifFile;
    fewer.replace(fewer.find("##NPOINTS=9"), 11, "##NPOINTS=8");
    r = ReadText(fewer);
    ExpectFailure(r.result.outcome, r.s, "but ##NPOINTS= gives 8");

    // Abscissae rounded on the line are within the check.
    const Read rounded = ReadText(
        Header("##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n##FIRSTX=4400.007\n##LASTX=4394.007\n"
               "##NPOINTS=4\n##XYDATA=(X++(Y..Y))\n 4400   68068800-68092800\n 4396 1-2\n"));
    EXPECT_TRUE(rounded.result.outcome.ok) << rounded.result.outcome.message;
}

TEST(StandardJcampTest, OrdinateUnitsBecomePercentOrAreScaled) {
    const auto file = [](const std::string& yUnits, const std::string& extra,
                         const std::string& values) {
        return Header("##XUNITS=1/CM\n##YUNITS=" + yUnits + "\n" + extra +
                      "##FIRSTX=4000\n##DELTAX=-1\n##XYDATA=(X++(Y..Y))\n4000 " + values + "\n");
    };
    // Fractions, percent told by the values, percent told by MAXY.
    EXPECT_EQ(Percent(ReadText(file("TRANSMITTANCE", "", "0.5 0.25 1")).s),
              (std::vector<double>{50, 25, 100}));
    EXPECT_EQ(Percent(ReadText(file("TRANSMITTANCE", "", "50 25 100")).s),
              (std::vector<double>{50, 25, 100}));
    // A MAXY that disagrees with the values does not decide.
    EXPECT_EQ(Percent(ReadText(file("TRANSMITTANCE", "##MAXY=90\n", "1 1.2 0.5")).s),
              (std::vector<double>{100, 120, 50}));
    // A fraction that strays above 1.5 at one point stays a fraction.
    EXPECT_EQ(Percent(ReadText(file("TRANSMITTANCE", "##MAXY=1.6\n", "0.5 1.6 0.9")).s),
              (std::vector<double>{50, 160, 90}));
    // Absorbance 1 is 10 %T, 0 is 100 %T.
    EXPECT_EQ(Percent(ReadText(file("ABSORBANCE", "", "0 1 2")).s),
              (std::vector<double>{100, 10, 1}));

    // Other units are scaled into 0..100 and the caption says so.
    const Read scaled = ReadText(file("ARBITRARY UNITS", "", "2 4 12"));
    ASSERT_TRUE(scaled.result.outcome.ok) << scaled.result.outcome.message;
    EXPECT_EQ(Percent(scaled.s), (std::vector<double>{0, 20, 100}));
    EXPECT_EQ(scaled.s.Caption, "Infrared Spectrum: File - (test.jdx) (scaled)");
    EXPECT_TRUE(HasLine(scaled.s.DiagnosticList, "(scaled)"));
    // So are counts labelled as transmittance.
    const Read counts = ReadText(file("TRANSMITTANCE", "", "4000 2000000 28000000"));
    EXPECT_TRUE(counts.s.Caption.ends_with("(scaled)"));

    // The smallest and largest values set the scale wherever they stand in
    // a longer table, in the scans taken side by side or in the rest.
    for (int low = 0; low < 19; ++low) {
        const int high = (low + 7) % 19;
        std::string values;
        std::vector<double> expected;
        for (int k = 0; k < 19; ++k) {
            const int v = k == low ? 1 : k == high ? 9 : 5;
            values += std::to_string(v) + " ";
            expected.push_back(k == low ? 0 : k == high ? 100 : 50);
        }
        EXPECT_EQ(Percent(ReadText(file("ARBITRARY UNITS", "", values)).s), expected)
            << "lowest at " << low;
    }
}

TEST(StandardJcampTest, AbsorbancesOfEveryStepSizeConvertLikeThePowerOfTen) {
    // Whole-number absorbances in steps small and large, repeated and not,
    // from 0 to beyond 4: every stored ordinate as 10^-A gives it.
    std::mt19937 random(5);
    std::vector<long> values;
    long v = 1000;
    for (int k = 0; k < 3000; ++k) {
        const int kind = static_cast<int>(random() % 4);
        const long step = kind == 0   ? 0
                          : kind == 1 ? static_cast<long>(random() % 21) - 10
                                      : static_cast<long>(random() % 9001) - 4500;
        v = std::clamp(v + step, 0L, 45000L);
        values.push_back(v);
    }
    std::string file = Header(
        "##XUNITS=1/CM\n##YUNITS=ABSORBANCE\n##YFACTOR=0.0001\n##FIRSTX=4000\n##DELTAX=-1\n"
        "##XYDATA=(X++(Y..Y))\n");
    for (std::size_t k = 0; k < values.size(); k += 10) {
        file += std::to_string(4000 - static_cast<long>(k));
        for (std::size_t j = k; j < k + 10; ++j) {
            file += " " + std::to_string(values[j]);
        }
        file += "\n";
    }
    const Read r = ReadText(file);
    ASSERT_TRUE(r.result.outcome.ok) << r.result.outcome.message;
    ASSERT_EQ(r.s.PointCount, 3000);
    for (std::size_t k = 0; k < values.size(); ++k) {
        const double expected = std::nearbyint(
            100.0 * std::pow(10.0, -static_cast<double>(values[k]) * 0.0001) * r.s.YFactor);
        ASSERT_NEAR(r.s.RawY[k + 1], expected, 1.0) << "point " << k + 1;
    }
}

TEST(StandardJcampTest, MicrometresBecomeEvenlySpacedWavenumbers) {
    // 2, 2.5, 4, 5 um are 5000, 4000, 2500, 2000 cm-1: uneven, so the points
    // are interpolated onto 5000, 4000, 3000, 2000.
    const Read r =
        ReadText(Header("##XUNITS=MICROMETERS\n##YUNITS=TRANSMITTANCE\n##XYDATA=(X++(Y..Y))\n"
                        "2 0.1\n2.5 0.2\n4 0.5\n5 0.8\n"));
    ASSERT_TRUE(r.result.outcome.ok) << r.result.outcome.message;
    EXPECT_EQ(Wave(r.s), (std::vector<float>{5000, 4000, 3000, 2000}));
    EXPECT_EQ(Percent(r.s), (std::vector<double>{10, 20, 40, 80}));
    EXPECT_TRUE(HasLine(r.s.DiagnosticList, "resampled by linear interpolation onto 4"));
    EXPECT_DOUBLE_EQ(r.s.FirstWL, 2.0);
    EXPECT_DOUBLE_EQ(r.s.LastWL, 5.0);
}

TEST(StandardJcampTest, PairTablesAndMissingValues) {
    const Read r = ReadText(
        Header("##XUNITS=1/CM\n##YUNITS=ABSORBANCE\n##YFACTOR=0.001\n##NPOINTS=4\n"
               "##XYPOINTS=(XY..XY)\n 1000.0, 1000; 1001.0, ?;\n1002.0, 0; 1003.0,0\n##END=\n"));
    ASSERT_TRUE(r.result.outcome.ok) << r.result.outcome.message;
    EXPECT_EQ(Wave(r.s), (std::vector<float>{1003, 1002, 1001, 1000}));
    // The missing absorbance lies halfway between 1 and 0.
    EXPECT_EQ(Percent(r.s), (std::vector<double>{100, 100, 31.6228, 10}));
    EXPECT_EQ(r.s.DiagnosticList[0], "read as standard JCAMP-DX: (XY..XY), 4 points");
    EXPECT_TRUE(HasLine(r.s.DiagnosticList, "1 missing value(s)"));
}

TEST(StandardJcampTest, OtherKindsOfSpectraAreRefusedSayingWhatTheyHold) {
    Read r = ReadText(
        "##TITLE=proton\n##DATA TYPE=NMR SPECTRUM\n##XUNITS=HZ\n##YUNITS=ARBITRARY UNITS\n"
        "##FIRSTX=0\n##DELTAX=1\n##XYDATA=(X++(Y..Y))\n0 1 2 3\n##END=\n");
    ExpectFailure(r.result.outcome, r.s, "This file holds an NMR spectrum");
    EXPECT_TRUE(r.result.dataFound);
    r = ReadText(
        "##TITLE=uv\n##XUNITS=NANOMETERS\n##YUNITS=ABSORBANCE\n##FIRSTX=200\n"
        "##DELTAX=1\n##XYDATA=(X++(Y..Y))\n200 1 2 3\n");
    ExpectFailure(r.result.outcome, r.s, "a UV-Vis spectrum");
    r = ReadText(
        "##TITLE=ms\n##DATA TYPE=MASS SPECTRUM\n##XUNITS=M/Z\n"
        "##PEAK TABLE=(XY..XY)\n12,100 13,5\n");
    ExpectFailure(r.result.outcome, r.s, "a mass spectrum");
    // Text without any table is no spectrum file at all.
    r = ReadText("##TITLE=none\n##XUNITS=1/CM\n");
    ExpectFailure(r.result.outcome, r.s, "Cannot open!");
    EXPECT_FALSE(r.result.dataFound);
}

const std::string kLinkFile =
    "##TITLE=Two blocks\n##JCAMP-DX=5.01\n##DATA TYPE=LINK\n##BLOCKS=3\n"
    "##TITLE=proton\n##DATA TYPE=NMR SPECTRUM\n##XUNITS=HZ\n##FIRSTX=0\n##DELTAX=1\n"
    "##XYDATA=(X++(Y..Y))\n0 1 2 3\n##END=\n"
    "##TITLE=first ir\n##DATA TYPE=INFRARED SPECTRUM\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n"
    "##FIRSTX=1000\n##DELTAX=1\n##XYDATA=(X++(Y..Y))\n1000 0.1 0.2\n##END=\n"
    "##TITLE=second ir\n##DATA TYPE=INFRARED SPECTRUM\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n"
    "##FIRSTX=2000\n##DELTAX=1\n##XYDATA=(X++(Y..Y))\n2000 0.3 0.4 0.5\n##END=\n##END=\n";

TEST(StandardJcampTest, LinkFilesShowTheFirstInfraredBlockOrTheOneAskedFor) {
    Read r = ReadText(kLinkFile);
    ASSERT_TRUE(r.result.outcome.ok) << r.result.outcome.message;
    EXPECT_EQ(r.s.Label14[0], "first ir");
    EXPECT_EQ(Wave(r.s), (std::vector<float>{1001, 1000}));
    EXPECT_TRUE(HasLine(r.s.DiagnosticList, "block 2 of 3 shown"));
    EXPECT_TRUE(HasLine(r.s.DiagnosticList, "block 3: \"second ir\" (INFRARED SPECTRUM)"));
    EXPECT_TRUE(HasLine(r.s.DiagnosticList, "block 1: \"proton\" (NMR SPECTRUM)"));
    // The header list holds the LINK block's lines and the block's own.
    EXPECT_EQ(r.s.HeaderList.front(), "##TITLE=Two blocks");
    EXPECT_EQ(r.s.HeaderList[4], "##TITLE=first ir");

    r = ReadText(kLinkFile, 3);
    ASSERT_TRUE(r.result.outcome.ok) << r.result.outcome.message;
    EXPECT_EQ(r.s.Label14[0], "second ir");
    EXPECT_EQ(r.s.PointCount, 3);

    r = ReadText(kLinkFile, 1);
    ExpectFailure(r.result.outcome, r.s, "an NMR spectrum");
    r = ReadText(kLinkFile, 4);
    ExpectFailure(r.result.outcome, r.s, "there is no block 4");
    EXPECT_TRUE(JcampHasSeveralBlocks(kLinkFile));
    EXPECT_FALSE(JcampHasSeveralBlocks(kDifFile));
}

TEST(StandardJcampTest, LabelsInAnyFormCommentsAndCharacterSets) {
    const Read r = ReadText(
        "##TITLE=\xD2\xE5\xF1\xF2 \xEE\xE1\xF0\xE0\xE7\xE5\xF6  $$ a comment\n"
        "##data_type= Infrared Spectrum\n##X-Units= 1/cm \n##y units=TRANSMITTANCE\n"
        "##YFACTOR= 0.5  $$ halves\n##FirstX=10\n##Delta X=1\n##XYDATA=(X++(Y..Y))\n"
        "10 1 1.5 $$ two\n");
    ASSERT_TRUE(r.result.outcome.ok) << r.result.outcome.message;
    EXPECT_EQ(Percent(r.s), (std::vector<double>{75, 50}));
    // "Тест образец" in UTF-8.
    EXPECT_EQ(r.s.Label14[0],
              "\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82 \xD0\xBE\xD0\xB1\xD1\x80\xD0\xB0\xD0\xB7\xD0\xB5"
              "\xD1\x86");
    EXPECT_EQ(r.s.Label14[5], "XUNITS=1/cm");

    // A byte order mark before the first label.
    const Read marked = ReadText("\xEF\xBB\xBF" + kDifFile);
    ASSERT_TRUE(marked.result.outcome.ok) << marked.result.outcome.message;
    EXPECT_EQ(marked.s.Label14[0], "test");
}

TEST(StandardJcampTest, TruncatedAndMutatedFilesNeverCrash) {
    // Every prefix of a compressed file, and random byte changes of it, read
    // or refused with a message; the record always agrees with itself.
    const std::string base = kLinkFile + kDifFile;
    std::mt19937 random(12);
    test::ForEachDamagedCopy(base, 1, 3000, 3, random, [](const std::string& text) {
        const Read r = ReadText(text);
        test::ExpectSelfConsistent(r.result.outcome, r.s, "");
    });
}

}  // namespace
}  // namespace halvorn
