// Prompts answered by script: every question a window asks is recorded, and
// answered from queues the test fills beforehand.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "window/prompts.h"

namespace halvorn {

class ScriptedPrompts : public Prompts {
  public:
    struct MessageRecord {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    // Answers of the Open dialogs in order; a null text (QString()) means
    // cancel, and so does an empty queue.
    std::deque<QString> openAnswers;
    // Answers of message boxes in order; when empty, the first button offered
    // of Yes and OK.
    std::deque<QMessageBox::StandardButton> messageAnswers;
    // What runs while a dialog of the program is shown; it decides the result
    // by pressing the dialog's buttons. Without one the dialog is rejected.
    std::deque<std::function<void(QDialog&)>> dialogScripts;
    // Runs while an Open dialog is up, before it is answered.
    std::function<void()> duringOpen;
    // Answers of the Save dialogs in order; a null text or an empty queue
    // means cancel.
    std::deque<QString> saveAnswers;

    QStringList openFilters;
    // The folder each Open dialog was to show first.
    QStringList openFolders;
    // Filter and proposed name of each Save dialog shown.
    QStringList saveFilters;
    QStringList saveDefaultNames;
    std::vector<MessageRecord> messages;
    QStringList dialogsShown;

    std::optional<QString> OpenFileNameIn(QWidget* parent, const QString& filter,
                                          const QString& folder) override {
        openFolders << folder;
        return OpenFileName(parent, filter);
    }

    std::optional<QString> OpenFileName(QWidget*, const QString& filter) override {
        openFilters << filter;
        if (duringOpen) {
            duringOpen();
        }
        if (openAnswers.empty()) {
            return std::nullopt;
        }
        const QString answer = openAnswers.front();
        openAnswers.pop_front();
        if (answer.isNull()) {
            return std::nullopt;
        }
        return answer;
    }

    std::optional<QString> SaveFileName(QWidget*, const QString& filter,
                                        const QString& defaultName) override {
        saveFilters << filter;
        saveDefaultNames << defaultName;
        if (saveAnswers.empty()) {
            return std::nullopt;
        }
        const QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        if (answer.isNull()) {
            return std::nullopt;
        }
        return answer;
    }

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons) override {
        messages.push_back({icon, title, text, buttons});
        if (!messageAnswers.empty()) {
            const QMessageBox::StandardButton answer = messageAnswers.front();
            messageAnswers.pop_front();
            return answer;
        }
        return buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    }

    int Exec(QDialog& dialog) override {
        dialogsShown << dialog.objectName();
        if (dialogScripts.empty()) {
            dialog.reject();
        } else {
            std::function<void(QDialog&)> script = dialogScripts.front();
            dialogScripts.pop_front();
            script(dialog);
        }
        return dialog.result();
    }
};

}  // namespace halvorn
