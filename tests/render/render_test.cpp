// The figure leaving the program: the PNG's pixels, SVG and PDF files, and the
// enhanced metafile read back record by record and by an independent reader
// (libemf2svg).
#include "render/render.h"

#include <emf2svg.h>
#include <gtest/gtest.h>
#include <uemf_safe.h>

#include <QSvgRenderer>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include <unistd.h>

#include "cli/render_file.h"
#include "import/sp_reader.h"

namespace halvorn {
namespace {

namespace fs = std::filesystem;

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { scope_ = std::make_unique<GuiApplicationScope>(); }
    void TearDown() override { scope_.reset(); }

  private:
    std::unique_ptr<GuiApplicationScope> scope_;
};
[[maybe_unused]] const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

Spectrum Demo() {
    Spectrum s;
    ReadRequest request;
    const ReadOutcome outcome = ReadSpFile(HALVORN_DATA_DIR "/Demo.sp", request, s);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    return s;
}

// The demonstration spectrum prepared as the copy preview draws it.
struct Figure {
    Spectrum spectrum = Demo();
    DisplaySettings settings;
    GraphState state;
    Graph graph{spectrum, settings, state};
    FigureState figure;

    explicit Figure(bool blackAndWhite = false) {
        const GraphOutcome outcome = graph.PrepareRedraw(673, 348);
        EXPECT_TRUE(outcome.ok) << outcome.message;
        ColorBW(figure, blackAndWhite);
        figure.labels = FigureSampleLabels(spectrum, kAllSampleLabelsVisible);
        state.FillLabelBackground = false;
    }
};

Rgb PixelOf(const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return MakeRgb(qRed(c), qGreen(c), qBlue(c));
}

TEST(RenderPng, FrameGridTraceAndPlotBox) {
    Figure colour;
    const QImage image = FigureImage(colour.graph, colour.figure);
    ASSERT_EQ(image.size(), QSize(747, 456));
    EXPECT_EQ(PixelOf(image, 0, 0), MakeRgb(0, 0, 255));
    EXPECT_EQ(PixelOf(image, 746, 300), MakeRgb(0, 0, 255));  // the shadow
    EXPECT_EQ(PixelOf(image, 35, 200), 0u);                   // plot box, left edge
    EXPECT_EQ(PixelOf(image, 708, 200), 0u);                  // right edge
    const int x2000 = 35 + ToLong(colour.state.mapping.Anchor1X);
    EXPECT_EQ(PixelOf(image, x2000, 80), MakeRgb(192, 192, 0));  // major grid line
    int red = 0;
    for (int x = 36; x < 708; ++x) {
        for (int y = 71; y < 418; ++y) {
            red += PixelOf(image, x, y) == MakeRgb(192, 0, 0);
        }
    }
    EXPECT_GT(red, 673);

    Figure bw(true);
    const QImage grey = FigureImage(bw.graph, bw.figure);
    EXPECT_EQ(PixelOf(grey, 0, 0), 0u);
    EXPECT_EQ(PixelOf(grey, x2000, 80), MakeRgb(192, 192, 192));
    for (int x = 36; x < 708; ++x) {
        for (int y = 71; y < 418; ++y) {
            ASSERT_NE(PixelOf(grey, x, y), MakeRgb(192, 0, 0));
        }
    }
}

class RenderFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("halvorn_render_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

TEST_F(RenderFiles, EveryFormAndHeight) {
    Spectrum s = Demo();
    FigureRequest request;
    for (const char* name : {"f.png", "f.svg", "f.pdf", "f.emf"}) {
        Spectrum copy = s;
        const GraphOutcome outcome = RenderFigureFile(copy, request, Path(name));
        ASSERT_TRUE(outcome.ok) << name << ": " << outcome.message;
        EXPECT_GT(fs::file_size(Path(name)), 1000u) << name;
    }
    QSvgRenderer svg(QString::fromStdString(Path("f.svg")));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 747, 456));
    std::ifstream pdf(Path("f.pdf"), std::ios::binary);
    std::string head(5, '\0');
    pdf.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");

    request.heightPercent = 50;
    Spectrum copy = s;
    ASSERT_TRUE(RenderFigureFile(copy, request, Path("half.png")).ok);
    EXPECT_EQ(QImage(QString::fromStdString(Path("half.png"))).size(), QSize(747, 282));

