// Label moving: picking a peak label with the right mouse button and storing
// the rectangle it is dropped in.
#pragma once

#include <cstdint>
#include <optional>

#include "core/settings.h"
#include "graph/peaks.h"
#include "surface/surface.h"

namespace halvorn {

inline constexpr const char* kMoveLabelsQuestionTitle = "Information";
inline constexpr const char* kMoveLabelsQuestionText =
    "Label moving should be the last operation\r\n"
    "to be performed before copying or printing\r\n"
    "the spectrum.\r\n"
    "This is because most of other operations\r\n"
    "will cancel this one.\r\n"
    "Do you wish to proceed?";
inline constexpr const char* kWrongButtonText = "Use the RIGHT mouse button to move a peak label!";
inline constexpr const char* kWrongButtonTitle = "Wrong mouse button";

// The two colours of a peak label on screen: its blue text and leader, and its
// light cyan fill.
inline constexpr Rgb kLabelTextColour = MakeRgb(0, 0, 255);
inline constexpr Rgb kLabelFillColour = MakeRgb(192, 255, 255);

bool IsLabelPixel(Rgb colour);

// A plot coordinate rounded half to even to a whole pixel, for reading the
// pixel under the cursor; clamped to the 32-bit range.
std::int32_t PixelOf(float v);

// The label picked by a right-button press.
struct LabelGrab {
    int MovingLabel = 0;  // the peak slot
    LabelBox box;         // its rectangle, where the drag frame starts
    std::int16_t GrabOffsetX = 0;
    std::int16_t GrabOffsetY = 0;
};

// The press at (x, y) over a pixel of the given colour: only a label pixel
// picks, and only inside (strictly) the rectangle of a marked peak's label in
// the settings' layout; where rectangles overlap the last slot wins. A label
// pixel outside every rectangle (a leader line, a tick) picks nothing.
std::optional<LabelGrab> PickLabel(const PeakList& peaks, const DisplaySettings& settings, float x,
                                   float y, Rgb pixelUnderCursor);

// Where the drag frame's top-left corner goes for the cursor at (x, y).
struct FramePosition {
    float Left = 0.0f;
    float Top = 0.0f;
};
FramePosition DragFrameAt(const LabelGrab& grab, float x, float y);

// The release: stores the frame's rectangle as the slot's label box of the
// settings' layout (left and top rounded half to even to 32 bits, then right =
// width + left and bottom = height + top rounded the same way). The layout
// stays laid out, so the next redraw draws the label there. Returns false and
// changes nothing for a slot or settings out of range or a value beyond 32
// bits. The caller redraws without asking for a relayout.
bool DropLabel(PeakList& peaks, const DisplaySettings& settings, int slot, double shapeLeft,
               double shapeTop, double shapeWidth, double shapeHeight);

}  // namespace halvorn
