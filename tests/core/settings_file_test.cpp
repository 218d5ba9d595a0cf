#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace halvorn {
namespace {

namespace fs = std::filesystem;

DisplaySettings Values(int a, int b, int c, int d, int e) {
    DisplaySettings s;
    s.FixedYRange = static_cast<std::int16_t>(a);
    s.WavenumberSections = static_cast<std::int16_t>(b);
    s.PreferenceSource = static_cast<std::int16_t>(c);
    s.YGridMode = static_cast<std::int16_t>(d);
    s.XScaleKind = static_cast<std::int16_t>(e);
    return s;
}

bool Same(const DisplaySettings& a, const DisplaySettings& b) {
    return a.FixedYRange == b.FixedYRange && a.WavenumberSections == b.WavenumberSections &&
           a.PreferenceSource == b.PreferenceSource && a.YGridMode == b.YGridMode &&
           a.XScaleKind == b.XScaleKind;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("halvorn_settings_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string PathOf(const char* name) const { return (dir_ / name).string(); }
    void Write(const std::string& path, const std::string& text) const {
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string Read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir_;
};

TEST(SettingsFileText, FiveLinesOfBlankDigitBlank) {
    EXPECT_EQ(SettingsFileText(Values(0, 2, 1, 0, 0)), " 0 \r\n 2 \r\n 1 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(SettingsFileText(Values(-1, 0, 0, 0, 12)), "-1 \r\n 0 \r\n 0 \r\n 0 \r\n 12 \r\n");
}

TEST(ParseSettingsText, ReadsLinesCommasAndBlanks) {
    auto s = ParseSettingsText(" 1 \r\n 2 \r\n 1 \r\n 1 \r\n 1 \r\n");
    ASSERT_TRUE(s);
    EXPECT_TRUE(Same(*s, Values(1, 2, 1, 1, 1)));

    // LF-only line ends, commas as delimiters, tabs and blanks around values.
    s = ParseSettingsText("1,\t2 ,1\n0\n   1");
    ASSERT_TRUE(s);
    EXPECT_TRUE(Same(*s, Values(1, 2, 1, 0, 1)));
}

TEST(ParseSettingsText, ShortOrNonNumericTextIsNotASettingsFile) {
    EXPECT_FALSE(ParseSettingsText(""));
    EXPECT_FALSE(ParseSettingsText(" 1 \r\n 2 \r\n 1 \r\n 1 \r\n"));
    EXPECT_FALSE(ParseSettingsText(" 1 \r\n two \r\n 1 \r\n 1 \r\n 1 \r\n"));
    EXPECT_FALSE(ParseSettingsText("[Graph]\r\nFixedYRange=1\r\n"));
}

TEST(ParseSettingsText, ValuesOutsideTheirRangeKeepTheHeldValue) {
    const DisplaySettings held = Values(1, 1, 1, 1, 0);
    // Above the option count, negative, beyond 16 bits: the held value stays.
    auto s = ParseSettingsText(" 2 \r\n 3 \r\n -1 \r\n 99999 \r\n 1 \r\n", held);
    ASSERT_TRUE(s);
    EXPECT_TRUE(Same(*s, Values(1, 1, 1, 1, 1)));
    // Values that round into range are kept (the file holds integers).
    s = ParseSettingsText("1.4\r\n1.6\r\n0\r\n0\r\n0\r\n", held);
    ASSERT_TRUE(s);
    EXPECT_TRUE(Same(*s, Values(1, 2, 0, 0, 0)));
}

TEST(ParseSettingsText, ANumberBeyondTheDoubleRangeIsNotReadable) {
    // " 1" and 309 zeros: more than any double holds.
    const std::string huge = " 1" + std::string(309, '0');
    EXPECT_FALSE(ParseSettingsText(huge + " \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n"));
    EXPECT_FALSE(ParseSettingsText(" 0 \r\n 0 \r\n 0 \r\n 0 \r\n-" + huge.substr(1)));
    EXPECT_FALSE(ParseSettingsText("0,0,0,0," + huge + ".5"));
    // A long run of zeros is still zero.
    const auto s = ParseSettingsText(std::string(400, '0') + "\n1\n0\n0\n0\n");
    ASSERT_TRUE(s);
    EXPECT_TRUE(Same(*s, Values(0, 1, 0, 0, 0)));
}

TEST_F(SettingsFileTest, WrittenFileReadsBack) {
    const std::string path = PathOf("Halvorn.ini");
    const DisplaySettings written = Values(1, 2, 1, 1, 1);
    EXPECT_EQ(SaveSettings(path, written), "");
    EXPECT_EQ(Read(path), " 1 \r\n 2 \r\n 1 \r\n 1 \r\n 1 \r\n");
    DisplaySettings read;
    EXPECT_TRUE(LoadSettings(path, read));
    EXPECT_TRUE(Same(read, written));

    // Saving again replaces the whole file.
    EXPECT_EQ(SaveSettings(path, Values(0, 0, 0, 0, 0)), "");
    EXPECT_EQ(Read(path), " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
}

TEST_F(SettingsFileTest, MissingShortOrBadFileKeepsTheValuesHeld) {
    const DisplaySettings held = Values(1, 2, 1, 1, 1);
    DisplaySettings s = held;
    EXPECT_FALSE(LoadSettings(PathOf("absent.ini"), s));
    EXPECT_TRUE(Same(s, held));

    Write(PathOf("short.ini"), " 0 \r\n 0 \r\n");
    EXPECT_FALSE(LoadSettings(PathOf("short.ini"), s));
    EXPECT_TRUE(Same(s, held));

    Write(PathOf("bad.ini"), "\x89PNG\r\n\x1a\n");
    EXPECT_FALSE(LoadSettings(PathOf("bad.ini"), s));
    EXPECT_TRUE(Same(s, held));

    Write(PathOf("huge.ini"), " 1" + std::string(309, '0') + " \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    EXPECT_FALSE(LoadSettings(PathOf("huge.ini"), s));
    EXPECT_TRUE(Same(s, held));

    // A folder in place of the file cannot be read either.
    fs::create_directories(dir_ / "folder.ini");
    EXPECT_FALSE(LoadSettings(PathOf("folder.ini"), s));
    EXPECT_TRUE(Same(s, held));
}

TEST_F(SettingsFileTest, FailedSaveSaysWhy) {
    const std::string path = (dir_ / "no such folder" / "Halvorn.ini").string();
    EXPECT_NE(SaveSettings(path, Values(0, 0, 0, 0, 0)), "");
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(SettingsFileTest, FailedSaveLeavesNothingBehind) {
    // A folder where the file should go: the new text cannot take its place.
    fs::create_directories(dir_ / "Halvorn.ini" / "inside");
    EXPECT_NE(SaveSettings(PathOf("Halvorn.ini"), Values(1, 0, 0, 0, 0)), "");
    EXPECT_TRUE(fs::is_directory(dir_ / "Halvorn.ini" / "inside"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);  // no temporary file left
}

TEST_F(SettingsFileTest, SavingKeepsTheFilesPermissions) {
    const std::string path = PathOf("Halvorn.ini");
    Write(path, " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(SaveSettings(path, Values(1, 0, 0, 0, 0)), "");
    EXPECT_EQ(Read(path), " 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace halvorn
