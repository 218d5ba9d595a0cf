// The "Graph Options" dialog and where the settings file is kept.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/settings_file.h"
#include "options/options_dialog.h"
#include "options/settings_store.h"

namespace halvorn {

namespace {

DisplaySettings Values(int a, int b, int c, int d, int e) {
    DisplaySettings s;
    s.FixedYRange = static_cast<std::int16_t>(a);
    s.WavenumberSections = static_cast<std::int16_t>(b);
    s.PreferenceSource = static_cast<std::int16_t>(c);
    s.YGridMode = static_cast<std::int16_t>(d);
    s.XScaleKind = static_cast<std::int16_t>(e);
    return s;
}

QByteArray FileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    DisplaySettings settings_;
    int saves_ = 0;

    QString IniPath() const { return dir_.filePath("Halvorn.ini"); }
    // The save the main window hands over: the settings file in the folder.
    std::function<void()> Save() {
        return [this] {
            ++saves_;
            QVERIFY(SaveSettings(IniPath().toStdString(), settings_).empty());
        };
    }

  private slots:
    void init() {
        QFile::remove(IniPath());
        saves_ = 0;
        settings_ = Values(0, 2, 1, 1, 0);
    }

    void captionsAndGroups() {
        OptionsDialog d(settings_, Save());
        QCOMPARE(d.windowTitle(), QString("Graph Options"));
        const QStringList frames = {"Y Scale", "For X Scale Linear in Wavenumbers",
                                    "Graph Grid and Scales", "Y Grid Lines", "X Scale"};
        for (int g = 0; g < OptionsDialog::kGroupCount; ++g) {
            QCOMPARE(d.Frame(g)->title(), frames[g]);
        }
        QCOMPARE(d.Option(0, 1)->text(),
                 QString("Always 0-100 % Transmittance, and 0-infinite Absorbance"));
        QCOMPARE(d.Option(0, 0)->text(), QString("Adjust top/bottom limits to Graph Data"));
        QCOMPARE(d.Option(1, 2)->text(), QString("3 Sections"));
        QCOMPARE(d.Option(1, 1)->text(), QString("Fully linear"));
        QCOMPARE(d.Option(1, 0)->text(),
                 QString("2 Sections, left-compressed and right-stretched"));
        QCOMPARE(d.Option(2, 1)->text(), QString("Choose personal preferences"));
        QCOMPARE(d.Option(2, 0)->text(), QString("Always according to the file"));
        QCOMPARE(d.Option(3, 1)->text(), QString("Absorbance"));
        QCOMPARE(d.Option(3, 0)->text(), QString("% Transmittance"));
        QCOMPARE(d.Option(4, 1)->text(), QString("Linear in Wavelenght"));
        QCOMPARE(d.Option(4, 0)->text(), QString("Linear in Wavenumbers"));
        for (const char* caption : {"OK", "Cancel", "Apply"}) {
            bool found = false;
            for (QPushButton* b : d.findChildren<QPushButton*>()) {
                found = found || b->text() == caption;
            }
            QVERIFY2(found, caption);
        }
    }

    void loadSelectsTheHeldValuesAndEnablesByPreference() {
        {
            OptionsDialog d(settings_, Save());
            QVERIFY(d.Option(0, 0)->isChecked());
            QVERIFY(d.Option(1, 2)->isChecked());
            QVERIFY(d.Option(2, 1)->isChecked());
            QVERIFY(d.Option(3, 1)->isChecked());
            QVERIFY(d.Option(4, 0)->isChecked());
            QVERIFY(d.Option(3, 0)->isEnabled());
            QVERIFY(d.Option(4, 1)->isEnabled());
        }
        settings_.PreferenceSource = 0;
        OptionsDialog d(settings_, Save());
        for (int g : {3, 4}) {
            QVERIFY(!d.Option(g, 0)->isEnabled());
            QVERIFY(!d.Option(g, 1)->isEnabled());
        }
        // Choosing personal preferences enables the two groups; choosing the
        // file disables frames and buttons again.
        QTest::mouseClick(d.Option(2, 1), Qt::LeftButton);
        QVERIFY(d.Frame(3)->isEnabled() && d.Option(3, 1)->isEnabled());
        QVERIFY(d.Frame(4)->isEnabled() && d.Option(4, 1)->isEnabled());
        QTest::mouseClick(d.Option(2, 0), Qt::LeftButton);
        QVERIFY(!d.Frame(3)->isEnabled() && !d.Option(3, 1)->isEnabled());
        QVERIFY(!d.Frame(4)->isEnabled() && !d.Option(4, 0)->isEnabled());
    }

    void applyTakesTheSelectionAndWritesTheFile() {
        OptionsDialog d(settings_, Save());
        d.Option(0, 1)->setChecked(true);
        d.Option(1, 0)->setChecked(true);
        d.Option(4, 1)->setChecked(true);
        d.ApplyClick();
        QVERIFY(d.Applied());
        QCOMPARE(saves_, 1);
        QCOMPARE(settings_.FixedYRange, std::int16_t{1});
        QCOMPARE(settings_.WavenumberSections, std::int16_t{0});
        QCOMPARE(settings_.XScaleKind, std::int16_t{1});
        QCOMPARE(FileText(IniPath()), QByteArray(" 1 \r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n"));
        DisplaySettings read;
        QVERIFY(LoadSettings(IniPath().toStdString(), read));
        QCOMPARE(read.XScaleKind, std::int16_t{1});
        QCOMPARE(read.WavenumberSections, std::int16_t{0});
    }

