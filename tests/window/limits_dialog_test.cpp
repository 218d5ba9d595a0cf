// The limits dialog driven as a person drives it: typed limits, Enter, the
// option buttons and the three buttons, on a spectrum of 4000 to 400 cm-1 in
// steps of 1.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

#include "graph/mapping.h"
#include "window/limits_dialog.h"
#include "window/tool_fixture.h"

namespace halvorn {

class LimitsDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<test::ToolWindow> w_;

    Spectrum& S() { return w_->state->spectrum; }
    QPushButton* Expand() { return w_->Find<QPushButton>("Command6"); }
    ScriptedPrompts& Prompts() { return *w_->prompts; }

    // Presses "Sel" and runs the script while the dialog is up; returns the
    // dialog's result.
    int Sel(std::function<void(FormLimits&)> script) {
        int result = -1;
        Prompts().dialogScripts.push_back([&result, script](QDialog& dialog) {
            auto& limits = static_cast<FormLimits&>(dialog);
            limits.show();
            script(limits);
            result = dialog.result();
        });
        QTest::mouseClick(w_->Find<QPushButton>("Command14"), Qt::LeftButton);
        return result;
    }

    static void Type(FormLimits& d, const QString& left, const QString& right) {
        // The whole left limit is selected at load, and Enter selects the
        // whole right one: typing replaces them.
        QTest::keyClicks(d.Text1(), left);
        QTest::keyClick(d.Text1(), Qt::Key_Return);
        QTest::keyClicks(d.Text2(), right);
    }

    static void Button(FormLimits& d, const char* name) {
        QTest::mouseClick(d.findChild<QPushButton*>(name), Qt::LeftButton);
    }

    void ExpectRange(double first, double last) {
        QCOMPARE(S().FirstX, first);
        QCOMPARE(S().LastX, last);
        QCOMPARE(S().ViewFirstPoint, static_cast<std::int16_t>(4000 - first + 1));
        QCOMPARE(S().ViewLastPoint, static_cast<std::int16_t>(4000 - last + 1));
        QCOMPARE(S().FirstWL, 10000.0 / first);
        QCOMPARE(S().LastWL, 10000.0 / last);
    }

