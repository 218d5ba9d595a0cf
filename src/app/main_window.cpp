#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <string_view>
#include <utility>

#include "app/recent_files.h"
#include "core/peak_table.h"
#include "options/options_dialog.h"
#include "output/copy_preview.h"
#include "output/header_details.h"
#include "render/whole_file.h"
#include "window/graph_window.h"
#include "window/prompts.h"

namespace halvorn {

namespace {

const char* const kTextFilter = "Text (*.txt)|*.txt|All Files(*.*)|*.*";
const char* const kCsvFilter = "CSV table (*.csv)|*.csv|All Files(*.*)|*.*";

// The user's decimal separator; a point where it has no one-byte form.
char UserDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    const char c = point.size() == 1 ? point.at(0).toLatin1() : '\0';
    return c == '\0' ? '.' : c;
}

// One entry of the menu tree: control name, caption, the letter that becomes
// its access key (the first occurrence of that character in the caption) and
// the status tip saying what it does; an empty caption is a separator.
struct MenuEntry {
    const char* name;
    const char* caption;
    char key = '\0';
    const char* tip = "";
    bool hidden = false;
};

struct MenuTitle {
    const char* name;
    const char* caption;
    char key;
    std::vector<MenuEntry> entries;
};

// Access keys of the reader table's own entries, by control name.
char OpenEntryKey(const char* menuName) {
    const std::string_view name(menuName);
    if (name == "mnuOpenIRfile") {
        return 'I';
    }
    if (name == "mnuOpenJCamp") {
        return 'J';
    }
    if (name == "mnuOpenPRN") {
        return 'r';
    }
    return '\0';
}

const char* OpenEntryTip(FileFormat format) {
    switch (format) {
        case FileFormat::Sp:
            return "Open a *.sp spectrum file";
        case FileFormat::Jcamp:
            return "Open a JCAMP-DX spectrum file (*.txt, *.dx, *.jdx)";
        case FileFormat::Prn:
            return "Open a two-column *.prn table of wavenumber and %T";
    }
    return "Open a spectrum file";
}

std::vector<MenuEntry> FileEntries() {
    std::vector<MenuEntry> entries = {
        {"mnuOpen", "Open...", 'O', "Open a spectrum file of any supported format"}};
    for (const ReaderEntry& reader : ReaderTable()) {
        entries.push_back({reader.menuName, reader.menuCaption, OpenEntryKey(reader.menuName),
                           OpenEntryTip(reader.format)});
    }
    const std::vector<MenuEntry> rest = {
        {"mnuRecentFiles", "Recent Files", 'F', "Open one of the files opened last"},
        {"mnuSepr", ""},
        {"mnuSaveDataX", "Save Data (Calculated X values only) As...", 'C',
         "Save the calculated wavenumbers to a text file, one per line"},
        {"mnuSaveDataYPercent", "Save Data (Calculated Y % values only) As...", 'Y',
         "Save the ordinates in the file's own unit to a text file, one per line"},
        {"mnuSep1", ""},
        {"mnuSaveDataAs", "Save Data (Original Y values only) As...", 'S',
         "Save the ordinates as stored in the file to a text file, one per line"},
        {"mnuSavePeakTable", "Save Peak Table As...", 'T',
         "Save the marked peaks as a CSV table: wavenumber, wavelength, %T, absorbance"},
        {"mnuSP", ""},
        {"mnuSairItem", "Exit", 'x', "Quit the program"}};
    entries.insert(entries.end(), rest.begin(), rest.end());
    return entries;
}

const std::vector<MenuTitle>& MenuTree() {
    static const std::vector<MenuTitle> tree = {
        {"mnuFile", "File", 'F', FileEntries()},
        {"mnuEdit",
         "Edit",
         'E',
         {{"mnuCopyX", "Copy X Data (calculated X values)", 'X',
           "Copy the calculated wavenumbers to the clipboard, one per line"},
          {"mnuCopyYPercent", "Copy Y % values (calculated from file values)", 'Y',
           "Copy the ordinates in the file's own unit to the clipboard, one per line"},
          {"mnuSep", ""},
          {"mnuCopyData", "Copy Y Data (original Y values from file)", 'D',
           "Copy the ordinates as stored in the file to the clipboard, one per line"},
          {"mnuCopyPeakTable", "Copy Peak Table", 'T',
           "Copy the marked peaks to the clipboard as a table for text and office programs"},
          {"mnuSep3", ""},
          {"mnuSpecCopyPrvw", "Spectrum Copy Preview", 'P',
           "Compose the figure for copying, printing or saving"},
          {"mnuCopySpectrum", "Copy Spectrum (as bitmap)", '\0', "", true}}},
        {"mnuView",
         "View",
         'V',
         {{"mnuSPCP", "Spectrum Copy Preview", 'P',
           "Compose the figure for copying, printing or saving"},
          {"mnuFileHeaderDetais", "File Header Details", 'H',
           "Show the file's header lines beside a description of the format"}}},
        {"mnuIRGraph",
         "IR Graph",
         'I',
         {{"mnuLine", "Line", 'L', "Draw the spectrum as a line"},
          {"mnuPoints", "Points", 'P', "Draw the spectrum as separate points"},
          {"sep1", ""},
          {"mnuAddSpName", "Add Spectrum Name", '\0', "", true},
          {"mnuRemoveSpName", "Remove Spectrum Name", '\0', "", true},
          {"mnuEditHeader", "Spectrum Header Editor", 'H',
           "Edit the sample lines shown above the graph"},
          {"sep", ""},
          {"mnuOptions", "Options", 'O', "Choose the display preferences kept between runs"}}},
        {"mnuHelp",
         "Help",
         'H',
         {{"mnuWhatisitfor", "What is it for?", '\0', "", true},
          {"mnuHowdoI", "How do I?", '\0', "", true},
          {"mnuSep5", "", '\0', "", true},
          {"mnuAbout", "About...", 'A', "Show the program's name, version and system figures"}}},
    };
    return tree;
}

// The format a file is read with: the reader table's choice for it, from its
// extension or else from its first bytes.
std::optional<FileFormat> FormatForFile(const QString& path) {
    return FormatOfFile(QFile::encodeName(path).toStdString());
}

// What the "Open..." dialog calls each format's files.
QString FormatDescription(FileFormat format) {
    switch (format) {
        case FileFormat::Sp:
            return "*.sp spectra";
        case FileFormat::Jcamp:
            return "JCAMP-DX spectra";
        case FileFormat::Prn:
            return "Tables of wavenumber and %T";
    }
    return "Spectra";
}

// The caption with an access key: '&' before the first occurrence of key
// (none when key is 0 or absent); the visible words stay as they are.
QString WithAccessKey(const QString& caption, char key) {
    QString text = caption;
    text.replace('&', "&&");
    if (key != '\0') {
        const qsizetype at = text.indexOf(QLatin1Char(key));
        if (at >= 0) {
            text.insert(at, '&');
        }
    }
    return text;
}

char AccessKeyOf(const QString& name) {
    for (const MenuTitle& title : MenuTree()) {
        for (const MenuEntry& entry : title.entries) {
            if (name == QLatin1String(entry.name)) {
                return entry.key;
            }
        }
    }
    return '\0';
}

// The busy pointer while a long text goes to the clipboard; the normal one
// again however the command ends.
class BusyPointer {
  public:
    explicit BusyPointer(bool busy) : busy_(busy) {
        if (busy_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ~BusyPointer() {
        if (busy_) {
            QApplication::restoreOverrideCursor();
        }
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    bool busy_;
};

// Restores the pointer and input however the command ends.
class BusyScope {
  public:
    explicit BusyScope(std::function<void(bool)> setInput) : setInput_(std::move(setInput)) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        setInput_(false);
    }
    ~BusyScope() {
        while (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
        setInput_(true);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    std::function<void(bool)> setInput_;
};

}  // namespace

MainWindow::MainWindow(const QString& programFolder, Prompts& prompts, const QString& configFolder,
                       QWidget* parent)
    : QMainWindow(parent),
      prompts_(prompts),
      store_(QDir::cleanPath(programFolder), configFolder),
      systemInfo_(DefaultSystemInfoTool()) {
    setObjectName("HalvornMain");
    setWindowTitle("Halvorn_Mod");
    state_.spectrum.ProgramFolder =
        QDir::toNativeSeparators(QDir::cleanPath(programFolder)).toLocal8Bit().toStdString();
    area_ = new QMdiArea(this);
    area_->setObjectName("MdiArea");
    // A main window smaller than the spectrum window scrolls to its hidden
    // parts instead of cutting them off.
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    statusBar()->setObjectName("StatusBar");
    // The list of recent files sits beside the user's copy of the settings
    // file, in a file of its own.
    recent_ = std::make_unique<RecentFiles>(
        QDir(QFileInfo(store_.UserFile()).absolutePath()).filePath("RecentFiles.ini"));
    BuildMenus();
    FillRecentMenu();
    setAcceptDrops(true);

    form5_ = new SpectrumWindow(state_, prompts_, [this] { LoadSettings(); });
    form5Frame_ =
        area_->addSubWindow(form5_, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowMinimizeButtonHint);
    form5Frame_->setObjectName("Form5Frame");
    form5Frame_->hide();
    connect(form5_, &SpectrumWindow::spectrumReplaced, this, &MainWindow::ShowExportCaptions);

    // The copy preview and the header details are windows of their own, one
    // of each at a time. While the header details are shown the commands
    // that would change what they describe are held.
    copyPreview_ = new CopyPreviewWindow(state_, prompts_, this);
    HeaderMenuItems held;
    held.disabledWhileShown = {menuBar()->findChild<QMenu*>("mnuEdit")->menuAction(),
                               menuBar()->findChild<QMenu*>("mnuIRGraph")->menuAction(),
                               MenuAction("mnuOptions"),
                               MenuAction("mnuSaveDataAs"),
                               MenuAction("mnuSaveDataX"),
                               MenuAction("mnuSaveDataYPercent")};
    held.detailsEntry = MenuAction("mnuFileHeaderDetais");
    headerDetails_ = new HeaderDetailsHost(state_, held, this);
    connect(form5_, &SpectrumWindow::copyPreviewRequested, copyPreview_,
            &CopyPreviewWindow::ShowAndDraw);
    connect(form5_, &SpectrumWindow::headerDetailsRequested, headerDetails_,
            &HeaderDetailsHost::Show);
    connect(area_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window == form5Frame_) {
            form5_->Activated();
        }
    });
    resize(form5Frame_->sizeHint().width() + 24,
           form5Frame_->sizeHint().height() + 48 + statusBar()->sizeHint().height());
}

MainWindow::~MainWindow() {
    // QWidget's destructor hides the MDI area's windows after this one has
    // run, which activates another of them: nothing of this window may answer.
    if (area_ != nullptr) {
        area_->disconnect(this);
    }
}

void MainWindow::BuildMenus() {
    for (const MenuTitle& title : MenuTree()) {
        QMenu* menu = menuBar()->addMenu(WithAccessKey(title.caption, title.key));
        menu->setObjectName(title.name);
        for (const MenuEntry& entry : title.entries) {
            QAction* action = nullptr;
            if (entry.caption[0] == '\0') {
                action = menu->addSeparator();
            } else if (std::string_view(entry.name) == "mnuRecentFiles") {
                recentMenu_ = menu->addMenu(WithAccessKey(entry.caption, entry.key));
                recentMenu_->setObjectName("mnuRecentFilesMenu");
                action = recentMenu_->menuAction();
            } else {
                action = menu->addAction(WithAccessKey(entry.caption, entry.key));
            }
            action->setObjectName(entry.name);
            action->setVisible(!entry.hidden);
            action->setStatusTip(entry.tip);
        }
    }
    MenuAction("mnuLine")->setCheckable(true);
    MenuAction("mnuLine")->setChecked(true);
    MenuAction("mnuPoints")->setCheckable(true);
    MenuAction("mnuOpen")->setShortcut(QKeySequence::Open);
    MenuAction("mnuSairItem")->setShortcut(QKeySequence::Quit);
    // The About box is the program's only help, so the desktop's help key
    // opens it.
    MenuAction("mnuAbout")->setShortcut(QKeySequence::HelpContents);
    // The list is read afresh each time it opens, so that a file deleted
    // meanwhile shows greyed.
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentMenu);

