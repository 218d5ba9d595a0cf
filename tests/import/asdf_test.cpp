// Compressed JCAMP-DX data lines decoded to their values, and the character
// sets of header text.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "import/asdf.h"

namespace halvorn {
namespace {

struct Decoded {
    AsdfResult result;
    AsdfLine line;
    std::vector<double> y;
};

Decoded Decode(const std::string& text, std::size_t maxValues = 1000) {
    Decoded d;
    d.result = DecodeAsdfLine(text, d.y, maxValues, d.line);
    return d;
}

TEST(AsdfTest, EveryFormOfTheSameOrdinatesGivesTheSameValues) {
    // One run of ordinates written in each form, after an abscissa of 100.
    const std::vector<double> expected = {1, 2, 3, 3, 2, 1, 0, -1, -2, -3};
    for (const char* line : {"100 1 2 3 3 2 1 0 -1 -2 -3", "100 1+2+3+3+2+1+0-1-2-3",
                             "100 1BCCBA@abc", "100 1JJ%jjjjjj", "100 1JT%jX"}) {
        const Decoded d = Decode(line);
        ASSERT_EQ(d.result.status, AsdfStatus::Ok) << line;
        EXPECT_TRUE(d.line.hasX);
        EXPECT_EQ(d.line.x, 100.0) << line;
        EXPECT_EQ(d.y, expected) << line;
        EXPECT_EQ(d.line.yCount, expected.size()) << line;
    }
    EXPECT_STREQ(AsdfFormName(Decode("100 1+2+3+3+2+1+0-1-2-3").line.forms), "PAC");
    EXPECT_STREQ(AsdfFormName(Decode("100 1BCCBA@abc").line.forms), "SQZ");
    EXPECT_STREQ(AsdfFormName(Decode("100 1JJ%jjjjjj").line.forms), "DIF");
    EXPECT_STREQ(AsdfFormName(Decode("100 1JT%jX").line.forms), "DIFDUP");
    EXPECT_STREQ(AsdfFormName(Decode("100 1 2").line.forms), "AFFN");
}

TEST(AsdfTest, MultiDigitLetterFormsAndMixturesOnOneLine) {
    // A difference line as instruments write it: an SQZ start, differences of
    // several digits, a repeat of a difference and a repeat of a value.
    const Decoded d = Decode("8193341G460LQqJ5j6%TKJ3o");
    ASSERT_EQ(d.result.status, AsdfStatus::Ok);
    EXPECT_EQ(d.line.x, 8193341.0);
    const std::vector<double> expected = {7460, 7463, 7471, 7463, 7478, 7462,
                                          7462, 7462, 7464, 7477, 7471};
    EXPECT_EQ(d.y, expected);
    EXPECT_TRUE(d.line.endsWithDif);

    // SQZ values with a repeat, then plain and packed values.
    const Decoded mixed = Decode("5000.03B1399TB1410 17 +20-3");
    ASSERT_EQ(mixed.result.status, AsdfStatus::Ok);
    EXPECT_EQ(mixed.y, (std::vector<double>{21399, 21399, 21410, 17, 20, -3}));
    EXPECT_FALSE(mixed.line.endsWithDif);
    EXPECT_EQ(mixed.line.xDecimals, 2);

    // A repeat of a difference repeats the difference, not the value.
    EXPECT_EQ(Decode("1 @J4U").y, (std::vector<double>{0, 14, 28, 42}));
    // Negative letter digits and the digits after them.
    EXPECT_EQ(Decode("1 a23b4").y, (std::vector<double>{-123, -24}));
}

TEST(AsdfTest, PlainNumbersWithExponentsCommentsAndMissingValues) {
    // Lower-case exponents are exponents; a lone e or E is a compact digit.
    const Decoded e = Decode("3990.5 4.6e-05 1.1093e-02 3E+02 -2.5E-1");
    ASSERT_EQ(e.result.status, AsdfStatus::Ok);
    EXPECT_EQ(e.y, (std::vector<double>{4.6e-05, 1.1093e-02, 300, -0.25}));
    EXPECT_EQ(Decode("1 1e2").y, (std::vector<double>{1, -52}));
    EXPECT_EQ(Decode("1 2E3").y, (std::vector<double>{2, 53}));

    // Commas, tabs and trailing blanks separate; "$$" ends the line.
    EXPECT_EQ(Decode("400\t1,2  3 $$ 4 5").y, (std::vector<double>{1, 2, 3}));
    EXPECT_FALSE(Decode("$$ only a comment").line.hasX);

    const Decoded missing = Decode("400 1 ? 3");
    ASSERT_EQ(missing.result.status, AsdfStatus::Ok);
    ASSERT_EQ(missing.y.size(), 3u);
    EXPECT_TRUE(std::isnan(missing.y[1]));
}

TEST(AsdfTest, FaultsNameTheirColumnAndNeverGrowWithoutBound) {
    Decoded bad = Decode("400 12 x3");
    EXPECT_EQ(bad.result.status, AsdfStatus::BadCharacter);
    EXPECT_EQ(bad.result.column, 7u);
    EXPECT_EQ(Decode("400 J5").result.status, AsdfStatus::DifWithoutBase);
    EXPECT_EQ(Decode("400 S").result.status, AsdfStatus::DifWithoutBase);
    EXPECT_EQ(Decode("J5 1").result.status, AsdfStatus::BadAbscissa);
    EXPECT_EQ(Decode("400 $ 1").result.status, AsdfStatus::BadCharacter);

    // A repeat count far beyond the room given is refused before it is
    // expanded.
    const Decoded many = Decode("400 A s99999999999999", 50);
    EXPECT_EQ(many.result.status, AsdfStatus::TooMany);
    EXPECT_LE(many.y.size(), 50u);
    EXPECT_EQ(Decode("400 1 2 3", 2).result.status, AsdfStatus::TooMany);
}

TEST(AsdfTest, DigitsFoundEightAtATimeGiveTheSameValues) {
    for (const std::string line :
         {"7498.99+1059714498+1066285291+1066176680 1.5e-3 123456789012 7",
          "599.9D15824699M60816J3307342K338639J2714119 ? 12345678J7654321",
          "4000 +10160+10159+10159+10158 -0012345 .5 12. 0.0001234567",
          "8193341G460LQqJ5j6%TKJ3oJ0j2KK2mj9QMrJ8Lj1MlKJ0j2qOLJj1J7JqJ4",
          "100 A00J1234567890123456K1J12345678901234567j7654321%J00000000000000001",
          "100 12345678 +87654321-1E+2 5E 6e-1-0 -00000007+1234567.5 ?-3 1234567890123456 "
          "+123456789012345.5+123456789012345e+2+123456789012345",
          "100 +1-22+333-4444+55555-0+7 +8-9 -10+11+12+13+14+15+16+17+18+19+20+21.5+22E+1+23e-1"
          "-24E5+1234567890123456+00012 ?+25+26+27+28+29+30+31+32+33+34+35+36+37+38+39+40"}) {
        std::vector<double> shortWay(200);
        std::vector<double> longWay(200);
        AsdfLine a;
        AsdfLine b;
        ASSERT_EQ(DecodeAsdfLine(line, shortWay.data(), shortWay.size(), a, false).status,
                  AsdfStatus::Ok)
            << line;
        // The long way also with the next line's digits readable after it.
        const std::string text = line + "\r\n12345678901234567890";
        ASSERT_EQ(DecodeAsdfLine(std::string_view(text).substr(0, line.size()), longWay.data(),
                                 longWay.size(), b, true, text.data() + text.size())
                      .status,
                  AsdfStatus::Ok)
            << line;
        ASSERT_EQ(a.yCount, b.yCount) << line;
        EXPECT_EQ(a.x, b.x) << line;
        for (std::size_t k = 0; k < a.yCount; ++k) {
            if (std::isnan(shortWay[k])) {
                EXPECT_TRUE(std::isnan(longWay[k]));
            } else {
                EXPECT_EQ(shortWay[k], longWay[k]) << line << " value " << k;
            }
        }
    }
    EXPECT_TRUE(HasLongNumbers("4000 +10160+10159+10159"));
    EXPECT_FALSE(HasLongNumbers("8193341G460LQqJ5j6%TKJ3o"));
}

// Runs of differences are read together; a difference with a point or with
// sixteen digits or more, anywhere in a run, is still read as written.
TEST(AsdfTest, DifferenceRunsGiveEveryDifferenceAsWritten) {
    const std::string tail(25, 'J');  // long enough for the run to be read together
    std::vector<double> expected = {100, 101.5, 103.5};
    for (std::size_t k = 0; k < tail.size(); ++k) {
        expected.push_back(expected.back() + 1);
    }
    EXPECT_EQ(Decode("100 A00J.5K" + tail).y, expected);

    const Decoded sixteen = Decode("100 A00JJj" + std::string("J123456789012345") + tail);
    ASSERT_EQ(sixteen.result.status, AsdfStatus::Ok);
    ASSERT_EQ(sixteen.y.size(), 5 + tail.size());
    EXPECT_EQ(sixteen.y[3], 101.0);
    EXPECT_EQ(sixteen.y[4], 101.0 + 1123456789012345.0);
    EXPECT_EQ(sixteen.y.back(), sixteen.y[4] + static_cast<double>(tail.size()));
    EXPECT_TRUE(sixteen.line.endsWithDif);

    // A run ends at a repeat, a value or a blank, and goes on after it.
    EXPECT_EQ(Decode("100 A00JJTjj B00 %" + tail).y.size(), 8 + tail.size());
    // A run may not pass the room it is given.
    const Decoded full = Decode("100 A" + tail + tail, 10);
    EXPECT_EQ(full.result.status, AsdfStatus::TooMany);
    EXPECT_EQ(full.result.column, 14u);
}

// Runs of values in their compact form are read together too; one written
// with a point or with sixteen digits or more is still read as written.
TEST(AsdfTest, CompactValueRunsGiveEveryValueAsWritten) {
    const std::string tail = "ABCDEFGHI@abcdefghi";  // 1..9, 0, -1..-9
    std::vector<double> tailValues;
    for (int v = 1; v <= 9; ++v) {
        tailValues.push_back(v);
    }
    tailValues.push_back(0);
    for (int v = -1; v >= -9; --v) {
        tailValues.push_back(v);
    }
    const auto withTail = [&](std::vector<double> values) {
        values.insert(values.end(), tailValues.begin(), tailValues.end());
        return values;
    };
    EXPECT_EQ(Decode("100 A23b45C.5" + tail).y, withTail({123, -245, 3.5}));
    EXPECT_EQ(Decode("100 A23B123456789012345" + tail).y, withTail({123, 2123456789012345.0}));
    // A run ends at a difference, a repeat or a blank, and goes on after it.
    EXPECT_EQ(Decode("100 A1B2JTC3 D4" + tail).y, withTail({11, 22, 23, 24, 33, 44}));
    const Decoded full = Decode("100 " + tail + tail, 10);
    EXPECT_EQ(full.result.status, AsdfStatus::TooMany);
}

// A line read where the bytes after it (its line end and more) may be
// looked at gives what the line alone gives; a repeat count of one after each
// difference, as some writers put it, repeats nothing.
TEST(AsdfTest, LinesReadWithTheBytesAfterThemGiveTheSameValues) {
    const std::string next =
        "\r\n3855C1323j4Sk3Sl3Sj1Sj6Sj3SPSj2SJSRSJ4SQSL7SJ2SM4SK5SN0SK8SL4S\r\n";
    for (const std::string& line :
         {std::string("100 A00J1SK2S%S"),
          std::string("3200C1276%Sj05Sl3Sm2SJ44So5Sn7SJ8SK7Sq3SK3SO2Sj4SJ28SL0SM1SQ0SK7SM4S"),
          std::string("100 A00J1S2K2SJ3TjS%"),
          std::string("8193341G460LQqJ5j6%TKJ3oJ0j2KK2mj9QM")}) {
        const std::string text = line + next;
        std::vector<double> alone(200);
        std::vector<double> within(200);
        AsdfLine a;
        AsdfLine b;
        ASSERT_EQ(DecodeAsdfLine(line, alone.data(), alone.size(), a).status, AsdfStatus::Ok)
            << line;
        ASSERT_EQ(DecodeAsdfLine(std::string_view(text).substr(0, line.size()), within.data(),
                                 within.size(), b, false, text.data() + text.size())
                      .status,
                  AsdfStatus::Ok)
            << line;
        ASSERT_EQ(a.yCount, b.yCount) << line;
        EXPECT_EQ(a.forms, b.forms) << line;
        EXPECT_EQ(a.endsWithDif, b.endsWithDif) << line;
        alone.resize(a.yCount);
        within.resize(b.yCount);
        EXPECT_EQ(alone, within) << line;
    }
    const Decoded ones = Decode("100 A00J1SK2S%S");
    EXPECT_EQ(ones.y, (std::vector<double>{100, 111, 133, 133}));
    EXPECT_STREQ(AsdfFormName(ones.line.forms), "DIFDUP");
    // A count of one followed by digits is a count of its own: S2 is 12.
    EXPECT_EQ(Decode("100 A00J1S2").y.size(), 13u);
}

TEST(AsdfTest, PairLinesReadWithEverySeparator) {
    std::vector<double> values;
    AsdfResult result;
    ASSERT_TRUE(
        DecodeAffnLine("  11995.21,    32112;   11991.36,    32505; ", values, 100, result));
    EXPECT_EQ(values, (std::vector<double>{11995.21, 32112, 11991.36, 32505}));
    values.clear();
    ASSERT_TRUE(DecodeAffnLine("1 2 3 4e-1 $$ note", values, 100, result));
    EXPECT_EQ(values, (std::vector<double>{1, 2, 3, 0.4}));
    EXPECT_FALSE(DecodeAffnLine("1, A2", values, 100, result));
    EXPECT_EQ(result.status, AsdfStatus::BadCharacter);
}

}  // namespace
}  // namespace halvorn
