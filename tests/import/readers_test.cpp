// The reader table, the size limit of every format, the kept header lines and
// the number reading of the data tables.
#include "import/readers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>

#include "core/numbers.h"
#include "import/file_bytes.h"
#include "import/number_scan.h"
#include "import/sp_file_builder.h"

namespace halvorn {
namespace {

namespace fs = std::filesystem;

TEST(ReaderTable, SelectsByExtensionAndNameInMenuOrder) {
    const auto table = ReaderTable();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].format, FileFormat::Sp);
    EXPECT_EQ(table[1].format, FileFormat::Jcamp);
    EXPECT_EQ(table[2].format, FileFormat::Prn);  // the least specific format last
    for (const ReaderEntry& entry : table) {
        EXPECT_EQ(FormatNamed(entry.cliName), entry.format);
        EXPECT_EQ(&ReaderOf(entry.format), &entry);
    }
    EXPECT_EQ(FormatOfPath("/data/A.SP"), FileFormat::Sp);
    EXPECT_EQ(FormatOfPath("x.Jdx"), FileFormat::Jcamp);
    EXPECT_EQ(FormatOfPath("x.dx"), FileFormat::Jcamp);
    EXPECT_EQ(FormatOfPath("notes.txt"), FileFormat::Jcamp);
    EXPECT_EQ(FormatOfPath("t.PRN"), FileFormat::Prn);
    EXPECT_EQ(FormatOfPath("t.Csv"), FileFormat::Prn);
    EXPECT_EQ(FormatOfPath("t.tsv"), FileFormat::Prn);
    EXPECT_EQ(FormatOfPath("t.DPT"), FileFormat::Prn);
    EXPECT_EQ(FormatOfPath("a.ASC"), FileFormat::Sp);
    EXPECT_EQ(FormatOfPath("t.xls"), std::nullopt);
    EXPECT_EQ(FormatOfPath("sp"), std::nullopt);
    EXPECT_EQ(FormatNamed("SP"), std::nullopt);
}

TEST(ReaderTable, TellsTheFormatFromTheFirstBytes) {
    EXPECT_EQ(FormatOfBytes("\xEF\xBB\xBF\r\n##TITLE= a\r\n##JCAMP-DX= 4.24\r\n"),
              FileFormat::Jcamp);
    test::SpFile sp;
    sp.values = {1, 2, 3};
    EXPECT_EQ(FormatOfBytes(sp.Bytes()), FileFormat::Sp);
    EXPECT_EQ(FormatOfBytes(std::string("\x50\x45\x50\x45"
                                        "2D",
                                        6) +
                            std::string(40, '\0')),
              FileFormat::Sp);
    EXPECT_EQ(FormatOfBytes("x;y\n4000;95,5\n3999;95,4\n"), FileFormat::Prn);
    EXPECT_EQ(FormatOfBytes("Wavenumber, Abs\r\n4000.1, 0.5\r\n3999.2, 0.51\r\n"), FileFormat::Prn);
    EXPECT_EQ(FormatOfBytes("4000\t95\r\n3999\t94\r\n"), FileFormat::Prn);
    EXPECT_EQ(FormatOfBytes("  1.5e3   2.5E-1\n 1.4e3 2.6e-1\n"), FileFormat::Prn);
    EXPECT_EQ(FormatOfBytes("Dear reader,\nthis is a letter.\n"), std::nullopt);
    EXPECT_EQ(FormatOfBytes("4000\t95\n"), FileFormat::Prn);
    EXPECT_EQ(FormatOfBytes("1 2 3\n4 5 6\n"), std::nullopt);
    EXPECT_EQ(FormatOfBytes(""), std::nullopt);
    EXPECT_EQ(FormatOfBytes(std::string(200000, '\0')), std::nullopt);
    EXPECT_EQ(FormatOfBytes(std::string("\xFF\xFE"
                                        "4\0"
                                        "0\0,\0"
                                        "5\0\n\0"
                                        "3\0,\0"
                                        "6\0\n\0",
                                        18)),
              FileFormat::Prn);
    EXPECT_EQ(FormatOfBytes(std::string("\xFF\xFE#\0#\0T\0", 8)), std::nullopt);

    // The extension decides where it names a format; the bytes only where it does not.
    const fs::path table = fs::temp_directory_path() / "halvorn_readers_test_table.dat";
    std::ofstream(table, std::ios::binary) << "4000\t95\n3999\t94\n";
    EXPECT_EQ(FormatOfFile(table.string()), FileFormat::Prn);
    const fs::path named = fs::temp_directory_path() / "halvorn_readers_test_table.jdx";
    fs::copy_file(table, named, fs::copy_options::overwrite_existing);
    EXPECT_EQ(FormatOfFile(named.string()), FileFormat::Jcamp);
    fs::remove(table);
    fs::remove(named);
    EXPECT_EQ(FormatOfFile((fs::temp_directory_path() / "halvorn_no_such_file").string()),
              std::nullopt);
}