    const auto on = [this](const char* name, auto handler) {
        connect(MenuAction(name), &QAction::triggered, this, handler);
    };
    on("mnuOpen", [this] { OpenAnyCommand(); });
    for (const ReaderEntry& reader : ReaderTable()) {
        on(reader.menuName, [this, format = reader.format] { OpenCommand(format); });
    }
    on("mnuSairItem", [this] { ExitClick(); });
    on("mnuLine", [this] { LineClick(); });
    on("mnuPoints", [this] { PointsClick(); });
    on("mnuOptions", [this] { OptionsClick(); });
    on("mnuAbout", [this] { AboutClick(); });
    on("mnuCopyX", [this] { CopyDataCommand(ExportText::X); });
    on("mnuCopyYPercent", [this] { CopyDataCommand(ExportText::YValues); });
    on("mnuCopyData", [this] { CopyDataCommand(ExportText::StoredY); });
    on("mnuSaveDataX", [this] { SaveDataCommand(ExportText::X); });
    on("mnuSaveDataYPercent", [this] { SaveDataCommand(ExportText::YValues); });
    on("mnuSaveDataAs", [this] { SaveDataCommand(ExportText::StoredY); });
    on("mnuSpecCopyPrvw", [this] { CopyPreviewCommand(); });
    on("mnuSPCP", [this] { CopyPreviewCommand(); });
    on("mnuFileHeaderDetais", [this] { HeaderDetailsCommand(); });
    on("mnuEditHeader", [this] { HeaderEditorCommand(); });
    on("mnuCopyPeakTable", [this] { CopyPeakTableCommand(); });
    on("mnuSavePeakTable", [this] { SavePeakTableCommand(); });
    // The peak table entries are offered only while peaks are marked.
    for (const char* menu : {"mnuFile", "mnuEdit"}) {
        connect(menuBar()->findChild<QMenu*>(menu), &QMenu::aboutToShow, this,
                &MainWindow::UpdatePeakTableEntries);
    }
}

void MainWindow::UpdatePeakTableEntries() {
    const bool marked = state_.graph.peaks.PeakCount > 0;
    MenuAction("mnuCopyPeakTable")->setEnabled(marked);
    MenuAction("mnuSavePeakTable")->setEnabled(marked);
}

void MainWindow::FillRecentMenu() {
    recentMenu_->clear();
    const QStringList paths = recent_->Paths();
    for (qsizetype k = 0; k < paths.size(); ++k) {
        const QString shown = QDir::toNativeSeparators(paths[k]);
        QAction* action = recentMenu_->addAction(
            WithAccessKey(QString("%1 %2").arg(k + 1).arg(shown), static_cast<char>('1' + k)));
        action->setObjectName(QString("mnuRecentFile(%1)").arg(k));
        action->setData(paths[k]);
        action->setStatusTip("Open " + shown);
        // A file that is gone (moved, deleted, on a disk not mounted) stays in
        // the list, greyed, until newer files push it out.
        action->setEnabled(QFileInfo(paths[k]).isFile());
        connect(action, &QAction::triggered, this, [this, path = paths[k]] { OpenPath(path); });
    }
    recentMenu_->menuAction()->setEnabled(!paths.isEmpty());
}

QStringList MainWindow::RecentFilePaths() const {
    return recent_->Paths();
}

QAction* MainWindow::MenuAction(const QString& name) const {
    return menuBar()->findChild<QAction*>(name);
}

void MainWindow::LoadSettings() {
    store_.Load(state_.settings);
}

void MainWindow::SaveSettings() {
    const QString error = store_.Save(state_.settings);
    if (!error.isEmpty()) {
        prompts_.Message(this, QMessageBox::Warning, "Graph Options", error, QMessageBox::Ok);
    }
}

void MainWindow::Start(const QString& initialFile) {
    // The spectrum window has loaded (settings, areas, buttons) when it was
    // created; the multiplier controls only show for JCAMP-DX files.
    form5_->Load();
    form5_->SetMultGlobalControlsVisible(false);
    state_.spectrum.MultGlobal = 1.0;
    state_.GraphHeightReduced = false;
    form5_->SetMultGlobalBoxText("1");
    state_.graph.LabelBackgroundColour = kLabelBackgroundColour;
    if (QWidget* label22 = form5_->findChild<QWidget*>("Label22")) {
        state_.graph.LabelBackgroundColour = RgbOf(label22->palette().color(QPalette::Window));
    }
    state_.spectrum.RelayoutLabels = true;
    const QDir folder(QFile::decodeName(state_.spectrum.ProgramFolder.c_str()));
    state_.MetafilePath =
        QFile::encodeName(QDir::toNativeSeparators(folder.filePath("CurPic.emf"))).toStdString();
    LoadSettings();

    if (!initialFile.isEmpty()) {
        if (OpenPath(initialFile)) {
            form5Frame_->show();
            form5Frame_->adjustSize();
            return;
        }
        // The reader has told why; the program goes on as it starts without a
        // file, on the demonstration spectrum.
        state_.spectrum.OpenedFilePath.clear();
        form5_->SetMultGlobalControlsVisible(false);
        state_.spectrum.MultGlobal = 1.0;
        form5_->SetMultGlobalBoxText("1");
    }
    state_.DialogFileName =
        QFile::encodeName(QDir::toNativeSeparators(folder.filePath("Demo.sp"))).toStdString();
    state_.DialogFileTitle.clear();
    form5_->OpenFile(FileFormat::Sp, state_.DialogFileName, state_.DialogFileTitle);
    form5Frame_->show();
    form5Frame_->adjustSize();
}

bool MainWindow::InputEnabled() const {
    return menuBar()->isEnabled() && centralWidget()->isEnabled();
}

void MainWindow::SetInputEnabled(bool enabled) {
    menuBar()->setEnabled(enabled);
    centralWidget()->setEnabled(enabled);
}

void MainWindow::CloseHeaderDetails() {
    // A new file is about to be read: the details must never show the
    // header of a file other than the loaded one.
    headerDetails_->Close();
}

void MainWindow::ShowExportCaptions() {
    for (const auto& [name, caption] :
         {std::pair{"mnuCopyYPercent", &state_.spectrum.mnuCopyYPercentCaption},
          std::pair{"mnuSaveDataYPercent", &state_.spectrum.mnuSaveDataYPercentCaption}}) {
        MenuAction(name)->setText(
            WithAccessKey(QString::fromLatin1(caption->c_str()), AccessKeyOf(name)));
    }
}

void MainWindow::PrepareOpen(FileFormat format) {
    // Each command has its own order of closing the header details and
    // setting up the multiplier controls; the JCAMP-DX one shows them.
    if (format == FileFormat::Sp) {
        CloseHeaderDetails();
        form5_->SetMultGlobalControlsVisible(false);
        state_.spectrum.MultGlobal = 1.0;
    } else if (format == FileFormat::Jcamp) {
        form5_->SetMultGlobalControlsVisible(true);
        state_.spectrum.MultGlobal = 1.0;
        form5_->SetMultGlobalBoxText("1");
        CloseHeaderDetails();
    } else {
        state_.spectrum.MultGlobal = 1.0;
        form5_->SetMultGlobalBoxText("1");
        CloseHeaderDetails();
    }
}

bool MainWindow::ReadChosenFile(FileFormat format, const QString& chosen) {
    BusyScope busy([this](bool enabled) { SetInputEnabled(enabled); });
    const QString path = QDir::toNativeSeparators(chosen);
    state_.DialogFileName = QFile::encodeName(path).toStdString();
    state_.DialogFileTitle = QFileInfo(path).fileName().toStdString();
    state_.spectrum.OpenedFilePath = state_.DialogFileName;
    const bool read = form5_->OpenFile(format, state_.DialogFileName, state_.DialogFileTitle);
    if (read) {
        recent_->Add(QFileInfo(chosen).absoluteFilePath());
        FillRecentMenu();
    }
    return read;
}

QString MainWindow::LastFolder() const {
    QString last = QFile::decodeName(state_.spectrum.OpenedFilePath.c_str());
    if (last.isEmpty() && !recent_->Paths().isEmpty()) {
        last = recent_->Paths().front();
    }
    if (last.isEmpty()) {
        return QString();
    }
    return QFileInfo(QDir::fromNativeSeparators(last)).absolutePath();
}

void MainWindow::OpenCommand(FileFormat format) {
    try {
        form5_->EndPendingModes();
        PrepareOpen(format);
        form5_->EndPendingModes(true);
        const char* filter = ReaderOf(format).dialogFilter;
        const std::optional<QString> chosen = prompts_.OpenFileNameIn(this, filter, LastFolder());
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        ReadChosenFile(format, *chosen);
    } catch (const std::exception&) {
        // The open commands end quietly on errors; the pointer and input are
        // restored on the way out.
    }
}

QString MainWindow::OpenAnyFilter() {
    QStringList every;
    QStringList each;
    for (const ReaderEntry& reader : ReaderTable()) {
        QStringList patterns;
        for (std::string_view extension : reader.extensions) {
            patterns << "*" + QString::fromLatin1(extension.data(),
                                                  static_cast<qsizetype>(extension.size()));
        }
        if (patterns.isEmpty()) {
            continue;
        }
        each << FormatDescription(reader.format) + " (" + patterns.join(' ') + ")"
             << patterns.join(';');
        for (const QString& pattern : patterns) {
            if (!every.contains(pattern)) {
                every << pattern;
            }
        }
    }
    return "All supported files (" + every.join(' ') + ")|" + every.join(';') + "|" +
           each.join('|') + "|All Files(*.*)|*.*";
}

void MainWindow::OpenAnyCommand() {
    try {
        form5_->EndPendingModes();
        CloseHeaderDetails();
        form5_->EndPendingModes(true);
        const std::optional<QString> chosen =
            prompts_.OpenFileNameIn(this, OpenAnyFilter(), LastFolder());
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        OpenPath(*chosen);
    } catch (const std::exception&) {
        // As the other open commands: quietly ended.
    }
}

bool MainWindow::OpenPath(const QString& path, std::optional<FileFormat> format) {
    try {
        form5_->EndPendingModes();
        if (!format) {
            format = FormatForFile(path);
        }
        if (!format) {
            CloseHeaderDetails();
            const QString why = QFileInfo(path).isFile()
                                    ? "The file is none of the kinds this program reads:"
                                    : "The file cannot be found:";
            prompts_.Message(this, QMessageBox::Critical, kReadFailureTitle,
                             why + "\r\n" + QDir::toNativeSeparators(path), QMessageBox::Ok);
            return false;
        }
        PrepareOpen(*format);
        form5_->EndPendingModes(true);
        return ReadChosenFile(*format, path);
    } catch (const std::exception&) {
        return false;
    }
}

void MainWindow::LineClick() {
    form5_->EndPendingModes();
    MenuAction("mnuLine")->setChecked(true);
    MenuAction("mnuPoints")->setChecked(false);
    state_.graph.mnuLineChecked = true;
    form5_->Redraw();
}

void MainWindow::PointsClick() {
    form5_->EndPendingModes();
    MenuAction("mnuPoints")->setChecked(true);
    MenuAction("mnuLine")->setChecked(false);
    state_.graph.mnuLineChecked = false;
    form5_->Redraw();
}

void MainWindow::OptionsClick() {
    form5_->EndPendingModes();
    OptionsDialog dialog(
        state_.settings, [this] { SaveSettings(); }, this);
    prompts_.Exec(dialog);
}

void MainWindow::AboutClick() {
    form5_->EndPendingModes();
    AboutBox box(prompts_, systemInfo_, this);
    prompts_.Exec(box);
}

void MainWindow::GatedCommand() {
    form5_->EndPendingModes();
}

void MainWindow::CopyPreviewCommand() {
    form5_->EndPendingModes();
    copyPreview_->ShowAndDraw();
}

void MainWindow::HeaderDetailsCommand() {
    form5_->EndPendingModes();
    headerDetails_->Show();
}

void MainWindow::HeaderEditorCommand() {
    form5_->EndPendingModes();
    form5_->EditSampleLabels();
}

void MainWindow::CopyDataCommand(ExportText which) {
    form5_->EndPendingModes();
    // The two Y texts are the long ones.
    const BusyPointer busy(which != ExportText::X);
    const std::string& text = ExportTextOf(state_.spectrum, which);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void MainWindow::SaveDataCommand(ExportText which) {
    form5_->EndPendingModes();
    const QString proposed = QFile::decodeName(DefaultSaveName(state_.spectrum, which).c_str());
    const std::optional<QString> chosen = prompts_.SaveFileName(this, kTextFilter, proposed);
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const std::string bytes = SavedFileBytes(state_.spectrum, which);
    const WriteOutcome written =
        WriteWholeFile(*chosen, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!written.ok) {
        // Told to the user rather than passed over: the data did not reach the
        // file, and an earlier file of that name is still as it was.
        prompts_.Message(this, QMessageBox::Warning, "Cannot save file!",
                         QString::fromStdString(written.message) +
                             "\r\n\r\nThe data were not saved; an existing file of that name "
                             "is unchanged.",
                         QMessageBox::Ok);
    }
}

std::span<const std::int16_t> MainWindow::MarkedPeaks() const {
    const PeakList& peaks = state_.graph.peaks;
    const auto count = static_cast<std::size_t>(
        std::clamp<int>(peaks.PeakCount, 0, static_cast<int>(peaks.PeakPoints.size())));
    return {peaks.PeakPoints.data(), count};
}

bool MainWindow::PeaksMarkedOrTold() {
    if (!MarkedPeaks().empty()) {
        return true;
    }
    prompts_.Message(this, QMessageBox::Information, "Peak Table",
                     "No peaks are marked.\r\n\r\nMark peaks with \"Peak Mark\" and a left "
                     "click on the graph first.",
                     QMessageBox::Ok);
    return false;
}

void MainWindow::CopyPeakTableCommand() {
    form5_->EndPendingModes();
    if (!PeaksMarkedOrTold()) {
        return;
    }
    const char separator = UserDecimalSeparator();
    const std::string text = PeakTableText(state_.spectrum, MarkedPeaks(), separator);
    const std::string html = PeakTableHtml(state_.spectrum, MarkedPeaks(), separator);
    // Plain text for editors, an HTML table that office programs paste as
    // cells.
    auto* mime = new QMimeData;
    mime->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    mime->setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void MainWindow::SavePeakTableCommand() {
    form5_->EndPendingModes();
    if (!PeaksMarkedOrTold()) {
        return;
    }
    // The proposed name follows the opened file as the data saves do:
    // "sample.jdx" gives "sample(Peaks).csv" beside it.
    const QString opened = QFile::decodeName(state_.spectrum.OpenedFilePath.c_str());
    const QFileInfo base(opened.isEmpty() ? QString("Demo.sp") : opened);
    const QString name = base.completeBaseName() + "(Peaks).csv";
    const QString proposed =
        opened.isEmpty() ? name : QDir::toNativeSeparators(QDir(base.path()).filePath(name));
    const std::optional<QString> chosen = prompts_.SaveFileName(this, kCsvFilter, proposed);
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const std::string bytes = PeakTableCsv(state_.spectrum, MarkedPeaks());
    const WriteOutcome written =
        WriteWholeFile(*chosen, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!written.ok) {
        prompts_.Message(this, QMessageBox::Warning, "Cannot save file!",
                         QString::fromStdString(written.message) +
                             "\r\n\r\nThe peak table was not saved; an existing file of that "
                             "name is unchanged.",
                         QMessageBox::Ok);
    }
}

void MainWindow::ExitClick() {
    QApplication::quit();
}

namespace {

// The first local file among the dropped URLs, or an empty text.
QString DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return QString();
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) {
            return url.toLocalFile();
        }
    }
    return QString();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (InputEnabled() && !DroppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (!InputEnabled() || path.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // The drag ends first: the reader's message box must not open while the
    // file manager still waits for the drop to be answered.
    QTimer::singleShot(0, this, [this, path] { OpenPath(path); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

}  // namespace halvorn
