// The memory panel of the spectrum window (Picture3): six lines of memory
// figures, refreshed every second by its timer (Timer1) whether it is shown or
// not. "Mem" shows it; a double click hides it again.
#pragma once

#include <QLabel>

class QTimer;

namespace halvorn {

struct MemoryStatus;

class MemoryPanel : public QLabel {
    Q_OBJECT
  public:
    explicit MemoryPanel(QWidget* parent);

    // Writes the six lines of these figures.
    void ShowFigures(const MemoryStatus& status);
    // Queries the figures now and writes them.
    void RefreshFigures();

    QTimer* Timer1() const { return timer_; }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QTimer* timer_;
};

}  // namespace halvorn
