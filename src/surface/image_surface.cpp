#include "surface/image_surface.h"

#include <QPainter>
#include <algorithm>

#include "surface/line_walk.h"

namespace halvorn {

ImageSurface::ImageSurface(int width, int height, Rgb background)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32),
      objects_(LazyQtFont{}, LazyQtFont{}) {
    image_.fill(ToQRgb(background));
}

void ImageSurface::EnsureFormat() {
    if (image_.format() != QImage::Format_RGB32 && image_.format() != QImage::Format_ARGB32) {
        image_.convertTo(QImage::Format_RGB32);
    }
}

void ImageSurface::Clear(Rgb colour) {
    EnsureFormat();
    image_.fill(ToQRgb(colour));
}

ObjectHandle ImageSurface::CreatePen(Rgb colour) {
    return objects_.AddPen(colour, LazyQtFont{});
}

ObjectHandle ImageSurface::CreateFont(const FontRequest& font) {
    return objects_.AddFont(font, LazyQtFont{});
}

ObjectHandle ImageSurface::SelectObject(ObjectHandle object) {
    const ObjectHandle previous = objects_.Select(object);
    penColour_ = ToQRgb(objects_.Pen().colour);
    return previous;
}

void ImageSurface::DeleteObject(ObjectHandle object) {
    objects_.Delete(object);
}

Rgb ImageSurface::SetTextColor(Rgb colour) {
    return std::exchange(textColour_, colour);
}

void ImageSurface::MoveTo(int x, int y) {
    currentX_ = x;
    currentY_ = y;
}

void ImageSurface::LineTo(int x, int y) {
    EnsureFormat();
    if (!image_.isNull()) {
        uchar* const bits = image_.bits();
        const qsizetype stride = image_.bytesPerLine();
        const QRgb colour = penColour_;
        WalkLine(currentX_, currentY_, x, y, LineClip{0, 0, image_.width(), image_.height()},
                 [bits, stride, colour](int px, int py) {
                     reinterpret_cast<QRgb*>(bits + py * stride)[px] = colour;
                 });
    }
    currentX_ = x;
    currentY_ = y;
}

void ImageSurface::SetPixel(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height()) {
        EnsureFormat();
        reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = ToQRgb(colour);
    }
}

Rgb ImageSurface::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return 0xFFFFFFFF;
    }
    return FromQRgb(image_.pixel(x, y));
}

void ImageSurface::TextOut(int x, int y, std::string_view text) {
    if (text.empty() || image_.isNull()) {
        return;
    }
    EnsureFormat();
    auto& entry = objects_.Font();
    const QtFont& font = Resolved(entry.payload, entry.font, false);
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawTextAt(painter, font, x, y, TextFor(font, text), ToQColor(textColour_));
}

void ImageSurface::FillRect(int left, int top, int right, int bottom, Rgb colour) {
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(right, image_.width());
    const int y1 = std::min(bottom, image_.height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    EnsureFormat();
    const QRgb value = ToQRgb(colour);
    for (int y = y0; y < y1; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
        std::fill(row + x0, row + x1, value);
    }
}

}  // namespace halvorn
