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

namespace line_walk_detail {

// k = floor((2 i m + bias) / twoN) and its remainder, for i, m < 2^32.
inline void Offset(std::int64_t i, std::int64_t m, std::int64_t bias, std::int64_t twoN,
                   std::int64_t& k, std::int64_t& rest) {
    if (i < (std::int64_t{1} << 30) && m < (std::int64_t{1} << 31)) {
        const std::int64_t numerator = 2 * i * m + bias;
        k = numerator / twoN;
        rest = numerator % twoN;
    } else {
        __extension__ typedef __int128 Wide;
        const Wide numerator = Wide{2} * i * m + bias;
        k = static_cast<std::int64_t>(numerator / twoN);
        rest = static_cast<std::int64_t>(numerator % twoN);
    }
}

template <bool XMajor, bool Checked, class Plot>
void Loop(std::int64_t major, int majorStep, std::int64_t minor, int minorStep, std::int64_t count,
          std::int64_t rest, std::int64_t twoN, std::int64_t twoM, std::int64_t minorLo,
          std::int64_t minorHi, Plot& plot) {
    for (; count > 0; --count) {
        if (!Checked || (minor >= minorLo && minor < minorHi)) {
            if constexpr (XMajor) {
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
            minor += minorStep;
        }
    }
}

template <class Plot>
void Run(bool xMajor, bool inside, std::int64_t major, int majorStep, std::int64_t minor,
         int minorStep, std::int64_t count, std::int64_t rest, std::int64_t twoN, std::int64_t twoM,
         std::int64_t minorLo, std::int64_t minorHi, Plot& plot) {
    if (xMajor) {
        if (inside) {
            Loop<true, false>(major, majorStep, minor, minorStep, count, rest, twoN, twoM, minorLo,
                              minorHi, plot);
        } else {
            Loop<true, true>(major, majorStep, minor, minorStep, count, rest, twoN, twoM, minorLo,
                             minorHi, plot);
        }
    } else if (inside) {
        Loop<false, false>(major, majorStep, minor, minorStep, count, rest, twoN, twoM, minorLo,
                           minorHi, plot);
    } else {
        Loop<false, true>(major, majorStep, minor, minorStep, count, rest, twoN, twoM, minorLo,
                          minorHi, plot);
    }
}

}  // namespace line_walk_detail

// Calls plot(x, y) for every pixel of the line from (x0, y0) to (x1, y1) that
// lies inside clip, in drawing order. The work is bounded by the clip's size
// along the major axis, however long the line.
template <class Plot>
void WalkLine(int x0, int y0, int x1, int y1, const LineClip& clip, Plot&& plot) {
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
    const std::int64_t bias = minorStep > 0 ? n - 1 : n;
    std::int64_t k = 0;
    std::int64_t rest = bias;
    if (first > 0) {
        line_walk_detail::Offset(first, m, bias, twoN, k, rest);
    }

    // Whether every pixel from first to last is inside on the minor axis too
    // (the minor coordinate moves monotonically), which spares the checks.
    const std::int64_t minorFirst = minorStart + minorStep * k;
    bool inside = x0 >= clip.left && x0 < clip.right && y0 >= clip.top && y0 < clip.bottom &&
                  x1 >= clip.left && x1 < clip.right && y1 >= clip.top && y1 < clip.bottom;
    if (!inside) {
        std::int64_t lastK = 0;
        std::int64_t lastRest = 0;
        line_walk_detail::Offset(last, m, bias, twoN, lastK, lastRest);
        const std::int64_t minorLast = minorStart + minorStep * lastK;
        inside = minorFirst >= minorLo && minorFirst < minorHi && minorLast >= minorLo &&
                 minorLast < minorHi;
    }
    line_walk_detail::Run(xMajor, inside, majorStart + majorStep * first, majorStep, minorFirst,
                          minorStep, last - first + 1, rest, twoN, 2 * m, minorLo, minorHi, plot);
}

template <class Plot>
void WalkLine(int x0, int y0, int x1, int y1, Plot&& plot) {
    WalkLine(x0, y0, x1, y1, LineClip{}, static_cast<Plot&&>(plot));
}

}  // namespace halvorn
