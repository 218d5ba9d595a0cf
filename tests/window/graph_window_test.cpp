// The spectrum window on the offscreen platform: drawing areas, graph-setting
// buttons, heights, expansion and scrolling, reads and failed redraws.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QtTest>

#include <memory>

#include "core/export_text.h"
#include "window/graph_window.h"
#include "window/image_counts.h"
#include "window/picture_box.h"
#include "window/scripted_prompts.h"
#include "window/text_lines_view.h"

namespace halvorn {

namespace {

using test::CountColour;
using test::Painted;

const std::string kDemo = std::string(HALVORN_DATA_DIR) + "/Demo.sp";

}  // namespace

class SpectrumWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<ViewerState> state_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<SpectrumWindow> window_;
    int settingsReads_ = 0;

    PictureBox* Pic(int n) const { return window_->Picture(n); }
    QPushButton* Button(const char* name) const { return window_->findChild<QPushButton*>(name); }
    LabelBox& Box(int slot) const {
        return state_->graph.peaks
            .PeakLabelBoxes[static_cast<std::size_t>(slot)]
                           [static_cast<std::size_t>(state_->settings.WavenumberSections)]
                           [static_cast<std::size_t>(state_->settings.XScaleKind)];
    }

  private slots:
    void init() {
        state_ = std::make_unique<ViewerState>();
        prompts_ = std::make_unique<ScriptedPrompts>();
        settingsReads_ = 0;
        window_ =
            std::make_unique<SpectrumWindow>(*state_, *prompts_, [this] { ++settingsReads_; });
        window_->Load();
        window_->show();
        window_->OpenFile(FileFormat::Sp, kDemo, "");
    }

    void cleanup() { window_.reset(); }

    void loadReadsSettingsAndPlacesTheAreas() {
        QCOMPARE(settingsReads_, 1);
        QCOMPARE(Pic(1)->size(), QSize(673, 348));
        QCOMPARE(Pic(6)->height(), 416);
        QCOMPARE(Pic(2)->height(), 449);
        QCOMPARE(Pic(7)->height(), 473);
        QCOMPARE(Pic(6)->x(), -10);
        // The plot sits in the middle of the frame's inside.
        const int plotInFrame = Pic(6)->x() + 2 + Pic(1)->x();
        QCOMPARE(plotInFrame, (Pic(2)->InnerWidth() - 673) / 2);
        QCOMPARE(Pic(11)->geometry(), QRect(Pic(1)->x() - 10, 28 + 348, 693, Pic(11)->height()));
        QCOMPARE(Pic(12)->y() + Pic(12)->height(), 28);
        QCOMPARE(Pic(12)->width(), 693);
        QCOMPARE(window_->Line6()->geometry(), QRect(Pic(1)->x() + 673, 28, 1, 384 - 28));
        // Two-section scale and transmittance grid highlighted (settings 0).
        QCOMPARE(window_->ButtonColour(1), kActiveSettingColour);
        QCOMPARE(window_->ButtonColour(5), kActiveSettingColour);
        for (int k : {0, 2, 3, 4}) {
            QCOMPARE(window_->ButtonColour(k), kInactiveSettingColour);
        }
        for (const char* name : {"Picture1", "Picture2", "Picture6", "Picture7", "Picture11"}) {
            QVERIFY(window_->findChild<QWidget*>(name) != nullptr);
            QCOMPARE(window_->findChild<QWidget*>(name)->accessibleName(), QString(name));
        }
    }

