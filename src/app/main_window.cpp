#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include <exception>

#include "options/options_dialog.h"
#include "output/copy_preview.h"
#include "output/header_details.h"
#include "render/whole_file.h"
#include "window/graph_window.h"
#include "window/prompts.h"

namespace halvorn {

namespace {

const char* const kTextFilter = "Text (*.txt)|*.txt|All Files(*.*)|*.*";

// One entry of the menu tree: control name and caption; an empty caption is a
// separator.
struct MenuEntry {
    const char* name;
    const char* caption;
    bool hidden = false;
};

struct MenuTitle {
    const char* name;
    const char* caption;
    std::vector<MenuEntry> entries;
};

const std::vector<MenuTitle>& MenuTree() {
    static const std::vector<MenuTitle> tree = {
        {"mnuFile",
         "File",
         {{ReaderOf(FileFormat::Sp).menuName, ReaderOf(FileFormat::Sp).menuCaption},
          {ReaderOf(FileFormat::Jcamp).menuName, ReaderOf(FileFormat::Jcamp).menuCaption},
          {ReaderOf(FileFormat::Prn).menuName, ReaderOf(FileFormat::Prn).menuCaption},
          {"mnuSepr", ""},
          {"mnuSaveDataX", "Save Data (Calculated X values only) As..."},
          {"mnuSaveDataYPercent", "Save Data (Calculated Y % values only) As..."},
          {"mnuSep1", ""},
          {"mnuSaveDataAs", "Save Data (Original Y values only) As..."},
          {"mnuSP", ""},
          {"mnuSairItem", "Exit"}}},
        {"mnuEdit",
         "Edit",
         {{"mnuCopyX", "Copy X Data (calculated X values)"},
          {"mnuCopyYPercent", "Copy Y % values (calculated from file values)"},
          {"mnuSep", ""},
          {"mnuCopyData", "Copy Y Data (original Y values from file)"},
          {"mnuSep3", ""},
          {"mnuSpecCopyPrvw", "Spectrum Copy Preview"},
          {"mnuCopySpectrum", "Copy Spectrum (as bitmap)", true}}},
        {"mnuView",
         "View",
         {{"mnuSPCP", "Spectrum Copy Preview"}, {"mnuFileHeaderDetais", "File Header Details"}}},
        {"mnuIRGraph",
         "IR Graph",
         {{"mnuLine", "Line"},
          {"mnuPoints", "Points"},
          {"sep1", ""},
          {"mnuAddSpName", "Add Spectrum Name", true},
          {"mnuRemoveSpName", "Remove Spectrum Name", true},
          {"mnuEditHeader", "Spectrum Header Editor"},
          {"sep", ""},
          {"mnuOptions", "Options"}}},
        {"mnuHelp",
         "Help",
         {{"mnuWhatisitfor", "What is it for?", true},
          {"mnuHowdoI", "How do I?", true},
          {"mnuSep5", "", true},
          {"mnuAbout", "About..."}}},
    };
    return tree;
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
    setCentralWidget(area_);
    BuildMenus();

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
    resize(form5Frame_->sizeHint().width() + 24, form5Frame_->sizeHint().height() + 48);
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
        QMenu* menu = menuBar()->addMenu(title.caption);
        menu->setObjectName(title.name);
        for (const MenuEntry& entry : title.entries) {
            QAction* action =
                entry.caption[0] == '\0' ? menu->addSeparator() : menu->addAction(entry.caption);
            action->setObjectName(entry.name);
            action->setVisible(!entry.hidden);
        }
    }
    MenuAction("mnuLine")->setCheckable(true);
    MenuAction("mnuLine")->setChecked(true);
    MenuAction("mnuPoints")->setCheckable(true);

    const auto on = [this](const char* name, auto handler) {
        connect(MenuAction(name), &QAction::triggered, this, handler);
    };
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

void MainWindow::Start() {
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
    MenuAction("mnuCopyYPercent")
        ->setText(QString::fromLatin1(state_.spectrum.mnuCopyYPercentCaption.c_str()));
    MenuAction("mnuSaveDataYPercent")
        ->setText(QString::fromLatin1(state_.spectrum.mnuSaveDataYPercentCaption.c_str()));
}

void MainWindow::OpenCommand(FileFormat format) {
    try {
        form5_->EndPendingModes();
        switch (format) {
            case FileFormat::Sp:
                CloseHeaderDetails();
                form5_->SetMultGlobalControlsVisible(false);
                state_.spectrum.MultGlobal = 1.0;
                break;
            case FileFormat::Jcamp:
                form5_->SetMultGlobalControlsVisible(true);
                state_.spectrum.MultGlobal = 1.0;
                form5_->SetMultGlobalBoxText("1");
                CloseHeaderDetails();
                break;
            case FileFormat::Prn:
                state_.spectrum.MultGlobal = 1.0;
                form5_->SetMultGlobalBoxText("1");
                CloseHeaderDetails();
                break;
        }
        form5_->EndPendingModes(true);
        const char* filter = ReaderOf(format).dialogFilter;
        const std::optional<QString> chosen = prompts_.OpenFileName(this, filter);
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        BusyScope busy([this](bool enabled) { SetInputEnabled(enabled); });
        const QString path = QDir::toNativeSeparators(*chosen);
        state_.DialogFileName = QFile::encodeName(path).toStdString();
        state_.DialogFileTitle = QFileInfo(path).fileName().toLatin1().toStdString();
        state_.spectrum.OpenedFilePath = state_.DialogFileName;
        form5_->OpenFile(format, state_.DialogFileName, state_.DialogFileTitle);
    } catch (const std::exception&) {
        // The open commands end quietly on errors; the pointer and input are
        // restored on the way out.
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

void MainWindow::ExitClick() {
    QApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

}  // namespace halvorn
