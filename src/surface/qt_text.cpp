#include "surface/qt_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "surface/text_encoding.h"

namespace halvorn {

namespace {

constexpr int kDefaultPixelHeight = 12;

// Arial's average character width per em (904 / 2048). The installed stand-in
// declares a larger average, taken over many more glyphs, so a requested width
// is measured against Arial's own figure: at the heights the program uses, the
// requested widths are then Arial's natural widths and nothing is stretched.
constexpr double kArialAverageWidthPerEm = 904.0 / 2048.0;

bool IsArialFace(std::string_view face) {
    return QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()))
                   .compare("Arial", Qt::CaseInsensitive) == 0 ||
           IsSymbolFace(face);
}

QStringList FamiliesFor(std::string_view face) {
    if (IsSymbolFace(face)) {
        // The installed symbol face (Standard Symbols PS) maps only its own
        // codes, not Unicode; Arial's stand-in has the Unicode characters.
        return {"Arial", "Liberation Sans", "DejaVu Sans"};
    }
    const QString name = QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size()));
    if (name.compare("Arial", Qt::CaseInsensitive) == 0) {
        return {"Arial", "Liberation Sans", "DejaVu Sans"};
    }
    return {name, "Liberation Sans", "DejaVu Sans"};
}

}  // namespace

QtFont ResolveQtFont(const FontRequest& request, bool antialias) {
    QtFont resolved;
    resolved.symbol = IsSymbolFace(request.face);
    resolved.escapement = request.escapement;

    QFont& font = resolved.font;
    font.setFamilies(FamiliesFor(request.face));
    font.setStyleHint(QFont::SansSerif);
    font.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    const int weight = request.weight <= 0 ? 400 : std::clamp(request.weight, 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));

    int pixels = kDefaultPixelHeight;
    if (request.height < 0) {
        pixels = -request.height;
    } else if (request.height > 0) {
        // Cell height to em height with the face's own proportions.
        QFont probe = font;
        probe.setPixelSize(256);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        pixels = cell > 0 ? static_cast<int>(std::lround(request.height * 256.0 / cell))
                          : request.height;
    }
    font.setPixelSize(std::max(pixels, 1));

    const QFontMetricsF metrics(font);
    resolved.ascent = metrics.ascent();
    if (request.width > 0) {
        const double average = IsArialFace(request.face)
                                   ? std::round(kArialAverageWidthPerEm * font.pixelSize())
                                   : std::round(metrics.averageCharWidth());
        if (average > 0) {
            resolved.xScale = request.width / average;
        }
    }
    return resolved;
}

QString TextFor(const QtFont& font, std::string_view bytes) {
    const std::u16string text = font.symbol ? DecodeSymbol(bytes) : DecodeAnsi(bytes);
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

void DrawTextAt(QPainter& painter, const QtFont& font, int x, int y, const QString& text,
                const QColor& colour) {
    painter.save();
    painter.setFont(font.font);
    painter.setPen(colour);
    painter.translate(x, y);
    if (font.escapement != 0) {
        // Escapement turns counter-clockwise; Qt's y axis points down.
        painter.rotate(-font.escapement / 10.0);
    }
    if (font.xScale != 1.0) {
        painter.scale(font.xScale, 1.0);
    }
    painter.drawText(QPointF(0, std::round(font.ascent)), text);
    painter.restore();
}

}  // namespace halvorn