TEST(ReaderTable, TellsEveryRealFileByItsBytes) {
    const fs::path corpus = HALVORN_CORPUS_DIR;
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "corpus not found";
    }
    int files = 0;
    for (const auto& [folder, format] :
         {std::pair{"jcamp", FileFormat::Jcamp}, std::pair{"sp", FileFormat::Sp},
          std::pair{"prn", FileFormat::Prn}}) {
        for (const auto& entry : fs::directory_iterator(corpus / folder)) {
            SCOPED_TRACE(entry.path().string());
            EXPECT_EQ(FormatOfBytes(*ReadFileBytes(entry.path().string())), format);
            ++files;
        }
    }
    EXPECT_GE(files, 33);
    EXPECT_EQ(FormatOfBytes(*ReadFileBytes((corpus / "PROVENANCE.md").string())), std::nullopt);
}

TEST(ReaderTable, ATableRefusedAsJcampIsReadAsATable) {
    const std::string table = "Wavenumber,%T\r\n4000,95.5\r\n3998,90\r\n3996,80\r\n";
    const fs::path path = fs::temp_directory_path() / "halvorn_readers_test_table.txt";
    std::ofstream(path, std::ios::binary) << table;
    Spectrum fromFile;
    Spectrum fromBytes;
    ASSERT_TRUE(ReadSpectrumFile(FileFormat::Jcamp, path.string(), {}, fromFile).ok);
    ASSERT_TRUE(ReadSpectrumBytes(FileFormat::Jcamp, table, {}, fromBytes).ok);
    fs::remove(path);
    for (const Spectrum* s : {&fromFile, &fromBytes}) {
        EXPECT_EQ(s->PointCount, 3);
        EXPECT_EQ(s->WaveX[1], 4000.0f);
        ASSERT_GE(s->DiagnosticList.size(), 2u);
        EXPECT_TRUE(s->DiagnosticList[0].starts_with("not JCAMP-DX (")) << s->DiagnosticList[0];
        EXPECT_TRUE(s->DiagnosticList[0].ends_with("): read as a table of two numbers a line"));
        EXPECT_TRUE(s->DiagnosticList[1].starts_with("read as a table: 3 points"));
    }
    // A refusal of a file that is no table stands.
    Spectrum s;
    EXPECT_FALSE(ReadSpectrumBytes(FileFormat::Jcamp, "Dear reader,\n", {}, s).ok);
    EXPECT_EQ(s.PointCount, 0);
}

TEST(ReaderTable, ReadsFromBytesAsFromTheFile) {
    test::SpFile file;
    file.values = {4194304, 2097152, 41943};
    const fs::path path = fs::temp_directory_path() / "halvorn_readers_test.sp";
    std::ofstream(path, std::ios::binary) << file.Bytes();
    Spectrum fromFile;
    Spectrum fromBytes;
    ReadRequest request;
    request.fileTitle = "a.sp";
    ASSERT_TRUE(ReadSpectrumFile(FileFormat::Sp, path.string(), request, fromFile).ok);
    ASSERT_TRUE(ReadSpectrumBytes(FileFormat::Sp, file.Bytes(), request, fromBytes).ok);
    EXPECT_EQ(fromFile.RawY, fromBytes.RawY);
    EXPECT_EQ(fromFile.WaveX, fromBytes.WaveX);
    EXPECT_EQ(fromFile.HeaderList, fromBytes.HeaderList);
    fs::remove(path);
}

