// The painter surface: line-to geometry kept on vector devices (checked on an
// aliased image, where it must match the integer routine for straight lines),
// one path per polyline in SVG, texts in SVG and PDF.
#include "surface/painter_surface.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "surface/image_surface.h"

namespace halvorn {
namespace {

constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kBlack = 0;

// Draws on an aliased image through the painter surface.
template <class Draw>
QImage OnImage(int w, int h, Draw draw) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        PainterSurface s(painter);
        draw(s);
    }
    painter.end();
    return image;
}

template <class Draw>
QImage OnImageSurface(int w, int h, Draw draw) {
    ImageSurface s(w, h);
    draw(s);
    return s.Image();
}

TEST(PainterSurface, StraightLinesCoverTheSamePixelsAsTheImageSurface) {
    auto draw = [](Surface& s) {
        s.MoveTo(2, 3);
        s.LineTo(12, 3);   // right
        s.LineTo(12, 15);  // down
        s.LineTo(4, 15);   // left
        s.LineTo(4, 6);    // up
        s.MoveTo(20, 2);
        s.LineTo(20, 3);  // one pixel
        s.MoveTo(25, 5);
        s.LineTo(25, 5);  // nothing
    };
    EXPECT_EQ(OnImage(30, 20, draw), OnImageSurface(30, 20, draw));
}

TEST(PainterSurface, EndPixelIsLeftUncovered) {
    const QImage image = OnImage(20, 10, [](Surface& s) {
        const ObjectHandle pen = s.CreatePen(MakeRgb(255, 0, 0));
        s.SelectObject(pen);
        s.MoveTo(2, 2);
        s.LineTo(10, 2);
    });
    EXPECT_EQ(FromQRgb(image.pixel(2, 2)), MakeRgb(255, 0, 0));
    EXPECT_EQ(FromQRgb(image.pixel(9, 2)), MakeRgb(255, 0, 0));
    EXPECT_EQ(FromQRgb(image.pixel(10, 2)), kWhite);
    EXPECT_EQ(FromQRgb(image.pixel(1, 2)), kWhite);
}

TEST(PainterSurface, PixelsFillsAndReadsOnAnImage) {
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PainterSurface s(painter);
    s.SetPixel(3, 4, MakeRgb(0, 0, 255));
    s.FillRect(5, 5, 8, 7, MakeRgb(0, 255, 0));
    s.MoveTo(0, 0);
    s.LineTo(3, 0);
    EXPECT_EQ(s.GetPixel(3, 4), MakeRgb(0, 0, 255));
    EXPECT_EQ(s.GetPixel(5, 5), MakeRgb(0, 255, 0));
    EXPECT_EQ(s.GetPixel(7, 6), MakeRgb(0, 255, 0));
    EXPECT_EQ(s.GetPixel(8, 6), kWhite);
    EXPECT_EQ(s.GetPixel(7, 7), kWhite);
    EXPECT_EQ(s.GetPixel(0, 0), kBlack);  // the pending line is drawn first
    EXPECT_EQ(s.GetPixel(3, 0), kWhite);
}

// A 3-segment polyline with one pen is one path element; a pen change starts
// another.
TEST(PainterSurface, SvgHoldsOnePathPerPolylineAndTheTexts) {
    QBuffer buffer;
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(200, 100));
    svg.setViewBox(QRect(0, 0, 200, 100));
    QPainter painter(&svg);
    {
        PainterSurface s(painter);
        s.MoveTo(10, 10);
        for (int i = 1; i <= 100; ++i) {
            s.LineTo(10 + i, 10 + (i % 7) * 5);
        }
        const ObjectHandle red = s.CreatePen(MakeRgb(192, 0, 0));
        s.SelectObject(red);
        s.LineTo(150, 90);
        s.SelectObject(s.CreateFont({"Symbol", -10, 0, 0, 400}));
        s.TextOut(20, 20, "m");
        s.SelectObject(s.CreateFont({"Arial", -10, 4, 900, 400}));
        s.TextOut(5, 90, "Transmittance");
    }
    painter.end();
    const QString text = QString::fromUtf8(buffer.data());
    EXPECT_EQ(text.count("<polyline"), 2) << text.toStdString();
    EXPECT_TRUE(text.contains("#c00000", Qt::CaseInsensitive));
    EXPECT_TRUE(text.contains(QChar(0x00B5)));
    EXPECT_TRUE(text.contains("Transmittance"));
    EXPECT_TRUE(text.contains("Arial"));
}

TEST(PainterSurface, PdfIsWritten) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(747, 456), QPageSize::Point));
        QPainter painter(&pdf);
        PainterSurface s(painter);
        s.MoveTo(35, 70);
        s.LineTo(708, 70);
        s.SelectObject(s.CreateFont({"Arial", -11, 0, 0, 400}));
        s.TextOut(300, 40, "Wavenumbers, cm");
        s.Flush();
        painter.end();
    }
    EXPECT_TRUE(buffer.data().startsWith("%PDF"));
    EXPECT_TRUE(buffer.data().contains("LiberationSans") || buffer.data().contains("Arial"));
}

}  // namespace
}  // namespace halvorn
