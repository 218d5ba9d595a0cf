// Fonts and text for the Qt painter surfaces: how a font request becomes a
// QFont and where a text is placed for its top-left reference point.
#pragma once

#include <QColor>
#include <QFont>
#include <QRgb>
#include <QString>
#include <optional>
#include <string_view>

#include "surface/surface.h"

class QPainter;

namespace halvorn {

// A font request resolved for drawing.
struct QtFont {
    QFont font;
    double ascent = 0;    // from the top of the text cell to the baseline, pixels
    double xScale = 1;    // horizontal stretch that gives the requested average width
    int escapement = 0;   // tenths of a degree, counter-clockwise
    bool symbol = false;  // the texts are symbol-font codes
};

// Face: "Arial" is drawn with the installed face of Arial's metrics (Liberation
// Sans), "Symbol" with the Unicode characters of its codes in a face that has
// them, any other face as fontconfig matches it, falling back to a sans face.
// Height: negative asks for that character (em) height in pixels, positive for
// that cell (ascent + descent) height, 0 for 12 pixels. Width: when positive,
// the text is stretched so that the face's average character width becomes
// that many pixels. antialias false draws pure colours.
QtFont ResolveQtFont(const FontRequest& request, bool antialias);

// A font resolved when first drawn with, so that surfaces can be made and
// drawn on without a running application as long as they write no text.
using LazyQtFont = std::optional<QtFont>;
inline const QtFont& Resolved(LazyQtFont& cache, const FontRequest& request, bool antialias) {
    if (!cache) {
        cache = ResolveQtFont(request, antialias);
    }
    return *cache;
}

// The text of a TextOut call in this font, as Unicode.
QString TextFor(const QtFont& font, std::string_view bytes);

// Draws text with its cell's top-left corner (in the text's own, possibly
// rotated, frame) at (x, y).
void DrawTextAt(QPainter& painter, const QtFont& font, int x, int y, const QString& text,
                const QColor& colour);

// Between the surfaces' 0x00BBGGRR colours and Qt's.
inline QRgb ToQRgb(Rgb c) {
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}
inline QColor ToQColor(Rgb c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}
inline Rgb FromQRgb(QRgb c) {
    return MakeRgb(qRed(c), qGreen(c), qBlue(c));
}

}  // namespace halvorn
