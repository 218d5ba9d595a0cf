// The header details window (FormHeader, "File Header Details"): the header
// lines of the loaded file, numbered, beside a description of the header of a
// *.sp file and under a title, both read from rich-text files in the program's
// folder.
//
// While the window exists it keeps some of the main window's menu entries out
// of reach: they are disabled when it loads and whenever it becomes the active
// window, enabled again when another window becomes active, and its own menu
// entry is hidden until it closes.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

#include "window/viewer_state.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QTextEdit;

namespace halvorn {

inline constexpr const char* kHeaderTitleFile = "HeaderTitle.rtf";
inline constexpr const char* kHeaderDescriptionFile = "PEFileHeader.rtf";

// The main window's entries whose state follows the header details window.
struct HeaderMenuItems {
    // Disabled while the window is loaded and active: the "Edit" menu and the
    // "IR Graph" submenu (their menuAction()), "Options" and the three
    // "Save Data ..." entries.
    std::vector<QAction*> disabledWhileShown;
    // "File Header Details": hidden while the window exists.
    QAction* detailsEntry = nullptr;
};

// The numbered header lines as the window shows them: one line per item of
// the header list (read as Latin-1 text), without the CR of the CR LF ends.
QString NumberedHeaderDisplayText(const std::vector<std::string>& headerList);

// The HTML a text box shows for a rich-text file, or a short note in place of
// it when the file is missing or cannot be read.
QString DescriptionFileHtml(const QString& folder, const QString& fileName);

class HeaderDetailsWindow : public QWidget {
    Q_OBJECT
  public:
    // Builds the window from the header list and the program folder of state
    // as they are now; it does not follow later changes. Loading the window
    // disables the menu entries and hides the details entry.
    HeaderDetailsWindow(const ViewerState& state, const HeaderMenuItems& items,
                        QWidget* parent = nullptr);
    // Enables the entries and shows the details entry again.
    ~HeaderDetailsWindow() override;

    bool IsClosed() const { return closed_; }

    QTextEdit* Title() const { return title_; }              // RichTextBox1
    QPlainTextEdit* HeaderLines() const { return lines_; }   // RText2
    QTextEdit* Description() const { return description_; }  // RText1

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void SetEntriesEnabled(bool enabled);
    void Unload();

    std::vector<QPointer<QAction>> disabledWhileShown_;
    QPointer<QAction> detailsEntry_;
    bool closed_ = false;

    QTextEdit* title_ = nullptr;
    QPlainTextEdit* lines_ = nullptr;
    QTextEdit* description_ = nullptr;
};

// Owns at most one header details window: the commands that open it bring an
// open one to the front instead of building a second, and the Open commands
// close it before a new file is read.
class HeaderDetailsHost : public QObject {
    Q_OBJECT
  public:
    // parentWindow (the main window) keeps the details window in front of it.
    HeaderDetailsHost(const ViewerState& state, HeaderMenuItems items,
                      QWidget* parentWindow = nullptr);
    ~HeaderDetailsHost() override;

    // Opens the window built from the loaded file's header, or raises and
    // activates the one that is open.
    void Show();
    // Closes the open window, if any.
    void Close();

    bool IsOpen() const;
    HeaderDetailsWindow* Window() const;

  private:
    const ViewerState& state_;
    HeaderMenuItems items_;
    QPointer<QWidget> parentWindow_;
    QPointer<HeaderDetailsWindow> window_;
};

}  // namespace halvorn
