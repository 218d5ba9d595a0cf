// halvorn-cli run as a user runs it, the built executable with no display and
// no Qt platform set: the graph keys, the render command with its element
// switches and its write failures, the default save names and the numbered
// header lines.
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

#include "cli/run_cli.h"
#include "import/sp_file_builder.h"
#include "surface/surface.h"

namespace halvorn {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

using test::RunCli;

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
    const CliRun run = RunCli("info " + kDemo + " --points --probe 2000,1000.5 --scale 3");
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
    const CliRun info = RunCli("info " + path + " --probe 1000");
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.err.find("zero width"), std::string::npos) << info.err;
    EXPECT_EQ(info.out.find("PeakLabelBoxes"), std::string::npos);
    EXPECT_EQ(info.out.find("probe"), std::string::npos);
    EXPECT_NE(info.out.find("\"mapping\""), std::string::npos);

    const CliRun render = RunCli("render " + path + " " + Path("one.png"));
    EXPECT_EQ(render.status, 1);
    EXPECT_NE(render.err.find("zero width"), std::string::npos) << render.err;
    EXPECT_FALSE(fs::exists(Path("one.png")));

    // A flat spectrum at 5 %T gets an axis from -5 to 15 %T and is drawn.
    file.values = {5 * 41943, 5 * 41943, 5 * 41943};
    std::ofstream(path, std::ios::binary) << file.Bytes();
    const CliRun flat = RunCli("info " + path);
    EXPECT_EQ(flat.status, 0);
    EXPECT_EQ(flat.err.find("zero height"), std::string::npos) << flat.err;
    const CliRun drawn = RunCli("render " + path + " " + Path("flat.png"));
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_TRUE(fs::exists(Path("flat.png")));
}

