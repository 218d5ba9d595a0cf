// The forgiving table reader, reached through the *.prn reader for the tables
// that reader refuses: separators, decimal commas, header and footer lines,
// units decided from words and values, uneven abscissae, the real tables.
#include "import/delimited_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/export_text.h"
#include "core/numbers.h"
#include "import/file_bytes.h"
#include "import/prn_reader.h"
#include "import/read_checks.h"
#include "import/sp_file_builder.h"
#include "import/sp_reader.h"
#include "import/text_numbers.h"

namespace halvorn {
namespace {

using test::ExpectFailure;
using test::Percent;
using test::Wave;

const std::filesystem::path kCorpus = HALVORN_CORPUS_DIR;

ReadOutcome Read(const std::string& bytes, Spectrum& s) {
    ReadRequest request;
    request.fileTitle = "t.csv";
    return ReadPrnBytes(bytes, request, s);
}

bool Says(const Spectrum& s, const std::string& words) {
    for (const std::string& line : s.DiagnosticList) {
        if (line.find(words) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(DelimitedTable, SkipsHeaderLinesAndReadsEverySeparatorAndDecimalSign) {
    struct Case {
        const char* name;
        std::string bytes;
        const char* layout;
        std::size_t skipped;
    };
    const std::vector<Case> cases = {
        {"semicolons, decimal commas, two header lines",
         "Sample A\r\nWavenumber;Transmittance\r\n4000,0;95,5\r\n3999,0;95,0\r\n3998,0;94,5\r\n",
         "3 points, semicolon-separated, decimal comma, numbers from line 3", 2},
        {"commas and quotes, a trailing separator",
         "\"x\",\"y\"\n\"4000\",\"95.5\",\n\"3999\",\"95\",\n\"3998\",\"94.5\",\n",
         "3 points, comma-separated, decimal point, numbers from line 2", 1},
        {"blanks, exponents, a blank line first", "\n  4.000e3   95.5\n 3.999E+3 95\n3998  94.5\n",
         "3 points, blank-separated, decimal point, numbers from line 2", 0},
        {"TABs after a title", "My film\n4000\t95.5\n3999\t95\n3998\t94.5\n",
         "3 points, TAB-separated, decimal point, numbers from line 2", 1},
        {"TABs and decimal commas", "x\ty\n4000\t95,5\n3999\t95\n3998\t94,5\n",
         "3 points, TAB-separated, decimal comma, numbers from line 2", 1},
        {"TABs after a byte order mark",
         "\xEF\xBB\xBF"
         "4000\t95.5\r\n3999\t95\r\n3998\t94.5\r\n",
         "3 points, TAB-separated, decimal point, numbers from line 1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Spectrum s;
        ASSERT_TRUE(Read(c.bytes, s).ok);
        EXPECT_EQ(Wave(s), (std::vector<float>{4000, 3999, 3998}));
        EXPECT_EQ(Percent(s), (std::vector<double>{95.5, 95, 94.5}));
        EXPECT_TRUE(Says(s, c.layout)) << s.DiagnosticList[0];
        EXPECT_EQ(Says(s, "before the numbers skipped (header text, not two numbers)"),
                  c.skipped > 0);
        if (c.skipped > 0) {
            EXPECT_TRUE(
                Says(s, std::to_string(c.skipped) + (c.skipped == 1 ? " line " : " lines ")));
        }
        EXPECT_EQ(s.HeaderList.size(), c.skipped);
        EXPECT_EQ(s.Label14[0], "");
    }
}

TEST(DelimitedTable, ReadsUtf16Text) {
    const std::string text = "Wavenumber;\xB5\n4000,5;95,5\n3999,5;95\n";
    std::string little = "\xFF\xFE";
    std::string big = "\xFE\xFF";
    for (const char c : text) {
        little += std::string{c, '\0'};
        big += std::string{'\0', c};
    }
    for (const std::string& bytes : {little, big}) {
        Spectrum s;
        ASSERT_TRUE(Read(bytes, s).ok);
        EXPECT_EQ(Wave(s), (std::vector<float>{4000.5f, 3999.5f}));
        EXPECT_EQ(Percent(s), (std::vector<double>{95.5, 95}));
        EXPECT_EQ(s.HeaderList, std::vector<std::string>{"Wavenumber;?"});
    }
    EXPECT_FALSE(NarrowUtf16("4000\t95\n").has_value());
}

TEST(DelimitedTable, ItsDiagnosticLinesGoWithTheNextFile) {
    Spectrum s;
    ASSERT_TRUE(Read("x,y\n4000,95\n3000,50\n", s).ok);
    ASSERT_FALSE(s.DiagnosticList.empty());
    ASSERT_TRUE(Read("4000\t95\r\n3000\t50\r\n", s).ok);
    EXPECT_TRUE(s.DiagnosticList.empty());
    ASSERT_TRUE(Read("x,y\n4000,95\n3000,50\n", s).ok);
    test::SpFile sp;
    sp.values = {1, 2};
    ASSERT_TRUE(ReadSpBytes(sp.Bytes(), {}, s).ok);
    EXPECT_TRUE(s.DiagnosticList.empty());
}

TEST(DelimitedTable, DecidesTheOrdinateUnitFromWordsAndValuesAndSaysSo) {
    Spectrum s;
    // Values above 1.5 are %T, as in *.prn tables.
    ASSERT_TRUE(Read("4000,95\n3000,50\n2000,90\n", s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{95, 50, 90}));
    EXPECT_FALSE(s.FileIsAbsorbance);
    EXPECT_TRUE(Says(s, "second column taken as %T"));

    // Values up to 1.5 mostly near 1 are transmittance fractions.
    ASSERT_TRUE(Read("4000 0.95\n3000 0.5\n2000 0.9\n", s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{95, 50, 90}));
    EXPECT_TRUE(Says(s, "transmittance as a fraction"));

    // Values mostly near 0 are absorbances: listed as such, held as %T.
    ASSERT_TRUE(Read("4000,0.1\n3000,1\n2000,0.2\n", s).ok);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(s.YFactor, kAbsorbanceYFactor);
    EXPECT_EQ(s.RawY[2], 83886080);  // absorbance 1 is 10 %T
    EXPECT_TRUE(Says(s, "second column taken as absorbance (values 0.1 .. 1, most below 0.5)"));
    EXPECT_EQ(s.mnuCopyYPercentCaption, "Copy Y (Absorbance) values (calculated from file values)");

    // The header's word decides over the values.
    ASSERT_TRUE(Read("YUNITS,ABSORBANCE\n4000,0.5\n3000,0.75\n2000,1\n", s).ok);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues), "0.5\r\n0.75\r\n1\r\n");
    ASSERT_TRUE(Read("cm-1;%T\n4000;0.9\n3000;0.8\n2000;1\n", s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{90, 80, 100}));
    ASSERT_TRUE(Read("Wavenumber,Counts\n4000,10\n3000,30\n2000,20\n", s).ok);
    EXPECT_EQ(Percent(s), (std::vector<double>{0, 100, 50}));
    EXPECT_EQ(s.Caption, "Infrared Spectrum: File - (t.csv) (scaled)");
}

TEST(DelimitedTable, UnevenAbscissaeAndWavelengthsArePutOnAnEvenWavenumberGrid) {
    Spectrum s;
    ASSERT_TRUE(Read("1000,50\n1500,60\n3000,90\n", s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{3000, 2000, 1000}));
    EXPECT_EQ(Percent(s), (std::vector<double>{90, 70, 50}));
    EXPECT_EQ(s.DeltaX, -1000.0);
    EXPECT_TRUE(Says(s, "resampled by linear interpolation onto 3 even points"));

    // Micrometres, named by the header, become wavenumbers.
    ASSERT_TRUE(Read("Wavelength (um),%T\n2.5,90\n5,80\n10,70\n", s).ok);
    EXPECT_EQ(Wave(s), (std::vector<float>{4000, 2500, 1000}));
    EXPECT_EQ(Percent(s), (std::vector<double>{90, 82.5, 70}));
    EXPECT_TRUE(Says(s, "micrometres (the header says so), converted"));

    // A table that is nearly even keeps its own abscissae.
    ASSERT_TRUE(Read("4000.0001,50\n3999,60\n3998,90\n", s).ok);
    EXPECT_EQ(s.WaveX[1], 4000.0001f);
    EXPECT_FALSE(Says(s, "resampled"));
}

TEST(DelimitedTable, RefusesWhatHoldsNoInfraredSpectrum) {
    Spectrum s;
    ExpectFailure(Read("Wavelength (nm),Abs\n200,0.5\n300,0.4\n400,0.3\n", s), s,
                  "This file holds a UV/VIS spectrum (nm), not an infrared spectrum.");
    ExpectFailure(Read("4000,50\n3000,60\n3500,70\n", s), s, "neither rises nor falls");
    ExpectFailure(Read("4000,50\n0,60\n", s), s, "The last abscissa is 0");
    // Three columns, or one number a line, are not a two-column table: the
    // *.prn reader's own refusal stands.
    ExpectFailure(Read("4000,50,1\n3000,60,2\n", s), s, "gives the abscissa 0");
    EXPECT_FALSE(FindDelimitedTable("4000,50,1\n3000,60,2\n").has_value());
    EXPECT_FALSE(FindDelimitedTable("a\nb\n4000,5\n").has_value());
    // JCAMP-DX data lines are not read without their factors: the *.prn
    // reader's refusal stands.
    ExpectFailure(Read("##TITLE= x\n##YFACTOR= 0.001\n##XYDATA=(X++(Y..Y))\n4000 95000\n"
                       "3999 94000\n##END=\n",
                       s),
                  s, "holds a value too large");
}

TEST(DelimitedTable, HoldsUpTo32767PointsAndRefusesMore) {
    std::string bytes = "x;y\n";
    for (int k = 0; k < 32767; ++k) {
        bytes += std::to_string(4000 - k) + ".5;50\n";
    }
    Spectrum s;
    ASSERT_TRUE(Read(bytes, s).ok);
    EXPECT_EQ(s.PointCount, 32767);
    ExpectFailure(Read(bytes + "-28767.5;50\n", s), s, "holds 32768 lines of numbers");
}

TEST(DelimitedTable, NumbersAreReadExactlyAsTheLibraryReadsThem) {
    std::mt19937_64 random(7);
    for (int k = 0; k < 20000; ++k) {
        const int digits = 1 + static_cast<int>(random() % 17);
        std::string text = (random() % 2) ? "-" : "";
        for (int d = 0; d < digits; ++d) {
            text += static_cast<char>('0' + random() % 10);
        }
        text.insert(text.size() - static_cast<std::size_t>(random() % digits), ".");
        if (random() % 2) {
            text += "e" + std::to_string(static_cast<int>(random() % 50) - 25);
        }
        SCOPED_TRACE(text);
        const std::optional<double> value = WholeNumber(text);
        ASSERT_TRUE(value.has_value());
        ASSERT_EQ(*value, std::strtod(text.c_str(), nullptr));
        std::string comma = text;
        comma[comma.find('.')] = ',';
        ASSERT_EQ(WholeNumber(comma, true), value);
        ASSERT_FALSE(WholeNumber(comma, false).has_value());
    }
    for (const char* text : {"", "-", ".", "1e", "1.2.3", "1,5", "--1", "+-1", "1e999", "nan",
                             "inf", "0x10", "1 2", "1d5"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(WholeNumber(text).has_value());
    }
    EXPECT_EQ(WholeNumber("+4.000605e+003"), 4000.605);
    EXPECT_EQ(WholeNumber("-.5"), -0.5);
    EXPECT_EQ(WholeNumber("5."), 5.0);
}

TEST(DelimitedTable, TheRealTablesGiveTheValuesWrittenInThem) {
    if (!std::filesystem::is_directory(kCorpus)) {
        GTEST_SKIP() << "corpus not found";
    }
    Spectrum s;
    // 3736 lines "x,y" from 399.1926 to 4000.605 cm-1, %T.
    ASSERT_TRUE(Read(*ReadFileBytes((kCorpus / "prn/IR.CSV").string()), s).ok);
    EXPECT_EQ(s.PointCount, 3736);
    EXPECT_EQ(s.WaveX[1], 4000.605f);
    EXPECT_EQ(s.WaveX[3736], 399.1926f);
    EXPECT_EQ(s.WaveX[2737], 1362.462f);  // line 1000
    EXPECT_NEAR(s.RawY[2737] / s.YFactor, 2.192822, 1e-4);
    EXPECT_NEAR(s.RawY[1] / s.YFactor, -0.09079, 1e-4);
    EXPECT_FALSE(s.FileIsAbsorbance);
    EXPECT_FALSE(Says(s, "resampled"));

    // 19 header lines, 12447 points of absorbance, a footer of 30 text lines.
    ASSERT_TRUE(Read(*ReadFileBytes((kCorpus / "prn/ftir_test.csv").string()), s).ok);
    EXPECT_EQ(s.PointCount, 12447);
    EXPECT_TRUE(s.FileIsAbsorbance);
    EXPECT_TRUE(Says(s, "19 lines before the numbers skipped"));
    EXPECT_TRUE(Says(s, "30 lines after the numbers skipped"));
    EXPECT_EQ(s.HeaderList[0], "TITLE,");
    EXPECT_EQ(s.WaveX[1], 7000.335f);
    EXPECT_EQ(s.WaveX[12447], 999.9101f);
    EXPECT_EQ(s.WaveX[11467], 1472.3845f);  // line 1000
    EXPECT_NEAR(s.RawY[11467] / s.YFactor, 100.0 * std::pow(10.0, -0.280333), 1e-4);
    EXPECT_NEAR(s.RawY[12447] / s.YFactor, 100.0 * std::pow(10.0, -0.572538), 1e-4);
    const std::string first = DoubleText(ToLong(0.0295649 * 8388608.0) / 8388608.0) + "\r\n";
    EXPECT_EQ(ExportTextOf(s, ExportText::YValues).substr(0, first.size()), first);
    EXPECT_NEAR(s.DeltaX, -(7000.3350 - 999.9101) / 12446.0, 1e-12);
}

}  // namespace
}  // namespace halvorn
