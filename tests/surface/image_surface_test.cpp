// The image surface: lines, pixels and fills written exactly, objects selected
// and restored, text placed by its reference point in pure colours, and the
// symbol codes drawn as their Unicode characters.
#include "surface/image_surface.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

#include "surface/qt_text.h"
#include "surface/text_encoding.h"

namespace halvorn {
namespace {

constexpr Rgb kWhite = 0xFFFFFF;
constexpr Rgb kBlack = 0x000000;
constexpr Rgb kRed = MakeRgb(192, 0, 0);

// The bounding box of every pixel that differs from background.
QRect PaintedBox(const ImageSurface& s, Rgb background = kWhite) {
    QRect box;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            if (s.GetPixel(x, y) != background) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

int CountColour(const ImageSurface& s, Rgb colour) {
    int n = 0;
    for (int y = 0; y < s.Height(); ++y) {
        for (int x = 0; x < s.Width(); ++x) {
            n += s.GetPixel(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}

TEST(ImageSurface, StartsFilledWithItsBackground) {
    ImageSurface s(5, 4, kRed);
    EXPECT_EQ(s.Image().format(), QImage::Format_RGB32);
    EXPECT_EQ(CountColour(s, kRed), 20);
    ImageSurface plain(3, 3);
    EXPECT_EQ(plain.GetPixel(2, 2), kWhite);
}

TEST(ImageSurface, LineToLeavesTheEndPixelAndMovesThePosition) {
    ImageSurface s(20, 20);
    s.MoveTo(2, 3);
    s.LineTo(12, 3);
    EXPECT_EQ(s.GetPixel(2, 3), kBlack);
    EXPECT_EQ(s.GetPixel(11, 3), kBlack);
    EXPECT_EQ(s.GetPixel(12, 3), kWhite);
    EXPECT_EQ(s.CurrentX(), 12);
    EXPECT_EQ(s.CurrentY(), 3);
    // The next line starts where the last ended, so the corner is painted once.
    s.LineTo(12, 10);
    EXPECT_EQ(s.GetPixel(12, 3), kBlack);
    EXPECT_EQ(s.GetPixel(12, 9), kBlack);
    EXPECT_EQ(s.GetPixel(12, 10), kWhite);
    EXPECT_EQ(CountColour(s, kBlack), 17);
}

TEST(ImageSurface, LinesLeavingTheImageAreClipped) {
    ImageSurface s(10, 10);
    s.MoveTo(-50, 5);
    s.LineTo(60, 5);
    EXPECT_EQ(CountColour(s, kBlack), 10);
    s.MoveTo(-2000000000, -2000000000);
    s.LineTo(2000000000, 2000000000);
    EXPECT_EQ(s.GetPixel(3, 3), kBlack);
}

TEST(ImageSurface, SetPixelAndGetPixel) {
    ImageSurface s(4, 4);
    s.SetPixel(1, 2, kRed);
    EXPECT_EQ(s.GetPixel(1, 2), kRed);
    EXPECT_EQ(RedOf(s.GetPixel(1, 2)), 192);
    s.SetPixel(-1, 0, kRed);  // outside: ignored
    s.SetPixel(4, 0, kRed);
    EXPECT_EQ(CountColour(s, kRed), 1);
    EXPECT_EQ(s.GetPixel(4, 0), 0xFFFFFFFFu);
    EXPECT_EQ(s.GetPixel(0, -1), 0xFFFFFFFFu);
}

TEST(ImageSurface, FillRectCoversLeftTopButNotRightBottom) {
    ImageSurface s(10, 10);
    const Rgb cyan = MakeRgb(192, 255, 255);
    s.FillRect(2, 3, 6, 5, cyan);
    EXPECT_EQ(PaintedBox(s), QRect(QPoint(2, 3), QPoint(5, 4)));
    EXPECT_EQ(CountColour(s, cyan), 8);
    s.FillRect(6, 6, 6, 9, cyan);  // empty
    s.FillRect(8, 8, 7, 9, cyan);  // inverted: nothing
    EXPECT_EQ(CountColour(s, cyan), 8);
    s.FillRect(-5, 8, 50, 50, cyan);  // clipped
    EXPECT_EQ(CountColour(s, cyan), 8 + 20);
}

TEST(ImageSurface, PensSelectAndRestore) {
    ImageSurface s(10, 10);
    const ObjectHandle red = s.CreatePen(kRed);
    const ObjectHandle initial = s.SelectObject(red);
    EXPECT_NE(initial, 0);
    s.MoveTo(0, 0);
    s.LineTo(5, 0);
    EXPECT_EQ(s.GetPixel(0, 0), kRed);
    EXPECT_EQ(s.SelectObject(initial), red);
    s.DeleteObject(red);
    s.MoveTo(0, 1);
    s.LineTo(5, 1);
    EXPECT_EQ(s.GetPixel(0, 1), kBlack);
    // A deleted or unknown handle selects nothing.
    EXPECT_EQ(s.SelectObject(red), 0);
    EXPECT_EQ(s.SelectObject(12345), 0);
    s.MoveTo(0, 2);
    s.LineTo(5, 2);
    EXPECT_EQ(s.GetPixel(0, 2), kBlack);
}

TEST(ImageSurface, DeletingTheSelectedPenKeepsIt) {
    ImageSurface s(10, 10);
    const ObjectHandle red = s.CreatePen(kRed);
    const ObjectHandle initial = s.SelectObject(red);
    s.DeleteObject(red);
    s.MoveTo(0, 0);
    s.LineTo(3, 0);
    EXPECT_EQ(s.GetPixel(0, 0), kRed);
    EXPECT_EQ(s.SelectObject(initial), red);
}

TEST(ImageSurface, FontsSelectAndRestoreAlongsidePens) {
    ImageSurface s(10, 10);
    const ObjectHandle font = s.CreateFont({"Arial", -9, 0, 0, 400});
    const ObjectHandle pen = s.CreatePen(kRed);
    const ObjectHandle initialFont = s.SelectObject(font);
    const ObjectHandle initialPen = s.SelectObject(pen);
    EXPECT_NE(initialFont, initialPen);
    EXPECT_EQ(s.SelectObject(initialFont), font);
    EXPECT_EQ(s.SelectObject(initialPen), pen);
}

TEST(ImageSurface, TextColourIsReturnedAndUsed) {
    ImageSurface s(60, 20);
    EXPECT_EQ(s.SetTextColor(kRed), kBlack);
    s.SelectObject(s.CreateFont({"Arial", -11, 0, 0, 400}));
    s.TextOut(2, 2, "Abc");
    EXPECT_GT(CountColour(s, kRed), 10);
    EXPECT_EQ(s.SetTextColor(kBlack), kRed);
}

// No anti-aliasing: every pixel is the background or the text colour, and the
// background around the glyphs is left alone.
TEST(ImageSurface, TextIsDrawnInPureColours) {
    ImageSurface s(120, 30, MakeRgb(0, 255, 0));
    s.SetTextColor(kRed);
    s.SelectObject(s.CreateFont({"Arial", -12, 0, 0, 700}));
    s.TextOut(3, 3, "Wavenumbers, cm");
    s.SelectObject(s.CreateFont({"Arial", 12, 5, 2700, 400}));
    s.TextOut(110, 2, "17");
    const int red = CountColour(s, kRed);
    EXPECT_GT(red, 50);
    EXPECT_EQ(red + CountColour(s, MakeRgb(0, 255, 0)), 120 * 30);
}

TEST(ImageSurface, UnrotatedTextHangsBelowAndRightOfItsReferencePoint) {
    ImageSurface s(100, 40);
    s.SelectObject(s.CreateFont({"Arial", -10, 0, 0, 400}));
    s.TextOut(20, 10, "HHH");
    const QRect box = PaintedBox(s);
    ASSERT_FALSE(box.isNull());
    EXPECT_GE(box.left(), 20);
    EXPECT_LE(box.left(), 22);
    // Capital letters start a little below the cell top (the internal leading
    // and the space above capitals) and end on the baseline about 9 pixels down.
    EXPECT_GE(box.top(), 10);
    EXPECT_LE(box.top(), 13);
    EXPECT_GE(box.bottom(), 16);
    EXPECT_LE(box.bottom(), 19);
}

TEST(ImageSurface, RisingTextLiesAboveAndRightOfItsReferencePoint) {
    ImageSurface s(60, 200);
    s.SelectObject(s.CreateFont({"Arial", -10, 4, 900, 400}));
    s.TextOut(20, 150, "Transmittance");
    const QRect box = PaintedBox(s);
    ASSERT_FALSE(box.isNull());
    EXPECT_LE(box.bottom(), 150);
    EXPECT_GE(box.bottom(), 147);
    EXPECT_GE(box.left(), 20);
    EXPECT_LE(box.right(), 20 + 11);
    EXPECT_GT(box.height(), 3 * box.width());  // runs up the page
}

TEST(ImageSurface, FallingTextLiesBelowAndLeftOfItsReferencePoint) {
    ImageSurface s(60, 200);
    s.SelectObject(s.CreateFont({"Arial", 12, 5, 2700, 400}));
    s.TextOut(40, 30, "1715");
    const QRect box = PaintedBox(s);
    ASSERT_FALSE(box.isNull());
    EXPECT_GE(box.top(), 30);
    EXPECT_LE(box.top(), 33);
    EXPECT_LE(box.right(), 40);
    EXPECT_GE(box.left(), 40 - 13);
    EXPECT_GT(box.height(), box.width());
}

TEST(ImageSurface, WidthStretchesTheText) {
    auto widthOf = [](int width) {
        ImageSurface s(300, 30);
        s.SelectObject(s.CreateFont({"Arial", -10, width, 0, 400}));
        s.TextOut(0, 0, "Absorbance");
        return PaintedBox(s).width();
    };
    const int narrow = widthOf(4);
    const int wide = widthOf(8);
    EXPECT_NEAR(wide, 2 * narrow, 4);
    // Width 4 at height 10 is Arial's own average width: no stretch.
    EXPECT_EQ(widthOf(0), narrow);
}

TEST(ImageSurface, PositiveHeightIsTheCellHeight) {
    const QtFont cell = ResolveQtFont({"Arial", 12, 0, 0, 400}, false);
    const QtFont em = ResolveQtFont({"Arial", -12, 0, 0, 400}, false);
    EXPECT_LT(cell.font.pixelSize(), em.font.pixelSize());
    EXPECT_EQ(em.font.pixelSize(), 12);
    // Arial's cell is about 1.15 em: a 12-pixel cell is an 11-pixel (rounded) em.
    EXPECT_EQ(cell.font.pixelSize(), 11);
}

TEST(ImageSurface, ArialResolvesToTheInstalledFaceOfItsMetrics) {
    const QtFont arial = ResolveQtFont({"Arial", -9, 0, 0, 400}, false);
    const QFontInfo info(arial.font);
    EXPECT_TRUE(info.family() == "Arial" || info.family() == "Liberation Sans")
        << info.family().toStdString();
    EXPECT_EQ(info.pixelSize(), 9);
}

TEST(SymbolText, CodesBecomeTheirUnicodeCharacters) {
    EXPECT_EQ(DecodeSymbol("m"), u"\u00B5");
    EXPECT_EQ(DecodeSymbol("\xA5"), u"\u221E");
    EXPECT_EQ(DecodeSymbol("\xAF"), u"\u2193");
    EXPECT_EQ(DecodeSymbol("A\xAF"), u"\u0391\u2193");
    EXPECT_EQ(DecodeSymbol("a1"), u"\u03B11");
    EXPECT_EQ(DecodeAnsi("A\xB5\x80"), u"A\u00B5\u20AC");
    // A file's text read as UTF-8 is drawn as such.
    EXPECT_EQ(DecodeAnsi("A\xC2\xB5\xD0\xA2"), u"A\u00B5\u0422");
    EXPECT_EQ(DecodeForFace("SYMBOL", "m"), u"\u00B5");
    EXPECT_EQ(DecodeForFace("Arial", "m"), u"m");
}

TEST(SymbolText, TheSymbolFontDrawsEachCharacter) {
    const QtFont symbol = ResolveQtFont({"Symbol", -10, 0, 0, 400}, false);
    const QFontMetrics metrics(symbol.font);
    for (const char32_t c : {U'\u00B5', U'\u221E', U'\u2193', U'\u0391'}) {
        EXPECT_TRUE(metrics.inFontUcs4(c)) << static_cast<unsigned>(c);
    }
}

// "m" in the symbol font paints exactly what the micro sign paints, and not
// what a Latin m paints.
TEST(SymbolText, SymbolCodesPaintTheirGlyphs) {
    auto draw = [](const char* face, std::string_view text) {
        ImageSurface s(40, 30);
        s.SelectObject(s.CreateFont({face, -10, 0, 0, 400}));
        s.TextOut(5, 5, text);
        return s.Image();
    };
    auto drawUnicode = [](char16_t c) {
        ImageSurface s(40, 30);
        const QtFont font = ResolveQtFont({"Symbol", -10, 0, 0, 400}, false);
        QPainter painter(&s.Image());
        DrawTextAt(painter, font, 5, 5, QString(QChar(c)), Qt::black);
        painter.end();
        return s.Image();
    };
    const QImage micro = draw("Symbol", "m");
    EXPECT_EQ(micro, drawUnicode(0x00B5));
    EXPECT_NE(micro, draw("Arial", "m"));
    EXPECT_EQ(draw("Symbol", "\xA5"), drawUnicode(0x221E));
    EXPECT_EQ(draw("Symbol", "\xAF"), drawUnicode(0x2193));
    EXPECT_EQ(draw("Symbol", "A"), drawUnicode(0x0391));
    EXPECT_NE(draw("Symbol", "\xA5"), ImageSurface(40, 30).Image());
}

TEST(ImageSurface, ClearRepaintsEverything) {
    ImageSurface s(6, 6);
    s.MoveTo(0, 0);
    s.LineTo(6, 6);
    s.Clear(kRed);
    EXPECT_EQ(CountColour(s, kRed), 36);
}

}  // namespace
}  // namespace halvorn
