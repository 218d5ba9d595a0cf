// Lines and numbers of the text formats read strictly: a number is a whole
// token, not the start of one, so that text lines can be told from data lines.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvorn {

// The lines of a text, ended by CR LF, CR or LF.
inline std::vector<std::string_view> TextLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end < text.size() && text[end] == '\r' && start < text.size() && text[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

// The text without blanks and TABs at either end.
inline std::string_view TrimBlanks(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && (text[first] == ' ' || text[first] == '\t')) {
        ++first;
    }
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t')) {
        --last;
    }
    return text.substr(first, last - first);
}

// The position of the first blank or TAB, or npos.
inline std::size_t FirstBlank(std::string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == ' ' || text[k] == '\t') {
            return k;
        }
    }
    return std::string_view::npos;
}

namespace detail {

// The token as a number when it is a plain decimal whose digits fit 2^53 and
// whose power of ten is at most 22 either way: then one multiplication or
// division of two exact doubles gives the correctly rounded value.
inline std::optional<double> ExactShortNumber(const char* p, const char* end) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int scale = 0;
    bool any = false;
    for (; p != end && *p >= '0' && *p <= '9'; ++p, any = true) {
        if (digits > 0 || *p != '0') {
            ++digits;
        }
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        if (digits > 17) {
            return std::nullopt;
        }
    }
    if (p != end && *p == '.') {
        for (++p; p != end && *p >= '0' && *p <= '9'; ++p, any = true) {
            if (digits > 0 || *p != '0') {
                ++digits;
            }
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            --scale;
            if (digits > 17) {
                return std::nullopt;
            }
        }
    }
    if (!any) {
        return std::nullopt;
    }
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p != end && (*p == '-' || *p == '+')) {
            negativeExponent = *p == '-';
            ++p;
        }
        if (p == end) {
            return std::nullopt;
        }
        int exponent = 0;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            if (exponent > 1000) {
                return std::nullopt;
            }
            exponent = exponent * 10 + (*p - '0');
        }
        scale += negativeExponent ? -exponent : exponent;
    }
    if (p != end || mantissa > (std::uint64_t{1} << 53) || scale < -22 || scale > 22) {
        return std::nullopt;
    }
    const auto m = static_cast<double>(mantissa);
    const double magnitude = scale < 0 ? m / kPowers[-scale] : m * kPowers[scale];
    return negative ? -magnitude : magnitude;
}

}  // namespace detail

// The token as a number when the whole of it is one: an optional sign, digits
// with a decimal point (or, with decimalComma, a decimal comma), an optional
// exponent. Infinities and NaN are not numbers here.
inline std::optional<double> WholeNumber(std::string_view token, bool decimalComma = false) {
    if (token.empty() || token.size() > 64) {
        return std::nullopt;
    }
    char buffer[65] = {};
    std::size_t length = 0;
    for (const char c : token) {
        const bool digit = c >= '0' && c <= '9';
        if (!digit && c != '.' && c != ',' && c != '+' && c != '-' && c != 'e' && c != 'E') {
            return std::nullopt;
        }
        if (c == ',' && !decimalComma) {
            return std::nullopt;
        }
        buffer[length++] = c == ',' ? '.' : c;
    }
    const char* first = buffer;
    const char* const last = buffer + length;
    if (const std::optional<double> exact = detail::ExactShortNumber(first, last)) {
        return exact;
    }
    if (*first == '+') {
        ++first;
        if (first != last && (*first == '-' || *first == '+')) {
            return std::nullopt;
        }
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace halvorn
