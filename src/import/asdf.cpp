#include "import/asdf.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "import/number_scan.h"

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

// The signed digit of each letter form as a double.
constexpr std::array<double, 256> kLetterValues = [] {
    std::array<double, 256> values{};
    for (std::size_t c = 0; c < values.size(); ++c) {
        values[c] = kTable[c].digit;
    }
    return values;
}();

inline const CharInfo& InfoOf(char c) {
    return kTable[static_cast<unsigned char>(c)];
}

inline bool IsDigit(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0' <= 9u;
}

// Reads the run of decimal digits at q into mantissa (times 10 per digit)
// and advances q past it; returns the number of digits. Where eight bytes can
// be read, up to eight digits are found and converted without a branch per
// digit.
template <bool kLong>
[[gnu::always_inline]] inline int ReadDigits(const char*& q, const char* end,
                                             std::uint64_t& mantissa) {
    if (kLong && end - q >= 8) {
        const std::uint64_t w = WordAt(q);
        const int n = DigitCountOfWord(w);
        if (n > 0) {
            static constexpr std::uint64_t kTens[9] = {1,      10,      100,      1000,     10000,
                                                       100000, 1000000, 10000000, 100000000};
            mantissa = mantissa * kTens[n] + DigitsOfWord(w, n);
            q += n;
        }
        if (n < 8) {
            return n;
        }
        // Eight digits and perhaps more: the rest one at a time.
        int digits = 8;
        for (; q < end && IsDigit(*q); ++q) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
            ++digits;
        }
        return digits;
    }
    int digits = 0;
    for (; q < end && IsDigit(*q); ++q) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
        ++digits;
    }
    return digits;
}

// A whole number of up to fifteen digits at q, with nothing after it that
// would make it longer (a point, an exponent): its value, and q moved past
// it. Returns false, q unmoved, for any other number. Seventeen bytes at q
// must be readable. Long numbers are read eight digits at a time, short
// ones a digit at a time.
template <bool kLong>
[[gnu::always_inline]] inline bool TakeWhole(const char*& q, double& magnitude) {
    if constexpr (!kLong) {
        std::uint64_t v = 0;
        int n = 0;
        for (; IsDigit(q[n]) && n < 16; ++n) {
            v = v * 10 + static_cast<std::uint64_t>(q[n] - '0');
        }
        const char after = q[n];
        if (n == 0 || n == 16 || after == '.' || (after | 0x20) == 'e') [[unlikely]] {
            return false;
        }
        magnitude = static_cast<double>(static_cast<std::int64_t>(v));
        q += n;
        return true;
    }
    std::uint64_t word = WordAt(q);
    int n = DigitCountOfWord(word);
    if (n == 0) [[unlikely]] {
        return false;
    }
    std::uint64_t v = DigitsOfWord(word, n);
    if (n == 8 && IsDigit(q[8])) {
        // Up to seven digits more.
        word = WordAt(q + 8);
        const int more = DigitCountOfWord(word);
        if (more == 8) [[unlikely]] {
            return false;
        }
        if (more > 0) {
            static constexpr std::uint64_t kTens[8] = {1,     10,     100,     1000,
                                                       10000, 100000, 1000000, 10000000};
            v = v * kTens[more] + DigitsOfWord(word, more);
            n += more;
        }
    }
    const char after = q[n];
    if (after == '.' || (after | 0x20) == 'e') [[unlikely]] {
        return false;
    }
    magnitude = static_cast<double>(static_cast<std::int64_t>(v));
    q += n;
    return true;
}

