// The program's own integer line routine, the one every pixel surface uses for
// its lines so that a line looks the same on the screen image as on the
// platform the figures were designed on.
//
// Pixels are the integer points of the surface. A line from (x0, y0) to
// (x1, y1) lights n = max(|dx|, |dy|) pixels, one per step along the major
// axis (x when |dx| >= |dy|, otherwise y): the start pixel is painted, the end
// pixel is not, so a zero-length line paints nothing and a polyline drawn as
// move-to and line-tos paints every vertex exactly once (the last one not at
// all).
//
// The pixel of major step i sits on the minor axis at the exact line position
// i x dminor / n rounded to the nearest integer. Tie rule: when the line runs
// exactly half-way between two pixels, the one with the smaller minor
// coordinate is lit: the upper pixel on x-major lines, the left pixel on
// y-major lines, whatever the direction of drawing. Diagonal lines (|dx| =
// |dy|) never tie. Apart from the excluded end pixel, a line drawn from a to b
// therefore lights the same pixels as one drawn from b to a shifted by one
// step.
#pragma once

#include <cstdint>
#include <limits>

namespace halvorn {

// Pixels left <= x < right, top <= y < bottom; the default admits every
// 32-bit coordinate.
struct LineClip {
    std::int64_t left = std::numeric_limits<std::int32_t>::min();
    std::int64_t top = std::numeric_limits<std::int32_t>::min();
    std::int64_t right = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t bottom = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
};

// Calls plot(x, y) for every pixel of the line from (x0, y0) to (x1, y1) that
// lies inside clip, in drawing order. The work is bounded by the clip's size
// along the major axis, however long the line.
template <class Plot>
void WalkLine(int x0, int y0, int x1, int y1, const LineClip& clip, Plot&& plot) {
    __extension__ typedef __int128 Wide;
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    const std::int64_t ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) {
        return;
    }
    const bool xMajor = adx >= ady;
    const std::int64_t n = xMajor ? adx : ady;  // steps, pixels lit before clipping
    const std::int64_t m = xMajor ? ady : adx;  // minor-axis travel
    const std::int64_t majorStart = xMajor ? x0 : y0;
    const std::int64_t minorStart = xMajor ? y0 : x0;
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorLo = xMajor ? clip.left : clip.top;
    const std::int64_t majorHi = xMajor ? clip.right : clip.bottom;  // exclusive
    const std::int64_t minorLo = xMajor ? clip.top : clip.left;
    const std::int64_t minorHi = xMajor ? clip.bottom : clip.right;  // exclusive
    if (majorLo >= majorHi || minorLo >= minorHi) {
        return;
    }

    // Steps i whose major coordinate majorStart + majorStep x i is inside the clip.
    std::int64_t first = 0;
    std::int64_t last = n - 1;
    if (majorStep > 0) {
        first = majorLo - majorStart > first ? majorLo - majorStart : first;
        last = majorHi - 1 - majorStart < last ? majorHi - 1 - majorStart : last;
    } else {
        first = majorStart - (majorHi - 1) > first ? majorStart - (majorHi - 1) : first;
        last = majorStart - majorLo < last ? majorStart - majorLo : last;
    }
    if (first > last) {
        return;
    }

    // Minor offset k(i) = floor((2 i m + bias) / 2n): bias n - 1 rounds ties
    // down (towards smaller coordinates when the minor axis grows), bias n
    // rounds them up (towards smaller coordinates when it shrinks).
    const std::int64_t twoN = 2 * n;
    const std::int64_t twoM = 2 * m;
    const Wide numerator = Wide{2} * first * m + (minorStep > 0 ? n - 1 : n);
    std::int64_t k = static_cast<std::int64_t>(numerator / twoN);
    std::int64_t rest = static_cast<std::int64_t>(numerator % twoN);

    std::int64_t major = majorStart + majorStep * first;
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t minor = minorStart + minorStep * k;
        if (minor >= minorLo && minor < minorHi) {
            if (xMajor) {
                plot(static_cast<int>(major), static_cast<int>(minor));
            } else {
                plot(static_cast<int>(minor), static_cast<int>(major));
            }
        } else if ((minorStep > 0) == (minor >= minorHi)) {
            return;  // left the clip for good
        }
        major += majorStep;
        rest += twoM;
        if (rest >= twoN) {
            rest -= twoN;
            ++k;
        }
    }
}

template <class Plot>
void WalkLine(int x0, int y0, int x1, int y1, Plot&& plot) {
    WalkLine(x0, y0, x1, y1, LineClip{}, static_cast<Plot&&>(plot));
}

}  // namespace halvorn
