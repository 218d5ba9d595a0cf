// The JCAMP-DX files the plain reader refuses, read by the general reader
// behind it: hand-made files for the rule that chooses the path, and the real
// files of the corpus beside the repository (skipped without it), with values
// read off the files themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "import/file_bytes.h"
#include "import/jcamp_reader.h"
#include "read_checks.h"

namespace halvorn {
namespace {

const std::filesystem::path kCorpus = HALVORN_CORPUS_DIR;

struct Read {
    ReadOutcome outcome;
    Spectrum s;
};

Read ReadBytes(const std::string& bytes, int block = 0) {
    Read r;
    ReadRequest request;
    request.fileTitle = "file.jdx";
    request.block = block;
    r.outcome = ReadJcampBytes(bytes, request, r.s);
    return r;
}

std::optional<std::string> CorpusFile(const std::string& name) {
    return ReadFileBytes((kCorpus / "jcamp" / name).string());
}

bool ReadAsStandard(const Spectrum& s) {
    return !s.DiagnosticList.empty() &&
           s.DiagnosticList.front().starts_with("read as standard JCAMP-DX: ");
}

double PercentAt(const Spectrum& s, std::int32_t point) {
    return s.RawY[static_cast<std::size_t>(point)] / s.YFactor;
}

#define SKIP_WITHOUT_CORPUS()                                                             \
    if (!std::filesystem::is_directory(kCorpus)) {                                        \
        GTEST_SKIP() << "corpus not found at " << kCorpus << "; real-file tests skipped"; \
    }

const std::string kPlain =
    "##TITLE=plain\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n##YFACTOR=1\n##FIRSTX=1000\n"
    "##LASTX=1003\n##DELTAX=1\n##NPOINTS=4\n##XYDATA=(X++(Y..Y))\n1000 0.5 0.6\n1002 0.7 0.8\n"
    "##END=\n";

TEST(JcampFallbackTest, ThePlainReaderKeepsItsFilesAndHandsOnTheOthers) {
    // A file the plain reader reads stays its own: no line of the general one.
    const Read plain = ReadBytes(kPlain);
    ASSERT_TRUE(plain.outcome.ok) << plain.outcome.message;
    EXPECT_FALSE(ReadAsStandard(plain.s));
    EXPECT_EQ(plain.s.PointCount, 4);

    // The same points packed, in difference form, without ##NPOINTS=, or as
    // pairs: read by the general reader, which says so in one line.
    for (const auto& [data, form] : std::vector<std::pair<std::string, std::string>>{
             {"##NPOINTS=4\n##XYDATA=(X++(Y..Y))\n1000+50+60\n1002+70+80\n", "PAC"},
             {"##NPOINTS=4\n##XYDATA=(X++(Y..Y))\n1000E0J0J0\n1002G0J0\n", "DIF"},
             {"##XYDATA=(X++(Y..Y))\n1000 50 60\n1002 70 80\n", "AFFN"},
             {"##NPOINTS=4\n##XYPOINTS=(XY..XY)\n1000,50;1001,60;1002,70;1003,80\n", "(XY..XY)"},
             {"##NPOINTS=4\n##XYDATA=(XY..XY)\n1000,50;1001,60;1002,70;1003,80\n", "(XY..XY)"},
             {"##NPOINTS=4\n##XYDATA= (xy..xy)\n1000, 50\n1001, 60 1002, 70\n1003, 80\n",
              "(XY..XY)"}}) {
        const Read r = ReadBytes(
            "##TITLE=t\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n##YFACTOR=0.01\n##FIRSTX=1000\n"
            "##LASTX=1003\n##DELTAX=1\n" +
            data + "##END=\n");
        ASSERT_TRUE(r.outcome.ok) << form << ": " << r.outcome.message;
        ASSERT_FALSE(r.s.DiagnosticList.empty());
        EXPECT_EQ(r.s.DiagnosticList.front(), "read as standard JCAMP-DX: " + form + ", 4 points");
        EXPECT_EQ(test::Percent(r.s), (std::vector<double>{80, 70, 60, 50})) << form;
    }

    // Pairs under ##XYDATA that read as a table of lines stay the plain
    // reader's.
    const Read pairLines = ReadBytes(
        "##TITLE=t\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n##YFACTOR=0.01\n##FIRSTX=1000\n"
        "##LASTX=1003\n##DELTAX=1\n##NPOINTS=4\n##XYDATA=(XY..XY)\n1000 50\n1001 60\n1002 70\n"
        "1003 80\n##END=\n");
    ASSERT_TRUE(pairLines.outcome.ok) << pairLines.outcome.message;
    EXPECT_FALSE(ReadAsStandard(pairLines.s));
    EXPECT_EQ(test::Percent(pairLines.s), (std::vector<double>{80, 70, 60, 50}));

    // A refusal for another reason keeps the plain reader's message.
    std::string zeroFactor = kPlain;
    zeroFactor.insert(zeroFactor.find("##FIRSTX"), "##XFACTOR=0\n");
    const Read refused = ReadBytes(zeroFactor);
    test::ExpectFailure(refused.outcome, refused.s, "The abscissa factor (##XFACTOR=) is 0.");

    // A block other than the first goes to the general reader, which honours it.
    const std::string twoBlocks = "##TITLE=link\n##DATA TYPE=LINK\n##BLOCKS=2\n" + kPlain +
                                  "##TITLE=second\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n"
                                  "##FIRSTX=2000\n##DELTAX=1\n##XYDATA=(X++(Y..Y))\n2000 0.1 0.2\n"
                                  "##END=\n##END=\n";
    const Read first = ReadBytes(twoBlocks);
    ASSERT_TRUE(first.outcome.ok) << first.outcome.message;
    EXPECT_EQ(first.s.Label14[0], "plain");
    const Read second = ReadBytes(twoBlocks, 2);
    ASSERT_TRUE(second.outcome.ok) << second.outcome.message;
    EXPECT_EQ(second.s.Label14[0], "second");
    EXPECT_EQ(second.s.PointCount, 2);
    EXPECT_TRUE(ReadAsStandard(second.s));
    const Read missing = ReadBytes(twoBlocks, 5);
    test::ExpectFailure(missing.outcome, missing.s, "there is no block 5");
}

struct Expected {
    const char* file;
    const char* form;
    std::int32_t points;
    std::int32_t point;  // 1-based, largest wavenumber first
    double wavenumber;
    double percent;
};

TEST(JcampFallbackTest, CorpusFilesTheDocumentedReaderRefusesReadWithTheirValues) {
    SKIP_WITHOUT_CORPUS();
    // Values read off the files: the ordinate token times YFACTOR (times 100
    // for a fraction, 10^-A for absorbance), at the abscissa FIRSTX + index x
    // the step, or the line's own.
    const std::vector<Expected> expected = {
        {"PE1800.DX", "PAC", 3301, 1, 4000.0, 101.60},           // 4000 +10160
        {"PE1800.DX", "PAC", 3301, 3301, 700.0, 101.24},         // ...+10124 at 700
        {"SPECFILE.DX", "DIFDUP", 1801, 1801, 400.0, 97.737},    // 3200C1276: 31276 x 0.003125
        {"SPECFILE.DX", "DIFDUP", 1801, 1, 4000.0, 82.831},      // last value 26506
        {"BRUKER1.JCM", "DIFDUP", 3735, 1, 4000.655, 91.0645},   // G460: 7460 x 0.012207
        {"BRUKER2.JCM", "DIFDUP", 3735, 1, 4000.655, 91.0904},   // A66: A = 166 x 2.4414e-4
        {"dupinc2.jdx", "DIFDUP", 3734, 3734, 400.172, 44.97},   // D497: 4497 x 0.01
        {"ethanol2.jdx", "DIF", 1764, 1764, 599.862, 41.5825},   // D15824699 x 1e-7
        {"sqzdupd1.jdx", "SQZDUP", 18669, 1, 5000.032, 98.287},  // B1399 x 4.593e-5, a fraction
        {"sqzdupd1.jdx", "SQZDUP", 18669, 2, 4999.791, 98.287},  // T: the same again
        {"isopropanol_ASDF.jdx", "DIFDUP", 9541, 9541, 400.196, 93.314},  // A058: A = 0.030052
        {"fitr_nitrocellulose.jdx", "PAC", 7154, 1, 7498.994, 98.673},    // reflectance, scaled
        {"fixinc1.jdx", "PAC", 3736, 3736, 399.264, 112.891},             // 414 236748675
        {"fixdec1.jdx", "PAC", 3951, 1, 4400.007, 64.915},                // 4400 68068800
        {"1-butanol.jdx", "PAC", 14106, 14106, 574.928, 0.8296},          // scaled
        {"example_compound_file.jdx", "(XY..XY)", 2074, 1, 11995.21, 92.873},  // A = 0.032112
        {"transmittance.txt", "AFFN", 5901, 1, 11999.04, 67.67},               // 0.8334 um, 0.6767
        {"transmittance.txt", "AFFN", 5901, 5901, 603.621, 91.83},             // 16.5667 um, 0.9183
    };
    for (const Expected& e : expected) {
        const std::optional<std::string> bytes = CorpusFile(e.file);
        ASSERT_TRUE(bytes) << e.file;
        const Read r = ReadBytes(*bytes);
        ASSERT_TRUE(r.outcome.ok) << e.file << ": " << r.outcome.message;
        ASSERT_TRUE(ReadAsStandard(r.s)) << e.file;
        EXPECT_EQ(r.s.DiagnosticList.front(), std::string("read as standard JCAMP-DX: ") + e.form +
                                                  ", " + std::to_string(e.points) + " points");
        ASSERT_EQ(r.s.PointCount, e.points) << e.file;
        EXPECT_NEAR(r.s.WaveX[static_cast<std::size_t>(e.point)], e.wavenumber, 0.002) << e.file;
        EXPECT_NEAR(PercentAt(r.s, e.point), e.percent, 0.001) << e.file << " point " << e.point;
        EXPECT_GT(r.s.WaveX[1], r.s.WaveX[static_cast<std::size_t>(e.points)]) << e.file;
    }

    // Scaled ordinates span 0..100 and say so in the caption.
    for (const char* file : {"fitr_nitrocellulose.jdx", "1-butanol.jdx", "JCAMP_test_file.jdx"}) {
        const Read r = ReadBytes(*CorpusFile(file));
        ASSERT_TRUE(r.outcome.ok) << file << ": " << r.outcome.message;
        EXPECT_EQ(r.s.Caption, "Infrared Spectrum: File - (file.jdx) (scaled)") << file;
        EXPECT_EQ(r.s.RawYMin, 0) << file;
        EXPECT_NEAR(r.s.RawYMax / r.s.YFactor, 100.0, 1e-6) << file;
    }
    // The point at 0 cm-1 of this file has no wavelength and is left out.
    const Read counts = ReadBytes(*CorpusFile("JCAMP_test_file.jdx"));
    EXPECT_EQ(counts.s.PointCount, 16383);
    EXPECT_NEAR(counts.s.WaveX[16383], 15801.4671743 / 16383, 1e-3);
}

TEST(JcampFallbackTest, BlocksOfTheCyrillicLinkFile) {
    SKIP_WITHOUT_CORPUS();
    const std::string bytes = *CorpusFile("JDX-nicolet.JDX");
    // The first block stays the plain reader's.
    const Read first = ReadBytes(bytes);
    ASSERT_TRUE(first.outcome.ok);
    EXPECT_FALSE(ReadAsStandard(first.s));
    EXPECT_EQ(first.s.PointCount, 1764);
    // Another block: its title in UTF-8 ("5 ик"), the others named.
    const Read third = ReadBytes(bytes, 3);
    ASSERT_TRUE(third.outcome.ok) << third.outcome.message;
    EXPECT_EQ(third.s.Label14[0], "5 \xD0\xB8\xD0\xBA");
    EXPECT_EQ(third.s.PointCount, 1764);
    EXPECT_EQ(third.s.DiagnosticList[1], "block 3 of 16 shown");
    EXPECT_EQ(third.s.DiagnosticList[2], "block 1: \"7 \xD0\xB8\xD0\xBA\" (INFRARED SPECTRUM)");
    EXPECT_NEAR(third.s.WaveX[1], 3999.705811, 0.001);
    const Read large = ReadBytes(bytes, 16);
    ASSERT_TRUE(large.outcome.ok) << large.outcome.message;
    EXPECT_EQ(large.s.PointCount, 20535);
}

TEST(JcampFallbackTest, TruncatedAndMutatedCompressedFilesNeverCrash) {
    SKIP_WITHOUT_CORPUS();
    std::mt19937 random(7);
    for (const char* file : {"SPECFILE.DX", "BRUKER2.JCM", "dupinc2.jdx", "ethanol2.jdx",
                             "example_compound_file.jdx"}) {
        const std::string bytes = *CorpusFile(file);
        test::ForEachDamagedCopy(bytes, 1 + bytes.size() / 97, 150, 4, random,
                                 [&](const std::string& text) {
                                     const Read r = ReadBytes(text);
                                     test::ExpectSelfConsistent(r.outcome, r.s, file);
                                 });
    }
}

}  // namespace
}  // namespace halvorn
