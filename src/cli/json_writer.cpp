#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace halvorn {

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], or 0. Overlong
// forms, surrogates and code points above U+10FFFF are not well-formed.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    unsigned char low = 0x80;  // bounds of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text, i);
            if (length > 0) {
                out.append(text.substr(i, length));
                i += length;
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
                ++i;
            }
            continue;
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                    out += buffer;
                } else {
                    out += static_cast<char>(c);
                }
        }
        ++i;
    }
    out += '"';
    return out;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasElement_.empty()) {
        if (hasElement_.back()) {
            out_ << ',';
        }
        hasElement_.back() = true;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    out_ << '{';
    hasElement_.push_back(false);
}

void JsonWriter::EndObject() {
    hasElement_.pop_back();
    out_ << '}';
}

void JsonWriter::BeginArray() {
    BeforeValue();
    out_ << '[';
    hasElement_.push_back(false);
}

void JsonWriter::EndArray() {
    hasElement_.pop_back();
    out_ << ']';
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    out_ << JsonString(key) << ':';
    afterKey_ = true;
    return *this;
}

void JsonWriter::Value(std::string_view text) {
    BeforeValue();
    out_ << JsonString(text);
}

void JsonWriter::Value(double number) {
    BeforeValue();
    if (!std::isfinite(number)) {
        out_ << "null";
        return;
    }
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    out_.write(buffer, result.ptr - buffer);
}

void JsonWriter::Value(std::int64_t number) {
    BeforeValue();
    out_ << number;
}

void JsonWriter::Value(bool flag) {
    BeforeValue();
    out_ << (flag ? "true" : "false");
}

}  // namespace halvorn
