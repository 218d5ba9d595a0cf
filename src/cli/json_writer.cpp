#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <sstream>

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

// The library escapes (it only takes well-formed UTF-8); backspace, form feed
// and DEL then take the \u form this program has always written for them.
void WriteString(std::ostream& out, const std::string& text) {
    const std::string escaped = Json(Utf8OrLatin1(text)).dump();
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c == '\\' && i + 1 < escaped.size()) {
            const char next = escaped[++i];
            out << (next == 'b' ? "\\u0008" : next == 'f' ? "\\u000c" : std::string{c, next});
        } else if (c == '\x7F') {
            out << "\\u007f";
        } else {
            out << c;
        }
    }
}

void WriteNumber(std::ostream& out, double number) {
    if (!std::isfinite(number)) {
        out << "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    out.write(buffer, result.ptr - buffer);
}

}  // namespace

std::string Utf8OrLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = Utf8SequenceLength(text, i); length > 0) {
            out.append(text.substr(i, length));
            i += length;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
        }
    }
    return out;
}

void WriteJson(std::ostream& out, const Json& value) {
    switch (value.type()) {
        case Json::value_t::object: {
            out << '{';
            bool first = true;
            for (const auto& [key, member] : value.items()) {
                if (!first) {
                    out << ',';
                }
                first = false;
                WriteString(out, key);
                out << ':';
                WriteJson(out, member);
            }
            out << '}';
            break;
        }
        case Json::value_t::array: {
            out << '[';
            bool first = true;
            for (const Json& element : value) {
                if (!first) {
                    out << ',';
                }
                first = false;
                WriteJson(out, element);
            }
            out << ']';
            break;
        }
        case Json::value_t::string:
            WriteString(out, value.get_ref<const std::string&>());
            break;
        case Json::value_t::number_float:
            WriteNumber(out, value.get<double>());
            break;
        default:
            // Integers, Booleans and null as the library writes them.
            out << value.dump();
    }
}

std::string JsonText(const Json& value) {
    std::ostringstream out;
    WriteJson(out, value);
    return out.str();
}

}  // namespace halvorn
