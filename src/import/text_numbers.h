// Lines and numbers of the text formats read strictly: a number is a whole
// token, not the start of one, so that text lines can be told from data lines.
#pragma once

#include <charconv>
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
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
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
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

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
