// A surface on any active QPainter: SVG (QSvgGenerator), PDF (QPdfWriter), a
// printer, or an image when anti-aliased output is wanted. Coordinates are the
// painter's logical units, one unit per figure pixel; the caller scales the
// painter to the device.
//
// Lines keep the pixel meaning of a line-to as far as vectors allow: a pixel
// is the unit square right of and below its integer point, a line runs through
// pixel centres, begins at the outer edge of its first pixel and stops at the
// inner edge of its end pixel, so the end pixel stays uncovered. Consecutive
// line-tos with one pen are drawn as one polyline, so the output holds one
// path per trace instead of thousands of segments. The pending polyline is
// drawn before anything else is drawn and when the surface is destroyed or
// Flush is called; end the painter after that.
#pragma once

#include <QColor>
#include <QPolygonF>

#include "surface/object_table.h"
#include "surface/qt_text.h"
#include "surface/surface.h"

class QPainter;

namespace halvorn {

class PainterSurface final : public Surface {
  public:
    explicit PainterSurface(QPainter& painter);
    ~PainterSurface() override;
    PainterSurface(const PainterSurface&) = delete;
    PainterSurface& operator=(const PainterSurface&) = delete;

    // Draws the pending polyline.
    void Flush();

    ObjectHandle CreatePen(Rgb colour) override;
    ObjectHandle CreateFont(const FontRequest& font) override;
    ObjectHandle SelectObject(ObjectHandle object) override;
    void DeleteObject(ObjectHandle object) override;
    Rgb SetTextColor(Rgb colour) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void SetPixel(int x, int y, Rgb colour) override;
    // The pixel when the painter draws untransformed on a QImage, otherwise
    // the background colour 0xFFFFFF.
    Rgb GetPixel(int x, int y) const override;
    void TextOut(int x, int y, std::string_view text) override;
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;

  private:
    void FlushPending() const;

    QPainter& painter_;
    ObjectTable<LazyQtFont> objects_;
    Rgb textColour_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
    // The polyline drawn so far with the current pen; its last point is
    // pulled back by half a step so the end pixel stays uncovered.
    mutable QPolygonF pending_;
};

}  // namespace halvorn
