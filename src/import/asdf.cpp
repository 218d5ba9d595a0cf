#include "import/asdf.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

namespace halvorn {

namespace {

enum class Kind : std::uint8_t {
    Other,
    Separator,  // blank, tab, CR, comma, semicolon
    Number,     // digit, point, sign: a plain number starts
    Sqz,        // @ A-I a-i
    Dif,        // % J-R j-r
    Dup,        // S-Z s
    Missing,    // ?
    Dollar,     // $, a comment when doubled
};

struct CharInfo {
    Kind kind = Kind::Other;
    std::int8_t digit = 0;  // the signed digit of a letter form (the count of a repeat)
};

constexpr std::array<CharInfo, 256> MakeTable() {
    std::array<CharInfo, 256> t{};
    for (const char c : {' ', '\t', '\r', ',', ';'}) {
        t[static_cast<unsigned char>(c)].kind = Kind::Separator;
    }
    for (char c = '0'; c <= '9'; ++c) {
        t[static_cast<unsigned char>(c)].kind = Kind::Number;
    }
    for (const char c : {'.', '+', '-'}) {
        t[static_cast<unsigned char>(c)].kind = Kind::Number;
    }
    t['@'] = {Kind::Sqz, 0};
    for (int d = 1; d <= 9; ++d) {
        t[static_cast<unsigned char>('A' + d - 1)] = {Kind::Sqz, static_cast<std::int8_t>(d)};
        t[static_cast<unsigned char>('a' + d - 1)] = {Kind::Sqz, static_cast<std::int8_t>(-d)};
        t[static_cast<unsigned char>('J' + d - 1)] = {Kind::Dif, static_cast<std::int8_t>(d)};
        t[static_cast<unsigned char>('j' + d - 1)] = {Kind::Dif, static_cast<std::int8_t>(-d)};
    }
    t['%'] = {Kind::Dif, 0};
    for (int d = 1; d <= 8; ++d) {
        t[static_cast<unsigned char>('S' + d - 1)] = {Kind::Dup, static_cast<std::int8_t>(d)};
    }
    t['s'] = {Kind::Dup, 9};
    t['?'].kind = Kind::Missing;
    t['$'].kind = Kind::Dollar;
    return t;
}

constexpr std::array<CharInfo, 256> kTable = MakeTable();

inline const CharInfo& InfoOf(char c) {
    return kTable[static_cast<unsigned char>(c)];
}

inline bool IsDigit(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0' <= 9u;
}

// A plain number at p: an optional sign, digits with an optional point, and
// an exponent only where E or e is followed by a sign and a digit (a lone E
// or e is the compact form of +5 or -5). Returns the end of the number, or
// nullptr when p holds no number.
const char* ScanPlain(const char* p, const char* end, double& value, int* decimals = nullptr) {
    const char* q = p;
    bool negative = false;
    if (*q == '+' || *q == '-') {
        negative = *q == '-';
        ++q;
    }
    const char* const start = q;
    std::uint64_t mantissa = 0;
    int digits = 0;
    for (; q < end && IsDigit(*q); ++q) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
        ++digits;
    }
    bool integer = true;
    int fractionDigits = 0;
    if (q < end && *q == '.') {
        integer = false;
        for (++q; q < end && IsDigit(*q); ++q) {
            ++fractionDigits;
        }
    }
    if (digits + fractionDigits == 0) {
        return nullptr;
    }
    if (decimals != nullptr) {
        *decimals = fractionDigits;
    }
    if (q + 2 < end && (*q == 'E' || *q == 'e') && (q[1] == '+' || q[1] == '-') && IsDigit(q[2])) {
        integer = false;
        for (q += 2; q < end && IsDigit(*q); ++q) {
        }
    }
    double v = 0.0;
    if (integer && digits <= 18) {
        v = static_cast<double>(mantissa);
    } else {
        const auto [ptr, ec] = std::from_chars(start, q, v);
        if (ec != std::errc() || ptr != q) {
            return nullptr;
        }
    }
    value = negative ? -v : v;
    return q;
}

// The digits after a letter form's first digit: the value of the whole
// number. Returns nullptr when it is too long or not a number.
const char* ScanAfterLetter(const char* p, const char* end, int firstDigit, double& value) {
    const char* q = p;
    std::uint64_t mantissa = static_cast<std::uint64_t>(firstDigit < 0 ? -firstDigit : firstDigit);
    int digits = 1;
    for (; q < end && IsDigit(*q); ++q) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
        ++digits;
    }
    if (q < end && *q == '.') {
        // A fraction after a compact digit: converted from its text.
        for (++q; q < end && IsDigit(*q); ++q) {
        }
        char text[64];
        const auto length = static_cast<std::size_t>(q - p);
        if (length + 1 > sizeof text) {
            return nullptr;
        }
        text[0] = static_cast<char>('0' + (firstDigit < 0 ? -firstDigit : firstDigit));
        std::memcpy(text + 1, p, length);
        double v = 0.0;
        const auto [ptr, ec] = std::from_chars(text, text + length + 1, v);
        if (ec != std::errc() || ptr != text + length + 1) {
            return nullptr;
        }
        value = firstDigit < 0 ? -v : v;
        return q;
    }
    if (digits > 18) {
        return nullptr;
    }
    const auto v = static_cast<double>(mantissa);
    value = firstDigit < 0 ? -v : v;
    return q;
}

AsdfResult Fault(AsdfStatus status, const char* at, const char* begin) {
    return {status, static_cast<std::size_t>(at - begin)};
}

}  // namespace

