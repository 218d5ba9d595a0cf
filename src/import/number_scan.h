// Number reading for the readers' data tables: the value ParseNumber gives,
// found without copying the text when it is a plain decimal number.
#pragma once

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>

#include "core/numbers.h"

namespace halvorn {

// The 8 bytes at p as one 64-bit word, the first in its lowest byte.
inline std::uint64_t WordAt(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

// The count of decimal digits at the start of a word of 8 bytes (see
// WordAt), 0 to 8. A byte is a digit when its high half is 3 and stays 3
// after adding 6; a carry out of a byte only reaches the bytes after it,
// which lie beyond the first non-digit.
[[gnu::always_inline]] inline int DigitCountOfWord(std::uint64_t word) {
    constexpr std::uint64_t kHighHalves = 0xF0F0F0F0F0F0F0F0;
    constexpr std::uint64_t kThrees = 0x3030303030303030;
    const std::uint64_t notDigit =
        ((word & kHighHalves) ^ kThrees) | (((word + 0x0606060606060606) & kHighHalves) ^ kThrees);
    return notDigit == 0 ? 8 : std::countr_zero(notDigit) / 8;
}

// The value of the first count digits of the word, 0 when count is 0.
[[gnu::always_inline]] inline std::uint64_t DigitsOfWord(std::uint64_t word, int count) {
    // The digits moved to the word's last bytes, with zeros before them, and
    // combined pairwise: 2 digits, then 4, then 8. (No digit: nothing is left.)
    std::uint64_t d = count == 0 ? 0 : (word & 0x0F0F0F0F0F0F0F0F) << (8 * (8 - count));
    d = (d * 2561) >> 8;
    d = ((d & 0x00FF00FF00FF00FF) * 6553601) >> 16;
    return ((d & 0x0000FFFF0000FFFF) * 42949672960001) >> 32;
}

// The count of decimal digits at the start of the 8 bytes at p, and their
// value: all 8 bytes are looked at in one 64-bit word.
inline int LeadingDigitsOfWord(const char* p, std::uint64_t& value) {
    const std::uint64_t word = WordAt(p);
    const int count = DigitCountOfWord(word);
    value = DigitsOfWord(word, count);
    return count;
}

namespace detail {

inline bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether ParseNumber stops at c without reading it or anything after it.
inline bool EndsNumber(char c) {
    return !(IsDecimalDigit(c) || c == '.' || c == ' ' || c == '\t' || c == '\n' || c == 'E' ||
             c == 'e' || c == 'D' || c == 'd');
}

// A number of at most 15 significant digits with a decimal exponent of at
// most 22 either way (after the point is accounted for) is an exact integer
// times or over an exact power of ten, so one rounded multiplication or
// division gives the correctly rounded value, as every conversion must.
inline bool ShortDecimal(const char* p, const char* end, double& value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int exponent = 0;
    for (; p < end && IsDecimalDigit(*p); ++p) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        digits += mantissa != 0 ? 1 : 0;
    }
    if (p < end && *p == '.') {
        for (++p; p < end && IsDecimalDigit(*p); ++p) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            digits += mantissa != 0 ? 1 : 0;
            --exponent;
        }
    }
    if (digits > 15) {
        return false;
    }
    if (p < end) {  // E or e, an optional sign and digits
        ++p;
        bool negativeExponent = false;
        if (*p == '+' || *p == '-') {
            negativeExponent = *p == '-';
            ++p;
        }
        int written = 0;
        for (; p < end; ++p) {
            if (written > 1000) {
                return false;
            }
            written = written * 10 + (*p - '0');
        }
        exponent += negativeExponent ? -written : written;
    }
    if (exponent < -22 || exponent > 22) {
        return false;
    }
    const double m = static_cast<double>(mantissa);
    const double magnitude = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace detail

// The quick path of ReadNumber: true, with the value ParseNumber would give,
// when the text is blanks and tabs, an optional sign, digits with an optional
// point and an optional exponent with E or e, and then nothing ParseNumber
// would read on; false for anything else (blanks inside the number, a D
// exponent, a number too large or too small for a double).
inline bool QuickNumber(std::string_view text, double& value) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t')) {
        ++p;
    }
    const char* start = p;
    if (p < end && (*p == '+' || *p == '-')) {
        ++p;
    }
    const char* const digitsStart = p;
    std::size_t digits = 0;
    while (p < end && detail::IsDecimalDigit(*p)) {
        ++p;
        ++digits;
    }
    if (p < end && *p == '.') {
        ++p;
        while (p < end && detail::IsDecimalDigit(*p)) {
            ++p;
            ++digits;
        }
    }
    bool plain = digits > 0;
    if (plain && p < end && (*p == 'E' || *p == 'e')) {
        ++p;
        if (p < end && (*p == '+' || *p == '-')) {
            ++p;
        }
        const char* const exponentStart = p;
        while (p < end && detail::IsDecimalDigit(*p)) {
            ++p;
        }
        plain = p > exponentStart;
    }
    if (plain && (p == end || detail::EndsNumber(*p))) {
        if (detail::ShortDecimal(start, p, value)) {
            return true;
        }
        if (*start == '+') {
            start = digitsStart;
        }
        const std::from_chars_result result = std::from_chars(start, p, value);
        return result.ec == std::errc() && result.ptr == p;
    }
    return false;
}