    void applyThenCancelWritesTheOldValuesAgain() {
        OptionsDialog d(settings_, Save());
        d.Option(3, 0)->setChecked(true);
        d.ApplyClick();
        QCOMPARE(settings_.YGridMode, std::int16_t{0});
        d.CancelClick();
        QCOMPARE(saves_, 2);
        QCOMPARE(settings_.YGridMode, std::int16_t{1});
        QVERIFY(d.Option(3, 1)->isChecked());
        QCOMPARE(FileText(IniPath()), QByteArray(" 0 \r\n 2 \r\n 1 \r\n 1 \r\n 0 \r\n"));
        QCOMPARE(d.result(), int(QDialog::Rejected));
    }

    void cancelAloneWritesNothingAndKeepsTheValues() {
        OptionsDialog d(settings_, Save());
        d.Option(0, 1)->setChecked(true);
        d.CancelClick();
        QCOMPARE(saves_, 0);
        QVERIFY(!QFile::exists(IniPath()));
        QCOMPARE(settings_.FixedYRange, std::int16_t{0});
    }

    void closingTheWindowIsCancel() {
        OptionsDialog d(settings_, Save());
        d.Option(3, 0)->setChecked(true);
        d.ApplyClick();
        d.reject();  // the window's close button
        QCOMPARE(settings_.YGridMode, std::int16_t{1});
        QCOMPARE(saves_, 2);
    }

    void okWritesEvenUnchangedValues() {
        OptionsDialog d(settings_, Save());
        d.OkClick();
        QCOMPARE(saves_, 1);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(FileText(IniPath()), QByteArray(" 0 \r\n 2 \r\n 1 \r\n 1 \r\n 0 \r\n"));
    }

    void disabledGroupsAreStillWritten() {
        settings_.PreferenceSource = 0;
        settings_.XScaleKind = 1;
        OptionsDialog d(settings_, Save());
        d.OkClick();
        QCOMPARE(FileText(IniPath()), QByteArray(" 0 \r\n 2 \r\n 0 \r\n 1 \r\n 1 \r\n"));
    }
};

class SettingsStoreTest : public QObject {
    Q_OBJECT

  private slots:
    void keptBesideTheProgramWhenItsFolderCanBeWritten() {
        QTemporaryDir program;
        QTemporaryDir config;
        const SettingsStore store(program.path(), config.path());
        QCOMPARE(store.Save(Values(1, 1, 0, 0, 0)), QString());
        QCOMPARE(FileText(program.filePath("Halvorn.ini")),
                 QByteArray(" 1 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n"));
        QVERIFY(!QFile::exists(config.filePath("Halvorn.ini")));
        QCOMPARE(store.ReadPath(), program.filePath("Halvorn.ini"));
        DisplaySettings read;
        QVERIFY(store.Load(read));
        QCOMPARE(read.WavenumberSections, std::int16_t{1});
    }

    void probingDoesNotLeaveAFileBehind() {
        QTemporaryDir program;
        QTemporaryDir config;
        const SettingsStore store(program.path(), config.path());
        DisplaySettings held = Values(1, 2, 1, 1, 1);
        QVERIFY(!store.Load(held));  // no file yet: values kept
        QCOMPARE(held.WavenumberSections, std::int16_t{2});
        QVERIFY(!QFile::exists(program.filePath("Halvorn.ini")));
    }

    void probingLeavesAnExistingFileUntouched() {
        QTemporaryDir program;
        QTemporaryDir config;
        const QString ini = program.filePath("Halvorn.ini");
        {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
        }
        const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1000000000);
        {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
        }
        const SettingsStore store(program.path(), config.path());
        DisplaySettings read;
        QVERIFY(store.Load(read));
        QCOMPARE(read.FixedYRange, std::int16_t{1});
        QCOMPARE(QFileInfo(ini).lastModified(), stamp);
        // Nothing else is left in the folder either.
        QCOMPARE(QDir(program.path()).entryList(QDir::Files), QStringList{"Halvorn.ini"});
    }

    void keptInTheUserFolderWhenTheProgramFolderCannotBeWritten() {
        // A folder that cannot exist: its parent is a file.
        QTemporaryDir root;
        QFile blocker(root.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString program = root.filePath("file/program");
        const QString config = root.filePath("config/Halvorn");
        const SettingsStore store(program, config);
        QCOMPARE(store.ReadPath(), store.ProgramFile());
        QCOMPARE(store.Save(Values(0, 1, 1, 0, 1)), QString());
        QCOMPARE(FileText(store.UserFile()), QByteArray(" 0 \r\n 1 \r\n 1 \r\n 0 \r\n 1 \r\n"));
        QCOMPARE(store.ReadPath(), store.UserFile());
        DisplaySettings read;
        QVERIFY(store.Load(read));
        QCOMPARE(read.XScaleKind, std::int16_t{1});
    }

    void aSaveThatCannotBeDoneSaysSo() {
        QTemporaryDir root;
        QFile blocker(root.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const SettingsStore store(root.filePath("file/program"), root.filePath("file/config"));
        const QString message = store.Save(Values(0, 0, 0, 0, 0));
        QVERIFY(!message.isEmpty());
        QVERIFY(message.contains("could not be saved"));
    }
};

}  // namespace halvorn

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        halvorn::OptionsDialogTest dialogTest;
        status |= QTest::qExec(&dialogTest, argc, argv);
    }
    {
        halvorn::SettingsStoreTest storeTest;
        status |= QTest::qExec(&storeTest, argc, argv);
    }
    return status;
}

#include "options_dialog_test.moc"
