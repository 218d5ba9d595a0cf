#include "interaction/label_moving.h"

#include <cmath>

namespace halvorn {

namespace {

// Round half to even into the 32-bit range; nothing beyond it.
std::optional<std::int32_t> ToLongChecked(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

std::int16_t ToIntegerClamped(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= -32768.0)) {
        return -32768;
    }
    if (r > 32767.0) {
        return 32767;
    }
    return static_cast<std::int16_t>(r);
}

}  // namespace

bool IsLabelPixel(Rgb colour) {
    return colour == kLabelTextColour || colour == kLabelFillColour;
}

std::int32_t PixelOf(float v) {
    const double r = std::nearbyint(static_cast<double>(v));
    if (!(r >= -2147483648.0)) {
        return INT32_MIN;
    }
    if (r > 2147483647.0) {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(r);
}

std::optional<LabelGrab> PickLabel(const PeakList& peaks, const DisplaySettings& settings, float x,
                                   float y, Rgb pixelUnderCursor) {
    if (!IsLabelPixel(pixelUnderCursor)) {
        return std::nullopt;
    }
    std::optional<LabelGrab> grab;
    // No stop at a hit: where rectangles overlap the last slot wins.
    for (int slot = 0; slot < peaks.PeakCount && slot < kMaxPeaks; ++slot) {
        const LabelBox* r = LabelBoxOf(peaks, settings, slot);
        if (r == nullptr) {
            return std::nullopt;
        }
        const double px = x;
        const double py = y;
        if (r->Left < px && px < r->Right && r->Top < py && py < r->Bottom) {
            grab = LabelGrab{slot, *r, ToIntegerClamped(static_cast<double>(x) - r->Left),
                             ToIntegerClamped(static_cast<double>(y) - r->Top)};
        }
    }
    return grab;
}

FramePosition DragFrameAt(const LabelGrab& grab, float x, float y) {
    return {x - static_cast<float>(grab.GrabOffsetX), y - static_cast<float>(grab.GrabOffsetY)};
}

bool DropLabel(PeakList& peaks, const DisplaySettings& settings, int slot, double shapeLeft,
               double shapeTop, double shapeWidth, double shapeHeight) {
    LabelBox* box = LabelBoxOf(peaks, settings, slot);
    const std::optional<std::int32_t> left = ToLongChecked(shapeLeft);
    const std::optional<std::int32_t> top = ToLongChecked(shapeTop);
    if (box == nullptr || !left || !top) {
        return false;
    }
    const std::optional<std::int32_t> right = ToLongChecked(shapeWidth + *left);
    const std::optional<std::int32_t> bottom = ToLongChecked(shapeHeight + *top);
    if (!right || !bottom) {
        return false;
    }
    *box = {*left, *top, *right, *bottom};
    return true;
}

}  // namespace halvorn
