// halvorn-cli's graph keys and render command, run as a user runs them: the
// built executable with no display and no Qt platform set.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "import/sp_file_builder.h"

namespace halvorn {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Cli(const std::string& arguments) {
    const fs::path errFile =
        fs::temp_directory_path() / ("halvorn_render_cli_err_" + std::to_string(::getpid()));
    const std::string command = "env -u DISPLAY -u QT_QPA_PLATFORM " HALVORN_BIN_DIR
                                "/halvorn-cli " +
                                arguments + " 2>" + errFile.string();
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    std::array<char, 65536> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    std::stringstream err;
    err << std::ifstream(errFile).rdbuf();
    fs::remove(errFile);
    return {WEXITSTATUS(status), out, err.str()};
}

// The top-level keys of a JSON object in order (keys are followed by a colon
// at nesting depth one).
std::vector<std::string> TopKeys(const std::string& json) {
    std::vector<std::string> keys;
    int depth = 0;
    bool inString = false;
    std::string current;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                current += json[++i];
            } else if (c == '"') {
                inString = false;
                std::size_t j = i + 1;
                while (j < json.size() && json[j] == ' ') {
                    ++j;
                }
                if (depth == 1 && j < json.size() && json[j] == ':') {
                    keys.push_back(current);
                }
            } else {
                current += c;
            }
        } else if (c == '"') {
            inString = true;
            current.clear();
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return keys;
}

const std::string kDemo = HALVORN_DATA_DIR "/Demo.sp";

class CliRender : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("halvorn_cli_render_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

TEST_F(CliRender, InfoKeysFollowTheContract) {
    const CliRun run = Cli("info " + kDemo + " --points --probe 2000,1000.5 --scale 3");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> keys = TopKeys(run.out);
    const std::vector<std::string> expected = {"ok",
                                               "message",
                                               "caption",
                                               "PointCount",
                                               "StepCount",
                                               "DeltaX",
                                               "YFactor",
                                               "RawYMax",
                                               "RawYMin",
                                               "FileIsAbsorbance",
                                               "MultGlobal",
                                               "FirstX",
                                               "LastX",
                                               "FirstWL",
                                               "LastWL",
                                               "FullFirstX",
                                               "FullLastX",
                                               "FullFirstWL",
                                               "FullLastWL",
                                               "ViewFirstPoint",
                                               "ViewLastPoint",
                                               "YAxisTop",
                                               "YAxisBottom",
                                               "YAxisTopHalf",
                                               "YAxisBottomHalf",
                                               "Label14",
                                               "HeaderList",
                                               "DiagnosticList",
                                               "PointCountLabel",
                                               "FirstPointLabel",
                                               "IntervalLabel",
                                               "mapping",
                                               "TopCandidates",
                                               "PeakPoints",
                                               "PeakLabelBoxes",
                                               "WaveX",
                                               "RawY",
                                               "probe"};
    EXPECT_EQ(keys, expected);
    const std::string mapping = run.out.substr(run.out.find("\"mapping\""));
    std::size_t at = 0;
    for (const char* key :
         {"Anchor1X", "Anchor2X", "MinorStep1", "MinorStep2", "MinorStep3", "MajorStep1",
          "MajorStep2", "MajorStep3", "WlMajorPerMicron", "WlAnchor", "XOrigin", "XEnd", "XScale",
          "PlotYTop", "PlotYBottom", "YMajorStep", "YMinorStep", "YMajorShift"}) {
        const std::size_t found = mapping.find("\"" + std::string(key) + "\"", at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }
    EXPECT_NE(run.out.find("\"nu\":2000,\"x\":"), std::string::npos) << run.out.substr(0, 0);
    EXPECT_TRUE(std::regex_search(run.out, std::regex(R"("back":1000\.(5|4999999\d*)\})")));
}

TEST_F(CliRender, ADegenerateRangeIsReportedNotCrashed) {
    test::SpFile file;
    file.values = {42 * 41943};
    const std::string path = Path("one.sp");
    std::ofstream(path, std::ios::binary) << file.Bytes();
    const CliRun info = Cli("info " + path + " --probe 1000");
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.err.find("zero width"), std::string::npos) << info.err;
    EXPECT_EQ(info.out.find("PeakLabelBoxes"), std::string::npos);
    EXPECT_EQ(info.out.find("probe"), std::string::npos);
    EXPECT_NE(info.out.find("\"mapping\""), std::string::npos);

    const CliRun render = Cli("render " + path + " " + Path("one.png"));
    EXPECT_EQ(render.status, 1);
    EXPECT_NE(render.err.find("zero width"), std::string::npos) << render.err;
    EXPECT_FALSE(fs::exists(Path("one.png")));

    // A flat spectrum at 5 %T gets an axis from 5 to 5 %T.
    file.values = {5 * 41943, 5 * 41943, 5 * 41943};
    std::ofstream(path, std::ios::binary) << file.Bytes();
    const CliRun flat = Cli("info " + path);
    EXPECT_EQ(flat.status, 0);
    EXPECT_NE(flat.err.find("zero height"), std::string::npos) << flat.err;
}

TEST_F(CliRender, EveryFormWithoutADisplay) {
    for (const char* name : {"a.png", "a.svg", "a.pdf", "a.emf", "A.PNG"}) {
        const CliRun run = Cli("render " + kDemo + " " + Path(name) + " --bw --points --step 2");
        EXPECT_EQ(run.status, 0) << name << run.err;
        EXPECT_TRUE(fs::exists(Path(name)) && fs::file_size(Path(name)) > 1000) << name;
    }
    EXPECT_EQ(QImage(QString::fromStdString(Path("a.png"))).size(), QSize(747, 456));
    ASSERT_EQ(
        Cli("render " + kDemo + " " + Path("h.png") + " --height 70 --scale wl --grid a").status,
        0);
    EXPECT_EQ(QImage(QString::fromStdString(Path("h.png"))).size(), QSize(747, 244 + 108));

    const CliRun form = Cli("render " + kDemo + " " + Path("a.bmp"));
    EXPECT_EQ(form.status, 2);
    EXPECT_EQ(std::count(form.err.begin(), form.err.end(), '\n'), 1);
    const CliRun missing = Cli("render " + Path("none.sp") + " " + Path("b.png"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(fs::exists(Path("b.png")));
}

}  // namespace
}  // namespace halvorn
