#include "surface/emf_recorder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "surface/text_encoding.h"

namespace halvorn {

namespace {

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kVersion = 0x00010000;
constexpr std::uint32_t kHeaderSize = 108;  // with both header extensions
constexpr std::uint32_t kMapModeAnisotropic = 8;
constexpr std::uint32_t kBkModeTransparent = 1;
constexpr std::uint32_t kGraphicsModeCompatible = 1;
constexpr std::uint32_t kStockWhiteBrush = 0x80000000;
constexpr std::uint32_t kStockBlackPen = 0x80000007;
constexpr std::uint32_t kStockNullPen = 0x80000008;
constexpr std::uint32_t kLogFontPanoseSize = 320;
constexpr std::size_t kFaceChars = 32;

// The picture's description: an application name "0", no picture name.
constexpr char16_t kDescription[] = {u'0', 0, 0};
constexpr std::uint32_t kDescriptionChars = 3;

constexpr std::uint32_t PaddedTo4(std::uint32_t n) {
    return (n + 3) & ~3u;
}

// Arial's cell is 1.1172 em; its average character about half an em.
double EmHeight(const FontRequest& font) {
    if (font.height < 0) {
        return -font.height;
    }
    return font.height > 0 ? font.height / 1.1172 : 12.0;
}

std::vector<double> EstimateAdvances(const FontRequest& font, std::u16string_view text) {
    const double em = EmHeight(font);
    double scale = 1.0;
    if (font.width > 0) {
        const double natural = std::round(em * 904.0 / 2048.0);
        scale = natural > 0 ? font.width / natural : 1.0;
    }
    return std::vector<double>(text.size(), 0.5 * em * scale);
}

}  // namespace

EmfRecorder::EmfRecorder(const ScreenMetrics& screen, const MetafileGeometry& geometry,
                         TextMeasurer measurer)
    : geometry_(geometry),
      measurer_(measurer ? std::move(measurer) : TextMeasurer(EstimateAdvances)),
      objects_(kStockBlackPen, 1),
      slotsInUse_{true, true} {
    // Header; the totals are filled in by Finish.
    BeginRecord(kHeader);
    for (const EmfRect& r : {geometry.bounds, geometry.frame}) {
        PutI32(r.left);
        PutI32(r.top);
        PutI32(r.right);
        PutI32(r.bottom);
    }
    Put32(kSignature);
    Put32(kVersion);
    Put32(0);  // bytes
    Put32(0);  // records
    Put16(0);  // handles
    Put16(0);  // reserved
    Put32(kDescriptionChars);
    Put32(kHeaderSize);
    Put32(0);  // palette entries
    PutI32(screen.horzRes);
    PutI32(screen.vertRes);
    PutI32(screen.horzSize);
    PutI32(screen.vertSize);
    Put32(0);  // pixel format size
    Put32(0);  // pixel format offset
    Put32(0);  // no OpenGL
    PutI32(screen.horzSize * 1000);
    PutI32(screen.vertSize * 1000);
    for (const char16_t c : kDescription) {
        Put16(c);
    }
    EndRecord();

    Simple(kSetMapMode, {kMapModeAnisotropic});
    Simple(kSetWindowExtEx, {static_cast<std::uint32_t>(geometry.windowExtent.cx),
                             static_cast<std::uint32_t>(geometry.windowExtent.cy)});
    Simple(kSetViewportExtEx, {static_cast<std::uint32_t>(geometry.viewportExtent.cx),
                               static_cast<std::uint32_t>(geometry.viewportExtent.cy)});
    Simple(kSetBkMode, {kBkModeTransparent});
    // The initial font is a real object in slot 1, so that selecting it back
    // gives the same face as on the other surfaces.
    RecordFont(1, InitialFont());
    Simple(kSelectObject, {1});
}

// ---- bytes ------------------------------------------------------------------

void EmfRecorder::Put32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void EmfRecorder::Put16(std::uint16_t v) {
    bytes_.push_back(static_cast<std::uint8_t>(v));
    bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
}

void EmfRecorder::Put8(std::uint8_t v) {
    bytes_.push_back(v);
}

void EmfRecorder::PutFloat(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    Put32(bits);
}

void EmfRecorder::PutZeros(std::size_t count) {
    bytes_.insert(bytes_.end(), count, 0);
}

void EmfRecorder::BeginRecord(std::uint32_t type) {
    recordStart_ = bytes_.size();
    Put32(type);
    Put32(0);  // size, set by EndRecord
}

void EmfRecorder::EndRecord() {
    PutZeros(PaddedTo4(static_cast<std::uint32_t>(bytes_.size() - recordStart_)) -
             (bytes_.size() - recordStart_));
    const auto size = static_cast<std::uint32_t>(bytes_.size() - recordStart_);
    for (int i = 0; i < 4; ++i) {
        bytes_[recordStart_ + 4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    ++records_;
}

void EmfRecorder::Simple(std::uint32_t type, std::initializer_list<std::uint32_t> values) {
    BeginRecord(type);
    for (const std::uint32_t v : values) {
        Put32(v);
    }
    EndRecord();
}

// ---- object slots -------------------------------------------------------------

EmfRecorder::Slot EmfRecorder::TakeSlot() {
    const auto free = std::find(slotsInUse_.begin() + 1, slotsInUse_.end(), false);
    const auto slot = static_cast<Slot>(free - slotsInUse_.begin());
    if (free == slotsInUse_.end()) {
        slotsInUse_.push_back(true);
    } else {
        *free = true;
    }
    return slot;
}

void EmfRecorder::FreeSlot(Slot slot) {
    if (slot > 0 && slot < slotsInUse_.size()) {
        slotsInUse_[slot] = false;
    }
}

EmfRecorder::Slot EmfRecorder::SlotOf(ObjectHandle handle, ObjectKind kind) const {
    const auto* entry = objects_.Find(handle);
    return entry != nullptr && entry->kind == kind ? entry->payload : 0;
}

void EmfRecorder::RecordFont(Slot slot, const FontRequest& font) {
    BeginRecord(kExtCreateFontIndirectW);
    Put32(slot);
    // LOGFONTW
    PutI32(font.height);
    PutI32(font.width);
    PutI32(font.escapement);
    PutI32(font.escapement);  // orientation
    PutI32(font.weight);
    Put8(0);  // italic
    Put8(0);  // underline
    Put8(0);  // strike-out
    Put8(0);  // character set: ANSI
    Put8(0);  // output precision
    Put8(0);  // clip precision
    Put8(0);  // quality
    Put8(0);  // pitch and family
    const std::u16string face = DecodeAnsi(DrawingFace(font.face));
    for (std::size_t i = 0; i < kFaceChars; ++i) {
        Put16(i + 1 < kFaceChars && i < face.size() ? face[i] : 0);
    }
    // The rest of the panose form: full name, style, version, ... all unset.
    PutZeros(kLogFontPanoseSize - 92);
    EndRecord();
}

// ---- Surface ------------------------------------------------------------------

ObjectHandle EmfRecorder::CreatePen(Rgb colour) {
    if (finished_) {
        return 0;
    }
    const Slot slot = TakeSlot();
    BeginRecord(kCreatePen);
    Put32(slot);
    Put32(0);   // solid
    PutI32(1);  // width
    PutI32(0);
    Put32(colour);
    EndRecord();
    return objects_.AddPen(colour, slot);
}

ObjectHandle EmfRecorder::CreateFont(const FontRequest& font) {
    if (finished_) {
        return 0;
    }
    const Slot slot = TakeSlot();
    RecordFont(slot, font);
    return objects_.AddFont(font, slot);
}

ObjectHandle EmfRecorder::SelectObject(ObjectHandle object) {
    const auto* entry = objects_.Find(object);
    if (finished_ || entry == nullptr) {
        return 0;
    }
    Simple(kSelectObject, {entry->payload});
    return objects_.Select(object);
}

void EmfRecorder::DeleteObject(ObjectHandle object) {
    const auto* entry = objects_.Find(object);
    if (finished_ || entry == nullptr) {
        return;
    }
    const Slot slot = entry->payload;
    if (objects_.Delete(object)) {
        Simple(kDeleteObject, {slot});
        FreeSlot(slot);
    }
}

Rgb EmfRecorder::SetTextColor(Rgb colour) {
    if (finished_) {
        return textColour_;
    }
    Simple(kSetTextColor, {colour});
    return std::exchange(textColour_, colour);
}

void EmfRecorder::MoveTo(int x, int y) {
    if (!finished_) {
        Simple(kMoveToEx, {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)});
    }
}

void EmfRecorder::LineTo(int x, int y) {
    if (!finished_) {
        Simple(kLineTo, {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)});
    }
}

void EmfRecorder::SetPixel(int x, int y, Rgb colour) {
    if (!finished_) {
        Simple(kSetPixelV, {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), colour});
    }
}

