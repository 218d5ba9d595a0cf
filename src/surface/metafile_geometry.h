// How the figure's pixels are laid out in an enhanced metafile: the picture
// frame in hundredths of a millimetre, and a mapping from figure pixels
// (window) to the reference screen's device pixels (viewport), both taken from
// the screen's metrics so that the recorded figure has its physical size on
// that screen.
#pragma once

#include <cstdint>
#include <optional>

namespace halvorn {

// The reference screen, as the platform's device capabilities report it.
struct ScreenMetrics {
    std::int32_t horzRes = 0;     // width in pixels
    std::int32_t vertRes = 0;     // height in pixels
    std::int32_t horzSize = 0;    // width in millimetres
    std::int32_t vertSize = 0;    // height in millimetres
    std::int32_t logPixelsX = 0;  // logical pixels per inch, across
    std::int32_t logPixelsY = 0;  // logical pixels per inch, down
};

// The stand-in when no screen can be asked: 1920 x 1080 pixels at 96 logical
// pixels per inch, 508 x 286 mm, so its physical and logical sizes agree.
ScreenMetrics FixedScreenMetrics();

struct EmfRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

struct EmfSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

struct MetafileGeometry {
    float widthInches = 0;  // figure width / logical pixels per inch, single precision
    float heightInches = 0;
    EmfRect frame;           // 0, 0, widthInches x 2540, heightInches x 2540 (0.01 mm)
    EmfSize windowExtent;    // the figure's size in its own pixels
    EmfSize viewportExtent;  // its physical size in the screen's device pixels
    EmfRect bounds;          // the picture in device pixels, inclusive: 0, 0, viewport - 1
};

// The geometry of a figure of width x height pixels recorded against screen.
// Every product is formed in extended precision from the single-precision
// inch sizes and rounded to the nearest integer, ties to even. Empty when a
// metric or the figure size is not positive or a result leaves the 32-bit
// range.
std::optional<MetafileGeometry> ComputeMetafileGeometry(const ScreenMetrics& screen, int width,
                                                        int height);

}  // namespace halvorn