  private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        w_ = std::make_unique<test::ToolWindow>();
        QCOMPARE(S().PointCount, 3601);
        QVERIFY(Prompts().messages.empty());
    }

    void cleanup() { w_.reset(); }

    void loadEnterAndOkExchangeTheLimits() {
        const int result = Sel([](FormLimits& d) {
            QCOMPARE(d.windowTitle(), QString("Input Limits for Expansion"));
            QVERIFY(d.Option1()->isChecked());
            QCOMPARE(d.Option1()->text(), QString("cm^(-1)"));
            QCOMPARE(d.Option2()->text(), QString("micrometers"));
            QCOMPARE(d.Text1()->text(), QString("4000"));
            QCOMPARE(d.Text2()->text(), QString("400"));
            QCOMPARE(d.Text1()->selectedText(), QString("4000"));
            QTest::keyClicks(d.Text1(), "1000");
            QTest::keyClick(d.Text1(), Qt::Key_Return);
            QCOMPARE(d.focusWidget(), d.Text2());
            QCOMPARE(d.Text2()->selectedText(), QString("400"));
            QVERIFY(d.isVisible());  // Enter in the left box is not OK
            QTest::keyClicks(d.Text2(), "2000");
            QTest::keyClick(d.Text2(), Qt::Key_Return);  // OK
            QCOMPARE(d.Text1()->text(), QString("2000"));
            QCOMPARE(d.Text2()->text(), QString("1000"));
        });
        QCOMPARE(result, int(QDialog::Accepted));
        ExpectRange(2000, 1000);
        QVERIFY(Prompts().messages.empty());
        QCOMPARE(Prompts().dialogsShown, QStringList{"FormLimits"});
        // Redrawn over the new range; "*2" stays off while part is shown.
        QVERIFY(std::abs(WavenumberAtX(w_->state->graph.mapping, 0) - 2000) < 1e-6);
        QVERIFY(!S().RelayoutLabels);
        QVERIFY(!Expand()->isEnabled());
    }

    void limitsBeyondTheSpectrumAreClampedAndEnableExpansion() {
        Sel([](FormLimits& d) {
            Type(d, "5000", "300");
            Button(d, "Command1");
            QCOMPARE(d.Text1()->text(), QString("4000"));
            QCOMPARE(d.Text2()->text(), QString("400"));
        });
        ExpectRange(4000, 400);
        QVERIFY(Expand()->isEnabled());
    }

    void aTooShortRangeIsEnlargedOnYes() {
        Prompts().messageAnswers.push_back(QMessageBox::Yes);
        Sel([](FormLimits& d) {
            Type(d, "1050", "1000");
            Button(d, "Command1");
            QCOMPARE(d.Text2()->text(), QString("954.545454545455"));
        });
        QCOMPARE(Prompts().messages.size(), std::size_t{1});
        const auto& asked = Prompts().messages[0];
        QCOMPARE(asked.title, QString("Too Short Range"));
        QCOMPARE(asked.text, QString("Cannot calculate because the range\r\nis too short.\r\n"
                                     "May I enlarge it for you?"));
        QCOMPARE(asked.icon, QMessageBox::NoIcon);
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        ExpectRange(1050, 955);  // the point at or above 954.5454

        // Near the spectrum's end the right limit stops there and the left
        // one moves out instead.
        Prompts().messageAnswers.push_back(QMessageBox::Yes);
        Sel([](FormLimits& d) {
            Type(d, "420", "410");
            Button(d, "Command1");
            QCOMPARE(d.Text1()->text(), QString("462"));
            QCOMPARE(d.Text2()->text(), QString("400"));
        });
        ExpectRange(462, 400);
    }

    void answeringNoKeepsTheDialogOpenAndTheRange() {
        Prompts().messageAnswers.push_back(QMessageBox::No);
        const int result = Sel([](FormLimits& d) {
            Type(d, "1000", "1050");
            Button(d, "Command1");
            QVERIFY(d.isVisible());
            QCOMPARE(d.Text1()->text(), QString("1050"));  // exchanged as asked
            QCOMPARE(d.Text2()->text(), QString("1000"));
            Button(d, "Command2");
        });
        QCOMPARE(result, int(QDialog::Rejected));
        ExpectRange(4000, 400);
        QVERIFY(Expand()->isEnabled());  // Cancel with the whole spectrum shown
    }

    void wrongLimitsShowTheErrorAndRestoreTheTexts() {
        Sel([](FormLimits& d) {
            Type(d, "abc", "1000");
            Button(d, "Command1");
            QCOMPARE(d.Text1()->text(), QString("abc"));
            QCOMPARE(d.Text2()->text(), QString("1000"));
            QVERIFY(d.isVisible());
            // An empty box is no number either; the exchange made before the
            // failure is undone.
            d.Text1()->setText("");
            d.Text2()->setText("3000");
            Button(d, "Command1");
            QCOMPARE(d.Text1()->text(), QString());
            QCOMPARE(d.Text2()->text(), QString("3000"));
            Button(d, "Command2");
        });
        QCOMPARE(Prompts().messages.size(), std::size_t{2});
        for (const auto& m : Prompts().messages) {
            QCOMPARE(m.title, QString("Error!"));
            QCOMPARE(m.icon, QMessageBox::Critical);
            QCOMPARE(m.text, QString("It seems that there is something wrong\r\n"
                                     "with the limits you have entered.\r\n\r\nPlease check."));
        }
        ExpectRange(4000, 400);
    }

    void theUnitSwitchConvertsAndRecovers() {
        Sel([this](FormLimits& d) {
            Type(d, "2000", "500");
            QTest::mouseClick(d.Option2(), Qt::LeftButton);
            QVERIFY(d.Option2()->isChecked());
            QCOMPARE(d.Text1()->text(), QString("5"));
            QCOMPARE(d.Text2()->text(), QString("20"));
            QCOMPARE(d.Model().LimitsUnit, std::int16_t{2});
            QTest::mouseClick(d.Option1(), Qt::LeftButton);
            QCOMPARE(d.Text1()->text(), QString("2000"));
            QCOMPARE(d.Text2()->text(), QString("500"));

            // A zero cannot be converted: texts back, cm^(-1) selected again.
            d.Text2()->setText("0");
            QTest::mouseClick(d.Option2(), Qt::LeftButton);
            QVERIFY(d.Option1()->isChecked());
            QCOMPARE(d.Text1()->text(), QString("2000"));
            QCOMPARE(d.Text2()->text(), QString("0"));
            QCOMPARE(d.Model().LimitsUnit, std::int16_t{1});
            QCOMPARE(Prompts().messages.size(), std::size_t{1});
            QCOMPARE(Prompts().messages[0].title, QString("Error!"));

            // Micrometres typed: the range is taken from them.
            d.Text2()->setText("500");
            QTest::mouseClick(d.Option2(), Qt::LeftButton);
            d.Text1()->setText("4");
            d.Text2()->setText("10");
            Button(d, "Command1");
        });
        ExpectRange(2500, 1000);
    }

    void theWavelengthScaleOpensInMicrometres() {
        w_->window->ScaleButtonClick(3);
        Sel([](FormLimits& d) {
            QVERIFY(d.Option2()->isChecked());
            QCOMPARE(d.Text1()->text(), QString("2.5"));
            QCOMPARE(d.Text2()->text(), QString("25"));
            Button(d, "Command2");
        });
        QVERIFY(Prompts().messages.empty());
    }

    void restoreAndCancel() {
        Sel([](FormLimits& d) {
            Type(d, "3000", "1000");
            Button(d, "Command1");
        });
        ExpectRange(3000, 1000);
        QVERIFY(!Expand()->isEnabled());

        // Cancel, Escape included, leaves a typed range and "*2" off.
        Sel([](FormLimits& d) { Button(d, "Command2"); });
        QVERIFY(!Expand()->isEnabled());
        Sel([](FormLimits& d) { QTest::keyClick(d.Text1(), Qt::Key_Escape); });
        ExpectRange(3000, 1000);
        QVERIFY(!Expand()->isEnabled());

        const int result = Sel([](FormLimits& d) {
            QCOMPARE(d.findChild<QPushButton*>("Command3")->text(),
                     QString("Restore Original Size"));
            Button(d, "Command3");
        });
        QCOMPARE(result, int(QDialog::Accepted));
        ExpectRange(4000, 400);
        QVERIFY(Expand()->isEnabled());
        QVERIFY(std::abs(WavenumberAtX(w_->state->graph.mapping, 0) - 4000) < 1e-6);
    }

    void theLocalesDecimalCommaReadsAndWrites() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Sel([](FormLimits& d) {
            Type(d, "1000,5", "2000");
            Button(d, "Command1");
        });
        ExpectRange(2000, 1001);  // the point at or above 1000.5
        Sel([](FormLimits& d) {
            QTest::mouseClick(d.Option2(), Qt::LeftButton);
            QCOMPARE(d.Text1()->text(), QString("5"));
            QCOMPARE(d.Text2()->text(), QString("9,99000999000999"));
            Button(d, "Command2");
        });
        QLocale::setDefault(QLocale::c());
    }

    void selEndsPeakMarking() {
        w_->window->PeakMarkClick();
        QCOMPARE(w_->Find<QPushButton>("Command3")->text(), QString("End Mark"));
        Sel([](FormLimits& d) { Button(d, "Command2"); });
        QCOMPARE(w_->Find<QPushButton>("Command3")->text(), QString("Peak Mark"));
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::LimitsDialogTest)
#include "limits_dialog_test.moc"
