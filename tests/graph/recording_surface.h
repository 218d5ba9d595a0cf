// A surface for the graph tests: it keeps a pixel grid (lines drawn with the
// program's own line routine, end pixel unpainted) and a log of every call, so
// tests can check pixels, texts with their fonts and the objects made and
// released.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "surface/line_walk.h"
#include "surface/surface.h"

namespace halvorn::test {

class RecordingSurface final : public Surface {
  public:
    struct Text {
        int x;
        int y;
        std::string text;
        FontRequest font;
        Rgb colour;
    };
    struct Line {
        int x1, y1, x2, y2;
        Rgb colour;
    };

    RecordingSurface(int width, int height)
        : width_(width), height_(height), pixels_(std::size_t(width) * height, kWhite) {
        objects_[1] = {true, 0, {}};  // stock pen, black
        objects_[2] = {false, 0, {"System", 16, 0, 0, 400}};
    }

    static constexpr Rgb kWhite = 0xFFFFFF;

    ObjectHandle CreatePen(Rgb colour) override {
        objects_[next_] = {true, colour, {}};
        ++created;
        return next_++;
    }
    ObjectHandle CreateFont(const FontRequest& font) override {
        objects_[next_] = {false, 0, font};
        ++created;
        return next_++;
    }
    ObjectHandle SelectObject(ObjectHandle object) override {
        const bool pen = objects_.at(object).pen;
        ObjectHandle& slot = pen ? pen_ : font_;
        const ObjectHandle previous = slot;
        slot = object;
        return previous;
    }
    void DeleteObject(ObjectHandle object) override {
        if (object == pen_ || object == font_ || objects_.erase(object) == 0) {
            ++badDeletes;
        }
        ++deleted;
    }
    Rgb SetTextColor(Rgb colour) override {
        const Rgb previous = textColour_;
        textColour_ = colour;
        return previous;
    }
    void MoveTo(int x, int y) override { x_ = x, y_ = y; }
    void LineTo(int x, int y) override {
        const Rgb colour = objects_.at(pen_).colour;
        lines.push_back({x_, y_, x, y, colour});
        WalkLine(x_, y_, x, y, LineClip{0, 0, width_, height_},
                 [&](int px, int py) { pixels_[Index(px, py)] = colour; });
        x_ = x, y_ = y;
    }
    void SetPixel(int x, int y, Rgb colour) override {
        if (Inside(x, y)) {
            pixels_[Index(x, y)] = colour;
        }
        ++pixelsSet;
    }
    Rgb GetPixel(int x, int y) const override {
        return Inside(x, y) ? pixels_[Index(x, y)] : 0xFFFFFFFF;
    }
    void TextOut(int x, int y, std::string_view text) override {
        texts.push_back({x, y, std::string(text), objects_.at(font_).font, textColour_});
    }
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override {
        fills.push_back({left, top, right, bottom, colour});
    }

    ObjectHandle SelectedPen() const { return pen_; }
    ObjectHandle SelectedFont() const { return font_; }
    // Objects still alive besides the two stock ones.
    std::size_t LiveObjects() const { return objects_.size() - 2; }

    std::vector<Text> texts;
    std::vector<Line> lines;
    std::vector<Line> fills;
    int created = 0;
    int deleted = 0;
    int badDeletes = 0;
    int pixelsSet = 0;

  private:
    struct Object {
        bool pen;
        Rgb colour;
        FontRequest font;
    };
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::size_t Index(int x, int y) const { return std::size_t(y) * width_ + x; }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
    std::map<ObjectHandle, Object> objects_;
    ObjectHandle next_ = 3;
    ObjectHandle pen_ = 1;
    ObjectHandle font_ = 2;
    Rgb textColour_ = 0;
    int x_ = 0;
    int y_ = 0;
};

}  // namespace halvorn::test
