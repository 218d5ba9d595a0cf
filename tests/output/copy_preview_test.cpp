// The copy-preview window on the offscreen platform, fed by a real spectrum
// window: layout, the switches and their captions on the figure's pixels, the
// clipboard's metafile read back by an independent reader, the failed
// recording, the paper dialog, printing to a PDF file and saving the figure.
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <memory>

#include "output/copy_preview.h"
#include "output/paper_dialog.h"
#include "output/pdf_pages.h"
#include "window/graph_window.h"
#include "window/picture_box.h"
#include "window/scripted_prompts.h"

extern "C" {
#include <emf2svg.h>
#include <uemf_safe.h>
}

namespace halvorn {

namespace {

const std::string kDemo = std::string(HALVORN_DATA_DIR) + "/Demo.sp";

int Count(const QImage& image, QRect area, QRgb colour) {
    area &= image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        }
    }
    return n;
}

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kTraceRed = 0xC00000;
constexpr QRgb kMajorColour = 0xC0C000;
constexpr QRgb kMinorColour = 0xFFC080;
constexpr QRgb kMajorGrey = 0xC0C0C0;
constexpr QRgb kMinorGrey = 0xE0E0E0;

// Every record of an enhanced metafile passes libUEMF's checks; the count of
// records, or -1 when the walk breaks.
int CheckedRecords(const QByteArray& emf) {
    qsizetype at = 0;
    int records = 0;
    while (at + 8 <= emf.size()) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(emf.constData() + at);
        const quint32 size =
            bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) | (static_cast<quint32>(bytes[7]) << 24);
        if (size < 8 || size % 4 != 0 || at + size > emf.size()) {
            return -1;
        }
        QByteArray record = emf.mid(at, size);
        if (U_emf_record_safe(record.data()) == 0) {
            return -1;
        }
        ++records;
        at += size;
    }
    return at == emf.size() ? records : -1;
}

QByteArray EmfToSvg(QByteArray emf) {
    generatorOptions options{};
    char nameSpace[] = "";
    options.nameSpace = nameSpace;
    options.svgDelimiter = true;
    char* out = nullptr;
    size_t length = 0;
    const int ok = emf2svg(emf.data(), static_cast<size_t>(emf.size()), &out, &length, &options);
    QByteArray svg =
        ok != 0 && out != nullptr ? QByteArray(out, static_cast<qsizetype>(length)) : QByteArray();
    std::free(out);
    return svg;
}

}  // namespace

class CopyPreviewTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<ViewerState> state_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<SpectrumWindow> form5_;
    std::unique_ptr<CopyPreviewWindow> preview_;

    QImage Figure() const { return preview_->FigureSurface()->Image(); }
    QString Caption(int k) const { return preview_->ToggleButton(k)->text(); }
    QString MetafilePath() const { return QFile::decodeName(state_->MetafilePath.c_str()); }
    QRect PlotInside() const { return QRect(36, 71, 672, 347); }

    // The paper dialog's answer: the option to pick, then "OK".
    std::function<void(QDialog&)> ChoosePaper(bool letter) {
        return [letter](QDialog& d) {
            auto& dialog = static_cast<PaperDialog&>(d);
            QVERIFY(dialog.A4Option()->isChecked());  // A4 every time it opens
            if (letter) {
                dialog.LetterOption()->setChecked(true);
            }
            dialog.OkButton()->click();
        };
    }

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        state_ = std::make_unique<ViewerState>();
        state_->MetafilePath =
            QFile::encodeName(QDir(folder_->path()).filePath("CurPic.emf")).toStdString();
        prompts_ = std::make_unique<ScriptedPrompts>();
        form5_ = std::make_unique<SpectrumWindow>(*state_, *prompts_, [] {});
        form5_->Load();
        form5_->show();
        form5_->OpenFile(FileFormat::Sp, kDemo, "");
        preview_ = std::make_unique<CopyPreviewWindow>(*state_, *prompts_);
        preview_->printerInstalled = [] { return false; };
    }

    void cleanup() {
        preview_.reset();
        form5_.reset();
    }

    void freshPreviewAtFullHeight() {
        QVERIFY(!preview_->IsLoaded());
        preview_->ShowAndDraw();
        QVERIFY(preview_->IsLoaded());
        QVERIFY(preview_->isVisible());
        QCOMPARE(preview_->objectName(), QString("FormCopy"));
        QCOMPARE(preview_->windowTitle(), QString("Copy Preview"));
        QCOMPARE(preview_->FigureSurface()->geometry(), QRect(12, 12, 747, 456));
        QCOMPARE(preview_->Panel()->geometry(), QRect(10, 8, 772, 481));  // centred on 792
        const FigureGeometry g = preview_->Geometry();
        QCOMPARE(g.PlotLeft, 35);
        QCOMPARE(g.PlotTop, 70);
        QCOMPARE(g.PlotHeight, 348);
        QCOMPARE(preview_->FigureSurface()->accessibleName(), QString("Picture1"));

        const QImage image = Figure();
        QCOMPARE(image.size(), QSize(747, 456));
        // The plot box x 35..708, y 70..418, the frame and its shadow.
        for (const QPoint p : {QPoint(35, 70), QPoint(708, 70), QPoint(708, 418), QPoint(35, 418),
                               QPoint(35, 250), QPoint(400, 418)}) {
            QCOMPARE(At(image, p.x(), p.y()), kBlack);
        }
        QCOMPARE(At(image, 300, 0), kBlue);
        QCOMPARE(At(image, 746, 300), kBlue);
        QCOMPARE(At(image, 300, 455), kBlue);
        // Colour drawing: grid, trace and peak labels in their colours.
        QVERIFY(Count(image, PlotInside(), kMajorColour) > 100);
        QVERIFY(Count(image, PlotInside(), kMinorColour) > 100);
        QVERIFY(Count(image, PlotInside(), kTraceRed) > 300);
        QVERIFY(Count(image, PlotInside(), kBlue) > 20);
        // The credit line under the plot, from x 643.
        QVERIFY(Count(image, QRect(643, 436, 100, 16), kBlack) > 10);
        // Peak labels without their filled boxes.
        QVERIFY(!state_->graph.FillLabelBackground);
        QCOMPARE(Count(image, PlotInside(), 0xC0FFFF), 0);

        const QStringList captions = {"Remove Grid",  "Remove Frame",       "Remove Scale",
                                      "Remove Graph", "Remove Peak Labels", "Remove Labels",
                                      "Black + White"};
        for (int k = 0; k < kPreviewToggleCount; ++k) {
            QCOMPARE(Caption(k), captions[k]);
            QPushButton* button = preview_->ToggleButton(k);
            QCOMPARE(button->objectName(), QString("Command%1").arg(k + 1));
            // Both captions fit their button, and the row fits the window.
            const auto& toggle = kPreviewToggles[static_cast<std::size_t>(k)];
            for (const char* text : {toggle.captionWhenOn, toggle.captionWhenOff}) {
                QVERIFY(button->fontMetrics().horizontalAdvance(text) < button->width() - 6);
            }
            QVERIFY(button->geometry().right() < kPreviewCentreWidth);
        }
        auto* copy = preview_->findChild<QPushButton*>("Command8");
        auto* print = preview_->findChild<QPushButton*>("Command9");
        QVERIFY(copy && print);
        QVERIFY(!copy->toolTip().isEmpty() && !print->toolTip().isEmpty());
        QVERIFY(!copy->icon().isNull() && !print->icon().isNull());
        QCOMPARE(preview_->findChild<QPushButton*>("Command10")->text(), QString("Close"));
        // The visible words stay as they are; "&" only marks the access key.
        const auto shown = [this](const char* name) {
            return preview_->findChild<QAction*>(name)->text().remove('&');
        };
        QCOMPARE(shown("mnuCopy"), QString("Copy"));
        QCOMPARE(shown("mnuPrint"), QString("Print"));
        QCOMPARE(shown("mnuExit"), QString("Exit"));
        QCOMPARE(shown("mnuSaveFigureAs"), QString("Save Figure As..."));
        QCOMPARE(preview_->findChild<QAction*>("mnuCopy")->text(), QString("&Copy"));
    }

    void reducedHeightFollowsTheGraphPanel() {
        form5_->HeightOptionClick(2);  // 80 %: a plot of 278 pixels
        QVERIFY(state_->GraphHeightReduced);
        preview_->ShowAndDraw();
        const FigureGeometry g = preview_->Geometry();
        QCOMPARE(g.FigureHeight, 278 + 101 + 7);
        QCOMPARE(g.PlotHeight, 278);
        QCOMPARE(g.PlotTop, 70);
        QCOMPARE(g.FigureHeight - g.PlotTop - g.PlotHeight, 38);
        QCOMPARE(preview_->FigureSurface()->size(), QSize(747, 386));
        QCOMPARE(At(Figure(), 400, 70 + 278), kBlack);
    }

    void togglesFlipTheirCaptionsAndRedraw() {
        preview_->ShowAndDraw();
        // Grid.
        QTest::mouseClick(preview_->ToggleButton(0), Qt::LeftButton);
        QCOMPARE(Caption(0), QString("Replace Grid"));
        QVERIFY(!preview_->Switches().ShowGrid);
        QCOMPARE(Count(Figure(), PlotInside(), kMajorColour), 0);
        QCOMPARE(Count(Figure(), PlotInside(), kMinorColour), 0);
        QTest::mouseClick(preview_->ToggleButton(0), Qt::LeftButton);
        QCOMPARE(Caption(0), QString("Remove Grid"));
        QVERIFY(Count(Figure(), PlotInside(), kMajorColour) > 100);
        // Frame.
        QTest::mouseClick(preview_->ToggleButton(1), Qt::LeftButton);
        QCOMPARE(Caption(1), QString("Replace Frame"));
        QCOMPARE(At(Figure(), 300, 0), kWhite);
        QCOMPARE(At(Figure(), 746, 300), kWhite);
        // Scale: the numbers left of the plot go.
        const QRect leftScale(0, 60, 34, 370);
        QVERIFY(Count(Figure(), leftScale, kBlack) > 0);
        QTest::mouseClick(preview_->ToggleButton(2), Qt::LeftButton);
        QCOMPARE(Caption(2), QString("Replace Scale"));
        QCOMPARE(Count(Figure(), leftScale, kBlack), 0);
        // Graph.
        QTest::mouseClick(preview_->ToggleButton(3), Qt::LeftButton);
        QCOMPARE(Caption(3), QString("Replace Graph"));
        QCOMPARE(Count(Figure(), PlotInside(), kTraceRed), 0);
        // Peak labels.
        QTest::mouseClick(preview_->ToggleButton(4), Qt::LeftButton);
        QCOMPARE(Caption(4), QString("Replace Peak Labels"));
        QCOMPARE(Count(Figure(), PlotInside(), kBlue), 0);
        // Sample labels: the title above the plot goes.
        const QRect labels(0, 0, 747, 30);
        QVERIFY(Count(Figure(), labels, kBlack) > 0);
        QTest::mouseClick(preview_->ToggleButton(5), Qt::LeftButton);
        QCOMPARE(Caption(5), QString("Replace Labels"));
        QCOMPARE(Count(Figure(), labels, kBlack), 0);
        // Every element off leaves the plot box and the credit.
        QTest::mouseClick(preview_->ToggleButton(0), Qt::LeftButton);
        QCOMPARE(Caption(0), QString("Replace Grid"));
        const QImage bare = Figure();
        QCOMPARE(At(bare, 35, 70), kBlack);
        QCOMPARE(At(bare, 708, 418), kBlack);
        QVERIFY(Count(bare, QRect(643, 436, 100, 16), kBlack) > 10);
        QCOMPARE(Count(bare, PlotInside(), kBlack), 0);
        // A caption that is neither of its two changes nothing but redraws.
        preview_->ToggleButton(3)->setText("Something else");
        preview_->ToggleClick(3);
        QCOMPARE(Caption(3), QString("Something else"));
        QVERIFY(!preview_->Switches().ShowGraph);
    }

    void blackAndWhiteColours() {
        preview_->ShowAndDraw();
        QTest::mouseClick(preview_->ToggleButton(kColourToggle), Qt::LeftButton);
        QCOMPARE(Caption(kColourToggle), QString("Colorful"));
        QVERIFY(preview_->Switches().BlackAndWhite);
        const QImage image = Figure();
        QVERIFY(Count(image, PlotInside(), kMajorGrey) > 100);
        QVERIFY(Count(image, PlotInside(), kMinorGrey) > 100);
        QCOMPARE(Count(image, image.rect(), kMajorColour), 0);
        QCOMPARE(Count(image, image.rect(), kMinorColour), 0);
        QCOMPARE(Count(image, image.rect(), kTraceRed), 0);
        QCOMPARE(Count(image, image.rect(), kBlue), 0);  // frame and peak labels black
        QCOMPARE(At(image, 300, 0), kBlack);
        QCOMPARE(At(image, 746, 300), kBlack);
        QTest::mouseClick(preview_->ToggleButton(kColourToggle), Qt::LeftButton);
        QCOMPARE(Caption(kColourToggle), QString("Black + White"));
        QCOMPARE(At(Figure(), 300, 0), kBlue);
    }

    void closingUnloadsAndReopeningResets() {
        preview_->ShowAndDraw();
        preview_->ToggleClick(1);  // frame off
        preview_->ToggleClick(kColourToggle);
        preview_->findChild<QPushButton*>("Command10")->click();
        QVERIFY(!preview_->IsLoaded());
        QVERIFY(!preview_->isVisible());
        preview_->ShowAndDraw();
        QCOMPARE(Caption(1), QString("Remove Frame"));
        QCOMPARE(Caption(kColourToggle), QString("Black + White"));
        QVERIFY(preview_->Switches().ShowFigureFrame);
        QCOMPARE(At(Figure(), 300, 0), kBlue);

        // Opening while open clears before drawing: nothing of the old
        // figure stays.
        preview_->ToggleClick(3);
        form5_->ScaleButtonClick(3);  // the wavelength scale moves the trace
        preview_->ShowAndDraw();
        QCOMPARE(Count(Figure(), PlotInside(), kTraceRed), 0);
        QCOMPARE(Caption(3), QString("Replace Graph"));  // switches kept while open
    }

    void hiddenHeaderLinesAreLeftOutButNotTheTitle() {
        // The first header line with a text, and the title.
        std::size_t line = 1;
        while (line < 7 && state_->spectrum.Label14[line].empty()) {
            ++line;
        }
        QVERIFY(line < 7);
        QVERIFY(!state_->spectrum.Label14[0].empty());
        const auto area = [](std::size_t i) {
            const auto place = kSampleLabelPlaces[i];
            return QRect(place[0] + 22, place[1] + 7, 60, 10);
        };
        preview_->ShowAndDraw();
        const QRect title(qRound(preview_->Figure().labels[0].left) + 22, 7, 30, 14);
        const int lineInk = Count(Figure(), area(line), kBlack);
        const int titleInk = Count(Figure(), title, kBlack);
        QVERIFY(lineInk > 0);
        state_->Label14Visible[line] = false;
        state_->Label14Visible[0] = false;
        preview_->StartFigure();
        QCOMPARE(Count(Figure(), area(line), kBlack), 0);
        QVERIFY(titleInk > 0);
        QCOMPARE(Count(Figure(), title, kBlack), titleInk);
    }

    void withoutASpectrumTheFigureIsDrawnWithoutCrashing() {
        ViewerState empty;
        empty.MetafilePath = state_->MetafilePath;
        CopyPreviewWindow preview(empty, *prompts_);
        preview.ShowAndDraw();
        preview.CopyClick();
        QVERIFY(prompts_->messages.empty());
        QCOMPARE(At(preview.FigureSurface()->Image(), 35, 70), kBlack);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat("image/x-emf"));

        // A failed read after a good one: the peak list stays behind, the
        // points are gone.
        state_->spectrum.PointCount = 0;
        state_->spectrum.WaveX = {0.0f};
        state_->spectrum.RawY = {0};
        preview_->ShowAndDraw();
        QVERIFY(prompts_->messages.empty());
        QCOMPARE(Count(Figure(), PlotInside(), kTraceRed), 0);
        QCOMPARE(Count(Figure(), PlotInside(), kBlue), 0);
    }

    void activationDecidesTheLabelBackground() {
        preview_->ShowAndDraw();
        QVERIFY(!state_->graph.FillLabelBackground);
        form5_->Activated();
        QVERIFY(state_->graph.FillLabelBackground);
        preview_->Activated();
        QVERIFY(!state_->graph.FillLabelBackground);
        form5_->Activated();
        preview_->ShowAndDraw();  // opening again activates the preview
        QVERIFY(!state_->graph.FillLabelBackground);
    }

    void copyPutsTheMetafileTheSvgAndTheImageOnTheClipboard() {
        preview_->ShowAndDraw();
        preview_->findChild<QAction*>("mnuCopy")->trigger();
        QVERIFY(prompts_->messages.empty());
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        const QByteArray emf = data->data("image/x-emf");
        QCOMPARE(data->data("image/emf"), emf);
        // The file holds the same figure as the clipboard.
        QFile file(MetafilePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), emf);
        // Read back by an independent reader.
        QVERIFY(CheckedRecords(emf) > 100);
        const QByteArray converted = EmfToSvg(emf);
        QVERIFY(!converted.isEmpty());
        QVERIFY(converted.contains("Halvorn"));  // the credit line
        QVERIFY(converted.contains("#C00000"));  // the trace
        QVERIFY(converted.contains("#0000FF"));  // the frame
        // The SVG and the image beside it.
        QSvgRenderer svg(data->data("image/svg+xml"));
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(0, 0, 747, 456));
        QVERIFY(data->hasImage());
        const QImage image = qvariant_cast<QImage>(data->imageData());
        QCOMPARE(image.size(), QSize(747, 456));
        QCOMPARE(At(image, 300, 0), kBlue);

        // The copy button does the same with the figure as it is now.
        preview_->ToggleClick(kColourToggle);
        QTest::mouseClick(preview_->findChild<QPushButton*>("Command8"), Qt::LeftButton);
        const QImage grey =
            qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
        QCOMPARE(At(grey, 300, 0), kBlack);
    }

    void aFailedRecordingLeavesClipboardAndPrinterAlone() {
        QVERIFY(QDir().mkpath(MetafilePath()));  // a folder in the file's place
        QGuiApplication::clipboard()->setText("kept");
        preview_->ShowAndDraw();
        preview_->CopyClick();
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].text, QString("NECA DE PITIBIRIBA"));
        QCOMPARE(prompts_->messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasFormat("image/x-emf"));

        prompts_->dialogScripts.push_back(ChoosePaper(false));
        preview_->PrintClick();
        QCOMPARE(prompts_->messages.size(), std::size_t{2});
        QCOMPARE(prompts_->messages[1].text, QString("NECA DE PITIBIRIBA"));
        QVERIFY(prompts_->saveFilters.isEmpty());  // no PDF offered: nothing printed
    }

    void paperDialogCancelAndCloseBoxPrintNothing() {
        PaperDialog dialog;
        QCOMPARE(dialog.objectName(), QString("FormPaper"));
        QCOMPARE(dialog.windowTitle(), QString("Paper Size"));
        QCOMPARE(dialog.findChild<QGroupBox*>("Frame1")->title(), QString("Choose paper size"));
        QCOMPARE(dialog.A4Option()->text(), QString("A4 (210 X 297 mm)"));
        QCOMPARE(dialog.LetterOption()->text(),
                 QString::fromUtf8("Letter (8\u00bd X 11 in.)(215.9 X 279.4 mm)"));
        QCOMPARE(dialog.OkButton()->text(), QString("OK"));
        QCOMPARE(dialog.CancelButton()->text(), QString("Cancel Printing"));
        QVERIFY(dialog.A4Option()->isChecked());

        preview_->ShowAndDraw();
        prompts_->dialogScripts.push_back(
            [](QDialog& d) { static_cast<PaperDialog&>(d).CancelButton()->click(); });
        prompts_->dialogScripts.push_back([](QDialog& d) {
            d.show();
            d.close();  // the window's close box
        });
        preview_->PrintClick();
        preview_->PrintClick();
        QCOMPARE(prompts_->dialogsShown, QStringList({"FormPaper", "FormPaper"}));
        QVERIFY(prompts_->messages.empty());
        QVERIFY(prompts_->saveFilters.isEmpty());
        QVERIFY(!QFile::exists(MetafilePath()));  // nothing recorded
    }

    void printsToAPdfFileWhenNoPrinterIsInstalled() {
        if (!test::PopplerInstalled()) {
            QSKIP("pdfinfo and pdftoppm (poppler) are not installed");
        }
        preview_->ShowAndDraw();
        const QString pdf = QDir(folder_->path()).filePath("figure.pdf");
        prompts_->dialogScripts.push_back(ChoosePaper(true));
        prompts_->messageAnswers.push_back(QMessageBox::Yes);
        prompts_->saveAnswers.push_back(pdf);
        QTest::mouseClick(preview_->findChild<QPushButton*>("Command9"), Qt::LeftButton);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QVERIFY(prompts_->messages[0].text.startsWith("No printer is installed."));
        QCOMPARE(prompts_->saveFilters.size(), 1);
        QVERIFY(QFile::exists(MetafilePath()));

        const std::optional<test::PdfInfo> info = test::ReadPdfInfo(pdf);
        QVERIFY(info.has_value());
        QCOMPARE(info->pages, 1);
        QCOMPARE(qRound(info->pageSize.width()), 792);  // Letter, landscape
        QCOMPARE(qRound(info->pageSize.height()), 612);
        const QRect frame = test::ExtentOf(test::RenderPdfPage(pdf, 127), test::FrameBlue);
        QVERIFY(qAbs(frame.left() - 150) <= 2);
        QVERIFY(qAbs(frame.top() - 150) <= 2);
        QVERIFY(qAbs(frame.right() + 1 - (150 + 5 * 220)) <= 3);
        QVERIFY(qAbs(frame.bottom() + 1 - (150 + 5 * 150)) <= 3);

        // Declining the PDF prints nothing and asks for no file.
        prompts_->dialogScripts.push_back(ChoosePaper(false));
        prompts_->messageAnswers.push_back(QMessageBox::No);
        preview_->findChild<QAction*>("mnuPrint")->trigger();
        QCOMPARE(prompts_->saveFilters.size(), 1);
    }

    void saveFigureAsWritesTheChosenForm() {
        preview_->ShowAndDraw();
        const QString svgPath = QDir(folder_->path()).filePath("figure.svg");
        prompts_->saveAnswers.push_back(svgPath);
        preview_->findChild<QAction*>("mnuSaveFigureAs")->trigger();
        QVERIFY(prompts_->messages.empty());
        QCOMPARE(prompts_->saveDefaultNames, QStringList({"Demo.svg"}));
        QVERIFY(prompts_->saveFilters[0].contains("*.svg"));
        QVERIFY(prompts_->saveFilters[0].contains("*.emf"));
        QSvgRenderer svg(svgPath);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(0, 0, 747, 456));

        // A folder that is not there: a message naming the file, no file.
        const QString nowhere = QDir(folder_->path()).filePath("missing/figure.png");
        prompts_->saveAnswers.push_back(nowhere);
        preview_->SaveFigureAsClick();
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QVERIFY(prompts_->messages[0].text.contains(QDir::toNativeSeparators(nowhere)));
        QVERIFY(!QFile::exists(nowhere));
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::CopyPreviewTest)
#include "copy_preview_test.moc"