    Spectrum one;
    one = s;
    one.LastX = one.FirstX;  // a display range of zero width
    const GraphOutcome bad = RenderFigureFile(one, FigureRequest{}, Path("bad.png"));
    EXPECT_FALSE(bad.ok);
    EXPECT_FALSE(fs::exists(Path("bad.png")));
    EXPECT_FALSE(RenderFigureFile(copy, request, Path("f.gif")).ok);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t FilesIn(const fs::path& dir) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST_F(RenderFiles, WholeFilesReplaceOrLeaveTheOldOne) {
    const std::string target = Path("out.txt");
    ASSERT_TRUE(WriteWholeFile(FileSystemPath(target), "first\r\n").ok);
    ASSERT_TRUE(WriteWholeFile(FileSystemPath(target), "second, longer\r\n").ok);
    EXPECT_EQ(ReadAll(target), "second, longer\r\n");
    EXPECT_EQ(FilesIn(dir_), 1u);  // no temporary file left beside it

    // Each failure names the file and leaves nothing behind.
    const std::string missing = Path("missing/out.txt");
    const WriteOutcome noFolder = WriteWholeFile(FileSystemPath(missing), "x");
    EXPECT_FALSE(noFolder.ok);
    EXPECT_NE(noFolder.message.find(missing), std::string::npos) << noFolder.message;
    fs::create_directory(Path("folder.txt"));
    const WriteOutcome isFolder = WriteWholeFile(FileSystemPath(Path("folder.txt")), "x");
    EXPECT_FALSE(isFolder.ok);
    EXPECT_NE(isFolder.message.find("folder.txt"), std::string::npos) << isFolder.message;
    EXPECT_TRUE(fs::is_directory(Path("folder.txt")));
    EXPECT_FALSE(WriteWholeFile(QString(), "x").ok);
    EXPECT_EQ(FilesIn(dir_), 2u);

    // A folder that cannot be written keeps its file as it was (the superuser
    // writes anywhere, so there this has nothing to show).
    if (::geteuid() != 0) {
        fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
        const WriteOutcome locked = WriteWholeFile(FileSystemPath(target), "third\r\n");
        fs::permissions(dir_, fs::perms::owner_all);
        EXPECT_FALSE(locked.ok);
        EXPECT_NE(locked.message.find(target), std::string::npos) << locked.message;
        EXPECT_EQ(ReadAll(target), "second, longer\r\n");
        EXPECT_EQ(FilesIn(dir_), 2u);
    }
}

TEST_F(RenderFiles, SaveFigureFileInEachForm) {
    Figure f;
    for (const char* name : {"f.png", "f.svg", "f.pdf", "f.emf", "F.EMF"}) {
        const WriteOutcome outcome = SaveFigureFile(f.graph, f.figure, Path(name));
        ASSERT_TRUE(outcome.ok) << name << ": " << outcome.message;
    }
    EXPECT_EQ(ReadAll(Path("f.png")).substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(QImage(QString::fromStdString(Path("f.png"))).size(), QSize(747, 456));
    QSvgRenderer svg(QString::fromStdString(Path("f.svg")));
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 747, 456));
    EXPECT_EQ(ReadAll(Path("f.pdf")).substr(0, 5), "%PDF-");
    const std::string emf = ReadAll(Path("f.emf"));
    ASSERT_GT(emf.size(), 1000u);
    EXPECT_EQ(emf.substr(40, 4), " EMF");
    EXPECT_EQ(ReadAll(Path("F.EMF")), emf);

    // A form it cannot tell and a folder it cannot reach write nothing.
    const WriteOutcome gif = SaveFigureFile(f.graph, f.figure, Path("f.gif"));
    EXPECT_FALSE(gif.ok);
    EXPECT_NE(gif.message.find("f.gif"), std::string::npos);
    const WriteOutcome away = SaveFigureFile(f.graph, f.figure, Path("none/f.svg"));
    EXPECT_FALSE(away.ok);
    EXPECT_NE(away.message.find(Path("none/f.svg")), std::string::npos);
    EXPECT_EQ(FilesIn(dir_), 5u);
}

// The records of an enhanced metafile, checked as a reader would.
struct EmfRecord {
    std::uint32_t type;
    std::string bytes;
};

std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
std::int32_t I32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>(U32(b, at));
}

std::vector<EmfRecord> Records(const std::string& file) {
    std::vector<EmfRecord> records;
    std::size_t at = 0;
    while (at + 8 <= file.size()) {
        const std::uint32_t size = U32(file, at + 4);
        EXPECT_TRUE(size >= 8 && size % 4 == 0 && at + size <= file.size()) << at;
        if (size < 8 || at + size > file.size()) {
            break;
        }
        EXPECT_TRUE(U_emf_record_safe(file.data() + at)) << "record at " << at;
        records.push_back({U32(file, at), file.substr(at, size)});
        at += size;
    }
    EXPECT_EQ(at, file.size());
    return records;
}

std::string Utf16ToAscii(const std::string& b, std::size_t at, std::uint32_t count) {
    std::string text;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto c =
            static_cast<std::uint16_t>(static_cast<unsigned char>(b[at + 2 * i]) |
                                       static_cast<unsigned char>(b[at + 2 * i + 1]) << 8);
        text += c < 128 ? static_cast<char>(c) : '?';
    }
    return text;
}

