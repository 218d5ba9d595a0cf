// The spectrum window's tools: the header editor on the sample labels, the
// header details and copy-preview requests, the memory panel, "StepPt" and the
// JCAMP-DX multiplier with "Restart".
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <memory>

#include "window/header_editor.h"
#include "window/image_counts.h"
#include "window/picture_box.h"
#include "window/tool_fixture.h"

namespace halvorn {

class WindowToolsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::ToolWindow> w_;

    ScriptedPrompts& Prompts() { return *w_->prompts; }
    QLabel* Label14(int k) { return w_->Find<QLabel>(QString("Label14(%1)").arg(k)); }
    QPushButton* Button(const char* name) { return w_->Find<QPushButton>(name); }
    double Percent(int i) const {
        const Spectrum& s = w_->state->spectrum;
        return s.RawY[static_cast<std::size_t>(i)] / s.YFactor;
    }

  private slots:
    void init() {
        w_ = std::make_unique<test::ToolWindow>();
        QVERIFY(Prompts().messages.empty());
    }

    void cleanup() { w_.reset(); }

    void theHeaderEditorWritesBackOnOkOnly() {
        QCOMPARE(Label14(0)->text(), QString("Tool test"));
        Prompts().dialogScripts.push_back([](QDialog& dialog) {
            auto& editor = static_cast<HeaderEditor&>(dialog);
            QCOMPARE(editor.windowTitle(), QString("Header Editor"));
            QCOMPARE(editor.RowText(0), QString("Tool test"));
            QCOMPARE(editor.RowText(5), QString("XUNITS=1/CM"));
            for (int i = 0; i < 7; ++i) {
                QVERIFY(editor.RowVisible(i));
                QCOMPARE(editor.Check1(i)->text(), QString("Visible"));
            }
            editor.Text1(3)->setText("KBr pellet \u00E9");
            editor.Check1(5)->setChecked(false);
            QTest::mouseClick(editor.findChild<QPushButton*>("Command1"), Qt::LeftButton);
        });
        QTest::mouseDClick(Label14(2), Qt::LeftButton);
        QCOMPARE(Prompts().dialogsShown, QStringList{"Form2"});
        QCOMPARE(Label14(3)->text(), QString("KBr pellet \u00E9"));
        QCOMPARE(w_->state->spectrum.Label14[3], std::string("KBr pellet \xE9"));
        QVERIFY(Label14(5)->isHidden());
        QVERIFY(!w_->state->Label14Visible[5]);
        QVERIFY(w_->state->Label14Visible[3]);

        // Any label opens the editor, filled from the labels: the hidden one
        // with its text and its box unchecked. Closing without OK changes
        // nothing.
        bool filled = false;
        Prompts().dialogScripts.push_back([&filled](QDialog& dialog) {
            auto& editor = static_cast<HeaderEditor&>(dialog);
            filled = editor.RowText(5) == "XUNITS=1/CM" && !editor.RowVisible(5) &&
                     editor.RowVisible(0) && editor.RowText(3) == "KBr pellet \u00E9";
            editor.Text1(0)->setText("changed");
            editor.Check1(0)->setChecked(false);
            editor.reject();
        });
        QTest::mouseDClick(Label14(0), Qt::LeftButton);
        QVERIFY(filled);
        QCOMPARE(Label14(0)->text(), QString("Tool test"));
        QVERIFY(!Label14(0)->isHidden());
        QVERIFY(w_->state->Label14Visible[0]);
        QCOMPARE(w_->state->spectrum.Label14[0], std::string("Tool test"));

        // The menu's entry runs the same action.
        Prompts().dialogScripts.push_back([](QDialog& dialog) {
            static_cast<HeaderEditor&>(dialog).Check1(5)->setChecked(true);
            dialog.accept();
        });
        w_->window->EditSampleLabels();
        QVERIFY(!Label14(5)->isHidden());
        QVERIFY(w_->state->Label14Visible[5]);

        // A text Latin-1 cannot hold is kept as UTF-8 and shown as typed, and
        // shown so again when the editor opens.
        const QString cyrillic = QString::fromUtf8("\xD0\xA2\xD0\xB5\xD1\x85\xD0\xBD\xD0\xBE");
        Prompts().dialogScripts.push_back([&cyrillic](QDialog& dialog) {
            static_cast<HeaderEditor&>(dialog).Text1(1)->setText(cyrillic);
            dialog.accept();
        });
        w_->window->EditSampleLabels();
        QCOMPARE(w_->state->spectrum.Label14[1], cyrillic.toStdString());
        QCOMPARE(Label14(1)->text(), cyrillic);
    }