    void buttonsCarryTheirCaptionsAndTooltips() {
        const QStringList captions = {"1", "2", "3", QString(QChar(0x00B5)), "A", "T"};
        const QStringList tips = {"Linear in Wavenumbers, 1 section",
                                  "Linear in Wavenumbers, 2 sections",
                                  "Linear in Wavenumbers, 3 sections",
                                  "Linear in Wavelenght",
                                  "Grid in Absorbance",
                                  "Grid in Transmittance"};
        for (int k = 0; k < 6; ++k) {
            QPushButton* b = Button(QString("Command%1").arg(7 + k).toLatin1().constData());
            QVERIFY(b);
            QCOMPARE(b->text(), captions[k]);
            QCOMPARE(b->toolTip(), tips[k]);
        }
        QCOMPARE(Button("Command5")->text(), QString("IR4"));
        QCOMPARE(Button("Command6")->toolTip(), QString("Make the whole graph twice as large"));
        QCOMPARE(Button("Command17")->toolTip(), QString("Make the whole graph half as large"));
        QCOMPARE(Button("Command14")->toolTip(), QString("Select limits for expansion"));
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
        QCOMPARE(Button("Command1")->text(), QString("Move Labels"));
        QCOMPARE(window_->ExpansionFactorLabel()->text(), QString("1/ 1"));
        for (int k = 0; k < 6; ++k) {
            auto* option = window_->findChild<QAbstractButton*>(QString("OptionHeight(%1)").arg(k));
            QVERIFY(option);
            QCOMPARE(option->text(), QString("%1 %").arg(100 - 10 * k));
        }
    }

    void readFillsTheTextsAndTheReadingPanel() {
        QCOMPARE(window_->windowTitle(), QString("Infrared Spectrum: File - (Demo.sp)"));
        QCOMPARE(window_->findChild<QLabel*>("PointCountLabel")->text(),
                 QString("Number of points: 3551"));
        QVERIFY(window_->findChild<QLabel*>("Label14(0)")->text().startsWith("Sample: "));
        QCOMPARE(window_->findChild<QListWidget*>("HeaderList")->count(),
                 static_cast<int>(state_->spectrum.HeaderList.size()));
        // The data box lists the stored ordinates, one a line, without line ends.
        auto* data = window_->findChild<TextLinesView*>("DataTextBox");
        QCOMPARE(data->model()->rowCount(), 3551);
        const QStringList lines = data->PlainText().split('\n');
        QCOMPARE(lines.size(), qsizetype(3551));
        const std::string& zz = ExportTextOf(state_->spectrum, ExportText::StoredY);
        QCOMPARE(lines.front() + "\r\n" + lines.back() + "\r\n",
                 QString::fromLatin1(zz.substr(0, lines.front().size() + 2) +
                                     zz.substr(zz.size() - lines.back().size() - 2)));
        auto* bar = window_->findChild<QProgressBar*>("ProgressBar1");
        QCOMPARE(bar->maximum(), 3551);
        QCOMPARE(bar->value(), 3551);
        QVERIFY(!window_->findChild<QWidget*>("ReadingPanel")->isVisible());
        QVERIFY(!state_->spectrum.Loading);

        // The panel is up while the ordinates are read: the window repaints
        // once after showing it, which runs this timer.
        bool shownDuringRead = false;
        QTimer::singleShot(0, this, [&] {
            shownDuringRead = window_->findChild<QWidget*>("ReadingPanel")->isVisible();
        });
        window_->OpenFile(FileFormat::Sp, kDemo, "Demo.sp");
        QVERIFY(shownDuringRead);
        QVERIFY(!window_->findChild<QWidget*>("ReadingPanel")->isVisible());
    }

    void redrawPaintsEveryArea() {
        // Trace in dark red, scale ticks and labels on the strips, Y scales on
        // the background left and right of the frame.
        QVERIFY(CountColour(Pic(1)->Image(), qRgb(192, 0, 0)) > 500);
        QVERIFY(CountColour(Pic(1)->Image(), qRgb(255, 192, 128)) > 1000);  // minor grid
        for (int n : {4, 8, 11, 12}) {
            QVERIFY2(Painted(Pic(n)->Image()) > 20, qPrintable(QString("Picture%1").arg(n)));
        }
        const QImage background = Pic(7)->Image();
        QVERIFY(Painted(background.copy(0, 0, Pic(2)->x(), background.height())) > 100);
        QVERIFY(Painted(background.copy(Pic(2)->x() + Pic(2)->width(), 0, 40,
                                        background.height())) > 100);
        // The frame's top and left edges on the plot.
        QCOMPARE(Pic(1)->Image().pixel(100, 0) & 0xFFFFFF, 0u);
        QCOMPARE(Pic(1)->Image().pixel(0, 100) & 0xFFFFFF, 0u);
        // Peak labels in blue.
        QVERIFY(state_->graph.peaks.PeakCount > 0);
        QVERIFY(CountColour(Pic(1)->Image(), qRgb(0, 0, 255)) > 20);
    }