TEST(RenderEmf, RecordsExtentsAndTextsReadBack) {
    Figure f;
    f.state.mnuLineChecked = false;  // points, so pixels are recorded too
    const std::vector<std::uint8_t> bytes = FigureMetafile(f.graph, f.figure, FixedScreenMetrics());
    const std::string file(bytes.begin(), bytes.end());
    const std::vector<EmfRecord> records = Records(file);
    ASSERT_GT(records.size(), 100u);

    const std::string& header = records.front().bytes;
    ASSERT_EQ(records.front().type, 1u);
    EXPECT_EQ(U32(header, 40), 0x464D4520u);  // " EMF"
    EXPECT_EQ(U32(header, 48), file.size());
    EXPECT_EQ(U32(header, 52), records.size());
    // Frame in hundredths of a millimetre for 747 x 456 pixels at 96 per inch.
    EXPECT_EQ(I32(header, 32), 19764);
    EXPECT_EQ(I32(header, 36), 12065);
    EXPECT_EQ(records.back().type, 14u);  // end of file

    std::map<std::uint32_t, int> count;
    std::set<int> escapements;
    std::vector<std::string> texts;
    for (const EmfRecord& r : records) {
        ++count[r.type];
        if (r.type == 9) {  // window extents: the figure's pixels
            EXPECT_EQ(I32(r.bytes, 8), 747);
            EXPECT_EQ(I32(r.bytes, 12), 456);
        } else if (r.type == 17) {
            EXPECT_EQ(U32(r.bytes, 8), 8u);  // anisotropic
        } else if (r.type == 82) {
            escapements.insert(I32(r.bytes, 20));
        } else if (r.type == 84) {
            const std::uint32_t chars = U32(r.bytes, 44);
            const std::uint32_t offset = U32(r.bytes, 48);
            texts.push_back(Utf16ToAscii(r.bytes, offset, chars));
        }
    }
    EXPECT_EQ(count[11], 1);  // viewport extents
    EXPECT_GT(count[38], 5);  // pens
    // Every object the figure made is deleted; the recorder's initial font stays.
    EXPECT_EQ(count[38] + count[82] + count[39], count[40] + 1);
    EXPECT_GT(count[27], 100);   // move-to
    EXPECT_GT(count[54], 100);   // line-to
    EXPECT_GT(count[15], 1000);  // the trace as pixels
    EXPECT_GT(count[37], 20);    // select
    EXPECT_GE(count[24], 2);     // text colour
    EXPECT_EQ(escapements, (std::set<int>{0, 900, 2700}));
    auto has = [&](const std::string& t) {
        return std::find(texts.begin(), texts.end(), t) != texts.end();
    };
    EXPECT_TRUE(has("Wavenumbers, cm"));
    EXPECT_TRUE(has(" 90"));
    EXPECT_TRUE(has("1601"));
    EXPECT_TRUE(has(FigureCredit()));
    EXPECT_TRUE(has(f.spectrum.Label14[0]));

    // An independent reader converts it, texts included.
    generatorOptions options{};
    options.svgDelimiter = true;
    char* svg = nullptr;
    std::size_t svgLength = 0;
    ASSERT_EQ(emf2svg(const_cast<char*>(file.data()), file.size(), &svg, &svgLength, &options), 1);
    const std::string svgText(svg, svgLength);
    std::free(svg);
    EXPECT_NE(svgText.find("Wavenumbers, cm"), std::string::npos);
    EXPECT_NE(svgText.find(FigureCredit()), std::string::npos);
    QSvgRenderer renderer(QByteArray::fromStdString(svgText));
    EXPECT_TRUE(renderer.isValid());
}

TEST(RenderLabels, HiddenHeaderLinesAreLeftOutTheTitleIsNot) {
    Figure f;
    f.spectrum.Label14[0] = "The title";
    f.spectrum.Label14[1] = "Header one";
    f.spectrum.Label14[2] = "Header two";
    f.figure.labels = FigureSampleLabels(f.spectrum, {false, false, true, true, true, true, true});
    const std::vector<std::uint8_t> bytes = FigureMetafile(f.graph, f.figure, FixedScreenMetrics());
    std::set<std::string> texts;
    for (const EmfRecord& r : Records(std::string(bytes.begin(), bytes.end()))) {
        if (r.type == 84) {
            texts.insert(Utf16ToAscii(r.bytes, U32(r.bytes, 48), U32(r.bytes, 44)));
        }
    }
    EXPECT_TRUE(texts.count("The title"));
    EXPECT_FALSE(texts.count("Header one"));
    EXPECT_TRUE(texts.count("Header two"));
}

}  // namespace
}  // namespace halvorn
