#include "core/numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace halvorn {
namespace {

TEST(ParseNumber, ReadsSignDigitsPointAndBothExponentLetters) {
    EXPECT_DOUBLE_EQ(ParseNumber("  \t-12.5"), -12.5);
    EXPECT_DOUBLE_EQ(ParseNumber("+3"), 3.0);
    EXPECT_DOUBLE_EQ(ParseNumber(".25"), 0.25);
    EXPECT_DOUBLE_EQ(ParseNumber("1.5E3"), 1500.0);
    EXPECT_DOUBLE_EQ(ParseNumber("1.5e-2"), 0.015);
    EXPECT_DOUBLE_EQ(ParseNumber("2D2"), 200.0);
    EXPECT_DOUBLE_EQ(ParseNumber("2d+2"), 200.0);
}

TEST(ParseNumber, SkipsBlanksTabsAndLineFeedsInsideTheNumber) {
    EXPECT_DOUBLE_EQ(ParseNumber("1 2\t3\n4"), 1234.0);
    EXPECT_DOUBLE_EQ(ParseNumber("- 5"), -5.0);
    EXPECT_DOUBLE_EQ(ParseNumber("1 E 2"), 100.0);
}

TEST(ParseNumber, StopsAtTheFirstCharacterThatCannotContinue) {
    EXPECT_DOUBLE_EQ(ParseNumber("12,5"), 12.0);  // a comma is no decimal sign
    EXPECT_DOUBLE_EQ(ParseNumber("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ParseNumber("4000 cm-1"), 4000.0);
    EXPECT_DOUBLE_EQ(ParseNumber("7E"), 7.0);
    EXPECT_DOUBLE_EQ(ParseNumber("7E+"), 7.0);
    EXPECT_DOUBLE_EQ(ParseNumber("3\r"), 3.0);
}

TEST(ParseNumber, TextWithoutANumberGivesZero) {
    EXPECT_EQ(ParseNumber(""), 0.0);
    EXPECT_EQ(ParseNumber("CM-1"), 0.0);
    EXPECT_EQ(ParseNumber("-"), 0.0);
    EXPECT_EQ(ParseNumber("."), 0.0);
    EXPECT_EQ(ParseNumber("\r\n12"), 0.0);  // a CR is not skipped
}

TEST(ParseNumber, OverflowIsAFaultAndUnderflowIsZero) {
    EXPECT_THROW(ParseNumber("1E400"), ArithmeticFault);
    EXPECT_THROW(ParseNumber("400.172D497"), ArithmeticFault);
    EXPECT_EQ(ParseNumber("1E-400"), 0.0);
}

TEST(RoundTo, TiesGoUpwards) {
    EXPECT_EQ(RoundTo(2.5, 0), 3.0);
    EXPECT_EQ(RoundTo(-2.5, 0), -2.0);
    EXPECT_EQ(RoundTo(3.5, 0), 4.0);
    EXPECT_DOUBLE_EQ(RoundTo(92.345, 2), 92.35);
    EXPECT_DOUBLE_EQ(RoundTo(5.8309037900874632, 2), 5.83);
}

TEST(RoundTo, BeyondThirtyTwoBitsIsAFault) {
    EXPECT_NO_THROW(RoundTo(21474836.0, 2));
    EXPECT_THROW(RoundTo(21474837.0, 2), ArithmeticFault);
    EXPECT_THROW(RoundTo(-3e9, 0), ArithmeticFault);
    EXPECT_THROW(RoundTo(NAN, 0), ArithmeticFault);
}

TEST(CommaToPoint, ReplacesOnlyTheFirstComma) {
    EXPECT_EQ(CommaToPoint("1,5\t2,5"), "1.5\t2,5");
    EXPECT_EQ(CommaToPoint("no comma"), "no comma");
}

TEST(IntegerConversions, RoundHalfToEvenAndReportOverflow) {
    EXPECT_EQ(ToLong(2.5), 2);
    EXPECT_EQ(ToLong(3.5), 4);
    EXPECT_EQ(ToLong(-2.5), -2);
    EXPECT_EQ(ToLong(2147483647.4), 2147483647);
    EXPECT_THROW(ToLong(2147483647.5), ArithmeticFault);
    EXPECT_EQ(ToLong(-2147483648.5), -2147483648LL);
    EXPECT_THROW(ToLong(-2147483649.0), ArithmeticFault);
    EXPECT_THROW(ToLong(NAN), ArithmeticFault);
    EXPECT_EQ(ToInteger(32767.4), 32767);
    EXPECT_THROW(ToInteger(32767.5), ArithmeticFault);
    EXPECT_EQ(ToInteger(-32768.0), -32768);
    EXPECT_THROW(ToInteger(-32769.0), ArithmeticFault);
}

TEST(SingleAndDivide, ReportOverflowAndDivisionByZero) {
    EXPECT_THROW(ToSingle(1e39), ArithmeticFault);
    EXPECT_EQ(ToSingle(1.5), 1.5f);
    EXPECT_THROW(Divide(10000.0, 0.0), ArithmeticFault);
    EXPECT_THROW(Divide(1e300, 1e-300), ArithmeticFault);
    EXPECT_DOUBLE_EQ(Divide(10000.0, 4000.0), 2.5);
}

TEST(TextForms, ShortestGeneralFormWithoutTrailingZeros) {
    EXPECT_EQ(DoubleText(100.0), "100");
    EXPECT_EQ(DoubleText(4.5), "4.5");
    EXPECT_EQ(DoubleText(-0.25), "-0.25");
    EXPECT_EQ(DoubleText(0.1), "0.1");
    EXPECT_EQ(DoubleText(0.0), "0");
    EXPECT_EQ(DoubleText(-0.0), "0");
    EXPECT_EQ(DoubleText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(DoubleText(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(DoubleText(100.0 / 41943.04 * 41943.04), "100");
}

TEST(TextForms, ExponentOnlyForVerySmallOrLargeMagnitudes) {
    EXPECT_EQ(DoubleText(0.0001), "0.0001");
    EXPECT_EQ(DoubleText(0.00001), "1E-05");
    EXPECT_EQ(DoubleText(-0.000012345), "-1.2345E-05");
    EXPECT_EQ(DoubleText(123456789012345.0), "123456789012345");
    EXPECT_EQ(DoubleText(1e15), "1E+15");
    EXPECT_EQ(DoubleText(1e100), "1E+100");
    EXPECT_EQ(SingleText(1234567.0f), "1234567");
    EXPECT_EQ(SingleText(12345678.0f), "1.234568E+07");
}

TEST(TextForms, SinglesKeepSevenSignificantDigits) {
    EXPECT_EQ(SingleText(3999.5f), "3999.5");
    EXPECT_EQ(SingleText(static_cast<float>(4000.0 - 0.935748)), "3999.064");
    EXPECT_EQ(SingleText(0.1f), "0.1");
    EXPECT_EQ(SingleText(-1.0f), "-1");
}

TEST(TextForms, DecimalSeparatorStrAndCStrForms) {
    EXPECT_EQ(SingleText(3999.5f, ','), "3999,5");
    EXPECT_EQ(DoubleText(1.5e-5, ','), "1,5E-05");
    EXPECT_EQ(StrForm(100.0), " 100");
    EXPECT_EQ(StrForm(4.5), " 4.5");
    EXPECT_EQ(StrForm(0.0), " 0");
    EXPECT_EQ(StrForm(-3.0), "-3");
    EXPECT_EQ(CStrForm(0.1, ','), "0,1");
    EXPECT_EQ(CStrForm(2000.0), "2000");
    EXPECT_EQ(IntegerText(-2147483648LL), "-2147483648");
}

}  // namespace
}  // namespace halvorn

namespace halvorn {
namespace {

// The fast formatting must agree with printf's %G on every value it meets.
std::string PrintfReference(double value, int digits) {
    if (value == 0.0) {
        return "0";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    std::string text(buffer);
    const std::size_t e = text.find('E');
    std::string mantissa = text.substr(0, e);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.') {
            mantissa.pop_back();
        }
    }
    return mantissa + (e == std::string::npos ? "" : text.substr(e));
}

TEST(TextForms, AgreeWithPrintfOnManyValues) {
    std::uint64_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double mantissa = static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
        const int exponent = static_cast<int>((state >> 3) % 40) - 20;
        const double value = mantissa * std::pow(10.0, exponent);
        ASSERT_EQ(DoubleText(value), PrintfReference(value, 15)) << value;
        const float single = static_cast<float>(value);
        ASSERT_EQ(SingleText(single), PrintfReference(single, 7)) << single;
    }
}

// Values written with few digits, the usual case, take a quicker way; the
// edges are where %G changes form (10^-5, 10^P) and where rounding to P
// digits carries into a new digit.
TEST(TextForms, ShortFormsAgreeWithPrintf) {
    std::uint64_t state = 777;
    std::vector<double> values = {1e15,     1e-5,       1e-4,  99999.5,  0.00099999,
                                  9.5e14,   999999.5,   1e100, 1.5e-300, 123456789012345.0,
                                  1e16 - 2, 9999999.0,  1e7,   12345678, 0.1 + 0.2,
                                  1.0 / 3,  4.0 - 0.93, 450.0, 3966.0,   0.000062833};
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto whole = static_cast<double>((state >> 20) % 100000000);
        const int decimals = static_cast<int>((state >> 8) % 24) - 6;
        values.push_back(whole / std::pow(10.0, decimals));
        values.push_back(-whole * std::pow(10.0, decimals));
    }
    for (const double value : values) {
        for (const char separator : {'.', ','}) {
            std::string expected = PrintfReference(value, 15);
            std::replace(expected.begin(), expected.end(), '.', separator);
            ASSERT_EQ(DoubleText(value, separator), expected) << value;
            const auto single = static_cast<float>(value);
            if (!std::isfinite(single)) {
                continue;
            }
            std::string expectedSingle = PrintfReference(single, 7);
            std::replace(expectedSingle.begin(), expectedSingle.end(), '.', separator);
            ASSERT_EQ(SingleText(single, separator), expectedSingle) << single;
        }
    }
}

}  // namespace
}  // namespace halvorn
