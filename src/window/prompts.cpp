#include "window/prompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>

namespace halvorn {

QStringList NameFiltersOf(const QString& filter) {
    // Qt reads a filter's patterns from the last parentheses of its text and,
    // with HideNameFilterDetails, shows what stands before them: so the
    // patterns are appended in parentheses of their own after the description.
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype k = 0; k + 1 < parts.size(); k += 2) {
        QStringList patterns = parts[k + 1].split(';', Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            if (p == "*.*") {
                p = "*";
            }
        }
        filters << parts[k] + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

std::optional<QString> QtPrompts::OpenFileName(QWidget* parent, const QString& filter) {
    return OpenFileNameIn(parent, filter, QString());
}

std::optional<QString> QtPrompts::OpenFileNameIn(QWidget* parent, const QString& filter,
                                                 const QString& folder) {
    QFileDialog dialog(parent);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        dialog.setDirectory(folder);
    }
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(NameFiltersOf(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

std::optional<QString> QtPrompts::SaveFileName(QWidget* parent, const QString& filter,
                                               const QString& defaultName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program replaces an existing file of the chosen name without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(NameFiltersOf(filter));
    const QFileInfo proposed(defaultName);
    if (!defaultName.isEmpty() && proposed.path() != QLatin1String(".")) {
        dialog.setDirectory(proposed.absolutePath());
    }
    dialog.selectFile(proposed.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

QMessageBox::StandardButton QtPrompts::Message(QWidget* parent, QMessageBox::Icon icon,
                                               const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons) {
    // The program's texts end their lines with CR LF; the box wants LF alone.
    QString shown = text;
    shown.replace("\r\n", "\n");
    QMessageBox box(icon, title, shown, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

int QtPrompts::Exec(QDialog& dialog) {
    return dialog.exec();
}

}  // namespace halvorn