Rgb EmfRecorder::GetPixel(int, int) const {
    return 0xFFFFFF;
}

void EmfRecorder::TextOut(int x, int y, std::string_view text) {
    if (finished_ || text.empty()) {
        return;
    }
    const FontRequest& font = objects_.Font().font;
    const std::u16string unicode = DecodeForFace(font.face, text);
    FontRequest drawn = font;
    drawn.face = DrawingFace(font.face);
    const std::vector<double> advances = measurer_(drawn, unicode);

    const auto chars = static_cast<std::uint32_t>(unicode.size());
    const std::uint32_t fixed = 76;  // record up to the string
    const std::uint32_t dxOffset = fixed + PaddedTo4(2 * chars);
    BeginRecord(kExtTextOutW);
    PutI32(0);  // bounds: not computed
    PutI32(0);
    PutI32(-1);
    PutI32(-1);
    Put32(kGraphicsModeCompatible);
    // Page units to 0.01 mm, for the compatible graphics mode.
    PutFloat(
        static_cast<float>(static_cast<double>(geometry_.frame.right) / geometry_.windowExtent.cx));
    PutFloat(static_cast<float>(static_cast<double>(geometry_.frame.bottom) /
                                geometry_.windowExtent.cy));
    PutI32(x);  // reference point
    PutI32(y);
    Put32(chars);
    Put32(fixed);  // string offset
    Put32(0);      // options
    PutI32(0);     // no clipping or opaque rectangle
    PutI32(0);
    PutI32(-1);
    PutI32(-1);
    Put32(dxOffset);
    for (const char16_t c : unicode) {
        Put16(c);
    }
    PutZeros(PaddedTo4(2 * chars) - 2 * chars);
    // Character spacing from rounded running positions, so rounding errors do
    // not add up along the text.
    double position = 0;
    for (std::uint32_t i = 0; i < chars; ++i) {
        const double next = position + (i < advances.size() ? advances[i] : 0.0);
        PutI32(static_cast<std::int32_t>(std::lround(next) - std::lround(position)));
        position = next;
    }
    EndRecord();
}

