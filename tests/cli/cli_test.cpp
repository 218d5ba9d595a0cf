// halvorn-cli end to end: the built executable run on generated files, with
// its exit status, stdout and stderr.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "cli/cli.h"
#include "cli/run_cli.h"
#include "import/sp_file_builder.h"

namespace halvorn {
namespace {

namespace fs = std::filesystem;
using test::SpFile;

using test::CliRun;
using test::RunCli;

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("halvorn_cli_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path dir_;
};

TEST_F(CliTest, InfoPrintsTheRecordAsJson) {
    SpFile file;
    file.values = {4194304, 2097152, 1048576};
    const std::string path = Write("film.SP", file.Bytes());
    const CliRun run = RunCli("info " + path);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string& j = run.out;
    EXPECT_EQ(j.rfind("{\"ok\":true,\"message\":\"\",", 0), 0u) << j;
    EXPECT_NE(j.find("\"caption\":\"Infrared Spectrum: File - (film.SP)\""), std::string::npos);
    EXPECT_NE(j.find("\"PointCount\":3,\"StepCount\":2,\"DeltaX\":-1,\"YFactor\":41943.04"),
              std::string::npos);
    EXPECT_NE(j.find("\"LastWL\":2.5012506253126565"), std::string::npos) << j;
    EXPECT_NE(j.find("\"YAxisTop\":105,\"YAxisBottom\":25,"), std::string::npos) << j;
    EXPECT_NE(j.find("\"Label14\":[\"Sample: Polystyrene\",\"Date: 20/05/98\","),
              std::string::npos);
    EXPECT_NE(j.find("\"IntervalLabel\":\"points: -1 cm^(-1)\""), std::string::npos);
    EXPECT_EQ(j.find("\"WaveX\""), std::string::npos);

    const CliRun points = RunCli("info " + path + " --points");
    EXPECT_NE(points.out.find("\"WaveX\":[4000,3999,3998],\"RawY\":[4194304,2097152,1048576]"),
              std::string::npos)
        << points.out;
}

TEST_F(CliTest, FailedReadPrintsTheMessageAndExitsWithOne) {
    SpFile file;
    file.values = {1};
    file.xUnit = "NM";
    const CliRun run = RunCli("info " + Write("nm.sp", file.Bytes()));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("\"ok\":false,\"message\":\"This program can open only "
                           "files\\r\\nwith abscissa units in CM-1.\\r\\nSorry!\\r\\nTry to "
                           "look in 'File Details'\""),
              std::string::npos)
        << run.out;

    const CliRun missing = RunCli("info " + (dir_ / "none.sp").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("Something is wrong here!!"), std::string::npos);

    const CliRun exported = RunCli("export " + (dir_ / "none.sp").string() + " --text y");
    EXPECT_EQ(exported.status, 1);
    EXPECT_TRUE(exported.out.empty());
}

TEST_F(CliTest, ExportWritesTheTextsByteForByte) {
    SpFile file;
    file.yUnit = "ABS";
    file.firstX = "400";
    file.deltaX = "0.5";
    file.values = {8388608, 4194304};
    const std::string path = Write("abs.sp", file.Bytes());
    EXPECT_EQ(RunCli("export " + path + " --text y").out, "8388608\r\n4194304\r\n");
    EXPECT_EQ(RunCli("export " + path + " --text x").out, "400\r\n400.5\r\n");
    EXPECT_EQ(RunCli("export " + path + " --text yvalues").out, "1\r\n0.5\r\n");
}

TEST_F(CliTest, BadUsageExitsWithTwoAndOneLine) {
    const std::string path = Write("a.sp", SpFile{}.Bytes());
    for (const std::string& args :
         {std::string("frobnicate ") + path, std::string("info"), "info " + path + " --scale 4",
          "info " + path + " --bogus", "export " + path, "info " + path + " --format",
          "info " + (dir_ / "a.xyz").string()}) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_TRUE(run.out.empty()) << args;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << args << run.err;
    }
}

TEST_F(CliTest, FormatOptionOverridesTheExtension) {
    SpFile file;
    file.values = {5};
    const CliRun run = RunCli("info " + Write("data.bin", file.Bytes()) + " --format sp");
    EXPECT_EQ(run.status, 0) << run.err;
}

}  // namespace
}  // namespace halvorn
