// The mouse on the spectrum window's plot, on the offscreen platform: the
// cursor readout and the panels that clear it, the peak cursor and floating
// label, marking peaks by clicks, dragging labels with the right button, and
// the label layout of a scale chosen elsewhere.
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "core/numbers.h"
#include "graph/graph.h"
#include "interaction/readout.h"
#include "window/graph_window.h"
#include "window/image_counts.h"
#include "window/picture_box.h"
#include "window/plot_picker.h"
#include "window/scripted_prompts.h"

namespace halvorn {

namespace {

using test::CountColour;

const std::string kDemo = std::string(HALVORN_DATA_DIR) + "/Demo.sp";
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kCyan = qRgb(192, 255, 255);

}  // namespace

class PlotPickerTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<ViewerState> state_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<SpectrumWindow> window_;

    PictureBox* Pic(int n) const { return window_->Picture(n); }
    QWidget* Plot() const { return Pic(1)->Client(); }
    PlotPicker* Picker() const { return window_->Picker(); }
    PeakList& Peaks() const { return state_->graph.peaks; }
    QString Field(int k) const {
        return window_->findChild<QLabel*>(QString("Label1(%1)").arg(k))->text();
    }
    QWidget* Line5() const { return window_->findChild<QWidget*>("Line5"); }
    QLabel* Label19() const { return window_->findChild<QLabel*>("Label19"); }
    QWidget* Shape1() const { return window_->findChild<QWidget*>("Shape1"); }
    LabelBox& Box(int slot) const {
        return Peaks().PeakLabelBoxes[static_cast<std::size_t>(slot)]
                                     [static_cast<std::size_t>(state_->settings.WavenumberSections)]
                                     [static_cast<std::size_t>(state_->settings.XScaleKind)];
    }
    double XOf(std::int16_t point) const {
        return XOfWavenumber(state_->graph.mapping,
                             state_->spectrum.WaveX[static_cast<std::size_t>(point)]);
    }
    // The readout the plain function gives for a move to (x, y).
    ReadoutFields Expected(float x, float y) const {
        ReadoutFields fields;
        PeakList peaks = Peaks();
        (void)MoveReadout(fields, peaks, state_->spectrum, state_->graph.mapping, state_->settings,
                          false, state_->PeakMarkMode, x, y, Pic(1)->InnerWidth(),
                          Pic(1)->InnerHeight(), state_->graph.DecimalSeparator);
        return fields;
    }
    void CompareFields(const ReadoutFields& expected) const {
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(Field(k),
                     QString::fromStdString(expected.Label1[static_cast<std::size_t>(k)]));
        }
    }
    bool FieldsEmpty() const {
        return Field(0).isEmpty() && Field(1).isEmpty() && Field(2).isEmpty() && Field(3).isEmpty();
    }
    void MoveOnPlot(int x, int y) { QTest::mouseMove(Plot(), QPoint(x, y)); }

  private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        state_ = std::make_unique<ViewerState>();
        prompts_ = std::make_unique<ScriptedPrompts>();
        window_ = std::make_unique<SpectrumWindow>(*state_, *prompts_, [] {});
        window_->Load();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->OpenFile(FileFormat::Sp, kDemo, "");
        QVERIFY(!state_->spectrum.Loading);
    }

    void cleanup() {
        window_.reset();
        QLocale::setDefault(QLocale::c());
    }

    void readoutFieldsCarryNamesForAccessibilityTools() {
        for (int k = 0; k < 4; ++k) {
            auto* field = window_->findChild<QLabel*>(QString("Label1(%1)").arg(k));
            QVERIFY(field);
            QCOMPARE(field->accessibleDescription(), field->objectName());
            QVERIFY(field->accessibleName().isEmpty());
        }
        QCOMPARE(Label19()->accessibleDescription(), QString("Label19"));
        QVERIFY(Label19()->accessibleName().isEmpty());
        QCOMPARE(Line5()->accessibleName(), QString("Line5"));
        QCOMPARE(Shape1()->accessibleName(), QString("Shape1"));
        QVERIFY(!Line5()->isVisible() && !Label19()->isVisible() && !Shape1()->isVisible());
    }

    void readoutShowsTheCursorsPlace() {
        // The demonstration spectrum spans 95 %T over the 348 rows: the 50 %T
        // gridline lies on row R(348 / 95 x 45) = 165.
        const MappingState& m = state_->graph.mapping;
        QCOMPARE(m.PlotYTop, 95.0);
        QCOMPARE(m.PlotYBottom, 0.0);
        const int x1000 = static_cast<int>(RoundTo(XOfWavenumber(m, 1000.0), 0));
        MoveOnPlot(x1000, 165);
        QCOMPARE(Field(1), QString(" Y (%T) = 50"));
        QCOMPARE(Field(0), QString(" Y (abs) = 0.301"));
        // The column of 1000 cm-1 reads exactly 1000.
        QCOMPARE(Field(3), QString(" X (cm-1) = 1000"));
        QCOMPARE(Field(2), QString(" X (um) = 10"));
        CompareFields(Expected(static_cast<float>(x1000), 165.0f));

        // One row lower: 95 - 95 x 166 / 348 = 49.68, shown to one decimal.
        MoveOnPlot(x1000, 166);
        QCOMPARE(Field(1), QString(" Y (%T) = 49.7"));
        QCOMPARE(Field(0), QString(" Y (abs) = 0.304"));

        // The column of the deepest marked peak (point 3303, 698 cm-1) shows
        // exactly its abscissa.
        QCOMPARE(Peaks().PeakPoints[0], std::int16_t{3303});
        const int peakColumn = static_cast<int>(RoundTo(XOf(3303), 0));
        MoveOnPlot(peakColumn, 100);
        QCOMPARE(Field(3), QString(" X (cm-1) = 698"));
        QCOMPARE(Field(2), QString(" X (um) = 14.33"));
        CompareFields(Expected(static_cast<float>(peakColumn), 100.0f));

        // The last column still reads; the bottom row H reads 0 %T, whose
        // absorbance is infinite; one more row is off the plot.
        const int w = Pic(1)->InnerWidth();
        const int h = Pic(1)->InnerHeight();
        MoveOnPlot(w - 1, 10);
        CompareFields(Expected(static_cast<float>(w - 1), 10.0f));
        QVERIFY(!FieldsEmpty());
        Picker()->MouseMove(Qt::NoButton, 200.0f, static_cast<float>(h));
        QCOMPARE(Field(1), QString(" Y (%T) = 0"));
        QCOMPARE(Field(0), QString(" Y (abs) = inf"));
        Picker()->MouseMove(Qt::NoButton, 200.0f, static_cast<float>(h + 1));
        QVERIFY(FieldsEmpty());
        Picker()->MouseMove(Qt::NoButton, 200.0f, 100.0f);
        Picker()->MouseMove(Qt::NoButton, static_cast<float>(w), 100.0f);
        QVERIFY(FieldsEmpty());

        // Expanded, the plot is twice as wide and so is the readout's range.
        window_->ExpandClick();
        QCOMPARE(Pic(1)->InnerWidth(), 1346);
        Picker()->MouseMove(Qt::NoButton, 1345.0f, 100.0f);
        QVERIFY(!FieldsEmpty());
        CompareFields(Expected(1345.0f, 100.0f));
        Picker()->MouseMove(Qt::NoButton, 1346.0f, 100.0f);
        QVERIFY(FieldsEmpty());
    }

    void numbersUseTheLocalesDecimalSeparator() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        window_->Command5Click();
        const int x1000 =
            static_cast<int>(RoundTo(XOfWavenumber(state_->graph.mapping, 1000.0), 0));
        MoveOnPlot(x1000, 166);
        QCOMPARE(Field(1), QString(" Y (%T) = 49,7"));
        QCOMPARE(Field(0), QString(" Y (abs) = 0,304"));
    }

    void movesOverTheSurroundingPanelsClearTheReadout() {
        window_->PeakMarkClick();
        const QPoint plotLeftEdge = Plot()->mapTo(Pic(6)->Client(), QPoint(0, 0));
        const std::vector<std::pair<QWidget*, QPoint>> places = {
            {Pic(2), QPoint(1, 1)},  // the frame's border
            {Pic(4)->Client(), QPoint(5, 5)},
            {Pic(6)->Client(), QPoint(plotLeftEdge.x() - 3, 100)},
            {Pic(7)->Client(), QPoint(5, 100)},
            {Pic(8)->Client(), QPoint(5, 5)},
            {Pic(11)->Client(), QPoint(5, 5)},
            {Pic(12)->Client(), QPoint(5, 5)},
            {window_.get(), QPoint(window_->width() - 3, window_->height() - 3)},
        };
        for (const auto& [widget, place] : places) {
            const QPoint onWindow = widget->mapTo(window_.get(), place);
            const QString where = widget->objectName();
            QVERIFY2(window_->childAt(onWindow) == widget ||
                         (widget == window_.get() && window_->childAt(onWindow) == nullptr),
                     qPrintable(where));
            MoveOnPlot(300, 100);
            QVERIFY2(!FieldsEmpty() && Line5()->isVisible() && Label19()->isVisible(),
                     qPrintable(where));
            QTest::mouseMove(widget, place);
            QVERIFY2(FieldsEmpty(), qPrintable(where));
            QVERIFY2(!Line5()->isVisible() && !Label19()->isVisible(), qPrintable(where));
        }
        // A move over another control (a button) leaves the readout alone.
        MoveOnPlot(300, 100);
        QTest::mouseMove(window_->findChild<QPushButton*>("Command5"), QPoint(5, 5));
        QVERIFY(!FieldsEmpty());
    }

    void peakMarkModeFollowsTheNearestCandidate() {
        // A normal move first: its Y fields stay in peak-mark mode.
        MoveOnPlot(100, 165);
        const QString percent = Field(1);
        const QString absorbance = Field(0);
        window_->PeakMarkClick();
        QVERIFY(state_->PeakMarkMode);

        // Exactly on the deepest candidate (698 cm-1).
        const auto x = static_cast<float>(XOf(3303));
        Picker()->MouseMove(Qt::NoButton, x, 200.0f);
        QCOMPARE(Peaks().TopCandidates[static_cast<std::size_t>(Peaks().NearestCandidate)],
                 std::int16_t{3303});
        QVERIFY(Line5()->isVisible());
        QCOMPARE(Line5()->x(), PixelOf(x));
        QCOMPARE(Line5()->height(), Pic(1)->InnerHeight());
        QCOMPARE(Field(3), QString(" X (cm-1) = 698"));
        QCOMPARE(Field(2), QString(" X (um) = 14.33"));
        QCOMPARE(Field(1), percent);
        QCOMPARE(Field(0), absorbance);
        QVERIFY(Label19()->isVisible());
        QCOMPARE(Label19()->text(), QString("  698  "));
        QCOMPARE(Label19()->font().bold(), true);
        QCOMPARE(Label19()->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(Label19()->y(), 190);
        // 698 cm-1 lies beyond 90 % of the width (x = 608 > 605.7): the label
        // stands left of the cursor.
        QVERIFY(x > 0.9f * 673.0f);
        QCOMPARE(Label19()->x(), PixelOf(x - 10.0f - static_cast<float>(Label19()->width())));
        MoveOnPlot(650, 120);
        QVERIFY(Label19()->isVisible());
        QCOMPARE(Label19()->x() + Label19()->width(), 640);
        QCOMPARE(Label19()->y(), 110);
        // Up to 90 % it stands right of the cursor.
        MoveOnPlot(605, 200);
        QVERIFY(Label19()->isVisible());
        QCOMPARE(Label19()->x(), 615);
        MoveOnPlot(300, 200);
        QCOMPARE(Label19()->x(), 310);

        // The wavelength scale labels the candidate in micrometres.
        window_->XScaleButtonClick(XScaleMode::Wavelength);
        window_->PeakMarkClick();
        Picker()->MouseMove(Qt::NoButton, static_cast<float>(XOf(3303)), 200.0f);
        QCOMPARE(Label19()->text(), QString("  14.33  "));

        // Running onto the floating label hides it; the line stays.
        QTest::mouseMove(Label19(), QPoint(2, 2));
        QVERIFY(!Label19()->isVisible());
        QVERIFY(Line5()->isVisible());
    }

    void clicksMarkAndUnmarkCandidates() {
        window_->PeakMarkClick();
        const std::int16_t before = Peaks().PeakCount;
        const std::vector<std::int16_t> marks(Peaks().PeakPoints.begin(),
                                              Peaks().PeakPoints.begin() + before);
        const int bluesBefore = CountColour(Pic(1)->Image(), kBlue);

        // An unmarked candidate: the 20th deepest.
        const std::int16_t point = Peaks().TopCandidates[20];
        QVERIFY(std::find(marks.begin(), marks.end(), point) == marks.end());
        const auto x = static_cast<float>(XOf(point));
        Picker()->MouseMove(Qt::NoButton, x, 150.0f);
        QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(PixelOf(x), 150));
        QTest::mouseRelease(Plot(), Qt::LeftButton, {}, QPoint(PixelOf(x), 150));
        QCOMPARE(Peaks().PeakCount, static_cast<std::int16_t>(before + 1));
        QCOMPARE(Peaks().PeakPoints[static_cast<std::size_t>(before)], point);
        QVERIFY(!state_->spectrum.RelayoutLabels);  // laid out by the redraw
        QCOMPARE(Box(before).Left, static_cast<std::int32_t>(RoundTo(x, 0)) - 4);
        QVERIFY(CountColour(Pic(1)->Image(), kBlue) > bluesBefore);

        // The same click again unmarks it; the other marks keep their order.
        QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(PixelOf(x), 150));
        QCOMPARE(Peaks().PeakCount, before);
        QVERIFY(std::equal(marks.begin(), marks.end(), Peaks().PeakPoints.begin()));

        // Unmarking an automatic mark (the third) moves the later ones down.
        Picker()->MouseMove(Qt::NoButton, static_cast<float>(XOf(marks[2])), 150.0f);
        QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(PixelOf(x), 150));
        QCOMPARE(Peaks().PeakCount, static_cast<std::int16_t>(before - 1));
        QCOMPARE(Peaks().PeakPoints[2], marks[3]);

        // With the floating label hidden (the cursor left the plot) a click
        // does nothing; neither does a click outside peak-mark mode.
        QTest::mouseMove(Pic(11)->Client(), QPoint(5, 5));
        QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(PixelOf(x), 150));
        QCOMPARE(Peaks().PeakCount, static_cast<std::int16_t>(before - 1));
        window_->PeakMarkClick();
        MoveOnPlot(PixelOf(x), 150);
        QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(PixelOf(x), 150));
        QCOMPARE(Peaks().PeakCount, static_cast<std::int16_t>(before - 1));
        QVERIFY(prompts_->messages.empty());
    }

    void theThirtyFirstMarkIsRefusedAndMarksStayRemovable() {
        for (std::size_t k = 0; k < 30; ++k) {
            Peaks().PeakPoints[k] = Peaks().TopCandidates[k + 1];
        }
        Peaks().PeakCount = 30;
        state_->spectrum.RelayoutLabels = true;
        window_->Command5Click();
        window_->PeakMarkClick();

        const auto unmarked = static_cast<float>(XOf(Peaks().TopCandidates[31]));
        Picker()->MouseMove(Qt::NoButton, unmarked, 150.0f);
        Picker()->MousePress(Qt::LeftButton, unmarked, 150.0f);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].text, QString("Cannot mark more than 30 peaks!"));
        QCOMPARE(prompts_->messages[0].title, QString("Too many peaks!"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
        QCOMPARE(prompts_->messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(Peaks().PeakCount, std::int16_t{30});

        const std::int16_t marked = Peaks().TopCandidates[5];
        Picker()->MouseMove(Qt::NoButton, static_cast<float>(XOf(marked)), 150.0f);
        Picker()->MousePress(Qt::LeftButton, static_cast<float>(XOf(marked)), 150.0f);
        QCOMPARE(Peaks().PeakCount, std::int16_t{29});
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
    }

    void aSpectrumWithoutCandidatesShowsNoPeakCursor() {
        Peaks().TopCandidates.assign(1, 0);
        Peaks().TopCandidateCount = 0;
        window_->PeakMarkClick();
        MoveOnPlot(300, 100);
        QVERIFY(!Line5()->isVisible());
        QVERIFY(!Label19()->isVisible());
        const std::int16_t count = Peaks().PeakCount;
        QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(300, 100));
        QCOMPARE(Peaks().PeakCount, count);
        QVERIFY(prompts_->messages.empty());
    }

    void aLabelDraggedAboveItsPeakGetsItsLeaderThere() {
        window_->MoveLabelsClick();
        QVERIFY(state_->MoveLabelsMode);
        QCOMPARE(Plot()->parentWidget()->cursor().shape(), Qt::SizeAllCursor);
        // A label laid out under its peak (not beside it).
        int slot = -1;
        for (int k = 0; k < Peaks().PeakCount && slot < 0; ++k) {
            const auto column = static_cast<int>(RoundTo(XOf(Peaks().PeakPoints[k]), 0));
            if (Box(k).Left == column - 4) {
                slot = k;
            }
        }
        QVERIFY(slot >= 0);
        const LabelBox laidOut = Box(slot);
        const int peakX = static_cast<int>(RoundTo(XOf(Peaks().PeakPoints[slot]), 0));
        const QPoint grab(laidOut.Left + 1, laidOut.Top + 1);
        QCOMPARE(Pic(1)->Image().pixel(grab) & 0xFFFFFF, kCyan & 0xFFFFFF);

        // A right press on a blue pixel outside every label (the peak's tick
        // under the peak) starts nothing.
        int tickY = -1;
        for (int y = 0; y < Pic(1)->InnerHeight(); ++y) {
            if ((Pic(1)->Image().pixel(peakX, y) & 0xFFFFFF) == (kBlue & 0xFFFFFF)) {
                tickY = y;
                break;
            }
        }
        QVERIFY(tickY >= 0 && tickY < laidOut.Top);
        QTest::mousePress(Plot(), Qt::RightButton, {}, QPoint(peakX, tickY));
        QVERIFY(!Shape1()->isVisible());
        QTest::mouseRelease(Plot(), Qt::RightButton, {}, QPoint(peakX, tickY));

        // Pick the label on its cyan fill: the frame covers its rectangle.
        QTest::mousePress(Plot(), Qt::RightButton, {}, grab);
        QVERIFY(Shape1()->isVisible());
        QCOMPARE(Shape1()->geometry(),
                 QRect(laidOut.Left, laidOut.Top, laidOut.Right - laidOut.Left,
                       laidOut.Bottom - laidOut.Top));
        // Drag it so that its bottom edge is 30 rows above the peak's tick.
        const int dy = (tickY - 30) - laidOut.Bottom;
        QTest::mouseMove(Plot(), grab + QPoint(0, dy));
        QCOMPARE(Shape1()->y(), laidOut.Top + dy);
        QTest::mouseRelease(Plot(), Qt::RightButton, {}, grab + QPoint(0, dy));
        QVERIFY(!Shape1()->isVisible());
        const LabelBox moved{laidOut.Left, laidOut.Top + dy, laidOut.Right, laidOut.Bottom + dy};
        QVERIFY(Box(slot) == moved);

        // Redrawn without a relayout: the label fill in its new place, and the
        // leader climbing from under the peak to the label's bottom edge.
        const QImage& plot = Pic(1)->Image();
        QCOMPARE(plot.pixel(moved.Left + 1, moved.Top + 1) & 0xFFFFFF, kCyan & 0xFFFFFF);
        QVERIFY((plot.pixel(laidOut.Left + 1, laidOut.Top + 1) & 0xFFFFFF) != (kCyan & 0xFFFFFF));
        const int xl = moved.Left + 4;
        for (int y = moved.Bottom + 1; y <= moved.Bottom + 4; ++y) {
            QCOMPARE(plot.pixel(xl, y) & 0xFFFFFF, kBlue & 0xFFFFFF);
        }

        // The frame stops at the plot's edge while the cursor is outside.
        QTest::mousePress(Plot(), Qt::RightButton, {}, QPoint(moved.Left + 1, moved.Top + 1));
        QVERIFY(Shape1()->isVisible());
        Picker()->MouseMove(Qt::RightButton, static_cast<float>(moved.Left + 1), 40.0f);
        const int stopped = Shape1()->y();
        Picker()->MouseMove(Qt::RightButton, static_cast<float>(moved.Left + 1), -30.0f);
        QCOMPARE(Shape1()->y(), stopped);
        Picker()->MouseRelease(Qt::RightButton);
        QCOMPARE(Box(slot).Top, stopped);

        // "*2" lays the labels out again: back at level 0 the computed place
        // returns and the moved one is lost.
        window_->ExpandClick();
        window_->ShrinkClick();
        QVERIFY(Box(slot) == laidOut);
        QVERIFY(prompts_->messages.size() == 1);  // the one-time question only
    }

    void aLeftPressWhileMovingLabelsAsksForTheRightButton() {
        window_->MoveLabelsClick();
        const LabelBox laidOut = Box(0);
        QTest::mousePress(Plot(), Qt::LeftButton, {}, QPoint(laidOut.Left + 1, laidOut.Top + 1));
        QCOMPARE(prompts_->messages.size(), std::size_t{2});
        QCOMPARE(prompts_->messages[1].text,
                 QString("Use the RIGHT mouse button to move a peak label!"));
        QCOMPARE(prompts_->messages[1].title, QString("Wrong mouse button"));
        QCOMPARE(prompts_->messages[1].icon, QMessageBox::Information);
        QVERIFY(!Shape1()->isVisible());
        QVERIFY(Box(0) == laidOut);

        // Ending the mode (here by a graph-setting button) ends a drag too.
        QTest::mousePress(Plot(), Qt::RightButton, {}, QPoint(laidOut.Left + 1, laidOut.Top + 1));
        QVERIFY(Shape1()->isVisible());
        window_->YGridButtonClick(1);
        QVERIFY(!state_->MoveLabelsMode);
        QVERIFY(!Shape1()->isVisible());
        QTest::mouseRelease(Plot(), Qt::RightButton, {}, QPoint(laidOut.Left + 1, laidOut.Top + 1));
        QVERIFY(Box(0) == laidOut);
    }

    void aScaleChosenElsewhereGetsItsLabelsLaidOut() {
        // The options dialog changes the scale without asking for a relayout;
        // the next redraw must not draw a layout that was never computed.
        state_->settings.WavenumberSections = 2;
        window_->Command5Click();
        const std::int16_t point = Peaks().PeakPoints[0];
        const auto peakX = static_cast<std::int32_t>(RoundTo(XOf(point), 0));
        QVERIFY(Box(0).Left == peakX - 4 || Box(0).Left == peakX - 24);
        for (int slot = 0; slot < Peaks().PeakCount; ++slot) {
            QVERIFY(Box(slot).Bottom > Box(slot).Top);
        }
        // Nothing piled in the top-left corner.
        QCOMPARE(CountColour(Pic(1)->Image().copy(1, 1, 12, 30), kCyan), 0);
        QVERIFY(prompts_->messages.empty());
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::PlotPickerTest)
#include "plot_picker_test.moc"
