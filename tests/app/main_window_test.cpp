// The main window on the offscreen platform: start-up, the menu tree, the open
// commands for the three formats, Line/Points, Options and About, every dialog
// answered by script.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>

#include <unistd.h>

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/sample_files.h"
#include "core/export_text.h"
#include "core/peak_table.h"
#include "import/sp_file_builder.h"
#include "options/options_dialog.h"
#include "output/copy_preview.h"
#include "output/header_details.h"
#include "window/graph_window.h"
#include "window/header_editor.h"
#include "window/image_counts.h"
#include "window/picture_box.h"
#include "window/prompts.h"
#include "window/scripted_prompts.h"

namespace halvorn {

namespace {

using test::CountColour;
using test::JcampBytes;
using test::Painted;
using test::PrnBytes;
using test::WriteFile;

// A caption as the menu shows it: the access key's '&' gone, "&&" one '&'.
QString Shown(const QString& caption) {
    QString shown;
    for (qsizetype k = 0; k < caption.size(); ++k) {
        if (caption[k] == '&' && k + 1 < caption.size()) {
            ++k;
        }
        shown += caption[k];
    }
    return shown;
}

// The access key of a caption, lower case, or 0 when it has none.
QChar AccessKey(const QString& caption) {
    for (qsizetype k = 0; k + 1 < caption.size(); ++k) {
        if (caption[k] == '&') {
            if (caption[k + 1] != '&') {
                return caption[k + 1].toLower();
            }
            ++k;
        }
    }
    return QChar();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> program_;
    std::unique_ptr<QTemporaryDir> config_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<MainWindow> main_;

    void Start(bool withDemo = true) {
        if (withDemo) {
            QVERIFY(QFile::copy(HALVORN_DATA_DIR "/Demo.sp", program_->filePath("Demo.sp")));
        }
        main_ = std::make_unique<MainWindow>(program_->path(), *prompts_, config_->path());
        main_->show();
        main_->Start();
    }
    SpectrumWindow* Form5() const { return main_->Form5(); }
    QPushButton* Button(const char* name) const { return Form5()->findChild<QPushButton*>(name); }
    QWidget* Widget(const char* name) const { return Form5()->findChild<QWidget*>(name); }
    bool MultGlobalShown() const {
        return Widget("LabelMultGlobal")->isVisibleTo(Form5()) &&
               Widget("MultGlobalBox")->isVisibleTo(Form5()) &&
               Widget("Command18")->isVisibleTo(Form5());
    }
    bool MultGlobalHidden() const {
        return !Widget("LabelMultGlobal")->isVisibleTo(Form5()) &&
               !Widget("MultGlobalBox")->isVisibleTo(Form5()) &&
               !Widget("Command18")->isVisibleTo(Form5());
    }

  private slots:
    void init() {
        program_ = std::make_unique<QTemporaryDir>();
        config_ = std::make_unique<QTemporaryDir>();
        prompts_ = std::make_unique<ScriptedPrompts>();
    }

    void cleanup() {
        main_.reset();
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void startUpShowsTheDemonstrationSpectrum() {
        Start();
        QCOMPARE(main_->windowTitle(), QString("Halvorn_Mod"));
        QCOMPARE(Form5()->windowTitle(), QString("Infrared Spectrum: File - (Demo.sp)"));
        QVERIFY(main_->Form5Frame()->isVisible());
        const ViewerState& state = main_->State();
        QVERIFY(state.spectrum.OpenedFilePath.empty());
        QVERIFY(state.DialogFileTitle.empty());
        QCOMPARE(state.spectrum.PointCount, 3551);
        QVERIFY(!state.spectrum.Loading);
        QCOMPARE(state.spectrum.MultGlobal, 1.0);
        QCOMPARE(QString::fromStdString(state.spectrum.ProgramFolder),
                 QDir::toNativeSeparators(program_->path()));
        QVERIFY(QString::fromStdString(state.MetafilePath).endsWith("CurPic.emf"));
        QCOMPARE(state.graph.LabelBackgroundColour, MakeRgb(192, 255, 255));
        QVERIFY(MultGlobalHidden());
        QCOMPARE(qobject_cast<QLineEdit*>(Widget("MultGlobalBox"))->text(), QString("1"));
        QVERIFY(prompts_->messages.empty());
        QVERIFY(main_->InputEnabled());
    }

    void aMissingDemoGivesTheReadersMessageAndAnEmptyGraph() {
        Start(false);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].title, QString("Cannot open file!"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
        QCOMPARE(Form5()->windowTitle(), QString("Infrared Spectrum: File - (Demo.sp)"));
        QVERIFY(main_->Form5Frame()->isVisible());
        QCOMPARE(CountColour(Form5()->Picture(1)->Image(), qRgb(255, 255, 255)), 673 * 348);
    }

    void startUpReadsTheSettingsFile() {
        WriteFile(program_->filePath("Halvorn.ini"), " 0 \r\n 2 \r\n 1 \r\n 1 \r\n 1 \r\n");
        Start();
        const DisplaySettings& s = main_->State().settings;
        QCOMPARE(s.WavenumberSections, std::int16_t{2});
        QCOMPARE(s.YGridMode, std::int16_t{1});
        QCOMPARE(s.XScaleKind, std::int16_t{1});
        QCOMPARE(Form5()->ButtonColour(3), kActiveSettingColour);  // the wavelength scale
        QCOMPARE(Form5()->ButtonColour(4), kActiveSettingColour);  // absorbance grid
        QCOMPARE(main_->State().graph.mapping.XScaleKind, std::int16_t{1});
    }

    void menuTreeAsListed() {
        Start();
        struct Item {
            const char* name;
            const char* caption;  // "" for a separator
            bool visible;
        };
        const std::vector<std::pair<QString, std::vector<Item>>> tree = {
            {"File",
             {{"mnuOpen", "Open...", true},
              {"mnuOpenIRfile", "Open IR file (*.sp files only)", true},
              {"mnuOpenJCamp", "Open JCampDX", true},
              {"mnuOpenPRN", "Open *.prn file", true},
              {"mnuRecentFiles", "Recent Files", true},
              {"mnuSepr", "", true},
              {"mnuSaveDataX", "Save Data (Calculated X values only) As...", true},
              {"mnuSaveDataYPercent", "Save Data (Calculated Y % values only) As...", true},
              {"mnuSep1", "", true},
              {"mnuSaveDataAs", "Save Data (Original Y values only) As...", true},
              {"mnuSavePeakTable", "Save Peak Table As...", true},
              {"mnuSP", "", true},
              {"mnuSairItem", "Exit", true}}},
            {"Edit",
             {{"mnuCopyX", "Copy X Data (calculated X values)", true},
              {"mnuCopyYPercent", "Copy Y % values (calculated from file values)", true},
              {"mnuSep", "", true},
              {"mnuCopyData", "Copy Y Data (original Y values from file)", true},
              {"mnuCopyPeakTable", "Copy Peak Table", true},
              {"mnuSep3", "", true},
              {"mnuSpecCopyPrvw", "Spectrum Copy Preview", true},
              {"mnuCopySpectrum", "Copy Spectrum (as bitmap)", false}}},
            {"View",
             {{"mnuSPCP", "Spectrum Copy Preview", true},
              {"mnuFileHeaderDetais", "File Header Details", true}}},
            {"IR Graph",
             {{"mnuLine", "Line", true},
              {"mnuPoints", "Points", true},
              {"sep1", "", true},
              {"mnuAddSpName", "Add Spectrum Name", false},
              {"mnuRemoveSpName", "Remove Spectrum Name", false},
              {"mnuEditHeader", "Spectrum Header Editor", true},
              {"sep", "", true},
              {"mnuOptions", "Options", true}}},
            {"Help",
             {{"mnuWhatisitfor", "What is it for?", false},
              {"mnuHowdoI", "How do I?", false},
              {"mnuSep5", "", false},
              {"mnuAbout", "About...", true}}},
        };
        // Every title and visible entry opens with Alt and a letter of its
        // own within its menu; the words shown are the captions above; every
        // visible command says in the status bar what it does.
        const QList<QAction*> titles = main_->menuBar()->actions();
        QCOMPARE(titles.size(), static_cast<qsizetype>(tree.size()));
        QSet<QChar> titleKeys;
        for (std::size_t m = 0; m < tree.size(); ++m) {
            QCOMPARE(Shown(titles[static_cast<qsizetype>(m)]->text()), tree[m].first);
            const QChar titleKey = AccessKey(titles[static_cast<qsizetype>(m)]->text());
            QVERIFY(!titleKey.isNull() && !titleKeys.contains(titleKey));
            titleKeys.insert(titleKey);
            const QList<QAction*> items = titles[static_cast<qsizetype>(m)]->menu()->actions();
            QCOMPARE(items.size(), static_cast<qsizetype>(tree[m].second.size()));
            QSet<QChar> keys;
            for (std::size_t k = 0; k < tree[m].second.size(); ++k) {
                const Item& expected = tree[m].second[k];
                QAction* a = items[static_cast<qsizetype>(k)];
                QCOMPARE(a->objectName(), QString(expected.name));
                QCOMPARE(a->isSeparator(), expected.caption[0] == '\0');
                if (!a->isSeparator()) {
                    QCOMPARE(Shown(a->text()), QString(expected.caption));
                }
                QCOMPARE(a->isVisible(), expected.visible);
                if (a->isVisible() && !a->isSeparator()) {
                    const QChar key = AccessKey(a->text());
                    QVERIFY2(!key.isNull() && !keys.contains(key), expected.name);
                    keys.insert(key);
                    QVERIFY2(!a->statusTip().isEmpty(), expected.name);
                }
            }
        }
        QCOMPARE(main_->MenuAction("mnuOpen")->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(main_->MenuAction("mnuSairItem")->shortcut(), QKeySequence(QKeySequence::Quit));
        QCOMPARE(main_->MenuAction("mnuAbout")->shortcut(),
                 QKeySequence(QKeySequence::HelpContents));
        QVERIFY(main_->MenuAction("mnuLine")->isChecked());
        QVERIFY(!main_->MenuAction("mnuPoints")->isChecked());
    }

    void openCommandsReadEachFormat() {
        Start();
        const QString sp = program_->filePath("Other.sp");
        QVERIFY(QFile::copy(HALVORN_DATA_DIR "/Demo.sp", sp));
        const QString jcamp = program_->filePath("film.jdx");
        WriteFile(jcamp, JcampBytes());
        const QString prn = program_->filePath("table.prn");
        WriteFile(prn, PrnBytes());

        // During the read the main window refuses input and shows the busy
        // pointer.
        bool busyDuringRead = true;
        connect(Form5(), &SpectrumWindow::spectrumReplaced, this, [&] {
            busyDuringRead = busyDuringRead && !main_->InputEnabled() &&
                             QApplication::overrideCursor() != nullptr &&
                             QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });

        prompts_->openAnswers = {jcamp};
        main_->OpenCommand(FileFormat::Jcamp);
        QCOMPARE(
            prompts_->openFilters.back(),
            QString("Infrared Spectra (*.txt;*.dx;*.jdx)|*.txt;*.dx;*.jdx|All Files(*.*)|*.*"));
        QCOMPARE(Form5()->windowTitle(), QString("Infrared Spectrum: File - (film.jdx)"));
        QCOMPARE(QString::fromStdString(main_->State().spectrum.OpenedFilePath),
                 QDir::toNativeSeparators(jcamp));
        QCOMPARE(main_->State().spectrum.PointCount, 1751);
        QVERIFY(MultGlobalShown());
        QVERIFY(!main_->State().spectrum.Loading);
        QVERIFY(main_->State().graph.peaks.PeakCount >= 3);

        prompts_->openAnswers = {prn};
        main_->OpenCommand(FileFormat::Prn);
        QCOMPARE(prompts_->openFilters.back(),
                 QString("Infrared Spectra (*.prn)|*.prn|All Files(*.*)|*.*"));
        QCOMPARE(Form5()->windowTitle(), QString("Infrared Spectrum: File - (table.prn)"));
        QCOMPARE(main_->State().spectrum.PointCount, 1701);
        QVERIFY(MultGlobalShown());  // the PRN command leaves them as they are

        prompts_->openAnswers = {sp};
        main_->OpenCommand(FileFormat::Sp);
        QCOMPARE(prompts_->openFilters.back(),
                 QString("Infrared Spectra (*.sp)|*.sp|All Files(*.*)|*.*"));
        QCOMPARE(Form5()->windowTitle(), QString("Infrared Spectrum: File - (Other.sp)"));
        QCOMPARE(main_->State().spectrum.PointCount, 3551);
        QVERIFY(MultGlobalHidden());

        QVERIFY(prompts_->messages.empty());
        QVERIFY(busyDuringRead);
        QVERIFY(main_->InputEnabled());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void anAbsorbanceFileRenamesTheYExportCommands() {
        Start();
        test::SpFile file;
        file.yUnit = "ABS";
        for (int i = 0; i < 400; ++i) {
            // Absorbance 0.1 with a band of 1.0 in the middle.
            const double a = 0.1 + 0.9 * std::exp(-std::pow((i - 200) / 10.0, 2));
            file.values.push_back(static_cast<std::int32_t>(a * 8388608));
        }
        const QString path = program_->filePath("abs.sp");
        WriteFile(path, QByteArray::fromStdString(file.Bytes()));
        prompts_->openAnswers = {path};
        main_->OpenCommand(FileFormat::Sp);
        QVERIFY(prompts_->messages.empty());
        QCOMPARE(Shown(main_->MenuAction("mnuCopyYPercent")->text()),
                 QString("Copy Y (Absorbance) values (calculated from file values)"));
        QCOMPARE(Shown(main_->MenuAction("mnuSaveDataYPercent")->text()),
                 QString("Save Data (Calculated Y (Absorbance) values only) As..."));
        // The renamed entries keep their access keys.
        QCOMPARE(AccessKey(main_->MenuAction("mnuCopyYPercent")->text()), QChar('y'));
        QCOMPARE(AccessKey(main_->MenuAction("mnuSaveDataYPercent")->text()), QChar('y'));
        main_->MenuAction("mnuSaveDataYPercent")->trigger();
        QCOMPARE(prompts_->saveDefaultNames.back(),
                 QDir::toNativeSeparators(program_->filePath("abs(Y(Absorbance)).txt")));
        // A %T file names them after % values again.
        prompts_->openAnswers = {program_->filePath("Demo.sp")};
        main_->OpenCommand(FileFormat::Sp);
        QCOMPARE(Shown(main_->MenuAction("mnuCopyYPercent")->text()),
                 QString("Copy Y % values (calculated from file values)"));
        QCOMPARE(Shown(main_->MenuAction("mnuSaveDataYPercent")->text()),
                 QString("Save Data (Calculated Y % values only) As..."));
    }

    void cancelledOpenOnlyEndsTheModesAndPrepares() {
        Start();
        Form5()->PeakMarkClick();
        QString markDuringDialog;
        prompts_->duringOpen = [&] { markDuringDialog = Button("Command3")->text(); };
        main_->State().spectrum.MultGlobal = 3.0;
        main_->OpenCommand(FileFormat::Jcamp);  // no answer: cancel
        QCOMPARE(markDuringDialog, QString("Peak Mark"));
        QCOMPARE(main_->State().spectrum.MultGlobal, 1.0);
        QVERIFY(MultGlobalShown());
        QVERIFY(main_->State().spectrum.OpenedFilePath.empty());
        QCOMPARE(Form5()->windowTitle(), QString("Infrared Spectrum: File - (Demo.sp)"));

        main_->OpenCommand(FileFormat::Sp);
        QVERIFY(MultGlobalHidden());
        QCOMPARE(main_->State().spectrum.MultGlobal, 1.0);
        // An empty name counts as cancel too.
        prompts_->openAnswers = {QString("")};
        main_->OpenCommand(FileFormat::Prn);
        QCOMPARE(main_->State().spectrum.PointCount, 3551);
        QVERIFY(prompts_->messages.empty());
        QVERIFY(main_->InputEnabled());
    }

    void aFailingFileShowsTheMessageAndRestoresInput() {
        Start();
        const QString bad = program_->filePath("broken.sp");
        WriteFile(bad, "not a spectrum\r\n");
        prompts_->openAnswers = {bad};
        main_->OpenCommand(FileFormat::Sp);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].title, QString("Cannot open file!"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Critical);
        QVERIFY(prompts_->messages[0].text.endsWith("Try to look in 'File Details'"));
        QCOMPARE(QString::fromStdString(main_->State().spectrum.OpenedFilePath),
                 QDir::toNativeSeparators(bad));
        QVERIFY(main_->InputEnabled());

        const QString badJcamp = program_->filePath("broken.jdx");
        WriteFile(badJcamp, "##TITLE=nothing here\n");
        prompts_->openAnswers = {badJcamp};
        main_->OpenCommand(FileFormat::Jcamp);
        QCOMPARE(prompts_->messages.size(), std::size_t{2});
        QCOMPARE(prompts_->messages[1].title, QString("Cannot open file!"));
        QVERIFY(main_->InputEnabled());
    }

    void lineAndPointsSwitchTheTraceStyle() {
        Start();
        const QImage& plot = Form5()->Picture(1)->Image();
        const int red = CountColour(plot, qRgb(192, 0, 0));
        QVERIFY(red > 500);
        Form5()->PeakMarkClick();
        main_->MenuAction("mnuPoints")->trigger();
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
        QVERIFY(main_->MenuAction("mnuPoints")->isChecked());
        QVERIFY(!main_->MenuAction("mnuLine")->isChecked());
        QVERIFY(!main_->State().graph.mnuLineChecked);
        QCOMPARE(CountColour(Form5()->Picture(1)->Image(), qRgb(192, 0, 0)), 0);
        main_->MenuAction("mnuLine")->trigger();
        QVERIFY(main_->MenuAction("mnuLine")->isChecked());
        QVERIFY(!main_->MenuAction("mnuPoints")->isChecked());
        QCOMPARE(CountColour(Form5()->Picture(1)->Image(), qRgb(192, 0, 0)), red);
        // Choosing the checked entry again keeps it checked.
        main_->MenuAction("mnuLine")->trigger();
        QVERIFY(main_->MenuAction("mnuLine")->isChecked());
    }

    void optionsEndsMarkingThenSavesBesideTheProgram() {
        Start();
        Form5()->PeakMarkClick();
        QString markInDialog;
        prompts_->dialogScripts.push_back([&](QDialog& dialog) {
            markInDialog = Button("Command3")->text();
            auto& options = dynamic_cast<OptionsDialog&>(dialog);
            QCOMPARE(options.windowTitle(), QString("Graph Options"));
            options.Option(0, 1)->setChecked(true);
            options.OkClick();
        });
        main_->MenuAction("mnuOptions")->trigger();
        QCOMPARE(prompts_->dialogsShown, QStringList{"FormOptions"});
        QCOMPARE(markInDialog, QString("Peak Mark"));
        QCOMPARE(main_->State().settings.FixedYRange, std::int16_t{1});
        QFile ini(program_->filePath("Halvorn.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), QByteArray(" 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n"));
        QVERIFY(prompts_->messages.empty());
    }

    void aSettingsFileThatCannotBeSavedIsReported() {
        QFile blocker(program_->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        main_ = std::make_unique<MainWindow>(program_->filePath("blocker/bin"), *prompts_,
                                             program_->filePath("blocker/config"));
        main_->Start();
        prompts_->messages.clear();  // the missing demonstration spectrum
        prompts_->dialogScripts.push_back(
            [](QDialog& dialog) { dynamic_cast<OptionsDialog&>(dialog).OkClick(); });
        main_->OptionsClick();
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Warning);
        QVERIFY(prompts_->messages[0].text.contains("could not be saved"));
    }

    void aboutShowsTheProgramAndTheSystemFigures() {
        Start();
        bool started = false;
        main_->SetSystemInfoTool({[] { return QString(); },
                                  [&](const QString&) {
                                      started = true;
                                      return true;
                                  }});
        prompts_->dialogScripts.push_back([](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("About Halvorn"));
            QCOMPARE(dialog.findChild<QLabel*>("lblTitle")->text(), QString("Halvorn"));
            QVERIFY(dialog.findChild<QLabel*>("lblVersion")->text().startsWith("Version "));
            QVERIFY(!dialog.findChild<QLabel*>("lblDescription")->text().isEmpty());
            dialog.findChild<QPushButton*>("cmdSysInfo")->click();
            dialog.accept();
        });
        main_->MenuAction("mnuAbout")->trigger();
        QVERIFY(!started);  // nothing found, so the figures are shown instead
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QVERIFY(prompts_->messages[0].text.contains("Operating system: "));
        QVERIFY(prompts_->messages[0].text.contains(QString("Qt version: ") + qVersion()));

        // A tool that is found is started, and nothing else is shown.
        main_->SetSystemInfoTool({[] { return QString("/usr/bin/sysinfo"); },
                                  [&](const QString& path) {
                                      started = path == "/usr/bin/sysinfo";
                                      return true;
                                  }});
        prompts_->dialogScripts.push_back([](QDialog& dialog) {
            dialog.findChild<QPushButton*>("cmdSysInfo")->click();
            dialog.accept();
        });
        main_->AboutClick();
        QVERIFY(started);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
    }

    void exportCommandsCopyAndSaveTheTexts() {
        Start();
        const Spectrum& s = main_->State().spectrum;
        const int n = s.PointCount;
        QVERIFY(n > 100);
        // The pointer while each text reaches the clipboard.
        std::vector<bool> busy;
        const QObject listener;  // ends the connection with this test
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &listener, [&] {
            const QCursor* cursor = QApplication::overrideCursor();
            busy.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
        });
        const std::pair<const char*, ExportText> copies[] = {
            {"mnuCopyX", ExportText::X},
            {"mnuCopyYPercent", ExportText::YValues},
            {"mnuCopyData", ExportText::StoredY}};
        for (const auto& [name, which] : copies) {
            busy.clear();
            Form5()->PeakMarkClick();
            main_->MenuAction(name)->trigger();
            QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
            const QString text = QGuiApplication::clipboard()->text();
            QCOMPARE(text.toStdString(), ExportTextOf(s, which));
            QCOMPARE(text.count("\r\n"), n);
            QVERIFY(text.endsWith("\r\n"));
            QVERIFY2(!busy.empty() && busy.back() == (which != ExportText::X), name);
            QVERIFY(QApplication::overrideCursor() == nullptr);
        }

        // Before any Open the names start from Demo.sp; the file holds the
        // text and one more CR LF, and a second save replaces it.
        QTemporaryDir out;
        const QString target = out.filePath("data.txt");
        prompts_->saveAnswers = {target, target, target};
        main_->MenuAction("mnuSaveDataAs")->trigger();
        main_->MenuAction("mnuSaveDataYPercent")->trigger();
        main_->MenuAction("mnuSaveDataX")->trigger();
        QCOMPARE(prompts_->saveDefaultNames,
                 QStringList({"Demo(Y).txt", "Demo(Y%).txt", "Demo(X).txt"}));
        for (const QString& filter : prompts_->saveFilters) {
            QCOMPARE(filter, QString("Text (*.txt)|*.txt|All Files(*.*)|*.*"));
        }
        QVERIFY(prompts_->messages.empty());
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QCOMPARE(bytes.toStdString(), s.ZZX + "\r\n");
        QCOMPARE(bytes.count("\r\n"), n + 1);
        QVERIFY(bytes.endsWith("\r\n\r\n"));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList({"data.txt"}));

        // Cancel writes nothing.
        main_->MenuAction("mnuSaveDataAs")->trigger();
        QCOMPARE(prompts_->saveDefaultNames.size(), 4);
        QVERIFY(prompts_->messages.empty());
    }

    void saveNamesFollowTheOpenedFile() {
        Start();
        QTemporaryDir dir;
        const QString path = dir.filePath("b.jdx");
        WriteFile(path, JcampBytes());
        prompts_->openAnswers = {path};
        main_->OpenCommand(FileFormat::Jcamp);
        QVERIFY(prompts_->messages.empty());
        main_->SaveDataCommand(ExportText::StoredY);
        main_->SaveDataCommand(ExportText::YValues);
        // The last three characters go, so a four-letter extension keeps its dot.
        const QString base = QDir::toNativeSeparators(dir.filePath("b."));
        QCOMPARE(prompts_->saveDefaultNames, QStringList({base + "(Y).txt", base + "(Y%).txt"}));
        // A JCAMP-DX read builds the texts of its own points.
        QCOMPARE(QString::fromStdString(ExportTextOf(main_->State().spectrum, ExportText::StoredY))
                     .count("\r\n"),
                 main_->State().spectrum.PointCount);
    }

    void aFailedSaveIsToldAndLeavesTheOldFile() {
        Start();
        QTemporaryDir dir;
        // A folder that does not exist.
        const QString missing = dir.filePath("no such folder/data.txt");
        prompts_->saveAnswers = {missing};
        main_->SaveDataCommand(ExportText::X);
        QCOMPARE(prompts_->messages.size(), std::size_t{1});
        QCOMPARE(prompts_->messages[0].title, QString("Cannot save file!"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Warning);
        QVERIFY(prompts_->messages[0].text.contains(QDir::toNativeSeparators(missing)));
        QVERIFY(!QFile::exists(missing));

        // A folder that cannot be written: the old file stays as it was. The
        // superuser writes anywhere, so there the check has nothing to show.
        if (::geteuid() == 0) {
            return;
        }
        const QString old = dir.filePath("locked/data.txt");
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        WriteFile(old, "old contents\r\n");
        QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
        prompts_->saveAnswers = {old};
        main_->SaveDataCommand(ExportText::StoredY);
        QFile::setPermissions(dir.filePath("locked"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(prompts_->messages.size(), std::size_t{2});
        QVERIFY(prompts_->messages[1].text.contains(QDir::toNativeSeparators(old)));
        QFile kept(old);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("old contents\r\n"));
        QCOMPARE(QDir(dir.filePath("locked")).entryList(QDir::Files), QStringList({"data.txt"}));
    }

    void qtSaveDialogProposesTheNameAndNeverAsksToReplace() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("old(Y).txt"), "old\r\n");
        const QString filter = "Text (*.txt)|*.txt|All Files(*.*)|*.*";
        QtPrompts prompts;
        // What the dialog showed; it is accepted whatever it showed.
        std::optional<QFileDialog::AcceptMode> mode;
        bool asksToReplace = true;
        QString folder;
        QStringList filters;
        QString proposed;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            mode = dialog->acceptMode();
            asksToReplace = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
            folder = QDir(dialog->directory()).canonicalPath();
            filters = dialog->nameFilters();
            proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
            static_cast<QDialog*>(dialog)->accept();
        });
        const std::optional<QString> chosen = prompts.SaveFileName(
            nullptr, filter, QDir::toNativeSeparators(dir.filePath("old(Y).txt")));
        QCOMPARE(mode, std::optional(QFileDialog::AcceptSave));
        QVERIFY(!asksToReplace);
        QCOMPARE(folder, QDir(dir.path()).canonicalPath());
        QCOMPARE(filters, NameFiltersOf(filter));
        QCOMPARE(proposed, QString("old(Y).txt"));
        QVERIFY(chosen.has_value());
        QCOMPARE(QFileInfo(*chosen).canonicalFilePath(),
                 QFileInfo(dir.filePath("old(Y).txt")).canonicalFilePath());
    }

