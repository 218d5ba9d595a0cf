#include "core/character_set.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace halvorn {

namespace {

// Windows-1251 characters 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kWindows1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

bool IsSingleByteLetter(unsigned char c) {
    return c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        // Eight ASCII bytes at a time.
        std::uint64_t word = 0;
        if (i + 8 <= n &&
            (std::memcpy(&word, bytes.data() + i, 8), word & 0x8080808080808080u) == 0) {
            i += 8;
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t more = 0;
        char32_t code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            code = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            code = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            code = c & 0x07u;
        } else {
            return false;
        }
        if (i + more >= n) {
            return false;
        }
        for (std::size_t k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (d & 0x3Fu);
        }
        // Overlong forms, surrogates and code points beyond U+10FFFF.
        if ((more == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (more == 3 && (code < 0x10000 || code > 0x10FFFF))) {
            return false;
        }
        i += more + 1;
    }
    return true;
}

TextEncoding GuessTextEncoding(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return TextEncoding::Utf8;
    }
    std::size_t letters = 0;
    std::size_t grouped = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::uint64_t word = 0;
        if (i + 9 <= bytes.size() &&
            (std::memcpy(&word, bytes.data() + i + 1, 8), word & 0x8080808080808080u) == 0 &&
            static_cast<unsigned char>(bytes[i]) < 0x80) {
            i += 8;  // nine ASCII bytes: no letter, and none beside one
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (!IsSingleByteLetter(c)) {
            continue;
        }
        ++letters;
        const bool before = i > 0 && IsSingleByteLetter(static_cast<unsigned char>(bytes[i - 1]));
        const bool after =
            i + 1 < bytes.size() && IsSingleByteLetter(static_cast<unsigned char>(bytes[i + 1]));
        if (before || after) {
            ++grouped;
        }
    }
    return letters > 0 && 2 * grouped > letters ? TextEncoding::Windows1251 : TextEncoding::Latin1;
}

std::string ToUtf8(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80 || encoding == TextEncoding::Latin1) {
            AppendUtf8(out, c);
        } else if (c >= 0xC0) {
            AppendUtf8(out, static_cast<char32_t>(0x410 + (c - 0xC0)));
        } else {
            AppendUtf8(out, kWindows1251High[c - 0x80]);
        }
    }
    return out;
}

std::string ShownText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return ToUtf8(bytes, GuessTextEncoding(bytes));
}

std::string AsciiUpperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

bool HasNonAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return true;
        }
    }
    return false;
}

std::u16string Utf16OfUtf8(std::string_view utf8) {
    std::u16string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1Fu
                        : length == 3 ? lead & 0x0Fu
                                      : lead & 0x07u;
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            text += static_cast<char16_t>(0xD800 + (code >> 10));
            text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            text += static_cast<char16_t>(code);
        }
        i += length;
    }
    return text;
}

std::string_view FirstCharacters(std::string_view utf8, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t k = 0; k < count && i < utf8.size(); ++k) {
        ++i;
        while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) {
            ++i;
        }
    }
    return utf8.substr(0, i);
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

}  // namespace halvorn
