// A small streaming JSON writer for the command-line companion's output.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace halvorn {

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    JsonWriter& Key(std::string_view key);

    void Value(std::string_view text);
    void Value(const char* text) { Value(std::string_view(text)); }
    void Value(const std::string& text) { Value(std::string_view(text)); }
    // Doubles are written with the fewest digits that read back to the same
    // value; NaN and infinities, which JSON cannot hold, as null.
    void Value(double number);
    void Value(float number) { Value(static_cast<double>(number)); }
    void Value(std::int64_t number);
    void Value(std::int32_t number) { Value(static_cast<std::int64_t>(number)); }
    void Value(std::int16_t number) { Value(static_cast<std::int64_t>(number)); }
    void Value(bool flag);

    template <typename Container>
    void Array(const Container& values) {
        BeginArray();
        for (const auto& v : values) {
            Value(v);
        }
        EndArray();
    }

  private:
    void BeforeValue();

    std::ostream& out_;
    // One entry per open object or array: whether it already holds an element.
    std::vector<bool> hasElement_;
    bool afterKey_ = false;
};

// The text as a JSON string literal. Valid UTF-8 passes through; any other
// byte is taken as a Latin-1 character.
std::string JsonString(std::string_view text);

}  // namespace halvorn
