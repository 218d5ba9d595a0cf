// Decoding of the compressed data lines of JCAMP-DX files.
//
// A data line of an "(X++(Y..Y))" table starts with an abscissa and holds a
// run of ordinates. Besides plain decimal numbers separated by blanks (AFFN)
// the ordinates may be written in the compact forms, freely mixed on a line:
//
//   PAC  values joined by their signs:         1+2+3+3+2+1+0-1-2-3
//   SQZ  the first digit and sign as a letter: 1BCCBA@abc   (@ = 0, A-I = 1..9, a-i = -1..-9)
//   DIF  the difference to the value before:   1JJ%jjjjjj   (% = 0, J-R = 1..9, j-r = -1..-9)
//   DUP  the token before repeated:            1JT%jX       (S-Z = 1..8, s = 9: the total count)
//
// All four lines above hold 1 2 3 3 2 1 0 -1 -2 -3 after an abscissa of 1.
// A "?" stands for a value that is missing; "$$" starts a comment that runs
// to the end of the line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace halvorn {

// The forms met on a line, as bits.
enum AsdfForm : unsigned {
    kAsdfAffn = 1u,
    kAsdfPac = 2u,
    kAsdfSqz = 4u,
    kAsdfDif = 8u,
    kAsdfDup = 16u,
    kAsdfMissing = 32u,
};

// The name of a set of forms as JCAMP-DX writers give it: "AFFN", "PAC",
// "SQZ", "DIF", with "DUP" appended when repeats occur ("DIFDUP").
const char* AsdfFormName(unsigned forms);

struct AsdfLine {
    bool hasX = false;         // the line held at least one value
    double x = 0.0;            // its first value, the abscissa
    int xDecimals = 0;         // the digits written after the abscissa's point
    std::size_t yCount = 0;    // ordinates appended
    bool endsWithDif = false;  // the last ordinate came from a difference
    unsigned forms = 0;        // AsdfForm bits of the ordinates
};

enum class AsdfStatus {
    Ok,
    BadCharacter,    // a character that belongs to no form (column gives it)
    DifWithoutBase,  // a difference or a repeat with no value before it on the line
    TooMany,         // more ordinates than the caller allows
    BadAbscissa,     // the abscissa is a difference, a repeat or missing
};

struct AsdfResult {
    AsdfStatus status = AsdfStatus::Ok;
    std::size_t column = 0;  // 0-based, where the fault lies
};

// Decodes one line (without its line end). The ordinates are appended to y
// (a missing value as NaN) as long as y holds fewer than maxValues values;
// one more is a TooMany fault. In one pass over the bytes, without an
// allocation per token.
AsdfResult DecodeAsdfLine(std::string_view line, std::vector<double>& y, std::size_t maxValues,
                          AsdfLine& out);

// The same into y[0..room): out.yCount ordinates are written, and a fault
// leaves what was written undefined. With longNumbers the digits of a number
// are found eight at a time, which is quicker when most numbers are long and
// slower when they are short. The bytes from the line's end up to
// readableEnd (at or after it) may be looked at, not used: the line ends at a
// line end or at readableEnd.
AsdfResult DecodeAsdfLine(std::string_view line, double* y, std::size_t room, AsdfLine& out,
                          bool longNumbers = false, const char* readableEnd = nullptr);

// Whether the numbers of a line have four digits or more on the whole.
bool HasLongNumbers(std::string_view line);

// Reads the plain numbers of a line of (X,Y) pairs: values separated by
// blanks, commas or semicolons, or joined by their signs; "?" gives NaN.
// Returns false at a character that belongs to no number (column gives it).
bool DecodeAffnLine(std::string_view line, std::vector<double>& values, std::size_t maxValues,
                    AsdfResult& result);

}  // namespace halvorn
