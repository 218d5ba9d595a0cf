// Every modal question the viewer asks goes through this small interface: the
// file dialogs, the message boxes and the modal dialogs of the program. The
// program uses QtPrompts; tests answer by script.
#pragma once

#include <QMessageBox>
#include <QString>

#include <optional>

class QDialog;
class QWidget;

namespace halvorn {

class Prompts {
  public:
    virtual ~Prompts() = default;

    // An Open dialog. filter is in the form "Description|patterns|Description|
    // patterns", as "Infrared Spectra (*.sp)|*.sp|All Files(*.*)|*.*". Returns
    // the chosen path, or nothing when the user cancels.
    virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& filter) = 0;

    // The same dialog, showing the given folder first (the folder of the last
    // opened file; empty for the dialog's own choice).
    virtual std::optional<QString> OpenFileNameIn(QWidget* parent, const QString& filter,
                                                  const QString& folder) {
        static_cast<void>(folder);
        return OpenFileName(parent, filter);
    }

    // A Save dialog with the filter (same form) and a proposed file name,
    // which may hold a folder. An existing file is replaced without asking.
    // Returns the chosen path, or nothing when the user cancels.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                                const QString& defaultName) = 0;

    // A message box; returns the button that closed it.
    virtual QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons) = 0;

    // Shows a dialog of the program modally; returns its result code.
    virtual int Exec(QDialog& dialog) = 0;
};

// Qt's own dialogs.
class QtPrompts : public Prompts {
  public:
    std::optional<QString> OpenFileName(QWidget* parent, const QString& filter) override;
    std::optional<QString> OpenFileNameIn(QWidget* parent, const QString& filter,
                                          const QString& folder) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& filter,
                                        const QString& defaultName) override;
    QMessageBox::StandardButton Message(QWidget* parent, QMessageBox::Icon icon,
                                        const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons) override;
    int Exec(QDialog& dialog) override;
};

// The filter list of a file dialog for a filter in the "Description|patterns"
// form. Each entry shows its description exactly; "*.*" matches every file.
QStringList NameFiltersOf(const QString& filter);

}  // namespace halvorn
