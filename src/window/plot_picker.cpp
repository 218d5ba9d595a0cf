#include "window/plot_picker.h"

#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include "interaction/peak_marking.h"
#include "window/picture_box.h"
#include "window/viewer_state.h"

namespace halvorn {

PlotPicker::PlotPicker(ViewerState& state, PictureBox& plot, QObject* parent)
    : QObject(parent), state_(state), plot_(plot), plotClient_(plot.Client()) {
    plotClient_->setMouseTracking(true);
    plotClient_->installEventFilter(this);
}

void PlotPicker::WatchPanel(PictureBox* panel) {
    for (QWidget* w : {static_cast<QWidget*>(panel), panel->Client()}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

void PlotPicker::WatchBackground(QWidget* window) {
    background_ = window;
    window->setMouseTracking(true);
    window->installEventFilter(this);
}

void PlotPicker::WatchFloatingLabel(QWidget* label) {
    floatingLabel_ = label;
    label->setMouseTracking(true);
    label->installEventFilter(this);
}

bool PlotPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plotClient_) {
        return PlotEvent(event);
    }
    if (event->type() != QEvent::MouseMove) {
        return false;
    }
    if (watched == floatingLabel_) {
        // The label stands next to the cursor; running onto it hides it.
        if (fields_.Label19Visible) {
            fields_.Label19Visible = false;
            emit readoutChanged(fields_);
        }
        return true;
    }
    if (watched == background_) {
        // Moves over the window's children reach the window too; only its
        // bare background clears.
        const auto* move = static_cast<QMouseEvent*>(event);
        if (background_->childAt(move->position().toPoint()) == nullptr) {
            Clear();
        }
        return false;
    }
    Clear();
    return true;
}

bool PlotPicker::PlotEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* e = static_cast<QMouseEvent*>(event);
            MouseMove(e->buttons(), static_cast<float>(e->position().x()),
                      static_cast<float>(e->position().y()));
            return true;
        }
        case QEvent::MouseButtonPress: {
            const auto* e = static_cast<QMouseEvent*>(event);
            MousePress(e->button(), static_cast<float>(e->position().x()),
                       static_cast<float>(e->position().y()));
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto* e = static_cast<QMouseEvent*>(event);
            MouseRelease(e->button());
            return true;
        }
        default:
            return false;
    }
}

void PlotPicker::MouseMove(Qt::MouseButtons buttons, float x, float y) {
    const ReadoutStep step =
        MoveReadout(fields_, state_.graph.peaks, state_.spectrum, state_.graph.mapping,
                    state_.settings, state_.spectrum.Loading, state_.PeakMarkMode, x, y,
                    plot_.InnerWidth(), plot_.InnerHeight(), state_.graph.DecimalSeparator);
    if (step == ReadoutStep::Ignored) {
        return;
    }
    // The drag frame follows the cursor only while it is on the plot, so it
    // stops at the plot's edge.
    if (step != ReadoutStep::Off && buttons.testFlag(Qt::RightButton) && grab_) {
        frame_ = DragFrameAt(*grab_, x, y);
        emit dragFrameChanged(true,
                              QRectF(frame_.Left, frame_.Top, grab_->box.Right - grab_->box.Left,
                                     grab_->box.Bottom - grab_->box.Top));
    }
    emit readoutChanged(fields_);
}

void PlotPicker::MousePress(Qt::MouseButton button, float x, float y) {
    if (button == Qt::LeftButton) {
        if (state_.PeakMarkMode && fields_.Label19Visible) {
            switch (TopCollecModify(state_.graph.peaks, state_.settings)) {
                case PeakToggle::Added:
                case PeakToggle::Removed:
                    emit peakListChanged();
                    break;
                case PeakToggle::TooMany:
                    emit tooManyPeaks();
                    break;
                case PeakToggle::NoCandidate:
                    break;
            }
        }
        if (state_.MoveLabelsMode) {
            emit wrongMouseButton();
        }
        return;
    }
    if (button != Qt::RightButton || !state_.MoveLabelsMode) {
        return;
    }
    // The colour under the cursor, read from the plot's own image.
    const QImage& image = plot_.Image();
    const std::int32_t px = PixelOf(x);
    const std::int32_t py = PixelOf(y);
    if (!image.valid(px, py)) {
        return;
    }
    const QRgb pixel = image.pixel(px, py);
    const std::optional<LabelGrab> grab =
        PickLabel(state_.graph.peaks, state_.settings, x, y,
                  MakeRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
    if (!grab) {
        return;
    }
    grab_ = grab;
    frame_ = {static_cast<float>(grab->box.Left), static_cast<float>(grab->box.Top)};
    emit dragFrameChanged(true, QRectF(frame_.Left, frame_.Top, grab->box.Right - grab->box.Left,
                                       grab->box.Bottom - grab->box.Top));
}

void PlotPicker::MouseRelease(Qt::MouseButton button) {
    if (button != Qt::RightButton || !grab_ || !state_.MoveLabelsMode) {
        return;
    }
    const LabelGrab grab = *grab_;
    grab_.reset();
    const bool stored =
        DropLabel(state_.graph.peaks, state_.settings, grab.MovingLabel, frame_.Left, frame_.Top,
                  grab.box.Right - grab.box.Left, grab.box.Bottom - grab.box.Top);
    emit dragFrameChanged(false, {});
    if (stored) {
        emit labelDropped();
    }
}

void PlotPicker::Clear() {
    ClearReadout(fields_);
    emit readoutChanged(fields_);
}

void PlotPicker::CancelDrag() {
    if (grab_) {
        grab_.reset();
        emit dragFrameChanged(false, {});
    }
}

}  // namespace halvorn
