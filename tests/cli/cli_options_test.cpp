// halvorn-cli's command line: the parser on its own, --help, --version, the
// usage errors, and the peaks command end to end.
#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "cli/run_cli.h"

namespace halvorn {
namespace {

namespace fs = std::filesystem;
using test::CliRun;
using test::RunCli;
using test::WriteThreeDipTable;

std::optional<CliOptions> Parse(const std::vector<std::string>& args, std::string& error) {
    return ParseCliOptions(args, error);
}

TEST(CliOptions, ValuesInEitherFormRepeatedOptionsInOrderAndBytesKept) {
    std::string error;
    std::optional<CliOptions> o =
        Parse({"info", "--format=jcamp", "a.txt", "--block", "3", "--clicks", "1,2", "--clicks=3,4",
               "--scale", "wl", "--mult", "0.5"},
              error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->command, "info");
    EXPECT_EQ(o->file, "a.txt");
    EXPECT_EQ(o->format, FileFormat::Jcamp);
    EXPECT_EQ(o->block, 3);
    ASSERT_EQ(o->interaction.clicks.size(), 2u);
    EXPECT_EQ(o->interaction.clicks[0].x, 1.0f);
    EXPECT_EQ(o->interaction.clicks[1].y, 4.0f);
    EXPECT_EQ(o->xScaleKind, 1);
    EXPECT_EQ(o->mult, 0.5);
    // Without --block the reader chooses the block.
    o = Parse({"info", "a.jdx"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->block, 0);
    EXPECT_EQ(o->format, FileFormat::Jcamp);

    // A file name in an 8-bit encoding comes through byte for byte, as does
    // a negative position after its option and a file after "--".
    o = Parse({"readout", "caf\xE9.sp", "--at", "-1,5"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->file, "caf\xE9.sp");
    EXPECT_EQ(o->interaction.at[0].x, -1.0f);
    o = Parse({"header", "--format", "sp", "--", "--odd.sp"}, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->file, "--odd.sp");
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"info", "a.sp", "--bogus"}, "unknown option: --bogus"},
        {{"info", "a.sp", "--format"}, "missing value after --format"},
        {{"info", "a.sp", "--scale", "4"}, "bad value for --scale: 4"},
        {{"info", "a.sp", "--points=1"}, "unexpected value after --points"},
        {{"info", "a.jdx", "--block", "0"}, "bad value for --block: 0"},
        {{"info", "a.jdx", "--block", "two"}, "bad value for --block: two"},
        {{"frobnicate", "a.sp"}, "unknown command: frobnicate"},
        {{"peaks", "a.sp", "b.sp"}, "peaks needs one FILE"},
        {{"render", "a.sp"}, "render needs FILE and OUT"},
    };
    for (const auto& [args, message] : cases) {
        std::string error;
        EXPECT_FALSE(Parse(args, error)) << message;
        EXPECT_EQ(error, message);
    }
}

TEST(CliOptions, HelpListsEveryCommandAndOptionAndVersionIsTheProjects) {
    const CliRun help = RunCli("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.empty()) << help.err;
    for (const char* command : {"info", "peaks", "export", "render", "header", "readout"}) {
        EXPECT_TRUE(
            std::regex_search(help.out, std::regex(std::string("\n  ") + command + " FILE")))
            << command;
    }
    for (const char* option :
         {"--format", "--block",     "--mult",  "--scale",  "--grid",         "--fixed-y",
          "--plot",   "--points",    "--probe", "--text",   "--default-name", "--bw",
          "--step",   "--height",    "--hide",  "--limits", "--too-short",    "--clicks",
          "--at",     "--peak-mark", "--help",  "--version"}) {
        EXPECT_NE(help.out.find(std::string(option) + " "), std::string::npos) << option;
    }
    // After a command too, and -h.
    EXPECT_EQ(RunCli("info x.sp --help").out, help.out);
    EXPECT_EQ(RunCli("-h").out, help.out);

    const CliRun version = RunCli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("halvorn-cli ") + HALVORN_VERSION + "\n");
}

TEST(CliOptions, BadUsageEndToEndIsOneLineAndStatusTwo) {
    for (const char* args : {"info x.sp --bogus", "peaks x.sp --block", "peaks", "--block 2"}) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_TRUE(run.out.empty()) << args;
        EXPECT_EQ(run.err.rfind("halvorn-cli: ", 0), 0u) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args << run.err;
    }
}

