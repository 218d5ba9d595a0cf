// A drawing area of the spectrum window: a box with an optional sunken border
// whose inside shows a backing image. Drawing goes into the image and the
// widget shows it, so what was drawn stays until the area is cleared and can
// be read back pixel by pixel.
//
// Child areas are placed on Client(), the inside of the border, so that their
// positions are measured from the inner top-left corner, like the drawing.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

#include <algorithm>

#include "surface/image_surface.h"

namespace halvorn {

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    // border is the width of the sunken frame in pixels (0 or 2).
    PictureBox(const QString& name, int border, QWidget* parent);

    QWidget* Client() const { return client_; }
    // The drawing surface on the backing image.
    ImageSurface& Dc();
    QImage& Image() { return Dc().Image(); }
    const QImage& Image() const { return surface_.Image(); }

    int Border() const { return border_; }
    int InnerWidth() const { return std::max(0, width() - 2 * border_); }
    int InnerHeight() const { return std::max(0, height() - 2 * border_); }

    QColor BackColor() const { return back_; }
    void SetBackColor(const QColor& colour);

    // Fills the image with the background colour.
    void Clear();
    // Shows what has been drawn into the image.
    void Refresh();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // A box that is not shown yet hears of its new size only when it is
    // shown; the image and the inside follow the size at once instead.
    void FollowSize();

    int border_;
    QColor back_ = Qt::white;
    ImageSurface surface_;
    QWidget* client_;
};

}  // namespace halvorn