    void limpFClearsEveryArea() {
        window_->LimpF();
        for (int n : {1, 2, 4, 6, 7, 8, 11, 12}) {
            QCOMPARE(Painted(Pic(n)->Image()), 0);
        }
    }

    void scaleButtonsSetTheModeAndTheHighlight() {
        window_->ScaleButtonClick(0);
        QCOMPARE(state_->settings.WavenumberSections, std::int16_t{1});
        QCOMPARE(state_->settings.XScaleKind, std::int16_t{0});
        QCOMPARE(window_->ButtonColour(0), kActiveSettingColour);
        QCOMPARE(window_->ButtonColour(1), kInactiveSettingColour);
        QCOMPARE(window_->ButtonColour(5), kActiveSettingColour);  // the other group stays

        window_->ScaleButtonClick(3);
        QCOMPARE(state_->settings.XScaleKind, std::int16_t{1});
        QCOMPARE(state_->settings.WavenumberSections, std::int16_t{1});  // kept for later
        QCOMPARE(window_->ButtonColour(3), kActiveSettingColour);
        QCOMPARE(window_->ButtonColour(0), kInactiveSettingColour);

        window_->ScaleButtonClick(2);
        QCOMPARE(state_->settings.WavenumberSections, std::int16_t{2});
        QCOMPARE(state_->settings.XScaleKind, std::int16_t{0});

        window_->ScaleButtonClick(4);
        QCOMPARE(state_->settings.YGridMode, std::int16_t{1});
        QCOMPARE(window_->ButtonColour(4), kActiveSettingColour);
        QCOMPARE(window_->ButtonColour(5), kInactiveSettingColour);
        QCOMPARE(window_->ButtonColour(2), kActiveSettingColour);
        window_->ScaleButtonClick(5);
        QCOMPARE(state_->settings.YGridMode, std::int16_t{0});
        QVERIFY(prompts_->messages.empty());
    }

    void onlyTheXScaleButtonsLayTheLabelsOutAgain() {
        QVERIFY(state_->graph.peaks.PeakCount > 0);
        const LabelBox moved{1, 2, 3, 4};
        Box(0) = moved;
        window_->ScaleButtonClick(4);  // absorbance grid: the moved label stays
        QVERIFY(Box(0) == moved);
        window_->ScaleButtonClick(5);
        QVERIFY(Box(0) == moved);
        window_->ScaleButtonClick(1);  // the scale already shown: laid out again
        QVERIFY(!(Box(0) == moved));
    }