const char* AsdfFormName(unsigned forms) {
    const bool dup = (forms & kAsdfDup) != 0;
    if ((forms & kAsdfDif) != 0) {
        return dup ? "DIFDUP" : "DIF";
    }
    if ((forms & kAsdfSqz) != 0) {
        return dup ? "SQZDUP" : "SQZ";
    }
    if ((forms & kAsdfPac) != 0) {
        return dup ? "PACDUP" : "PAC";
    }
    return dup ? "AFFNDUP" : "AFFN";
}

AsdfResult DecodeAsdfLine(std::string_view line, std::vector<double>& y, std::size_t maxValues,
                          AsdfLine& out) {
    out = AsdfLine{};
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    const char* p = begin;
    // What the last token gave: nothing yet, the abscissa, a value, a
    // difference, or a missing value.
    enum class Last { None, X, Value, Dif, Missing } last = Last::None;
    double lastValue = 0.0;
    double lastDiff = 0.0;
    bool afterSeparator = true;
    const double missing = std::numeric_limits<double>::quiet_NaN();

    const auto emit = [&](double v, Last kind) -> bool {
        if (!out.hasX) {
            out.hasX = true;
            out.x = v;
            last = Last::X;
            return true;
        }
        if (y.size() >= maxValues) {
            return false;
        }
        y.push_back(v);
        ++out.yCount;
        lastValue = v;
        last = kind;
        return true;
    };

    while (p < end) {
        const char c = *p;
        const CharInfo& info = InfoOf(c);
        switch (info.kind) {
            case Kind::Separator:
                ++p;
                afterSeparator = true;
                continue;
            case Kind::Dollar:
                if (p + 1 < end && p[1] == '$') {
                    p = end;
                    continue;
                }
                return Fault(AsdfStatus::BadCharacter, p, begin);
            case Kind::Number: {
                double v = 0.0;
                const char* const q = ScanPlain(p, end, v, out.hasX ? nullptr : &out.xDecimals);
                if (q == nullptr) {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                if (out.hasX) {
                    out.forms |= (!afterSeparator && (c == '+' || c == '-')) ? kAsdfPac : kAsdfAffn;
                }
                if (!emit(v, Last::Value)) {
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                p = q;
                break;
            }
            case Kind::Sqz: {
                double v = 0.0;
                const char* const q = ScanAfterLetter(p + 1, end, info.digit, v);
                if (q == nullptr) {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                if (out.hasX) {
                    out.forms |= kAsdfSqz;
                }
                if (!emit(v, Last::Value)) {
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                p = q;
                break;
            }
            case Kind::Dif: {
                if (!out.hasX) {
                    return Fault(AsdfStatus::BadAbscissa, p, begin);
                }
                if (last != Last::Value && last != Last::Dif) {
                    return Fault(AsdfStatus::DifWithoutBase, p, begin);
                }
                double d = 0.0;
                const char* const q = ScanAfterLetter(p + 1, end, info.digit, d);
                if (q == nullptr) {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                out.forms |= kAsdfDif;
                if (!emit(lastValue + d, Last::Dif)) {
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                lastDiff = d;
                p = q;
                break;
            }
            case Kind::Dup: {
                if (!out.hasX) {
                    return Fault(AsdfStatus::BadAbscissa, p, begin);
                }
                if (last == Last::None || last == Last::X) {
                    return Fault(AsdfStatus::DifWithoutBase, p, begin);
                }
                double count = 0.0;
                const char* const q = ScanAfterLetter(p + 1, end, info.digit, count);
                if (q == nullptr || count != std::floor(count)) {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                out.forms |= kAsdfDup;
                // The count includes the token repeated, so count - 1 more.
                if (count < 1.0 || count - 1.0 > static_cast<double>(maxValues - y.size())) {
                    if (count < 1.0) {
                        return Fault(AsdfStatus::BadCharacter, p, begin);
                    }
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                const auto more = static_cast<std::size_t>(count) - 1;
                const Last kind = last;
                for (std::size_t k = 0; k < more; ++k) {
                    const double v = kind == Last::Dif ? lastValue + lastDiff : lastValue;
                    y.push_back(v);
                    lastValue = v;
                }
                out.yCount += more;
                p = q;
                break;
            }
            case Kind::Missing: {
                if (!out.hasX) {
                    return Fault(AsdfStatus::BadAbscissa, p, begin);
                }
                out.forms |= kAsdfMissing;
                if (!emit(missing, Last::Missing)) {
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                ++p;
                break;
            }
            case Kind::Other:
                return Fault(AsdfStatus::BadCharacter, p, begin);
        }
        afterSeparator = false;
    }
    out.endsWithDif = last == Last::Dif;
    return {};
}

bool DecodeAffnLine(std::string_view line, std::vector<double>& values, std::size_t maxValues,
                    AsdfResult& result) {
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    const char* p = begin;
    result = {};
    while (p < end) {
        const char c = *p;
        const Kind kind = InfoOf(c).kind;
        if (kind == Kind::Separator) {
            ++p;
            continue;
        }
        if (kind == Kind::Dollar && p + 1 < end && p[1] == '$') {
            break;
        }
        double v = std::numeric_limits<double>::quiet_NaN();
        const char* q = p + 1;
        if (kind == Kind::Number) {
            q = ScanPlain(p, end, v);
        } else if (kind != Kind::Missing) {
            q = nullptr;
        }
        if (q == nullptr) {
            result = Fault(AsdfStatus::BadCharacter, p, begin);
            return false;
        }
        if (values.size() >= maxValues) {
            result = Fault(AsdfStatus::TooMany, p, begin);
            return false;
        }
        values.push_back(v);
        p = q;
    }
    return true;
}

}  // namespace halvorn
