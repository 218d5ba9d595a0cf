// halvorn-cli's interaction steps end to end: --limits, --too-short, --clicks
// and the readout command on a generated 4000..400 cm-1 table.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/run_cli.h"

#include <sys/wait.h>
#include <unistd.h>

namespace halvorn {
namespace {

namespace fs = std::filesystem;

using test::CliRun;
using test::RunCli;
using test::WriteThreeDipTable;

// The text of a JSON value after "key": up to the next comma, bracket or
// brace at its level (good enough for the numbers, flags and flat arrays
// checked here).
std::string ValueOf(const std::string& json, const std::string& key, std::size_t from = 0) {
    const std::string quoted = "\"" + key + "\":";
    const std::size_t at = json.find(quoted, from);
    if (at == std::string::npos) {
        return "<absent>";
    }
    std::size_t i = at + quoted.size();
    int depth = 0;
    bool inString = false;
    const std::size_t start = i;
    for (; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if (c == ']' || c == '}') {
            if (depth == 0) {
                break;
            }
            if (--depth == 0) {
                ++i;
                break;
            }
        } else if (c == ',' && depth == 0) {
            break;
        }
    }
    return json.substr(start, i - start);
}

class InteractionCli : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        path_ =
            (fs::temp_directory_path() / ("halvorn_steps_" + std::to_string(::getpid()) + ".prn"))
                .string();
        WriteThreeDipTable(path_);
    }
    static void TearDownTestSuite() { fs::remove(path_); }

    static CliRun Cli(const std::string& command, const std::string& options) {
        return RunCli(command + " " + path_ + " " + options);
    }
    // The plot column of a wavenumber on the default two-section scale.
    static int ColumnOf(double nu) {
        const CliRun run = Cli("info", "--probe " + std::to_string(nu));
        return static_cast<int>(std::nearbyint(std::stod(ValueOf(run.out, "x"))));
    }

    static std::string path_;
};

std::string InteractionCli::path_;

TEST_F(InteractionCli, LimitsAreExchangedSnappedAndShownAfterTheRedraw) {
    const CliRun run = Cli("info", "--limits 1000,2000");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(ValueOf(run.out, "limits"),
              R"({"asked":false,"error":false,"closed":true,"Text1":"2000","Text2":"1000"})");
    EXPECT_EQ(ValueOf(run.out, "FirstX"), "2000");
    EXPECT_EQ(ValueOf(run.out, "LastX"), "1000");
    EXPECT_EQ(ValueOf(run.out, "ViewFirstPoint"), "2001");
    EXPECT_EQ(ValueOf(run.out, "ViewLastPoint"), "3001");
    // The mapping is the new range's: 2000 cm-1 at the plot's left edge.
    EXPECT_EQ(ValueOf(run.out, "Anchor1X"), "0");
}

TEST_F(InteractionCli, TooShortRangeAnsweredNoOrYesAndTextsThatAreNoNumbers) {
    CliRun run = Cli("info", "--limits 1050,1000 --too-short no");
    EXPECT_EQ(ValueOf(run.out, "limits"),
              R"({"asked":true,"error":false,"closed":false,"Text1":"1050","Text2":"1000"})");
    EXPECT_EQ(ValueOf(run.out, "FirstX"), "4000");
    run = Cli("info", "--limits 1050,1000");
    EXPECT_EQ(ValueOf(run.out, "Text2"), "\"954.545454545455\"");
    EXPECT_EQ(ValueOf(run.out, "LastX"), "955");
    run = Cli("info", "--limits abc,1000");
    EXPECT_EQ(ValueOf(run.out, "limits"),
              R"({"asked":false,"error":true,"closed":false,"Text1":"abc","Text2":"1000"})");
    EXPECT_EQ(ValueOf(run.out, "LastX"), "400");
}

TEST_F(InteractionCli, LimitsInMicrometres) {
    const CliRun run = Cli("info", "--limits 10,5,um");
    EXPECT_EQ(ValueOf(run.out, "closed"), "true");
    EXPECT_EQ(ValueOf(run.out, "Text1"), "\"5\"");
    EXPECT_EQ(ValueOf(run.out, "FirstX"), "2000");
    EXPECT_EQ(ValueOf(run.out, "LastX"), "1000");
}

