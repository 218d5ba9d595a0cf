#include "surface/text_encoding.h"

#include <array>
#include <cstdint>

#include "core/character_set.h"

namespace halvorn {

namespace {

// Windows-1252 bytes 0x80..0x9F.
constexpr std::array<char16_t, 32> kAnsiHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
};

char16_t AnsiChar(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kAnsiHigh[byte - 0x80];
    }
    return byte;
}

// Symbol codes 0x41..0x5A and 0x61..0x7A: the Greek alphabet in the symbol
// font's own letter order.
constexpr std::array<char16_t, 26> kSymbolUpper = {
    0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399,
    0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1,
    0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396,
};
constexpr std::array<char16_t, 26> kSymbolLower = {
    0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9,
    0x03D5, 0x03BA, 0x03BB, 0x00B5, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1,
    0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6,
};

// Symbol codes 0xA0..0xF2 (0 where the code has no single Unicode character).
constexpr std::array<char16_t, 0xF3 - 0xA0> kSymbolHigh = {
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // A0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // B0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,  // B8
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // C0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,  // C8
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,  // D0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,  // D8
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0,      0,       // E0
    0,      0,      0,      0,      0,      0,      0,      0,       // E8
    0,      0x232A, 0x222B,                                          // F0
};

char16_t SymbolChar(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') {
        return kSymbolUpper[byte - 'A'];
    }
    if (byte >= 'a' && byte <= 'z') {
        return kSymbolLower[byte - 'a'];
    }
    switch (byte) {
        case 0x22:
            return 0x2200;  // for all
        case 0x24:
            return 0x2203;  // there exists
        case 0x27:
            return 0x220B;  // contains as member
        case 0x2A:
            return 0x2217;  // asterisk operator
        case 0x2D:
            return 0x2212;  // minus sign
        case 0x40:
            return 0x2245;  // approximately equal
        case 0x5C:
            return 0x2234;  // therefore
        case 0x5E:
            return 0x22A5;  // perpendicular
        case 0x7E:
            return 0x223C;  // tilde operator
        default:
            break;
    }
    if (byte >= 0xA0 && byte < 0xF3 && kSymbolHigh[byte - 0xA0] != 0) {
        return kSymbolHigh[byte - 0xA0];
    }
    return AnsiChar(byte);
}

template <class Map>
std::u16string Decode(std::string_view bytes, Map map) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        text.push_back(map(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace

bool IsSymbolFace(std::string_view face) {
    constexpr std::string_view kSymbol = "symbol";
    if (face.size() != kSymbol.size()) {
        return false;
    }
    for (std::size_t i = 0; i < face.size(); ++i) {
        const char c = face[i] >= 'A' && face[i] <= 'Z' ? static_cast<char>(face[i] + 32) : face[i];
        if (c != kSymbol[i]) {
            return false;
        }
    }
    return true;
}

std::u16string DecodeAnsi(std::string_view bytes) {
    if (HasNonAscii(bytes) && IsValidUtf8(bytes)) {
        return Utf16OfUtf8(bytes);
    }
    return Decode(bytes, AnsiChar);
}

std::u16string DecodeSymbol(std::string_view bytes) {
    return Decode(bytes, SymbolChar);
}

std::string DrawingFace(std::string_view face) {
    return IsSymbolFace(face) ? std::string("Arial") : std::string(face);
}

}  // namespace halvorn
