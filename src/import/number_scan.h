// Number reading for the readers' data tables: the value ParseNumber gives,
// found without copying the text when it is a plain decimal number.
#pragma once

#include <charconv>
#include <string_view>
#include <system_error>

#include "core/numbers.h"

namespace halvorn {

namespace detail {

inline bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether ParseNumber stops at c without reading it or anything after it.
inline bool EndsNumber(char c) {
    return !(IsDecimalDigit(c) || c == '.' || c == ' ' || c == '\t' || c == '\n' || c == 'E' ||
             c == 'e' || c == 'D' || c == 'd');
}

}  // namespace detail

// ParseNumber(text): blanks and tabs before the number skipped, then an
// optional sign, digits with an optional point and an optional exponent with E
// or e. Anything ParseNumber reads otherwise (blanks inside the number, a D
// exponent, a number too large or too small for a double) goes to it.
inline double ReadNumber(std::string_view text) {
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
        if (*start == '+') {
            start = digitsStart;
        }
        double value = 0.0;
        const std::from_chars_result result = std::from_chars(start, p, value);
        if (result.ec == std::errc() && result.ptr == p) {
            return value;
        }
    }
    return ParseNumber(text);
}

}  // namespace halvorn
