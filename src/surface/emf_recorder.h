// A surface that records what is drawn on it as an enhanced metafile (EMF), the
// figure's form on the clipboard and in CurPic.emf. Plain C++: the bytes are
// written here record by record.
//
// The recording starts with the header (frame and bounds from the geometry,
// the reference screen's size in pixels and millimetres), the anisotropic
// mapping mode with window and viewport extents, and a transparent text
// background; drawing calls become records in call order:
//
//   CreatePen      EMR_CREATEPEN (solid, width 1)
//   CreateFont     EMR_EXTCREATEFONTINDIRECTW (height, width, escapement =
//                  orientation, weight; a "Symbol" request is recorded in
//                  "Arial" and its texts as the Unicode characters of their
//                  symbol codes, which every viewer can show)
//   SelectObject   EMR_SELECTOBJECT (the initial pen is the stock black pen)
//   DeleteObject   EMR_DELETEOBJECT
//   SetTextColor   EMR_SETTEXTCOLOR
//   MoveTo/LineTo  EMR_MOVETOEX / EMR_LINETO
//   SetPixel       EMR_SETPIXELV
//   TextOut        EMR_EXTTEXTOUTW, UTF-16, with a character spacing array
//   FillRect       a solid brush, the stock null pen and EMR_RECTANGLE, after
//                  which the pen and the stock white brush are selected again
//                  and the brush deleted
//
// Finish adds EMR_EOF, completes the header's totals and hands the bytes out.
// Object slots are reused lowest first, as the platform does; the header's
// handle count covers the highest slot used.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "surface/metafile_geometry.h"
#include "surface/object_table.h"
#include "surface/surface.h"

namespace halvorn {

// Advances in figure pixels of each character of text in font, for the
// spacing array that fixes where a viewer puts each character. The Qt side
// has an exact one (QtTextMeasurer); without it an estimate of Arial's
// proportions is used.
using TextMeasurer = std::function<std::vector<double>(const FontRequest&, std::u16string_view)>;

class EmfRecorder final : public Surface {
  public:
    EmfRecorder(const ScreenMetrics& screen, const MetafileGeometry& geometry,
                TextMeasurer measurer = nullptr);

    // Ends the recording and returns the whole file. Drawing afterwards is
    // ignored; a second call returns the same bytes.
    const std::vector<std::uint8_t>& Finish();

    ObjectHandle CreatePen(Rgb colour) override;
    ObjectHandle CreateFont(const FontRequest& font) override;
    ObjectHandle SelectObject(ObjectHandle object) override;
    void DeleteObject(ObjectHandle object) override;
    Rgb SetTextColor(Rgb colour) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void SetPixel(int x, int y, Rgb colour) override;
    // A metafile has no pixels to read: always 0xFFFFFF.
    Rgb GetPixel(int x, int y) const override;
    void TextOut(int x, int y, std::string_view text) override;
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override;

    // Record types used (values of the EMF format).
    enum RecordType : std::uint32_t {
        kHeader = 1,
        kEof = 14,
        kSetPixelV = 15,
        kSetMapMode = 17,
        kSetBkMode = 18,
        kSetWindowExtEx = 9,
        kSetViewportExtEx = 11,
        kSetTextColor = 24,
        kMoveToEx = 27,
        kSelectObject = 37,
        kCreatePen = 38,
        kCreateBrushIndirect = 39,
        kDeleteObject = 40,
        kRectangle = 43,
        kLineTo = 54,
        kExtCreateFontIndirectW = 82,
        kExtTextOutW = 84,
    };

  private:
    // An object's slot in the metafile's handle table.
    using Slot = std::uint32_t;

    void BeginRecord(std::uint32_t type);
    void EndRecord();
    void Put32(std::uint32_t value);
    void PutI32(std::int32_t value) { Put32(static_cast<std::uint32_t>(value)); }
    void Put16(std::uint16_t value);
    void Put8(std::uint8_t value);
    void PutFloat(float value);
    void PutZeros(std::size_t count);
    void Simple(std::uint32_t type, std::initializer_list<std::uint32_t> values);
    Slot TakeSlot();
    void FreeSlot(Slot slot);
    void RecordFont(Slot slot, const FontRequest& font);
    Slot SlotOf(ObjectHandle handle, ObjectKind kind) const;

    MetafileGeometry geometry_;
    TextMeasurer measurer_;
    ObjectTable<Slot> objects_;
    std::vector<bool> slotsInUse_;  // index 0 is reserved by the format
    std::vector<std::uint8_t> bytes_;
    std::size_t recordStart_ = 0;
    std::uint32_t records_ = 0;
    Rgb textColour_ = 0;
    bool finished_ = false;
};

}  // namespace halvorn