// A 4000..400 cm-1 table at 90 %T with dips at 2900 (40 %T), 1600 (20 %T)
// and 1000 (30 %T): the first redraw marks all three.
class PeaksCli : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        path_ =
            (fs::temp_directory_path() / ("halvorn_peaks_" + std::to_string(::getpid()) + ".prn"))
                .string();
        WriteThreeDipTable(path_);
    }
    static void TearDownTestSuite() { fs::remove(path_); }

    static std::string path_;
};

std::string PeaksCli::path_;

TEST_F(PeaksCli, CsvOfTheMarkedPeaksHighestWavenumberFirst) {
    const CliRun run = RunCli("peaks " + path_);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    // 10000 / nu to two decimals; log10(100 / %T) to three.
    EXPECT_EQ(run.out,
              "Wavenumber (cm-1),Wavelength (um),%T,Absorbance\r\n"
              "2900,3.45,40,0.398\r\n"
              "1600,6.25,20,0.699\r\n"
              "1000,10,30,0.523\r\n");
}

TEST_F(PeaksCli, ClicksAreCarriedOutFirst) {
    // The column of 2900 cm-1 on the default scale, from the mapping probe.
    const CliRun probe = RunCli("info " + path_ + " --probe 2900");
    std::smatch x;
    ASSERT_TRUE(std::regex_search(probe.out, x, std::regex("\"x\":([0-9.]+)")));
    const int column = static_cast<int>(std::nearbyint(std::stod(x[1])));
    const CliRun run = RunCli("peaks " + path_ + " --clicks " + std::to_string(column) + ",100");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("2900,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\r\n1600,6.25,20,0.699\r\n1000,10,30,0.523\r\n"), std::string::npos);
}

// The demonstration spectrum: the table worked out here from what info says
// the marks, abscissae, stored ordinates and divisor are.
TEST(PeaksOfDemo, RowsAreTheMarkedPointsValues) {
    const std::string demo = std::string(HALVORN_BIN_DIR) + "/Demo.sp";
    const CliRun info = RunCli("info " + demo + " --points");
    ASSERT_EQ(info.status, 0) << info.err;
    const nlohmann::json j = nlohmann::json::parse(info.out);
    std::vector<int> marks = j.at("PeakPoints").get<std::vector<int>>();
    ASSERT_FALSE(marks.empty());
    const auto waveX = j.at("WaveX").get<std::vector<double>>();
    const auto rawY = j.at("RawY").get<std::vector<double>>();
    const double yFactor = j.at("YFactor").get<double>();
    std::sort(marks.begin(), marks.end(),
              [&](int a, int b) { return waveX[a - 1] > waveX[b - 1]; });

    const CliRun peaks = RunCli("peaks " + demo);
    ASSERT_EQ(peaks.status, 0) << peaks.err;
    std::istringstream lines(peaks.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Wavenumber (cm-1),Wavelength (um),%T,Absorbance\r");
    for (int p : marks) {
        ASSERT_TRUE(std::getline(lines, line)) << "row of point " << p;
        double nu = 0, um = 0, t = 0, a = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf", &nu, &um, &t, &a), 4) << line;
        const double percent = rawY[p - 1] / yFactor;
        EXPECT_EQ(static_cast<float>(nu), static_cast<float>(waveX[p - 1])) << line;
        EXPECT_NEAR(um, 1.0e4 / waveX[p - 1], 0.005 + 1e-9) << line;
        EXPECT_NEAR(t, percent, 0.005 + 1e-9) << line;
        EXPECT_NEAR(a, std::log10(100.0 / percent), 0.0005 + 1e-9) << line;
    }
    EXPECT_FALSE(std::getline(lines, line)) << line;
}

TEST_F(PeaksCli, AFileThatCannotBeReadPrintsNoTable) {
    const CliRun run = RunCli("peaks " + path_ + ".missing --format prn");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_FALSE(run.err.empty());
}

}  // namespace
}  // namespace halvorn
