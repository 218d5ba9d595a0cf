// Pixel counts of the drawing areas' images, for the window tests.
#pragma once

#include <QImage>

namespace halvorn::test {

// Pixels of exactly the colour (alpha ignored).
inline int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
    }
    return n;
}

// Pixels that are not the background colour.
inline int Painted(const QImage& image, QRgb background = qRgb(255, 255, 255)) {
    return image.width() * image.height() - CountColour(image, background);
}

}  // namespace halvorn::test
