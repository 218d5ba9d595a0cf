#include "surface/qt_metafile.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "surface/qt_text.h"

namespace halvorn {

ScreenMetrics PrimaryScreenMetrics() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return FixedScreenMetrics();
    }
    // The offscreen and minimal platforms invent a screen (800 x 800 pixels on
    // 203 mm); without a display the recording uses the fixed 96 dpi screen, so
    // that the command line writes the same metafile on every machine.
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal") {
        return FixedScreenMetrics();
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || screen->geometry().isEmpty()) {
        return FixedScreenMetrics();
    }
    ScreenMetrics m;
    m.horzRes = screen->geometry().width();
    m.vertRes = screen->geometry().height();
    m.logPixelsX = static_cast<std::int32_t>(std::lround(screen->logicalDotsPerInchX()));
    m.logPixelsY = static_cast<std::int32_t>(std::lround(screen->logicalDotsPerInchY()));
    if (m.logPixelsX <= 0 || m.logPixelsY <= 0) {
        m.logPixelsX = m.logPixelsY = 96;
    }
    const QSizeF mm = screen->physicalSize();
    m.horzSize = static_cast<std::int32_t>(std::lround(mm.width()));
    m.vertSize = static_cast<std::int32_t>(std::lround(mm.height()));
    if (m.horzSize <= 0 || m.vertSize <= 0) {
        m.horzSize = static_cast<std::int32_t>(std::lround(m.horzRes * 25.4 / m.logPixelsX));
        m.vertSize = static_cast<std::int32_t>(std::lround(m.vertRes * 25.4 / m.logPixelsY));
    }
    return m;
}

TextMeasurer QtTextMeasurer() {
    return [](const FontRequest& request, std::u16string_view text) {
        const QtFont font = ResolveQtFont(request, true);
        const QFontMetricsF metrics(font.font);
        std::vector<double> advances;
        advances.reserve(text.size());
        for (const char16_t c : text) {
            advances.push_back(metrics.horizontalAdvance(QChar(c)) * font.xScale);
        }
        return advances;
    };
}

}  // namespace halvorn