// The value of a token known to be exactly a plain number (an optional sign,
// digits with an optional point, an optional exponent with E or e, nothing
// else); false when it lies beyond the range of a double, which ParseNumber
// then reports.
inline bool PlainNumberValue(std::string_view token, double& value) {
    const char* start = token.data();
    const char* const end = start + token.size();
    if (detail::ShortDecimal(start, end, value)) {
        return true;
    }
    if (*start == '+') {
        ++start;
    }
    const std::from_chars_result result = std::from_chars(start, end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// Whether the token is exactly a plain number: an optional sign, digits with an
// optional point (at least one digit in all), and an optional exponent of E or
// e, an optional sign and at least one digit. When it is, quick tells whether
// value already holds its value (short numbers, read in the same pass);
// otherwise PlainNumberValue or ParseNumber has to read it.
inline bool ScanPlainNumber(std::string_view token, double& value, bool& quick) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = token.data();
    const char* const end = p + token.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int significant = 0;
    int exponent = 0;
    bool hugeExponent = false;
    for (; p < end && detail::IsDecimalDigit(*p); ++p) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        significant += mantissa != 0 ? 1 : 0;
        ++digits;
    }
    if (p < end && *p == '.') {
        for (++p; p < end && detail::IsDecimalDigit(*p); ++p) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            significant += mantissa != 0 ? 1 : 0;
            ++digits;
            --exponent;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (p < end && (*p == 'E' || *p == 'e')) {
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '+' || *p == '-')) {
            negativeExponent = *p == '-';
            ++p;
        }
        const char* const exponentStart = p;
        int written = 0;
        for (; p < end && detail::IsDecimalDigit(*p); ++p) {
            if (written <= 100000) {
                written = written * 10 + (*p - '0');
            } else {
                hugeExponent = true;
            }
        }
        if (p == exponentStart) {
            return false;
        }
        exponent += negativeExponent ? -written : written;
    }
    if (p != end) {
        return false;
    }
    quick =
        !hugeExponent && digits < 1000000 && significant <= 15 && exponent >= -22 && exponent <= 22;
    if (quick) {
        const double m = static_cast<double>(mantissa);
        const double magnitude = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
        value = negative ? -magnitude : magnitude;
    }
    return true;
}

inline bool IsPlainNumber(std::string_view token) {
    double value = 0.0;
    bool quick = false;
    return ScanPlainNumber(token, value, quick);
}

// ParseNumber(text), without copying the text when it is a plain number.
inline double ReadNumber(std::string_view text) {
    double value = 0.0;
    return QuickNumber(text, value) ? value : ParseNumber(text);
}

}  // namespace halvorn