// A plain number at p: an optional sign, digits with an optional point, and
// an exponent only where E or e is followed by a sign and a digit (a lone E
// or e is the compact form of +5 or -5). Returns the end of the number, or
// nullptr when p holds no number.
template <bool kLong>
[[gnu::always_inline]] inline const char* ScanPlain(const char* p, const char* end, double& value,
                                                    int* decimals = nullptr) {
    const char* q = p;
    bool negative = false;
    if (*q == '+' || *q == '-') {
        negative = *q == '-';
        ++q;
    }
    const char* const start = q;
    std::uint64_t mantissa = 0;
    const int digits = ReadDigits<kLong>(q, end, mantissa);
    bool integer = true;
    int fractionDigits = 0;
    if (q < end && *q == '.') {
        integer = false;
        for (++q; q < end && IsDigit(*q); ++q) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*q - '0');
            ++fractionDigits;
        }
    }
    if (digits + fractionDigits == 0) {
        return nullptr;
    }
    if (decimals != nullptr) {
        *decimals = fractionDigits;
    }
    bool exponent = false;
    if (q + 2 < end && (*q == 'E' || *q == 'e') && (q[1] == '+' || q[1] == '-') && IsDigit(q[2])) {
        exponent = true;
        for (q += 2; q < end && IsDigit(*q); ++q) {
        }
    }
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    double v = 0.0;
    if (!exponent && integer && digits <= 18) {
        v = static_cast<double>(static_cast<std::int64_t>(mantissa));
    } else if (!exponent && digits + fractionDigits <= 15) {
        // Below 10^15 the digits and the power of ten are both exact, so one
        // division rounds correctly.
        v = static_cast<double>(static_cast<std::int64_t>(mantissa)) / kPowers[fractionDigits];
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
template <bool kLong>
[[gnu::always_inline]] inline const char* ScanAfterLetter(const char* p, const char* end,
                                                          int firstDigit, double& value) {
    const char* q = p;
    std::uint64_t mantissa = static_cast<std::uint64_t>(firstDigit < 0 ? -firstDigit : firstDigit);
    const int digits = 1 + ReadDigits<kLong>(q, end, mantissa);
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
    const auto v = static_cast<double>(static_cast<std::int64_t>(mantissa));
    value = firstDigit < 0 ? -v : v;
    return q;
}

// The value of a letter form with firstDigit (its signed digit) whose
// further digits start at q, up to 16 digits in all, and q moved past them:
// for long numbers eight digits at a time. Returns false for a value written
// with a point or with more digits, which the general path reads. No digit
// lies at the line's end, and readable bounds the digits read.
template <bool kLong>
[[gnu::always_inline]] inline bool ShortLetterValue(const char*& q, const char* readable,
                                                    int firstDigit, double& value) {
    std::uint64_t m = static_cast<std::uint64_t>(firstDigit < 0 ? -firstDigit : firstDigit);
    int digits = 1;
    if constexpr (kLong) {
        digits += ReadDigits<true>(q, readable, m);
    } else {
        for (; IsDigit(*q) && digits < 16; ++q, ++digits) {
            m = m * 10 + static_cast<std::uint64_t>(*q - '0');
        }
    }
    if (*q == '.' || digits >= 16) [[unlikely]] {
        return false;
    }
    const auto magnitude = static_cast<double>(static_cast<std::int64_t>(m));
    value = firstDigit < 0 ? -magnitude : magnitude;
    return true;
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

namespace {

template <bool kLong>
AsdfResult DecodeLine(std::string_view line, double* y, std::size_t room, AsdfLine& out,
                      const char* readableEnd) {
    out = AsdfLine{};
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    const char* p = begin;
    // The quick difference reads up to 16 digits without looking for the
    // line's end, which stops it as no digit does.
    const char* const readable = readableEnd != nullptr && readableEnd > end ? readableEnd : end;

    // The abscissa: a plain number or a compact one, after any separators.
    while (p < end && InfoOf(*p).kind == Kind::Separator) {
        ++p;
    }
    if (p == end) {
        return {};
    }
    {
        const CharInfo info = InfoOf(*p);
        const char* q = nullptr;
        switch (info.kind) {
            case Kind::Number:
                q = ScanPlain<kLong>(p, end, out.x, &out.xDecimals);
                break;
            case Kind::Sqz:
                q = ScanAfterLetter<kLong>(p + 1, end, info.digit, out.x);
                break;
            case Kind::Dollar:
                if (p + 1 < end && p[1] == '$') {
                    return {};  // a comment line
                }
                break;
            case Kind::Dif:
            case Kind::Dup:
            case Kind::Missing:
                return Fault(AsdfStatus::BadAbscissa, p, begin);
            case Kind::Separator:
            case Kind::Other:
                break;
        }
        if (q == nullptr) {
            return Fault(AsdfStatus::BadCharacter, p, begin);
        }
        out.hasX = true;
        p = q;
    }

    // The ordinates. What the last token gave: the abscissa, a value, a
    // difference, or a missing value.
    double* w = y;
    double* const wEnd = y + room;
    enum class Last { X, Value, Dif, Missing } last = Last::X;
    double lastValue = 0.0;
    double lastDiff = 0.0;
    bool afterSeparator = false;
    unsigned forms = 0;
    // Whether the line writes a repeat count of one after its differences
    // (seen once, and then taken with the difference before it).
    bool onesAfterDifferences = false;
    while (p < end) {
        char c = *p;
        CharInfo info = InfoOf(c);
        if (info.kind == Kind::Dif && (last == Last::Value || last == Last::Dif) &&
            readable - p > 20) [[likely]] {
            // A run of short differences, the commonest tokens of a compressed
            // table, up to the line's end or 20 bytes before the readable end:
            // up to 16 digits are read without looking for either, as no
            // digit lies at the line's end. A difference written with a point
            // or more digits is left to the general path below.
            const char* const stop = readable - end > 20 ? end : readable - 20;
            double* const runStart = w;
            bool slow = false;
            do {
                const char* q = p + 1;
                const char next = *q;
                double d = 0.0;
                if (!IsDigit(next)) [[likely]] {
                    if (next == '.') [[unlikely]] {
                        slow = true;
                        break;
                    }
                    d = kLetterValues[static_cast<unsigned char>(c)];
                } else if (!ShortLetterValue<kLong>(q, readable, info.digit, d)) [[unlikely]] {
                    slow = true;
                    break;
                }
                if (w == wEnd) {
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                lastValue += d;
                *w++ = lastValue;
                lastDiff = d;
                if (onesAfterDifferences && *q == 'S' && !IsDigit(q[1])) {
                    // A repeat count of one, which some writers put after
                    // every difference: nothing to repeat.
                    ++q;
                }
                p = q;
                if (p >= stop) {
                    break;
                }
                c = *p;
                info = InfoOf(c);
            } while (info.kind == Kind::Dif);
            if (w != runStart) {
                last = Last::Dif;
                forms |= kAsdfDif;
                afterSeparator = false;
            }
            if (!slow) {
                continue;
            }
        }
        if (info.kind == Kind::Sqz && readable - p > 20) {
            // A run of short values in their compact form, as the difference
            // run above; a value written with a point or more digits is left
            // to the general path below.
            const char* const stop = readable - end > 20 ? end : readable - 20;
            double* const runStart = w;
            bool slow = false;
            do {
                const char* q = p + 1;
                double v = 0.0;
                if (!ShortLetterValue<kLong>(q, readable, info.digit, v)) [[unlikely]] {
                    slow = true;
                    break;
                }
                if (w == wEnd) {
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                lastValue = v;
                *w++ = lastValue;
                p = q;
                if (p >= stop) {
                    break;
                }
                c = *p;
                info = InfoOf(c);
            } while (info.kind == Kind::Sqz);
            if (w != runStart) {
                last = Last::Value;
                forms |= kAsdfSqz;
                afterSeparator = false;
            }
            if (!slow) {
                continue;
            }
        }
        {
            // Whole numbers of up to fifteen digits: a signed one joined to
            // the value before, or, in a table of long numbers, one after
            // blanks. Each has its own branch, so that where the digits start
            // does not wait for the sign to be told.
            const auto take = [&](const char* q, double value, unsigned form) {
                forms |= form;
                *w++ = value;
                lastValue = value;
                last = Last::Value;
                afterSeparator = false;
                p = q;
                if (*p == ' ') {
                    do {
                        ++p;
                    } while (p < end && *p == ' ');
                    afterSeparator = true;
                }
            };
            double magnitude = 0.0;
            if ((c == '+' || c == '-') && readable - p > 20 && w != wEnd) {
                const char* q = p + 1;
                if (TakeWhole<kLong>(q, magnitude)) [[likely]] {
                    take(q, c == '-' ? -magnitude : magnitude,
                         afterSeparator ? kAsdfAffn : kAsdfPac);
                    continue;
                }
            } else if (kLong && IsDigit(c) && readable - p > 20 && w != wEnd) {
                const char* q = p;
                if (TakeWhole<kLong>(q, magnitude)) [[likely]] {
                    take(q, magnitude, kAsdfAffn);
                    continue;
                }
            }
        }
        if (info.kind == Kind::Dup && last != Last::X && p + 1 < end && !IsDigit(p[1])) {
            // A repeat of one digit, the commonest repeat.
            const auto more = static_cast<std::size_t>(info.digit - 1);
            onesAfterDifferences = more == 0 && last == Last::Dif;
            if (more > static_cast<std::size_t>(wEnd - w)) {
                return Fault(AsdfStatus::TooMany, p, begin);
            }
            if (last == Last::Dif) {
                for (std::size_t k = 0; k < more; ++k) {
                    lastValue += lastDiff;
                    *w++ = lastValue;
                }
            } else {
                for (std::size_t k = 0; k < more; ++k) {
                    *w++ = lastValue;
                }
            }
            forms |= kAsdfDup;
            afterSeparator = false;
            ++p;
            continue;
        }
        double v = 0.0;
        Last kind = Last::Value;
        switch (info.kind) {
            case Kind::Separator:
                // Blanks often come in runs that align the columns.
                do {
                    ++p;
                } while (p < end && *p == ' ');
                afterSeparator = true;
                continue;
            case Kind::Dollar:
                if (p + 1 < end && p[1] == '$') {
                    p = end;
                    continue;
                }
                return Fault(AsdfStatus::BadCharacter, p, begin);
            case Kind::Number: {
                const char* const q = ScanPlain<kLong>(p, end, v);
                if (q == nullptr) {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                forms |= (!afterSeparator && (c == '+' || c == '-')) ? kAsdfPac : kAsdfAffn;
                p = q;
                break;
            }
            case Kind::Sqz: {
                const char* const q = ScanAfterLetter<kLong>(p + 1, end, info.digit, v);
                if (q == nullptr) {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                forms |= kAsdfSqz;
                p = q;
                break;
            }
            case Kind::Dif: {
                if (last != Last::Value && last != Last::Dif) {
                    return Fault(AsdfStatus::DifWithoutBase, p, begin);
                }
                double d = 0.0;
                const char* const q = ScanAfterLetter<kLong>(p + 1, end, info.digit, d);
                if (q == nullptr) {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                forms |= kAsdfDif;
                v = lastValue + d;
                lastDiff = d;
                kind = Last::Dif;
                p = q;
                break;
            }
            case Kind::Dup: {
                if (last == Last::X) {
                    return Fault(AsdfStatus::DifWithoutBase, p, begin);
                }
                // The count, a whole number; it includes the token repeated.
                std::uint64_t count = static_cast<std::uint64_t>(info.digit);
                const char* q = p + 1;
                for (; q < end && IsDigit(*q); ++q) {
                    if (count > (std::uint64_t{1} << 40)) {
                        return Fault(AsdfStatus::TooMany, p, begin);
                    }
                    count = count * 10 + static_cast<std::uint64_t>(*q - '0');
                }
                if (q < end && *q == '.') {
                    return Fault(AsdfStatus::BadCharacter, p, begin);
                }
                forms |= kAsdfDup;
                if (count - 1 > static_cast<std::uint64_t>(wEnd - w)) {
                    return Fault(AsdfStatus::TooMany, p, begin);
                }
                const auto more = static_cast<std::size_t>(count - 1);
                if (last == Last::Dif) {
                    for (std::size_t k = 0; k < more; ++k) {
                        lastValue += lastDiff;
                        *w++ = lastValue;
                    }
                } else {
                    for (std::size_t k = 0; k < more; ++k) {
                        *w++ = lastValue;
                    }
                }
                p = q;
                afterSeparator = false;
                continue;
            }
            case Kind::Missing:
                forms |= kAsdfMissing;
                v = std::numeric_limits<double>::quiet_NaN();
                kind = Last::Missing;
                ++p;
                break;
            case Kind::Other:
                return Fault(AsdfStatus::BadCharacter, p, begin);
        }
        afterSeparator = false;
        if (w == wEnd) {
            return Fault(AsdfStatus::TooMany, p, begin);
        }
        *w++ = v;
        lastValue = v;
        last = kind;
        if (p < end && *p == ' ') {
            // The blanks after a value, as the next round would pass them.
            do {
                ++p;
            } while (p < end && *p == ' ');
            afterSeparator = true;
        }
    }
    out.yCount = static_cast<std::size_t>(w - y);
    out.forms = forms;
    out.endsWithDif = last == Last::Dif;
    return {};
}

}  // namespace

AsdfResult DecodeAsdfLine(std::string_view line, double* y, std::size_t room, AsdfLine& out,
                          bool longNumbers, const char* readableEnd) {
    return longNumbers ? DecodeLine<true>(line, y, room, out, readableEnd)
                       : DecodeLine<false>(line, y, room, out, readableEnd);
}

bool HasLongNumbers(std::string_view line) {
    std::size_t digits = 0;
    std::size_t tokens = 0;
    bool inToken = false;
    for (const char c : line) {
        const Kind kind = InfoOf(c).kind;
        if (IsDigit(c) || c == '.') {
            digits += IsDigit(c) ? 1 : 0;
            if (!inToken) {
                ++tokens;
                inToken = true;
            }
        } else if (kind == Kind::Separator) {
            inToken = false;
        } else {
            ++tokens;
            inToken = true;
        }
    }
    return digits >= 4 * tokens;
}

AsdfResult DecodeAsdfLine(std::string_view line, std::vector<double>& y, std::size_t maxValues,
                          AsdfLine& out) {
    const std::size_t old = y.size();
    const std::size_t room = maxValues > old ? maxValues - old : 0;
    y.resize(old + room);
    const AsdfResult result = DecodeAsdfLine(line, y.data() + old, room, out);
    y.resize(old + (result.status == AsdfStatus::Ok ? out.yCount : 0));
    return result;
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
            q = ScanPlain<false>(p, end, v);
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
