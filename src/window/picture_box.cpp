#include "window/picture_box.h"

#include <QPainter>

namespace halvorn {

namespace {

// The inside of a box: paints the box's image under the child areas.
class PictureClient : public QWidget {
  public:
    PictureClient(PictureBox* box) : QWidget(box), box_(box) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, box_->Image());
    }

  private:
    PictureBox* box_;
};

}  // namespace

PictureBox::PictureBox(const QString& name, int border, QWidget* parent)
    : QWidget(parent), border_(border), surface_(0, 0), client_(new PictureClient(this)) {
    setObjectName(name);
    setAccessibleName(name);
    client_->setObjectName(name + "Client");
    client_->move(border_, border_);
}

void PictureBox::SetBackColor(const QColor& colour) {
    back_ = colour;
    Clear();
}

ImageSurface& PictureBox::Dc() {
    FollowSize();
    return surface_;
}

void PictureBox::Clear() {
    FollowSize();
    surface_.Clear(MakeRgb(back_.red(), back_.green(), back_.blue()));
    Refresh();
}

void PictureBox::Refresh() {
    client_->update();
}

void PictureBox::resizeEvent(QResizeEvent*) {
    FollowSize();
}

void PictureBox::FollowSize() {
    const QSize inner(InnerWidth(), InnerHeight());
    if (client_->size() != inner) {
        client_->resize(inner);
    }
    QImage& image = surface_.Image();
    if (image.size() == inner) {
        return;
    }
    // Keep what was drawn where it still fits, like a persistent drawing.
    QImage resized(inner, QImage::Format_RGB32);
    resized.fill(back_);
    if (!image.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, image);
    }
    image = resized;
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (border_ == 0) {
        return;
    }
    // A sunken frame: dark grey and black outside, white and light grey inside.
    QPainter p(this);
    const int w = width();
    const int h = height();
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(Qt::white);
    p.drawLine(0, h - 1, w - 1, h - 1);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    if (border_ > 1) {
        p.setPen(QColor(64, 64, 64));
        p.drawLine(1, 1, w - 2, 1);
        p.drawLine(1, 1, 1, h - 2);
        p.setPen(QColor(212, 208, 200));
        p.drawLine(1, h - 2, w - 2, h - 2);
        p.drawLine(w - 2, 1, w - 2, h - 2);
    }
}

}  // namespace halvorn
