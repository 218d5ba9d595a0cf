#include "surface/metafile_geometry.h"

#include <cmath>
#include <limits>

namespace halvorn {

namespace {

// Round to nearest, ties to even (the default rounding mode); empty outside
// the 32-bit range.
std::optional<std::int32_t> Round32(long double value) {
    const long double r = std::nearbyintl(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

}  // namespace

ScreenMetrics FixedScreenMetrics() {
    return ScreenMetrics{1920, 1080, 508, 286, 96, 96};
}

std::optional<MetafileGeometry> ComputeMetafileGeometry(const ScreenMetrics& screen, int width,
                                                        int height) {
    if (screen.horzRes <= 0 || screen.vertRes <= 0 || screen.horzSize <= 0 ||
        screen.vertSize <= 0 || screen.logPixelsX <= 0 || screen.logPixelsY <= 0 || width <= 0 ||
        height <= 0) {
        return std::nullopt;
    }
    MetafileGeometry g;
    g.widthInches = static_cast<float>(static_cast<double>(width) / screen.logPixelsX);
    g.heightInches = static_cast<float>(static_cast<double>(height) / screen.logPixelsY);
    const long double w = g.widthInches;
    const long double h = g.heightInches;
    const long double mmPerInch = 25.4;  // the double constant, widened

    const auto frameRight = Round32(w * 2540);
    const auto frameBottom = Round32(h * 2540);
    const auto windowX = Round32(w * screen.logPixelsX);
    const auto windowY = Round32(h * screen.logPixelsY);
    const auto viewportX = Round32(w * mmPerInch * screen.horzRes / screen.horzSize);
    const auto viewportY = Round32(h * mmPerInch * screen.vertRes / screen.vertSize);
    if (!frameRight || !frameBottom || !windowX || !windowY || !viewportX || !viewportY ||
        *viewportX <= 0 || *viewportY <= 0 || *windowX <= 0 || *windowY <= 0) {
        return std::nullopt;
    }
    g.frame = {0, 0, *frameRight, *frameBottom};
    g.windowExtent = {*windowX, *windowY};
    g.viewportExtent = {*viewportX, *viewportY};
    g.bounds = {0, 0, *viewportX - 1, *viewportY - 1};
    return g;
}

}  // namespace halvorn
