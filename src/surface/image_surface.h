// A surface on an image in memory: the backing store of the spectrum window's
// drawing areas, the PNG output and the pixel reads of the label hit test.
//
// Lines and pixels are written straight into the image bits with the
// program's own line routine (line_walk.h), so the end pixel of a line-to stays
// unpainted and interior pixels fall where the figures were designed; filled
// rectangles are written straight too. Text goes through QPainter without
// anti-aliasing, so every pixel is either untouched or the text colour.
// Drawing outside the image is clipped.
#pragma once

#include <QImage>

#include "surface/object_table.h"
#include "surface/qt_text.h"
#include "surface/surface.h"

namespace halvorn {

class ImageSurface final : public Surface {
  public:
    // An RGB32 image of width x height filled with background.
    ImageSurface(int width, int height, Rgb background = 0xFFFFFF);

    // The image drawn on. Whoever replaces it should keep the RGB32 format.
    QImage& Image() { return image_; }
    const QImage& Image() const { return image_; }

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

    // Fills the whole image with colour; objects, text colour and current
    // position stay.
    void Clear(Rgb colour);

    // The current position (where the next LineTo starts).
    int CurrentX() const { return currentX_; }
    int CurrentY() const { return currentY_; }

    ObjectHandle CreatePen(Rgb colour) override;
    ObjectHandle CreateFont(const FontRequest& font) override;
    ObjectHandle SelectObject(ObjectHandle object) override;
    void DeleteObject(ObjectHandle object) override;
    Rgb SetTextColor(Rgb colour) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void SetPixel(int x, int y, Rgb colour) override;
    // Outside the image: 0xFFFFFFFF, which is no colour.
    Rgb GetPixel(int x, int y) const override;
    void TextOut(int x, int y, std::string_view text) override;
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;

  private:
    void EnsureFormat();

    QImage image_;
    ObjectTable<LazyQtFont> objects_;
    QRgb penColour_ = qRgb(0, 0, 0);
    Rgb textColour_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
};

}  // namespace halvorn
