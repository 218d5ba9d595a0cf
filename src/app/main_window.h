// The main window "Halvorn_Mod": a multiple-document frame holding the
// spectrum window, the menu bar, start-up and the routing of every menu
// command. Commands first end peak marking and label moving (the gating step)
// so that no mode is left half-done.
#pragma once

#include <QMainWindow>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "app/about_box.h"
#include "core/export_text.h"
#include "import/readers.h"
#include "options/settings_store.h"
#include "window/viewer_state.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QMdiArea;
class QMenu;
class QMdiSubWindow;

namespace halvorn {

class CopyPreviewWindow;
class HeaderDetailsHost;
class Prompts;
class RecentFiles;
class SpectrumWindow;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    // programFolder is the executable's folder (Demo.sp, the settings file and
    // the metafile are there); configFolder, when given, replaces the user's
    // configuration folder for the settings file.
    MainWindow(const QString& programFolder, Prompts& prompts,
               const QString& configFolder = QString(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up: settings, the demonstration spectrum, the spectrum window.
    // With a file named (the command line), that file is opened instead of the
    // demonstration spectrum; when it cannot be read the demonstration
    // spectrum is shown after the reader's message.
    void Start(const QString& initialFile = QString());

    ViewerState& State() { return state_; }
    SpectrumWindow* Form5() const { return form5_; }
    QMdiSubWindow* Form5Frame() const { return form5Frame_; }
    const SettingsStore& Settings() const { return store_; }
    // A menu entry or separator by its control name ("mnuOpenIRfile").
    QAction* MenuAction(const QString& name) const;
    // Whether the window takes input (it does not while a file is read).
    bool InputEnabled() const;

    void SetSystemInfoTool(SystemInfoTool tool) { systemInfo_ = std::move(tool); }

    // Commands, as the menu entries run them.
    void OpenCommand(FileFormat format);
    // "Open...": any format the reader table knows, chosen from the file.
    void OpenAnyCommand();
    // Opens a file whose name is known (the command line, a drop, the recent
    // files), as the Open commands open the file chosen in their dialog: modes
    // ended, the format's preparations, the header details closed. The format
    // is the reader table's choice for the file unless given. True when the
    // file was read.
    bool OpenPath(const QString& path, std::optional<FileFormat> format = std::nullopt);
    // The files opened last, newest first, as the "Recent Files" menu lists
    // them.
    QStringList RecentFilePaths() const;
    // The filter of the "Open..." dialog: every supported file, each format,
    // every file.
    static QString OpenAnyFilter();
    void LineClick();
    void PointsClick();
    void OptionsClick();
    void AboutClick();
    void ExitClick();
    void GatedCommand();
    // "Spectrum Copy Preview" (Edit and View menus, and the spectrum window's
    // "Cpy/Prt"), "File Header Details" and "Spectrum Header Editor".
    void CopyPreviewCommand();
    void HeaderDetailsCommand();
    void HeaderEditorCommand();

    CopyPreviewWindow* CopyPreview() const { return copyPreview_; }
    HeaderDetailsHost* HeaderDetails() const { return headerDetails_; }
    // The data export commands: one of the three texts to the clipboard as
    // plain text, or to a text file chosen in the Save dialog.
    void CopyDataCommand(ExportText which);
    void SaveDataCommand(ExportText which);
    // The marked peaks: to the clipboard as text and as an HTML table, or to
    // a CSV file; a message when none are marked.
    void CopyPeakTableCommand();
    void SavePeakTableCommand();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void FillRecentMenu();
    void UpdatePeakTableEntries();
    std::span<const std::int16_t> MarkedPeaks() const;
    bool PeaksMarkedOrTold();
    // The format's own preparations of the multiplier controls, and the
    // header details closed, in the order each Open command has them.
    void PrepareOpen(FileFormat format);
    // Reads the chosen file with the busy pointer and input held.
    bool ReadChosenFile(FileFormat format, const QString& chosen);
    // The folder an Open dialog shows first: that of the last opened file.
    QString LastFolder() const;
    void LoadSettings();
    void SaveSettings();
    void CloseHeaderDetails();
    void SetInputEnabled(bool enabled);
    void ShowExportCaptions();

    Prompts& prompts_;
    SettingsStore store_;
    ViewerState state_;
    QMdiArea* area_ = nullptr;
    SpectrumWindow* form5_ = nullptr;
    QMdiSubWindow* form5Frame_ = nullptr;
    SystemInfoTool systemInfo_;
    CopyPreviewWindow* copyPreview_ = nullptr;
    HeaderDetailsHost* headerDetails_ = nullptr;
    std::unique_ptr<RecentFiles> recent_;
    QMenu* recentMenu_ = nullptr;
};

}  // namespace halvorn
