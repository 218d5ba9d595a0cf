#include "window/memory_panel.h"

#include <QStringList>
#include <QTimer>

#include "core/memory_status.h"

namespace halvorn {

MemoryPanel::MemoryPanel(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
    setObjectName("Picture3");
    // The panel shows text: its name is the text itself, the control name
    // goes into the description.
    setAccessibleDescription("Picture3");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(4);
    setTextFormat(Qt::PlainText);
    hide();

    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &MemoryPanel::RefreshFigures);
    timer_->start();
}

void MemoryPanel::ShowFigures(const MemoryStatus& status) {
    QStringList lines;
    for (const std::string& line : MemoryPanelLines(status)) {
        lines << QString::fromStdString(line);
    }
    setText(lines.join('\n'));
}

void MemoryPanel::RefreshFigures() {
    ShowFigures(QueryMemoryStatus());
}

void MemoryPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    hide();
    QLabel::mouseDoubleClickEvent(event);
}

}  // namespace halvorn
