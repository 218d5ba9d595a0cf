// The small drawing interface every drawing routine draws on. It holds what the
// routines use of the platform's graphics: pens, fonts and the text colour as
// objects that are created, selected and deleted, a current position, lines,
// pixels, text and filled rectangles, all in integer pixels of the surface.
//
// Implementations: the Qt painter surfaces (an image, which also backs the
// screen, and SVG/PDF devices) and the EMF recorder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace halvorn {

// A colour as a 32-bit value with red in the low byte: 0x00BBGGRR.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
    return static_cast<Rgb>(red & 0xFF) | (static_cast<Rgb>(green & 0xFF) << 8) |
           (static_cast<Rgb>(blue & 0xFF) << 16);
}
constexpr int RedOf(Rgb c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Rgb c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Rgb c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// A font as requested: face name ("Arial", "Symbol", ...), height in pixels
// (a negative height asks for that character height, a positive one for that
// cell height), average character width (0 for the face's own), escapement in
// tenths of a degree counter-clockwise (900 reads bottom to top, 2700 top to
// bottom) and weight (400 normal, 700 bold).
struct FontRequest {
    std::string face;
    int height = 0;
    int width = 0;
    int escapement = 0;
    int weight = 400;
};

// Handle of a pen or font created on a surface; 0 is no object. A surface's
// initial pen (black) and font are selected when it is made and have their
// own handles, which SelectObject returns as the previous object.
using ObjectHandle = int;

class Surface {
  public:
    virtual ~Surface() = default;

    // A solid pen of width 1.
    virtual ObjectHandle CreatePen(Rgb colour) = 0;
    virtual ObjectHandle CreateFont(const FontRequest& font) = 0;
    // Selects a pen or font and returns the previously selected object of the
    // same kind.
    virtual ObjectHandle SelectObject(ObjectHandle object) = 0;
    // Deletes an object that is no longer selected.
    virtual void DeleteObject(ObjectHandle object) = 0;

    // Sets the text colour and returns the previous one.
    virtual Rgb SetTextColor(Rgb colour) = 0;

    virtual void MoveTo(int x, int y) = 0;
    // A line with the current pen from the current position to (x, y), which
    // becomes the current position. The end pixel is not painted.
    virtual void LineTo(int x, int y) = 0;
    virtual void SetPixel(int x, int y, Rgb colour) = 0;
    // The colour of a pixel; surfaces without pixels (SVG, PDF, EMF) answer
    // with the background colour 0xFFFFFF.
    virtual Rgb GetPixel(int x, int y) const = 0;

    // Text with the current font and text colour, with a transparent
    // background. (x, y) is the top-left corner of the text cell in the text's
    // own frame, so for a font with escapement 900 it is the bottom-left corner
    // of the drawn text as seen on the surface.
    virtual void TextOut(int x, int y, std::string_view text) = 0;

    // Fills the rectangle left <= x < right, top <= y < bottom.
    virtual void FillRect(int left, int top, int right, int bottom, Rgb colour) = 0;
};

}  // namespace halvorn
