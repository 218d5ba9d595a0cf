// The mouse on the plot area: turns moves, presses and releases over Picture1
// into the readout, peak marking and label moving functions, and tells the
// spectrum window what to show. The picker keeps the readout's values and the
// drag in progress; the window owns the widgets and the redraw.
//
// Moves over the panels around the plot and over the window's background
// clear the readout; a move over the floating peak label hides it.
#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>

#include <optional>

#include "interaction/label_moving.h"
#include "interaction/readout.h"

class QMouseEvent;
class QWidget;

namespace halvorn {

class PictureBox;
struct ViewerState;

class PlotPicker : public QObject {
    Q_OBJECT
  public:
    // Watches the plot area (mouse tracking on). The picker is a child of
    // parent and lives as long as it.
    PlotPicker(ViewerState& state, PictureBox& plot, QObject* parent);

    // A panel around the plot: a move over it (or over its inside) clears the
    // readout.
    void WatchPanel(PictureBox* panel);
    // The window itself: a move over its background, not over a child,
    // clears the readout.
    void WatchBackground(QWidget* window);
    // The floating peak label: a move over it hides it.
    void WatchFloatingLabel(QWidget* label);

    const ReadoutFields& Fields() const { return fields_; }
    bool Dragging() const { return grab_.has_value(); }

    // The mouse handling of the plot, in plot pixels; public so that the
    // window's tests can run them with exact coordinates.
    void MouseMove(Qt::MouseButtons buttons, float x, float y);
    void MousePress(Qt::MouseButton button, float x, float y);
    void MouseRelease(Qt::MouseButton button);
    // The panels and the background: the four fields emptied, Line5 and
    // Label19 hidden.
    void Clear();
    // Ends a drag without storing it (label moving has ended).
    void CancelDrag();

  signals:
    // The readout fields, Line5 or Label19 changed.
    void readoutChanged(const halvorn::ReadoutFields& fields);
    // The drag frame Shape1: shown at frame, moved, or hidden.
    void dragFrameChanged(bool visible, const QRectF& frame);
    // A click in peak-mark mode marked or unmarked a peak: relayout and redraw.
    void peakListChanged();
    // A click in peak-mark mode would mark a 31st peak.
    void tooManyPeaks();
    // A left press in label-moving mode.
    void wrongMouseButton();
    // A label was dropped in its new place: redraw without relayout.
    void labelDropped();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool PlotEvent(QEvent* event);

    ViewerState& state_;
    PictureBox& plot_;
    // The plot's inside, kept apart from plot_: while the plot is destroyed
    // its children still send events here, when plot_ is no PictureBox any more.
    QWidget* plotClient_ = nullptr;
    QWidget* background_ = nullptr;
    QWidget* floatingLabel_ = nullptr;
    ReadoutFields fields_;
    std::optional<LabelGrab> grab_;
    FramePosition frame_;
};

}  // namespace halvorn