TEST(ReaderLimits, FilesLargerThanAnySpectrumAreRefusedWithoutReading) {
    const fs::path folder = fs::temp_directory_path() / "halvorn_readers_limits";
    fs::create_directories(folder);
    for (const char* name : {"huge.sp", "huge.jdx", "huge.prn"}) {
        const fs::path path = folder / name;
        { std::ofstream(path, std::ios::binary); }
        // Three gigabytes of zero bytes that take no room on the disk.
        fs::resize_file(path, 3ull << 30);
        Spectrum s;
        const auto start = std::chrono::steady_clock::now();
        const ReadOutcome outcome =
            ReadSpectrumFile(*FormatOfPath(path.string()), path.string(), {}, s);
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_FALSE(outcome.ok) << name;
        EXPECT_TRUE(s.OpenFailed) << name;
        EXPECT_EQ(s.PointCount, 0) << name;
        EXPECT_NE(outcome.message.find("This file is 3221225472 bytes long"), std::string::npos)
            << outcome.message;
        EXPECT_NE(outcome.message.find("32767 points"), std::string::npos) << outcome.message;
        EXPECT_LT(took, std::chrono::seconds(5)) << name;  // refused, not read
        fs::remove(path);
    }
    // A file within the limit is read and fails on its content.
    const fs::path zeros = folder / "zeros.sp";
    { std::ofstream(zeros, std::ios::binary); }
    fs::resize_file(zeros, 100000);
    Spectrum s;
    const ReadOutcome outcome = ReadSpectrumFile(FileFormat::Sp, zeros.string(), {}, s);
    EXPECT_EQ(outcome.message.find("bytes long"), std::string::npos) << outcome.message;
    EXPECT_FALSE(outcome.ok);
    fs::remove_all(folder);
}

TEST(ReaderLimits, LongHeaderLinesAreCutForTheHeaderList) {
    test::SpFile file;
    file.values = {4194304, 2097152, 41943};
    file.sample = std::string(200000, 'x');
    Spectrum s;
    ASSERT_TRUE(ReadSpectrumBytes(FileFormat::Sp, file.Bytes(), {}, s).ok);
    EXPECT_EQ(s.HeaderList[2].size(), 65536u);
    EXPECT_EQ(s.PointCount, 3);
}

TEST(ReadNumber, GivesWhatParseNumberGives) {
    // Plain decimals, and everything ParseNumber reads in its own way: blanks
    // inside, D exponents, signs and points in odd places, numbers beyond the
    // double range and below it.
    const std::vector<std::string> fixed = {"0",
                                            "-0",
                                            "+1.5",
                                            ".5",
                                            "-.5",
                                            "5.",
                                            "1e5",
                                            "1E-5",
                                            "1e",
                                            "1e+",
                                            "2D3",
                                            "1 2",
                                            " \t7.25",
                                            "1.2.3",
                                            "1,5",
                                            "+-3",
                                            "-",
                                            "",
                                            "1e999",
                                            "-1e999",
                                            "1e-400",
                                            "4.9e-324",
                                            "3x",
                                            "12\n3",
                                            "1E5 3",
                                            "0.1e1.5",
                                            "99999999999999999999",
                                            "0.30000000000000004",
                                            "1-2",
                                            "0.000000000000000000000001",
                                            "1234567890123456",
                                            "123456789012345e7",
                                            "9007199254740993",
                                            "0.1e-22",
                                            "7e22",
                                            "7e23",
                                            "-0.0e5",
                                            "0.9530",
                                            "1.0000000000000002",
                                            "00000000000000000000000000000012.5"};
    for (const std::string& text : fixed) {
        double expected = 0.0;
        bool faulted = false;
        try {
            expected = ParseNumber(text);
        } catch (const ArithmeticFault&) {
            faulted = true;
        }
        if (faulted) {
            EXPECT_THROW(ReadNumber(text), ArithmeticFault) << text;
        } else {
            const double got = ReadNumber(text);
            EXPECT_EQ(std::signbit(got), std::signbit(expected)) << text;
            EXPECT_EQ(got, expected) << text;
        }
    }
    const std::regex kPlain("[+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)([eE][+-]?[0-9]+)?");
    std::mt19937 random(7);
    const std::string alphabet = "0123456789012345678901234567890123456789..+-eE \tDx,";
    for (int round = 0; round < 40000; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % (round % 2 == 0 ? 14 : 26));
        for (int k = 0; k < length; ++k) {
            text += alphabet[random() % alphabet.size()];
        }
        // A plain number, as the data tables hold them, is found and read in
        // one pass.
        double scanned = 0.0;
        bool quick = false;
        const bool plain = ScanPlainNumber(text, scanned, quick);
        ASSERT_EQ(plain, std::regex_match(text, kPlain)) << '"' << text << '"';
        try {
            const double expected = ParseNumber(text);
            ASSERT_EQ(ReadNumber(text), expected) << '"' << text << '"';
            if (plain && quick) {
                ASSERT_EQ(scanned, expected) << '"' << text << '"';
            }
        } catch (const ArithmeticFault&) {
            ASSERT_THROW(ReadNumber(text), ArithmeticFault) << '"' << text << '"';
        }
    }
}

}  // namespace
}  // namespace halvorn
