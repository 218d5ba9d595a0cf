// The spectrum window's small tools: the limits dialog, the sample labels and
// their editor, the header details and copy-preview triggers, the memory
// panel, the trace stride ("StepPt") and the JCAMP-DX multiplier with
// "Restart".
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

#include "core/numbers.h"
#include "window/graph_window.h"
#include "window/header_editor.h"
#include "window/limits_dialog.h"
#include "window/memory_panel.h"
#include "window/picture_box.h"
#include "window/prompts.h"

namespace halvorn {

namespace {

// The memory panel lies over the upper left part of the graph.
constexpr int kMemoryPanelLeft = 64;
constexpr int kMemoryPanelTop = 100;
constexpr int kMemoryPanelWidth = 400;
constexpr int kMemoryPanelHeight = 110;

// Runs an action on a double click of the widgets it is installed on; the
// click itself goes on to the widget.
class DoubleClickFilter : public QObject {
  public:
    DoubleClickFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            action_();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> action_;
};

// A number typed in a tool box: the lenient reader's value, 0 when the text
// holds none or one beyond any range.
double BoxNumber(const QString& text) {
    try {
        return ParseNumber(text.toStdString());
    } catch (const ArithmeticFault&) {
        return 0;
    }
}

}  // namespace

void SpectrumWindow::BuildTools() {
    auto* labelFilter = new DoubleClickFilter(this, [this] { EditSampleLabels(); });
    for (QLabel* label : label14_) {
        label->installEventFilter(labelFilter);
    }
    // The whole list answers, its empty part below the lines too.
    headerList_->viewport()->installEventFilter(
        new DoubleClickFilter(this, [this] { HeaderListDoubleClick(); }));

    auto* panel = new MemoryPanel(this);
    panel->setGeometry(kMemoryPanelLeft, kMemoryPanelTop, kMemoryPanelWidth, kMemoryPanelHeight);
    memoryPanel_ = panel;
    if (auto* mem = findChild<QPushButton*>("Command15")) {
        connect(mem, &QPushButton::clicked, this, &SpectrumWindow::MemClick);
    }

    connect(command18_, &QPushButton::clicked, this, &SpectrumWindow::RestartClick);
    connect(multGlobalBox_, &QLineEdit::returnPressed, this, &SpectrumWindow::RestartClick);
}

void SpectrumWindow::SelClick() {
    EndPendingModes();
    // "*2" stays off while a typed range is shown; the dialog enables it again
    // when the whole spectrum is shown.
    command6_->setEnabled(false);
    FormLimits dialog(
        state_.spectrum, state_.settings, prompts_, [this] { Redraw(); },
        [this] { command6_->setEnabled(true); }, window());
    prompts_.Exec(dialog);
    picture1_->setFocus();
}

void SpectrumWindow::EditSampleLabels() {
    HeaderEditor editor(window());
    for (std::size_t i = 0; i < label14_.size(); ++i) {
        editor.SetRow(static_cast<int>(i), label14_[i]->text(), !label14_[i]->isHidden());
    }
    editor.CentreOnScreen();
    if (prompts_.Exec(editor) != QDialog::Accepted) {
        return;
    }
    for (std::size_t i = 0; i < label14_.size(); ++i) {
        const int row = static_cast<int>(i);
        // The labels hold Latin-1 text where it can hold the edited text, and
        // UTF-8 (which every display reads as such) where it cannot.
        const QString text = editor.RowText(row);
        const bool latin1 =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
        state_.spectrum.Label14[i] = latin1 ? text.toLatin1().toStdString() : text.toStdString();
        state_.Label14Visible[i] = editor.RowVisible(row);
        QLabel* label = label14_[i];
        label->setText(text);
        if (i > 0) {
            label->adjustSize();
        }
        label->setVisible(editor.RowVisible(row));
    }
}

void SpectrumWindow::CopyPrintClick() {
    EndPendingModes();
    emit copyPreviewRequested();
}

void SpectrumWindow::FileDetailsClick() {
    EndPendingModes();
    picture1_->setFocus();
    emit headerDetailsRequested();
}

void SpectrumWindow::HeaderListDoubleClick() {
    emit headerDetailsRequested();
}

void SpectrumWindow::MemClick() {
    auto* panel = static_cast<MemoryPanel*>(memoryPanel_);
    panel->RefreshFigures();
    panel->show();
    panel->raise();
}

void SpectrumWindow::StepPtClick() {
    EndPendingModes();
    // The trace needs a stride of at least 1 point; a box that does not give
    // one within the 16-bit range is taken as 1, and then shows it.
    std::int16_t step = 0;
    try {
        step = ToInteger(BoxNumber(text2_->text()));
    } catch (const ArithmeticFault&) {
        step = 0;
    }
    if (step < 1) {
        step = 1;
        text2_->setText("1");
    }
    state_.graph.PointStep = step;
    Redraw();
}

void SpectrumWindow::RestartClick() {
    const std::string text = CommaToPoint(multGlobalBox_->text().toStdString());
    multGlobalBox_->setText(QString::fromStdString(text));
    state_.spectrum.MultGlobal = BoxNumber(multGlobalBox_->text());
    try {
        // The read shows its own message when the file cannot be read.
        OpenFile(FileFormat::Jcamp, state_.DialogFileName, state_.DialogFileTitle);
    } catch (...) {
        // Nothing may end the program here: the window keeps what it shows.
    }
}

}  // namespace halvorn
