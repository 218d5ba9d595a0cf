#include "core/numbers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace halvorn {

namespace {

bool IsInsideBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The %G form of a value whose shortest round-trip form has at most the
// given significant digits, written from that form: the value rounded to
// that many digits is the shortest form itself, because a double is closer
// to its shortest form than to any other decimal of at most 15 digits.
// Returns false, writing nothing, for longer forms.
bool ShortGeneralText(double value, int digits, char decimalSeparator, std::string& text) {
    char buffer[40];
    const char* const end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    // buffer holds [-]d[.ddd]e(+|-)xx.
    const char* p = buffer;
    const bool negative = *p == '-';
    p += negative ? 1 : 0;
    char mantissa[24];
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p != '.' && count < static_cast<int>(sizeof mantissa)) {
            mantissa[count++] = *p;
        }
    }
    while (count > 1 && mantissa[count - 1] == '0') {
        --count;
    }
    if (count > digits) {
        return false;
    }
    const bool negativeExponent = p[1] == '-';
    int exponent = 0;
    for (p += 2; p < end; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    exponent = negativeExponent ? -exponent : exponent;
    char out[48];
    char* o = out;
    if (negative) {
        *o++ = '-';
    }
    if (exponent < -4 || exponent >= digits) {
        *o++ = mantissa[0];
        if (count > 1) {
            *o++ = decimalSeparator;
            std::memcpy(o, mantissa + 1, static_cast<std::size_t>(count - 1));
            o += count - 1;
        }
        *o++ = 'E';
        *o++ = negativeExponent ? '-' : '+';
        const int magnitude = negativeExponent ? -exponent : exponent;
        if (magnitude < 10) {
            *o++ = '0';
        }
        o = std::to_chars(o, out + sizeof out, magnitude).ptr;
    } else if (exponent < 0) {
        *o++ = '0';
        *o++ = decimalSeparator;
        for (int k = -1; k > exponent; --k) {
            *o++ = '0';
        }
        std::memcpy(o, mantissa, static_cast<std::size_t>(count));
        o += count;
    } else {
        // exponent + 1 digits before the point, zeros where the form ends.
        for (int k = 0; k <= exponent; ++k) {
            *o++ = k < count ? mantissa[k] : '0';
        }
        if (count > exponent + 1) {
            *o++ = decimalSeparator;
            std::memcpy(o, mantissa + exponent + 1, static_cast<std::size_t>(count - exponent - 1));
            o += count - exponent - 1;
        }
    }
    text.assign(out, o);
    return true;
}

// The %G form with the mantissa's trailing zeros (and a bare point) removed:
// "1.500000" -> "1.5", "2.000E+07" -> "2E+07".
std::string GeneralText(double value, int digits, char decimalSeparator) {
    if (value == 0.0 || std::isnan(value)) {
        return "0";  // also turns a negative zero into "0"
    }
    std::string shortText;
    if (std::isfinite(value) && ShortGeneralText(value, digits, decimalSeparator, shortText)) {
        return shortText;
    }
    char buffer[64];
    // to_chars in general form with a precision writes what printf's %g does,
    // much faster; only the exponent letter differs.
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits)
            .ptr;
    const auto length = end - buffer;
    char* e = std::find(buffer, buffer + length, 'e');
    if (e != end) {
        *e = 'E';
    }
    const char* exponent = e;
    const char* point = std::find(static_cast<const char*>(buffer), exponent, '.');
    const char* mantissaEnd = exponent;
    if (point != exponent) {
        while (mantissaEnd[-1] == '0') {
            --mantissaEnd;
        }
        if (mantissaEnd[-1] == '.') {
            --mantissaEnd;
        }
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(length));
    text.append(static_cast<const char*>(buffer), mantissaEnd);
    text.append(exponent, end);
    if (decimalSeparator != '.' && point < mantissaEnd) {
        text[static_cast<std::size_t>(point - buffer)] = decimalSeparator;
    }
    return text;
}

}  // namespace

double ParseNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    auto skipInside = [&] {
        while (i < n && IsInsideBlank(text[i])) {
            ++i;
        }
    };
    std::string clean;  // the number without the skipped characters
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        clean += text[i++];
        skipInside();
    }
    bool anyDigit = false;
    bool seenPoint = false;
    while (i < n) {
        char c = text[i];
        if (IsDigit(c)) {
            clean += c;
            anyDigit = true;
        } else if (c == '.' && !seenPoint) {
            clean += c;
            seenPoint = true;
        } else if (!IsInsideBlank(c)) {
            break;
        }
        ++i;
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::string exponent = "E";
        ++i;
        skipInside();
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            exponent += text[i++];
        }
        bool expDigit = false;
        while (i < n && (IsDigit(text[i]) || IsInsideBlank(text[i]))) {
            if (IsDigit(text[i])) {
                exponent += text[i];
                expDigit = true;
            }
            ++i;
        }
        if (expDigit) {
            clean += exponent;
        }
    }
    errno = 0;
    double value = std::strtod(clean.c_str(), nullptr);
    if (std::isinf(value) || (errno == ERANGE && std::fabs(value) > 1.0)) {
        throw ArithmeticFault("number out of range: " + std::string(text));
    }
    return value;
}

double RoundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double p = value * scale;
    const double floored = std::floor(p);
    if (!(floored >= std::numeric_limits<std::int32_t>::min() &&
          floored <= std::numeric_limits<std::int32_t>::max())) {
        throw ArithmeticFault("RoundTo out of range");
    }
    std::int64_t f = static_cast<std::int64_t>(floored);
    if (p - static_cast<double>(f) >= 0.5) {
        ++f;
    }
    return static_cast<double>(f) / scale;
}

std::string CommaToPoint(std::string_view text) {
    std::string result(text);
    std::size_t comma = result.find(',');
    if (comma != std::string::npos) {
        result[comma] = '.';
    }
    return result;
}

std::int32_t ToLong(double value) {
    const double r = std::nearbyint(value);  // the default rounding mode is ties to even
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        throw ArithmeticFault("Long overflow");
    }
    return static_cast<std::int32_t>(r);
}

std::int16_t ToInteger(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= -32768.0 && r <= 32767.0)) {
        throw ArithmeticFault("Integer overflow");
    }
    return static_cast<std::int16_t>(r);
}

float ToSingle(double value) {
    if (std::isnan(value)) {
        throw ArithmeticFault("Single overflow");
    }
    const float f = static_cast<float>(value);
    if (std::isinf(f)) {
        throw ArithmeticFault("Single overflow");
    }
    return f;
}

double Divide(double a, double b) {
    if (b == 0.0) {
        // 0 / 0 is reported as an overflow, any other number over 0 as a
        // division by zero.
        if (a == 0.0) {
            throw ArithmeticFault("overflow: 0 / 0");
        }
        throw ArithmeticFault("division by zero", ArithmeticKind::DivisionByZero);
    }
    const double q = a / b;
    if (!std::isfinite(q)) {
        throw ArithmeticFault("overflow in division");
    }
    return q;
}

std::string SingleText(float value, char decimalSeparator) {
    return GeneralText(static_cast<double>(value), 7, decimalSeparator);
}

std::string DoubleText(double value, char decimalSeparator) {
    return GeneralText(value, 15, decimalSeparator);
}

std::string IntegerText(std::int64_t value) {
    return std::to_string(value);
}

std::string StrForm(double value) {
    std::string text = DoubleText(value, '.');
    return text[0] == '-' ? text : " " + text;
}

}  // namespace halvorn
