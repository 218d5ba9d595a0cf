// Number reading and writing shared by every reader, label and export text.
//
// The arithmetic faults of the program (an integer conversion out of range, a
// division by zero, a Single that overflows) are raised as ArithmeticFault and
// caught at the boundary of each reader or command, which turns them into a
// message for the user.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace halvorn {

// The two kinds of arithmetic fault, so that a caller can report them
// differently without reading the message.
enum class ArithmeticKind { Overflow, DivisionByZero };

class ArithmeticFault : public std::runtime_error {
  public:
    explicit ArithmeticFault(const std::string& what,
                             ArithmeticKind kind = ArithmeticKind::Overflow)
        : std::runtime_error(what), kind_(kind) {}
    ArithmeticKind kind() const { return kind_; }

  private:
    ArithmeticKind kind_;
};

// Lenient number reader: leading blanks and tabs skipped, optional sign,
// digits with "." as the only decimal point, optional exponent E or D (either
// case); blanks, tabs and line feeds inside the number are skipped; reading
// stops at the first character that cannot continue the number. Text without a
// number gives 0. A magnitude beyond the double range raises ArithmeticFault.
double ParseNumber(std::string_view text);

// Rounds to n decimals with ties upwards: RoundTo(2.5, 0) = 3, RoundTo(-2.5, 0)
// = -2. Raises ArithmeticFault when value x 10^n leaves the 32-bit range.
double RoundTo(double value, int decimals);

// The text with its first comma replaced by a period.
std::string CommaToPoint(std::string_view text);

// Round to nearest, ties to even; ArithmeticFault outside the type's range
// (NaN included).
std::int32_t ToLong(double value);
std::int16_t ToInteger(double value);

// Narrowing to Single; ArithmeticFault when the value does not fit.
float ToSingle(double value);

// a / b with ArithmeticFault for b = 0 or an infinite result.
double Divide(double a, double b);

// Decimal text forms. The shortest general form: at most 7 (Single) or 15
// (Double) significant digits, no trailing zeros, no leading blank, E notation
// with a signed two-digit exponent only for magnitudes below 1E-04 or with more
// integer digits than the precision (1E-05, 1.234568E+07). The decimal
// separator is the caller's (a period in the CLI and the tests, the user's
// locale in the viewer).
std::string SingleText(float value, char decimalSeparator = '.');
std::string DoubleText(double value, char decimalSeparator = '.');
std::string IntegerText(std::int64_t value);

// Str form: the Double form with a period and a leading blank for values >= 0
// (" 100", " 4.5", "-3").
std::string StrForm(double value);

// CStr form: the Double form without the leading blank, with the given
// separator.
inline std::string CStrForm(double value, char decimalSeparator = '.') {
    return DoubleText(value, decimalSeparator);
}

}  // namespace halvorn