TEST_F(InteractionCli, ClicksUnmarkAndMarkAgainInTheFirstFreeSlot) {
    const CliRun before = Cli("info", "");
    ASSERT_EQ(ValueOf(before.out, "PeakPoints"), "[2401,3001,1101]");
    const std::string x = std::to_string(ColumnOf(2900));
    const CliRun once = Cli("info", "--clicks " + x + ",100");
    EXPECT_EQ(ValueOf(once.out, "clicks"), R"([{"NearestCandidate":3,"message":""}])");
    EXPECT_EQ(ValueOf(once.out, "PeakPoints"), "[2401,3001]");
    const CliRun twice = Cli("info", "--clicks \"" + x + ",100;" + x + ",100\"");
    EXPECT_EQ(ValueOf(twice.out, "PeakPoints"), "[2401,3001,1101]");
    // Off the plot the floating label is hidden and the press does nothing.
    const CliRun off = Cli("info", "--clicks -1,100");
    EXPECT_EQ(ValueOf(off.out, "clicks"), R"([{"NearestCandidate":0,"message":""}])");
    EXPECT_EQ(ValueOf(off.out, "PeakPoints"), "[2401,3001,1101]");
}

TEST_F(InteractionCli, ReadoutFieldsAtKnownPixels) {
    const CliRun run = Cli("readout", "--fixed-y --at \"100,191;100,192;672,348;673,10\"");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(ValueOf(run.out, "Label1"),
              R"([" Y (abs) = 0.347"," Y (%T) = 45"," X (um) = 3.1"," X (cm-1) = 3227"])");
    const std::size_t second = run.out.find("\"x\":100,\"y\":192");
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(
        ValueOf(run.out, "Label1", second).rfind(R"([" Y (abs) = 0.349"," Y (%T) = 44.8",)", 0),
        0u);
    const std::size_t corner = run.out.find("\"x\":672,\"y\":348");
    EXPECT_EQ(ValueOf(run.out, "Label1", corner).rfind(R"([" Y (abs) = inf"," Y (%T) = 0",)", 0),
              0u);
    const std::size_t outside = run.out.find("\"x\":673");
    EXPECT_EQ(ValueOf(run.out, "Label1", outside), R"(["","","",""])");
}

TEST_F(InteractionCli, PeakMarkReadoutFollowsTheNearestCandidateAndFlips) {
    const std::string x = std::to_string(ColumnOf(1610));
    const CliRun run = Cli("readout", "--peak-mark --at \"" + x + ",50;606,50;605,50\"");
    EXPECT_EQ(ValueOf(run.out, "NearestCandidate"), "1");
    EXPECT_EQ(ValueOf(run.out, "Label19Text"), "\"  1600  \"");
    EXPECT_EQ(ValueOf(run.out, "Line5Visible"), "true");
    const std::size_t flipped = run.out.find("\"x\":606");
    EXPECT_EQ(ValueOf(run.out, "Label19Flipped", flipped), "true");
    EXPECT_EQ(ValueOf(run.out, "Label19Text", flipped), "\"  1000  \"");
    EXPECT_EQ(ValueOf(run.out, "Label19Flipped", run.out.find("\"x\":605")), "false");
}

TEST_F(InteractionCli, BadStepOptionsAreUsageErrors) {
    for (const char* options : {"--limits 1", "--limits 1,2,nm", "--clicks \"1,2;x,3\"",
                                "--clicks 1", "--too-short maybe", "--at nan,1"}) {
        EXPECT_EQ(Cli("info", options).status, 2) << options;
    }
    EXPECT_EQ(Cli("readout", "").status, 2);
}

TEST_F(InteractionCli, RenderRunsTheStepsBeforeDrawing) {
    const fs::path plain = fs::temp_directory_path() / "halvorn_steps_plain.svg";
    const fs::path ranged = fs::temp_directory_path() / "halvorn_steps_ranged.svg";
    ASSERT_EQ(Cli("render", plain.string()).status, 0);
    ASSERT_EQ(Cli("render", ranged.string() + " --limits 2000,1000").status, 0);
    auto read = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    EXPECT_NE(read(plain), read(ranged));
    fs::remove(plain);
    fs::remove(ranged);
}

}  // namespace
}  // namespace halvorn