    void fileTextsAreShownInTheirCharacterSet() {
        // A title in Windows-1251 ("Технология") and a date in UTF-8.
        QByteArray text = test::JcampSpectrum(4000, 400);
        text.replace("##TITLE=Tool test",
                     "##TITLE=\xD2\xE5\xF5\xED\xEE\xEB\xEE\xE3\xE8\xFF\n##DATE=12 \xC2\xB5s");
        const std::string path = w_->dir.filePath("cyrillic.jdx").toStdString();
        QFile file(QString::fromStdString(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QVERIFY(w_->window->OpenFile(FileFormat::Jcamp, path, "cyrillic.jdx"));
        QCOMPARE(Label14(0)->text(),
                 QString::fromUtf8("\xD0\xA2\xD0\xB5\xD1\x85\xD0\xBD\xD0\xBE\xD0\xBB\xD0\xBE"
                                   "\xD0\xB3\xD0\xB8\xD1\x8F"));
        QCOMPARE(Label14(1)->text(), QString::fromUtf8("12 \xC2\xB5s"));
    }

    void headerDetailsAndCopyPreviewAreRequested() {
        QSignalSpy details(w_->window.get(), &SpectrumWindow::headerDetailsRequested);
        QSignalSpy preview(w_->window.get(), &SpectrumWindow::copyPreviewRequested);
        auto* list = w_->Find<QListWidget>("HeaderList");
        QTest::mouseDClick(list->viewport(), Qt::LeftButton);
        QCOMPARE(details.count(), 1);

        // The buttons end peak marking first.
        w_->window->PeakMarkClick();
        QTest::mouseClick(Button("Command13"), Qt::LeftButton);
        QCOMPARE(details.count(), 2);
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
        w_->window->PeakMarkClick();
        QTest::mouseClick(Button("Command4"), Qt::LeftButton);
        QCOMPARE(preview.count(), 1);
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
    }

    void theMemoryPanelShowsSixLinesEverySecond() {
        QWidget* panel = w_->window->Picture3();
        QVERIFY(panel);
        QVERIFY(panel->isHidden());
        QCOMPARE(panel->accessibleDescription(), QString("Picture3"));
        QVERIFY(panel->accessibleName().isEmpty());
        auto* timer = panel->findChild<QTimer*>("Timer1");
        QVERIFY(timer && timer->isActive());
        QCOMPARE(timer->interval(), 1000);

        QTest::mouseClick(Button("Command15"), Qt::LeftButton);
        QVERIFY(panel->isVisible());
        const QStringList lines = static_cast<QLabel*>(panel)->text().split('\n');
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith("dwMemoryLoad= ") && lines[0].endsWith("  %"));
        QVERIFY(lines[1].startsWith("dwTotalPhys= ") &&
                lines[1].endsWith("  bytes of physical memory"));
        QVERIFY(lines[2].endsWith("  bytes of free physical memory"));
        QVERIFY(lines[3].startsWith("dwTotalVirtual= ") &&
                lines[3].endsWith("  user bytes of address space"));
        QVERIFY(lines[4].startsWith("dwAvailVirtual= "));
        QVERIFY(lines[5].startsWith("dwAvailPageFile= "));
        for (const QString& line : lines) {
            QVERIFY2(!line.contains('-'), qPrintable(line));  // no figure wraps negative
        }

        // The timer refreshes it even while hidden; a double click hides it.
        static_cast<QLabel*>(panel)->clear();
        QTest::mouseDClick(panel, Qt::LeftButton);
        QVERIFY(panel->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!static_cast<QLabel*>(panel)->text().isEmpty(), 3000);
    }

    void stepPtDrawsEveryNthPoint() {
        auto* box = w_->Find<QLineEdit>("Text2");
        QCOMPARE(box->text(), QString("1"));
        const QImage every = w_->window->Picture(1)->Image().copy();
        box->setText("3");
        QTest::mouseClick(Button("Command16"), Qt::LeftButton);
        QCOMPARE(w_->state->graph.PointStep, std::int16_t{3});
        QCOMPARE(box->text(), QString("3"));
        QVERIFY(w_->window->Picture(1)->Image() != every);  // redrawn with the stride
        QVERIFY(test::CountColour(w_->window->Picture(1)->Image(), qRgb(192, 0, 0)) > 300);

        // Halves go to the even neighbour; the box keeps what was typed.
        box->setText("2.5");
        w_->window->StepPtClick();
        QCOMPARE(w_->state->graph.PointStep, std::int16_t{2});
        QCOMPARE(box->text(), QString("2.5"));

        // No usable stride: 1, shown in the box.
        for (const char* text : {"0", "abc", "-4", "70000", "32767.5", "1e999"}) {
            box->setText(text);
            w_->window->StepPtClick();
            QCOMPARE(w_->state->graph.PointStep, std::int16_t{1});
            QCOMPARE(box->text(), QString("1"));
        }
        w_->window->StepPtClick();
        QCOMPARE(w_->window->Picture(1)->Image(), every);
        QVERIFY(Prompts().messages.empty());
    }

    void restartReadsTheFileAgainWithTheMultiplier() {
        const double before = Percent(100);
        auto* box = w_->Find<QLineEdit>("MultGlobalBox");
        box->setText("1,5");
        QTest::mouseClick(Button("Command18"), Qt::LeftButton);
        QCOMPARE(box->text(), QString("1.5"));
        QCOMPARE(w_->state->spectrum.MultGlobal, 1.5);
        QVERIFY(std::abs(Percent(100) / before - 1.5) < 1e-4);
        QVERIFY(Prompts().messages.empty());

        // Enter in the box does the same; only the first comma changes.
        box->setText("2,5,0");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->text(), QString("2.5,0"));
        QCOMPARE(w_->state->spectrum.MultGlobal, 2.5);
        QVERIFY(std::abs(Percent(100) / before - 2.5) < 1e-4);
    }

    void aRestartThatCannotReadTheFileIsAMessage() {
        QVERIFY(QFile::remove(QString::fromStdString(w_->path)));
        QTest::mouseClick(Button("Command18"), Qt::LeftButton);
        QCOMPARE(Prompts().messages.size(), std::size_t{1});
        QCOMPARE(Prompts().messages[0].title, QString("Cannot open file!"));
        QCOMPARE(test::Painted(w_->window->Picture(1)->Image()), 0);

        // The window lives on: the file comes back and Restart reads it.
        QFile file(QString::fromStdString(w_->path));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(test::JcampSpectrum(3000, 1000));
        file.close();
        QTest::mouseClick(Button("Command18"), Qt::LeftButton);
        QCOMPARE(w_->state->spectrum.PointCount, 2001);
        QVERIFY(test::Painted(w_->window->Picture(1)->Image()) > 1000);
        QCOMPARE(Prompts().messages.size(), std::size_t{1});
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::WindowToolsTest)
#include "window_tools_test.moc"
