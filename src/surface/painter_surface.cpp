#include "surface/painter_surface.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cstdlib>

namespace halvorn {

namespace {

// Centre of pixel (x, y) pulled back along the line's direction by half a
// step of its major axis.
QPointF PulledBack(int x, int y, int dx, int dy) {
    const double n = std::max(std::abs(dx), std::abs(dy));
    return {x + 0.5 - 0.5 * dx / n, y + 0.5 - 0.5 * dy / n};
}

}  // namespace

PainterSurface::PainterSurface(QPainter& painter)
    : painter_(painter), objects_(LazyQtFont{}, LazyQtFont{}) {}

PainterSurface::~PainterSurface() {
    FlushPending();
}

void PainterSurface::Flush() {
    FlushPending();
}

void PainterSurface::FlushPending() const {
    if (pending_.size() >= 2 && painter_.isActive()) {
        QPen pen(ToQColor(objects_.Pen().colour), 1.0, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
        painter_.save();
        painter_.setPen(pen);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPolyline(pending_);
        painter_.restore();
    }
    pending_.clear();
}

ObjectHandle PainterSurface::CreatePen(Rgb colour) {
    return objects_.AddPen(colour, LazyQtFont{});
}

ObjectHandle PainterSurface::CreateFont(const FontRequest& font) {
    return objects_.AddFont(font, LazyQtFont{});
}

ObjectHandle PainterSurface::SelectObject(ObjectHandle object) {
    if (const auto* entry = objects_.Find(object); entry && entry->kind == ObjectKind::Pen) {
        Flush();
    }
    return objects_.Select(object);
}

void PainterSurface::DeleteObject(ObjectHandle object) {
    objects_.Delete(object);
}

Rgb PainterSurface::SetTextColor(Rgb colour) {
    return std::exchange(textColour_, colour);
}

void PainterSurface::MoveTo(int x, int y) {
    Flush();
    currentX_ = x;
    currentY_ = y;
}

void PainterSurface::LineTo(int x, int y) {
    const int dx = x - currentX_;
    const int dy = y - currentY_;
    if (dx != 0 || dy != 0) {
        if (pending_.isEmpty()) {
            // Start at the outer edge of the first pixel.
            pending_.append(PulledBack(currentX_, currentY_, dx, dy));
        } else {
            // The previous end pixel is this segment's first: cover it now.
            pending_.last() = QPointF(currentX_ + 0.5, currentY_ + 0.5);
        }
        pending_.append(PulledBack(x, y, dx, dy));
    }
    currentX_ = x;
    currentY_ = y;
}

void PainterSurface::SetPixel(int x, int y, Rgb colour) {
    Flush();
    painter_.fillRect(QRectF(x, y, 1, 1), ToQColor(colour));
}

Rgb PainterSurface::GetPixel(int x, int y) const {
    QPaintDevice* device = painter_.device();
    if (device != nullptr && device->devType() == QInternal::Image &&
        painter_.transform().isIdentity()) {
        FlushPending();
        const auto* image = static_cast<const QImage*>(device);
        if (image->valid(x, y)) {
            return FromQRgb(image->pixel(x, y));
        }
        return 0xFFFFFFFF;
    }
    return 0xFFFFFF;
}

void PainterSurface::TextOut(int x, int y, std::string_view text) {
    Flush();
    if (text.empty()) {
        return;
    }
    auto& entry = objects_.Font();
    const QtFont& font = Resolved(entry.payload, entry.font, true);
    DrawTextAt(painter_, font, x, y, TextFor(font, text), ToQColor(textColour_));
}

void PainterSurface::FillRect(int left, int top, int right, int bottom, Rgb colour) {
    Flush();
    if (right > left && bottom > top) {
        painter_.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(colour));
    }
}

}  // namespace halvorn