TEST_F(CliRender, EveryFormWithoutADisplay) {
    for (const char* name : {"a.png", "a.svg", "a.pdf", "a.emf", "A.PNG"}) {
        const CliRun run = RunCli("render " + kDemo + " " + Path(name) + " --bw --points --step 2");
        EXPECT_EQ(run.status, 0) << name << run.err;
        EXPECT_TRUE(fs::exists(Path(name)) && fs::file_size(Path(name)) > 1000) << name;
    }
    EXPECT_EQ(QImage(QString::fromStdString(Path("a.png"))).size(), QSize(747, 456));
    ASSERT_EQ(
        RunCli("render " + kDemo + " " + Path("h.png") + " --height 70 --scale wl --grid a").status,
        0);
    EXPECT_EQ(QImage(QString::fromStdString(Path("h.png"))).size(), QSize(747, 244 + 108));

    const CliRun form = RunCli("render " + kDemo + " " + Path("a.bmp"));
    EXPECT_EQ(form.status, 2);
    EXPECT_EQ(std::count(form.err.begin(), form.err.end(), '\n'), 1);
    const CliRun missing = RunCli("render " + Path("none.sp") + " " + Path("b.png"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(fs::exists(Path("b.png")));
}

Rgb PixelAt(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return MakeRgb(qRed(c), qGreen(c), qBlue(c));
}

int CountInPlot(const QImage& image, Rgb colour) {
    int count = 0;
    for (int y = 71; y < 418; ++y) {
        for (int x = 36; x < 708; ++x) {
            count += PixelAt(image, x, y) == colour;
        }
    }
    return count;
}

TEST_F(CliRender, HiddenElementsAreLeftOut) {
    ASSERT_EQ(RunCli("render " + kDemo + " " + Path("all.png")).status, 0);
    const CliRun grid = RunCli("render " + kDemo + " " + Path("grid.png") + " --hide grid");
    ASSERT_EQ(grid.status, 0) << grid.err;
    const CliRun bare = RunCli("render " + kDemo + " " + Path("bare.png") +
                               " --hide grid,frame,scale,graph,peaklabels,labels");
    ASSERT_EQ(bare.status, 0) << bare.err;

    const QImage all(QString::fromStdString(Path("all.png")));
    const QImage noGrid(QString::fromStdString(Path("grid.png")));
    const QImage none(QString::fromStdString(Path("bare.png")));
    const Rgb major = MakeRgb(192, 192, 0);
    const Rgb trace = MakeRgb(192, 0, 0);
    EXPECT_GT(CountInPlot(all, major), 300);
    EXPECT_EQ(CountInPlot(noGrid, major), 0);
    EXPECT_GT(CountInPlot(noGrid, trace), 673);
    EXPECT_EQ(PixelAt(noGrid, 0, 0), MakeRgb(0, 0, 255));  // the frame stays

    // Everything off: the plot box and the credit line remain.
    EXPECT_EQ(CountInPlot(none, trace), 0);
    EXPECT_EQ(CountInPlot(none, major), 0);
    EXPECT_EQ(PixelAt(none, 0, 0), MakeRgb(255, 255, 255));
    EXPECT_EQ(PixelAt(none, 35, 200), 0u);
    EXPECT_EQ(PixelAt(none, 708, 200), 0u);
    int dark = 0;
    for (int y = 0; y < 456; ++y) {
        for (int x = 0; x < 747; ++x) {
            dark += PixelAt(none, x, y) != MakeRgb(255, 255, 255);
        }
    }
    // The box (4 x about 500 pixels) and the small credit, nothing else.
    EXPECT_LT(dark, 2500);

    for (const char* bad : {"grids", "grid,", "", "grid,,frame"}) {
        EXPECT_EQ(RunCli("render " + kDemo + " " + Path("x.png") + " --hide '" + bad + "'").status,
                  2)
            << bad;
    }
}

TEST_F(CliRender, AFigureThatCannotBeWrittenFailsAndLeavesNothing) {
    const CliRun missing = RunCli("render " + kDemo + " " + Path("no/such/folder/f.png"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find(Path("no/such/folder/f.png")), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(Path("no")));

    // The target is a folder: it stays a folder, with nothing left beside it.
    fs::create_directories(Path("taken.svg"));
    const CliRun folder = RunCli("render " + kDemo + " " + Path("taken.svg"));
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("taken.svg"), std::string::npos) << folder.err;
    EXPECT_TRUE(fs::is_directory(Path("taken.svg")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(CliRender, DefaultSaveNamesOfTheFileAsGiven) {
    auto name = [&](const std::string& file, const std::string& text,
                    const std::string& more = "") {
        const CliRun run = RunCli("export " + file + " --text " + text + " --default-name" + more);
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    };
    const std::string demo = Path("Demo.sp");
    fs::copy_file(kDemo, demo);
    EXPECT_EQ(name(demo, "y"), Path("Demo(Y).txt") + "\n");
    EXPECT_EQ(name(demo, "x"), Path("Demo(X).txt") + "\n");
    EXPECT_EQ(name(demo, "yvalues"), Path("Demo(Y%).txt") + "\n");
    // Three characters go, whatever the extension.
    fs::copy_file(kDemo, Path("b.jdx"));
    EXPECT_EQ(name(Path("b.jdx"), "y", " --format sp"), Path("b.(Y).txt") + "\n");

    test::SpFile absorbance;
    absorbance.yUnit = "ABS";
    absorbance.values = {8388608, 4194304, 838860};
    std::ofstream(Path("abs.sp"), std::ios::binary) << absorbance.Bytes();
    EXPECT_EQ(name(Path("abs.sp"), "yvalues"), Path("abs(Y(Absorbance)).txt") + "\n");
    EXPECT_EQ(name(Path("abs.sp"), "y"), Path("abs(Y).txt") + "\n");
}

TEST_F(CliRender, HeaderLinesNumberedWithCrLf) {
    test::SpFile file;
    file.values = {40 * 41943, 60 * 41943, 50 * 41943};
    std::ofstream(Path("h.sp"), std::ios::binary) << file.Bytes();
    const CliRun run = RunCli("header " + Path("h.sp"));
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < run.out.size()) {
        const std::size_t end = run.out.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "a line without CR LF at " << at;
        lines.push_back(run.out.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_GE(lines.size(), 61u);
    EXPECT_EQ(lines[0], "01  TEST SPECTRUM");
    EXPECT_EQ(lines[2], "03  Polystyrene");
    EXPECT_EQ(lines[19].substr(0, 4), "??  ");
    EXPECT_EQ(lines.back().substr(lines.back().size() - 7), "  #DATA");

    const CliRun missing = RunCli("header " + Path("none.sp"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(missing.err.empty());
}

}  // namespace
}  // namespace halvorn
