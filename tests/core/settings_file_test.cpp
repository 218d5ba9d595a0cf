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

TEST(ParseSettingsText, ValuesOutsideTheirRangeAreTakenAsZero) {
    auto s = ParseSettingsText(" 2 \r\n 3 \r\n -1 \r\n 99999 \r\n 1 \r\n");
    ASSERT_TRUE(s);
    EXPECT_TRUE(Same(*s, Values(0, 0, 0, 0, 1)));
    // Values that round into range are kept (the file holds integers).
    s = ParseSettingsText("1.4\r\n1.6\r\n0\r\n0\r\n0\r\n");
    ASSERT_TRUE(s);
    EXPECT_TRUE(Same(*s, Values(1, 2, 0, 0, 0)));
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

}  // namespace
}  // namespace halvorn