    void qtOpenDialogStartsInTheLastFolderAndOffersEveryFile() {
        QTemporaryDir dir;
        WriteFile(dir.filePath("odd.JCM"), JcampBytes());
        QtPrompts prompts;
        QString folder;
        QStringList filters;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            folder = QDir(dialog->directory()).canonicalPath();
            filters = dialog->nameFilters();
            dialog->reject();
        });
        const std::optional<QString> chosen =
            prompts.OpenFileNameIn(nullptr, ReaderOf(FileFormat::Jcamp).dialogFilter,
                                   QDir::toNativeSeparators(dir.path()));
        QVERIFY(!chosen.has_value());
        QCOMPARE(folder, QDir(dir.path()).canonicalPath());
        // A file of any name can be chosen.
        QCOMPARE(filters.size(), qsizetype(2));
        QCOMPARE(filters.back(), QString("All Files(*.*) (*)"));
    }

    void copyPreviewOpensFromBothMenusAndTheSpectrumWindow() {
        Start();
        CopyPreviewWindow* preview = main_->CopyPreview();
        QVERIFY(!preview->IsLoaded());
        Form5()->PeakMarkClick();
        main_->MenuAction("mnuSPCP")->trigger();
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
        QVERIFY(preview->IsLoaded());
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->windowTitle(), QString("Copy Preview"));
        // One preview: the other entry and "Cpy/Prt" draw on the same window.
        main_->MenuAction("mnuSpecCopyPrvw")->trigger();
        Button("Command4")->click();
        // The desktop's keys print and copy the figure.
        QCOMPARE(preview->findChild<QAction*>("mnuPrint")->shortcut(),
                 QKeySequence(QKeySequence::Print));
        QCOMPARE(preview->findChild<QAction*>("mnuCopy")->shortcut(),
                 QKeySequence(QKeySequence::Copy));
        QCOMPARE(main_->findChildren<CopyPreviewWindow*>().size(), qsizetype(1));
        QVERIFY(Painted(preview->FigureSurface()->Image()) > 1000);
    }

    void headerDetailsHoldTheMenusUntilAFileIsOpened() {
        Start();
        const QStringList held = {"mnuOptions", "mnuSaveDataAs", "mnuSaveDataX",
                                  "mnuSaveDataYPercent"};
        QMenu* edit = main_->menuBar()->findChild<QMenu*>("mnuEdit");
        QMenu* graph = main_->menuBar()->findChild<QMenu*>("mnuIRGraph");
        main_->MenuAction("mnuFileHeaderDetais")->trigger();
        QVERIFY(main_->HeaderDetails()->IsOpen());
        HeaderDetailsWindow* details = main_->HeaderDetails()->Window();
        QVERIFY(!edit->menuAction()->isEnabled());
        QVERIFY(!graph->menuAction()->isEnabled());
        for (const QString& name : held) {
            QVERIFY2(!main_->MenuAction(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(!main_->MenuAction("mnuFileHeaderDetais")->isVisible());
        // "File Details" on the spectrum window brings the same window back.
        Button("Command13")->click();
        QCOMPARE(main_->HeaderDetails()->Window(), details);

        // Every Open command closes it, even a cancelled one, and gives the
        // menus back.
        main_->OpenCommand(FileFormat::Prn);
        QVERIFY(!main_->HeaderDetails()->IsOpen());
        QVERIFY(edit->menuAction()->isEnabled());
        QVERIFY(graph->menuAction()->isEnabled());
        for (const QString& name : held) {
            QVERIFY2(main_->MenuAction(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(main_->MenuAction("mnuFileHeaderDetais")->isVisible());
    }

    void headerEditorFromTheMenuWritesTheSampleLines() {
        Start();
        prompts_->dialogScripts.push_back([](QDialog& dialog) {
            auto& editor = dynamic_cast<HeaderEditor&>(dialog);
            editor.Text1(0)->setText("Renamed film");
            editor.Check1(5)->setChecked(false);
            editor.findChild<QPushButton*>("Command1")->click();
        });
        main_->MenuAction("mnuEditHeader")->trigger();
        QCOMPARE(prompts_->dialogsShown.back(), QString("Form2"));
        QCOMPARE(QString::fromStdString(main_->State().spectrum.Label14[0]),
                 QString("Renamed film"));
        QVERIFY(!main_->State().Label14Visible[5]);
        QVERIFY(!Form5()->findChild<QLabel*>("Label14(5)")->isVisibleTo(Form5()));
    }

    void laterCommandsRunTheirGatingStep() {
        Start();
        for (const char* name : {"mnuSaveDataX", "mnuSaveDataYPercent", "mnuSaveDataAs", "mnuCopyX",
                                 "mnuCopyYPercent", "mnuCopyData", "mnuSpecCopyPrvw", "mnuSPCP",
                                 "mnuFileHeaderDetais", "mnuEditHeader"}) {
            Form5()->PeakMarkClick();
            main_->MenuAction(name)->trigger();
            QVERIFY2(Button("Command3")->text() == "Peak Mark", name);
        }
    }

    void peakTableGoesToTheClipboardAsTextAndHtml() {
        Start();
        const Spectrum& s = main_->State().spectrum;
        const PeakList& peaks = main_->State().graph.peaks;
        QVERIFY(peaks.PeakCount >= 3);  // marked when the file was read
        const std::span<const std::int16_t> marked(peaks.PeakPoints.data(),
                                                   static_cast<std::size_t>(peaks.PeakCount));
        // Under a comma locale the clipboard text carries commas; the CSV
        // file keeps periods whatever the locale.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Form5()->PeakMarkClick();
        main_->MenuAction("mnuCopyPeakTable")->trigger();
        QLocale::setDefault(before);
        QCOMPARE(Button("Command3")->text(), QString("Peak Mark"));
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr && data->hasText() && data->hasHtml());
        QCOMPARE(data->text().toStdString(), PeakTableText(s, marked, ','));
        QCOMPARE(data->html().toStdString(), PeakTableHtml(s, marked, ','));
        // One line per marked peak after the header, highest wavenumber first,
        // each wavenumber that of a marked point.
        const QStringList lines = data->text().split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), peaks.PeakCount + 1);
        QVERIFY(lines[0].startsWith("Wavenumber (cm-1)\t"));
        double previous = 1e9;
        for (qsizetype k = 1; k < lines.size(); ++k) {
            const QStringList cells = lines[k].split('\t');
            QCOMPARE(cells.size(), 4);
            const double nu = QString(cells[0]).replace(',', '.').toDouble();
            QVERIFY(nu < previous);
            previous = nu;
            QVERIFY(std::any_of(marked.begin(), marked.end(), [&](std::int16_t p) {
                return std::abs(s.WaveX[static_cast<std::size_t>(p)] - nu) < 0.05;
            }));
        }
        QVERIFY(data->html().contains("<table>"));
        QCOMPARE(data->html().count("<tr>"), peaks.PeakCount + 1);

        QTemporaryDir out;
        const QString target = out.filePath("peaks.csv");
        prompts_->saveAnswers = {target};
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        main_->MenuAction("mnuSavePeakTable")->trigger();
        QLocale::setDefault(before);
        QCOMPARE(prompts_->saveDefaultNames.back(), QString("Demo(Peaks).csv"));
        QCOMPARE(prompts_->saveFilters.back(),
                 QString("CSV table (*.csv)|*.csv|All Files(*.*)|*.*"));
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), PeakTableCsv(s, marked));
        QVERIFY(prompts_->messages.empty());
    }

    void peakTableWithoutMarksIsOfferedNeitherWayAndFailedSavesAreTold() {
        Start();
        // After an Open the proposed name follows the file.
        QTemporaryDir dir;
        const QString jcamp = dir.filePath("film.jdx");
        WriteFile(jcamp, JcampBytes());
        prompts_->openAnswers = {jcamp};
        main_->OpenCommand(FileFormat::Jcamp);
        QVERIFY(main_->State().graph.peaks.PeakCount > 0);

        // A folder stands where the file would go: nothing is replaced, and
        // the user is told (this fails for the superuser too).
        const QString blocked = dir.filePath("old.csv");
        QVERIFY(QDir(dir.path()).mkpath("old.csv/inside"));
        prompts_->saveAnswers = {blocked, dir.filePath("no such folder/p.csv")};
        main_->SavePeakTableCommand();
        main_->SavePeakTableCommand();
        QCOMPARE(prompts_->saveDefaultNames.front(),
                 QDir::toNativeSeparators(dir.filePath("film(Peaks).csv")));
        QCOMPARE(prompts_->messages.size(), std::size_t{2});
        for (const auto& message : prompts_->messages) {
            QCOMPARE(message.title, QString("Cannot save file!"));
            QVERIFY(message.text.contains("The peak table was not saved"));
        }
        QVERIFY(QFileInfo(dir.filePath("old.csv/inside")).isDir());
        QVERIFY(!QFile::exists(dir.filePath("no such folder")));

        // With no peak marked the entries are greyed when the menus open, and
        // the commands only say why.
        main_->State().graph.peaks.PeakCount = 0;
        for (const char* menu : {"mnuFile", "mnuEdit"}) {
            emit main_->menuBar()->findChild<QMenu*>(menu)->aboutToShow();
        }
        QVERIFY(!main_->MenuAction("mnuCopyPeakTable")->isEnabled());
        QVERIFY(!main_->MenuAction("mnuSavePeakTable")->isEnabled());
        QGuiApplication::clipboard()->setText("kept");
        prompts_->messages.clear();
        main_->CopyPeakTableCommand();
        main_->SavePeakTableCommand();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
        QCOMPARE(prompts_->saveDefaultNames.size(), 2);  // no dialog shown
        QCOMPARE(prompts_->messages.size(), std::size_t{2});
        QCOMPARE(prompts_->messages[0].title, QString("Peak Table"));
        QCOMPARE(prompts_->messages[0].icon, QMessageBox::Information);
        main_->State().graph.peaks.PeakCount = 1;
        emit main_->menuBar()->findChild<QMenu*>("mnuEdit")->aboutToShow();
        QVERIFY(main_->MenuAction("mnuCopyPeakTable")->isEnabled());
    }
};

}  // namespace halvorn

QTEST_MAIN(halvorn::MainWindowTest)
#include "main_window_test.moc"
