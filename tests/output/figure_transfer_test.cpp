// The figure leaving the program: where CurPic.emf is written and that it is
// written whole or not at all, what goes on the clipboard, and the printed
// page read back from a PDF at its millimetres.
#include "output/figure_transfer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>

#include <memory>

#include "import/sp_reader.h"
#include "output/pdf_pages.h"
#include "render/render.h"

namespace halvorn {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The demonstration spectrum drawn as the copy preview draws it when it opens.
struct DemoFigure {
    Spectrum spectrum;
    DisplaySettings settings;
    GraphState state;
    Graph graph{spectrum, settings, state};
    FigureState figure;

    DemoFigure() {
        ReadRequest request;
        const ReadOutcome read = ReadSpFile(HALVORN_DATA_DIR "/Demo.sp", request, spectrum);
        EXPECT_TRUE(read.ok) << read.message;
        const GraphOutcome prepared = graph.PrepareRedraw(673, 348);
        EXPECT_TRUE(prepared.ok) << prepared.message;
        ColorBW(figure, false);
        figure.labels = FigureSampleLabels(spectrum, kAllSampleLabelsVisible);
        state.FillLabelBackground = false;
    }
};

TEST(MetafileTarget, ProgramFolderWhileItCanBeWritten) {
    QTemporaryDir program;
    QTemporaryDir data;
    const QString beside = QDir(program.path()).filePath("CurPic.emf");
    EXPECT_EQ(MetafileTarget(beside, data.path()), beside);
    // No scratch file is left behind by the check.
    EXPECT_EQ(QDir(program.path()).entryList(QDir::Files), QStringList());

    // A folder that cannot be written (here: one that is not there) sends the
    // metafile to the user's data folder.
    const QString gone = QDir(program.path()).filePath("gone/CurPic.emf");
    EXPECT_EQ(MetafileTarget(gone, data.path()), QDir(data.path()).filePath("CurPic.emf"));
    // No program folder known yet.
    EXPECT_EQ(MetafileTarget(QString(), data.path()), QDir(data.path()).filePath("CurPic.emf"));
}

TEST(RecordMetafile, WritesTheWholeRecordingAndReplacesTheLastOne) {
    DemoFigure demo;
    QTemporaryDir program;
    QTemporaryDir data;
    const QString path = QDir(program.path()).filePath("CurPic.emf");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an earlier picture");
    old.close();

    const auto recording =
        RecordMetafile(demo.graph, demo.figure, FixedScreenMetrics(), path, data.path());
    ASSERT_TRUE(recording.has_value());
    EXPECT_EQ(recording->path, path);
    EXPECT_EQ(ReadAll(path), recording->bytes);
    const QByteArray& emf = recording->bytes;
    ASSERT_GT(emf.size(), 1000);
    EXPECT_EQ(emf.left(4), QByteArray("\x01\x00\x00\x00", 4));  // the header record
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
    // The last record is the end of file, 20 bytes long.
    EXPECT_EQ(emf.right(20).left(4), QByteArray("\x0E\x00\x00\x00", 4));
}

TEST(RecordMetafile, FallsBackToTheDataFolderAndFailsWithoutTouchingTheTarget) {
    DemoFigure demo;
    QTemporaryDir program;
    QTemporaryDir data;
    const QString dataFolder = QDir(data.path()).filePath("Halvorn");  // made when needed
    const auto elsewhere =
        RecordMetafile(demo.graph, demo.figure, FixedScreenMetrics(),
                       QDir(program.path()).filePath("gone/CurPic.emf"), dataFolder);
    ASSERT_TRUE(elsewhere.has_value());
    EXPECT_EQ(elsewhere->path, QDir(dataFolder).filePath("CurPic.emf"));
    EXPECT_EQ(ReadAll(elsewhere->path), elsewhere->bytes);

    // A folder in the metafile's place: the program's folder can be written,
    // the file cannot. Nothing is recorded and the folder stays as it was.
    const QString blocked = QDir(program.path()).filePath("CurPic.emf");
    ASSERT_TRUE(QDir().mkpath(blocked));
    EXPECT_FALSE(RecordMetafile(demo.graph, demo.figure, FixedScreenMetrics(), blocked, dataFolder)
                     .has_value());
    EXPECT_TRUE(QFileInfo(blocked).isDir());

    // A screen without a size cannot be recorded against.
    ScreenMetrics noScreen = FixedScreenMetrics();
    noScreen.horzSize = 0;
    const QString fresh = QDir(program.path()).filePath("fresh/CurPic.emf");
    EXPECT_FALSE(RecordMetafile(demo.graph, demo.figure, noScreen, fresh, dataFolder).has_value());
}

TEST(FigureMimeData, OffersTheMetafileTheSvgAndTheImage) {
    const QByteArray emf("emf bytes");
    const QByteArray svg("<svg/>");
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    const std::unique_ptr<QMimeData> data(FigureMimeData(emf, svg, image));
    EXPECT_EQ(data->data("image/x-emf"), emf);
    EXPECT_EQ(data->data("image/emf"), emf);
    EXPECT_EQ(data->data("image/svg+xml"), svg);
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), QSize(10, 10));
}

// Prints the demonstration figure on a PDF page and finds the frame on it.
class PrintedPage : public ::testing::TestWithParam<Paper> {};

TEST_P(PrintedPage, FigureStandsAtItsMillimetresAsVectors) {
    if (!test::PopplerInstalled()) {
        GTEST_SKIP() << "pdfinfo and pdftoppm (poppler) are not installed";
    }
    const Paper paper = GetParam();
    DemoFigure demo;
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ASSERT_TRUE(PrintFigure(printer, demo.graph, demo.figure, paper));

    const std::optional<test::PdfInfo> info = test::ReadPdfInfo(path);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->pages, 1);
    // Landscape: A4 842 x 595 points, Letter 792 x 612.
    const QSizeF expected = paper == Paper::A4 ? QSizeF(841.89, 595.28) : QSizeF(792, 612);
    EXPECT_NEAR(info->pageSize.width(), expected.width(), 0.5);
    EXPECT_NEAR(info->pageSize.height(), expected.height(), 0.5);

    // The figure is drawn, not pasted as an image.
    EXPECT_FALSE(ReadAll(path).contains("/Subtype /Image"));

    // At 127 dpi a millimetre is 5 pixels: the frame's outer edges stand at
    // 30 mm from the left and the top and the box is 233 (220) x 150 mm.
    const QImage page = test::RenderPdfPage(path, 127);
    ASSERT_FALSE(page.isNull());
    const QRect frame = test::ExtentOf(page, test::FrameBlue);
    const int width = paper == Paper::A4 ? 233 : 220;
    EXPECT_NEAR(frame.left(), 150, 2);
    EXPECT_NEAR(frame.top(), 150, 2);
    EXPECT_NEAR(frame.right() + 1, 150 + 5 * width, 3);
    EXPECT_NEAR(frame.bottom() + 1, 150 + 5 * 150, 3);
    EXPECT_EQ(PictureBoxMillimetres(paper), QRectF(30, 30, width, 150));
}

INSTANTIATE_TEST_SUITE_P(Papers, PrintedPage, ::testing::Values(Paper::A4, Paper::Letter),
                         [](const ::testing::TestParamInfo<Paper>& param) {
                             return param.param == Paper::A4 ? "A4" : "Letter";
                         });

}  // namespace
}  // namespace halvorn

// Fonts and the printer need a running application; the tests draw without a
// display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