    void settingButtonsEndPeakMarkingAndLabelMovingFirst() {
        window_->PeakMarkClick();
        QCOMPARE(Button("Command3")->text(), QString("End Mark"));
        QCOMPARE(RgbOf(Button("Command3")->palette().color(QPalette::Button)), kActiveModeColour);
        window_->ScaleButtonClick(0);
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));

        // The first "Move Labels" asks once; answered Yes it enters the mode.
        window_->MoveLabelsClick();
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].title, QString("Information"));
        QCOMPARE(Button("Command1")->text(), QString("End Move"));
        window_->ScaleButtonClick(5);
        QCOMPARE(Button("Command1")->text(), QString("Move Labels"));
        window_->MoveLabelsClick();
        QCOMPARE(prompts_->messages.size(), std::size_t{1});  // not asked again
        QCOMPARE(Button("Command1")->text(), QString("End Move"));

        // "Peak Mark" ends label moving; the expansion buttons end nothing.
        window_->PeakMarkClick();
        QCOMPARE(Button("Command1")->text(), QString("Move Labels"));
        QCOMPARE(Button("Command3")->text(), QString("End Mark"));
        window_->ExpandClick();
        QCOMPARE(Button("Command3")->text(), QString("End Mark"));
        QTest::mouseClick(Button("Command14"), Qt::LeftButton);  // disabled while expanded
        QCOMPARE(Button("Command3")->text(), QString("End Mark"));
        window_->ShrinkClick();
        QTest::mouseClick(Button("Command14"), Qt::LeftButton);
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
    }

    void answeringNoLeavesLabelMovingOff() {
        prompts_->messageAnswers.push_back(QMessageBox::No);
        window_->MoveLabelsClick();
        QCOMPARE(Button("Command1")->text(), QString("Move Labels"));
        window_->MoveLabelsClick();
        QCOMPARE(Button("Command1")->text(), QString("End Move"));
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
    }

    void heightOptionsResizeAndKeepTheModes() {
        window_->ScaleButtonClick(3);
        window_->ScaleButtonClick(4);
        window_->HeightOptionClick(5);
        QVERIFY(state_->GraphHeightReduced);
        QCOMPARE(Pic(1)->height(), 174);
        QCOMPARE(Pic(6)->height(), 242);
        QCOMPARE(Pic(2)->height(), 275);
        QCOMPARE(Pic(11)->y(), 28 + 174);
        QCOMPARE(Pic(4)->y(), 28 + 174 + 55);
        QCOMPARE(Pic(7)->height(), 28 + 174 + 97);
        QCOMPARE(window_->Line6()->y() + window_->Line6()->height(), 174 + 36);
        QCOMPARE(state_->settings.XScaleKind, std::int16_t{1});
        QCOMPARE(state_->settings.YGridMode, std::int16_t{1});
        QCOMPARE(window_->ButtonColour(3), kActiveSettingColour);
        QCOMPARE(window_->ButtonColour(4), kActiveSettingColour);
        // Redrawn at the new height.
        QCOMPARE(Pic(1)->Image().height(), 174);
        QCOMPARE(state_->graph.mapping.PlotHeight, 174);
        QVERIFY(CountColour(Pic(1)->Image(), qRgb(192, 0, 0)) > 300);

        window_->HeightOptionClick(0);
        QVERIFY(!state_->GraphHeightReduced);
        QCOMPARE(Pic(1)->height(), 348);
        QCOMPARE(Pic(11)->y(), 376);
        QCOMPARE(Pic(4)->y(), 431);
        QCOMPARE(Pic(7)->height(), 473);
        QCOMPARE(window_->Line6()->y() + window_->Line6()->height(), 384);
    }

    void heightOptionsReactToTheKeyboardAndToAccessibilityTools() {
        auto* full = window_->findChild<QRadioButton*>("OptionHeight(0)");
        auto* ninety = window_->findChild<QRadioButton*>("OptionHeight(1)");
        auto* half = window_->findChild<QRadioButton*>("OptionHeight(5)");
        // The arrow key moves the selection to the next option.
        full->setFocus();
        QTest::keyClick(full, Qt::Key_Down);
        QVERIFY(ninety->isChecked());
        QCOMPARE(Pic(1)->height(), 313);
        QCOMPARE(state_->graph.mapping.PlotHeight, 313);
        QVERIFY(state_->GraphHeightReduced);

        // An accessibility tool checks the option through its toggle action.
        QAccessibleInterface* access = QAccessible::queryAccessibleInterface(half);
        QVERIFY(access && access->actionInterface());
        access->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(half->isChecked());
        QCOMPARE(Pic(1)->height(), 174);
        QCOMPARE(Pic(1)->Image().height(), 174);

        // A mouse click applies the option; a click on the selected one again.
        QTest::mouseClick(full, Qt::LeftButton);
        QCOMPARE(Pic(1)->height(), 348);
        state_->graph.mapping.PlotHeight = 0;
        QTest::mouseClick(full, Qt::LeftButton);
        QCOMPARE(state_->graph.mapping.PlotHeight, 348);
        QVERIFY(prompts_->messages.empty());
    }

    void expansionLevelsWidenThePlotAndCentreTheView() {
        QScrollBar* bar = window_->HScroll1();
        QVERIFY(!bar->isEnabled());
        window_->ExpandClick();
        QCOMPARE(state_->graph.ExpansionLevel, std::int16_t{1});
        QCOMPARE(Pic(1)->width(), 1346);
        QCOMPARE(Pic(6)->width(), 1446);
        QCOMPARE(Pic(11)->width(), 1366);
        QCOMPARE(Pic(12)->width(), 1366);
        QCOMPARE(window_->Line6()->x(), Pic(1)->x() + 1346);
        QCOMPARE(window_->ExpansionFactorLabel()->text(), QString("2/ 1"));
        QVERIFY(bar->isEnabled());
        QCOMPARE(bar->minimum(), Pic(2)->width() - 1346 - 2 * Pic(1)->x());
        QCOMPARE(bar->maximum(), -10);
        QCOMPARE(bar->value(), static_cast<int>(ValueAtProportion(bar->minimum(), -10, 2.0)));
        QCOMPARE(Pic(6)->x(), bar->maximum() + bar->minimum() - bar->value());
        QVERIFY(Button("Command17")->isEnabled());
        QVERIFY(!Button("Command14")->isEnabled());
        QCOMPARE(state_->graph.mapping.PlotWidth, 1346);
        QCOMPARE(Pic(1)->Image().width(), 1346);

        window_->ExpandClick();
        window_->ExpandClick();
        QCOMPARE(Pic(1)->width(), 5384);
        QCOMPARE(window_->ExpansionFactorLabel()->text(), QString("8/ 1"));
        QVERIFY(!Button("Command6")->isEnabled());
        window_->ExpandClick();  // no level beyond 3
        QCOMPARE(Pic(1)->width(), 5384);

        for (int k = 0; k < 3; ++k) {
            window_->ShrinkClick();
        }
        QCOMPARE(state_->graph.ExpansionLevel, std::int16_t{0});
        QCOMPARE(Pic(1)->width(), 673);
        QCOMPARE(Pic(6)->x(), -10);
        QCOMPARE(window_->ExpansionFactorLabel()->text(), QString("1/ 1"));
        QVERIFY(!Button("Command17")->isEnabled());
        QVERIFY(Button("Command14")->isEnabled());
        QVERIFY(Button("Command6")->isEnabled());
        QVERIFY(!bar->isEnabled());
        QVERIFY(prompts_->messages.empty());
    }

    void scrollingMovesTheContainerAndKeepsTheYScales() {
        window_->ExpandClick();
        QScrollBar* bar = window_->HScroll1();
        const QImage yScales = Pic(7)->Image().copy();
        bar->setValue(bar->minimum());
        QCOMPARE(Pic(6)->x(), -10);
        bar->setValue(bar->maximum());
        QCOMPARE(Pic(6)->x(), bar->minimum());
        // The plot's right end is then inside the frame.
        QVERIFY(Pic(6)->x() + 2 + Pic(1)->x() + Pic(1)->width() <= Pic(2)->InnerWidth());
        QCOMPARE(Pic(7)->Image(), yScales);
    }

    void expansionKeepsTheScrollProportion() {
        window_->ExpandClick();
        window_->ExpandClick();
        QScrollBar* bar = window_->HScroll1();
        bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) / 4);
        const double before = ScrollProportion(bar->minimum(), bar->maximum(), bar->value());
        window_->ExpandClick();
        QCOMPARE(bar->value(),
                 static_cast<int>(ValueAtProportion(bar->minimum(), bar->maximum(), before)));
        window_->ShrinkClick();
        QVERIFY(std::abs(ScrollProportion(bar->minimum(), bar->maximum(), bar->value()) - before) <
                0.01);
    }

    void aRedrawThatCannotBeDoneIsAMessage() {
        state_->spectrum.LastX = state_->spectrum.FirstX;  // a display range of no width
        state_->spectrum.Loading = true;
        QCOMPARE(window_->Redraw(), kRedrawDivisionByZero);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].title, QString("Cannot draw the graph!"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
        QVERIFY(prompts_->messages[0].text.contains("display range"));
        QVERIFY(state_->spectrum.Loading);

        // The same through a button: a message, no crash.
        window_->ScaleButtonClick(2);
        QCOMPARE(prompts_->messages.size(), std::size_t{2});
    }

    void aFailedReadShowsTheReadersMessageAndEmptyAreas() {
        window_->OpenFile(FileFormat::Sp, "/nonexistent/missing.sp", "missing.sp");
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].title, QString("Cannot open file!"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
        QVERIFY(prompts_->messages[0].text.endsWith("Try to look in 'File Details'"));
        QCOMPARE(window_->windowTitle(), QString("Infrared Spectrum: File - (missing.sp)"));
        QCOMPARE(Painted(Pic(1)->Image()), 0);
        QVERIFY(state_->spectrum.Loading);
        QVERIFY(!state_->spectrum.OpenFailed);
        // Buttons then redraw nothing and say nothing.
        window_->ScaleButtonClick(0);
        window_->Command5Click();
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(Painted(Pic(1)->Image()), 0);
    }

    void plusAndMinusOnTheGraphExpandAndShrink() {
        // The keys act where the keyboard is: on the plot or its frame.
        for (PictureBox* target : {Pic(1), Pic(2)}) {
            QTest::keyClick(target, Qt::Key_Plus);
            QCOMPARE(state_->graph.ExpansionLevel, 1);
            QCOMPARE(window_->ExpansionFactorLabel()->text(), QString("2/ 1"));
            QTest::keyClick(target, Qt::Key_Plus, Qt::KeypadModifier);
            QCOMPARE(state_->graph.ExpansionLevel, 2);
            QTest::keyClick(target, Qt::Key_Minus);
            QTest::keyClick(target, Qt::Key_Minus, Qt::KeypadModifier);
            QCOMPARE(state_->graph.ExpansionLevel, 0);
            // "/2" is disabled at the whole view: "-" does nothing there.
            QTest::keyClick(target, Qt::Key_Minus);
            QCOMPARE(state_->graph.ExpansionLevel, 0);
            QVERIFY(!Button("Command17")->isEnabled());
        }
        // As far as "*2" goes and no further.
        for (int k = 0; k < 10; ++k) {
            QTest::keyClick(Pic(1), Qt::Key_Plus);
        }
        QVERIFY(!Button("Command6")->isEnabled());
        QCOMPARE(state_->graph.ExpansionLevel, kMaxExpansionLevel);
        QCOMPARE(Pic(1)->width(), 673 << kMaxExpansionLevel);
        QVERIFY(prompts_->messages.empty());
    }

    void everyButtonIsReachedWithTabAndSaysWhatItDoes() {
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        Button("Command7")->setFocus();
        QSet<QWidget*> reached;
        for (int k = 0; k < 200 && QApplication::focusWidget() != nullptr; ++k) {
            reached.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QAbstractButton* b : window_->findChildren<QAbstractButton*>()) {
            if (!b->isVisibleTo(window_.get()) || !b->isEnabled()) {
                continue;
            }
            QVERIFY2(!b->statusTip().isEmpty(), qPrintable(b->objectName()));
            // One option of a group takes the Tab; the arrows move between
            // them.
            if (qobject_cast<QRadioButton*>(b) != nullptr && !b->isChecked()) {
                continue;
            }
            QVERIFY2(reached.contains(b), qPrintable(b->objectName()));
        }
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::SpectrumWindowTest)
#include "graph_window_test.moc"