void EmfRecorder::FillRect(int left, int top, int right, int bottom, Rgb colour) {
    if (finished_ || right <= left || bottom <= top) {
        return;
    }
    const Slot brush = TakeSlot();
    BeginRecord(kCreateBrushIndirect);
    Put32(brush);
    Put32(0);  // solid
    Put32(colour);
    Put32(0);  // hatch
    EndRecord();
    Simple(kSelectObject, {brush});
    Simple(kSelectObject, {kStockNullPen});
    // Without an outline the rectangle covers left..right and top..bottom as
    // vector viewers draw it.
    Simple(kRectangle, {static_cast<std::uint32_t>(left), static_cast<std::uint32_t>(top),
                        static_cast<std::uint32_t>(right), static_cast<std::uint32_t>(bottom)});
    Simple(kSelectObject, {objects_.Pen().payload});
    Simple(kSelectObject, {kStockWhiteBrush});
    Simple(kDeleteObject, {brush});
    FreeSlot(brush);
}

const std::vector<std::uint8_t>& EmfRecorder::Finish() {
    if (finished_) {
        return bytes_;
    }
    BeginRecord(kEof);
    Put32(0);   // palette entries
    Put32(16);  // palette offset
    Put32(20);  // size of this record, repeated last
    EndRecord();
    finished_ = true;

    auto patch32 = [this](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    patch32(48, static_cast<std::uint32_t>(bytes_.size()));
    patch32(52, records_);
    const auto handles =
        static_cast<std::uint16_t>(std::min<std::size_t>(slotsInUse_.size(), 0xFFFF));
    bytes_[56] = static_cast<std::uint8_t>(handles);
    bytes_[57] = static_cast<std::uint8_t>(handles >> 8);
    return bytes_;
}

}  // namespace halvorn
