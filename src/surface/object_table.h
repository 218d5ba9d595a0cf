// The pens and fonts of one surface: handles, what is selected, and the
// bookkeeping of SelectObject and DeleteObject that every surface shares.
//
// Each entry carries a payload of the surface's own (the resolved Qt font, the
// metafile's object index, ...). Handles count up from 1 and are never reused,
// so a stale handle can never reach a newer object. The first two handles are
// the surface's initial pen (black) and initial font; they are selected when
// the table is made and cannot be deleted.
#pragma once

#include <unordered_map>
#include <utility>

#include "surface/surface.h"

namespace halvorn {

enum class ObjectKind { Pen, Font };

// The font selected into a fresh surface.
inline FontRequest InitialFont() {
    return FontRequest{"Arial", -12, 0, 0, 400};
}

template <class Payload>
class ObjectTable {
  public:
    struct Entry {
        ObjectKind kind = ObjectKind::Pen;
        Rgb colour = 0;    // pens
        FontRequest font;  // fonts
        Payload payload{};
    };

    static constexpr ObjectHandle kInitialPen = 1;
    static constexpr ObjectHandle kInitialFont = 2;

    ObjectTable(Payload penPayload, Payload fontPayload) {
        entries_[kInitialPen] = Entry{ObjectKind::Pen, 0, {}, std::move(penPayload)};
        entries_[kInitialFont] = Entry{ObjectKind::Font, 0, InitialFont(), std::move(fontPayload)};
    }

    ObjectHandle AddPen(Rgb colour, Payload payload) {
        entries_[next_] = Entry{ObjectKind::Pen, colour, {}, std::move(payload)};
        return next_++;
    }
    ObjectHandle AddFont(const FontRequest& font, Payload payload) {
        entries_[next_] = Entry{ObjectKind::Font, 0, font, std::move(payload)};
        return next_++;
    }

    // The entry of a live handle, or nullptr.
    const Entry* Find(ObjectHandle handle) const {
        const auto it = entries_.find(handle);
        return it == entries_.end() ? nullptr : &it->second;
    }

    // Makes handle the selected object of its kind and returns the one it
    // replaces; an unknown handle changes nothing and gives 0.
    ObjectHandle Select(ObjectHandle handle) {
        const Entry* entry = Find(handle);
        if (entry == nullptr) {
            return 0;
        }
        ObjectHandle& slot = entry->kind == ObjectKind::Pen ? pen_ : font_;
        return std::exchange(slot, handle);
    }

    // Removes an object. The initial objects, selected objects and unknown
    // handles stay and give false.
    bool Delete(ObjectHandle handle) {
        if (handle == kInitialPen || handle == kInitialFont || handle == pen_ || handle == font_) {
            return false;
        }
        return entries_.erase(handle) > 0;
    }

    ObjectHandle SelectedPen() const { return pen_; }
    ObjectHandle SelectedFont() const { return font_; }
    const Entry& Pen() const { return entries_.at(pen_); }
    const Entry& Font() const { return entries_.at(font_); }
    Entry& Font() { return entries_.at(font_); }

  private:
    std::unordered_map<ObjectHandle, Entry> entries_;
    ObjectHandle pen_ = kInitialPen;
    ObjectHandle font_ = kInitialFont;
    ObjectHandle next_ = 3;
};

}  // namespace halvorn
