// What a file's text means and how it is shown.
#include "core/character_set.h"

#include <gtest/gtest.h>

#include <string>

namespace halvorn {
namespace {

TEST(CharacterSetTest, SingleByteSetsAreToldApartAndConverted) {
    EXPECT_EQ(GuessTextEncoding("##TITLE=plain"), TextEncoding::Utf8);
    EXPECT_EQ(GuessTextEncoding("##TITLE=K\xC3\xBChler"), TextEncoding::Utf8);
    // "Технология" in Windows-1251, and a Latin-1 name with a lone accent.
    const std::string cyrillic = "##ORIGIN=\xD2\xE5\xF5\xED\xEE\xEB\xEE\xE3\xE8\xFF";
    EXPECT_EQ(GuessTextEncoding(cyrillic), TextEncoding::Windows1251);
    EXPECT_EQ(ToUtf8(cyrillic, TextEncoding::Windows1251),
              "##ORIGIN=\xD0\xA2\xD0\xB5\xD1\x85\xD0\xBD\xD0\xBE\xD0\xBB\xD0\xBE\xD0\xB3\xD0\xB8"
              "\xD1\x8F");
    const std::string latin = "##OWNER=Universit\xE9 de Li\xE8ge";
    EXPECT_EQ(GuessTextEncoding(latin), TextEncoding::Latin1);
    EXPECT_EQ(ToUtf8(latin, TextEncoding::Latin1), "##OWNER=Universit\xC3\xA9 de Li\xC3\xA8ge");
    EXPECT_EQ(ToUtf8("\xB9 5", TextEncoding::Windows1251), "\xE2\x84\x96 5");  // numero sign

    EXPECT_FALSE(IsValidUtf8("\xC3"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80 ok"));

    EXPECT_EQ(FirstCharacters("\xD0\xA2\xD0\xB5st", 2), "\xD0\xA2\xD0\xB5");
    EXPECT_EQ(CharacterCount("\xD0\xA2\xD0\xB5st"), 4u);
}

TEST(CharacterSetTest, FileTextIsShownInTheSetItWasWrittenIn) {
    // UTF-8 as it is; a Latin-1 micro sign and Windows-1251 words converted.
    EXPECT_EQ(ShownText("38 \xC2\xB5m"), "38 \xC2\xB5m");
    EXPECT_EQ(ShownText("38 \xB5m"), "38 \xC2\xB5m");
    EXPECT_EQ(ShownText("\xD2\xE5\xF5\xED\xEE\xEB\xEE\xE3\xE8\xFF"),
              "\xD0\xA2\xD0\xB5\xD1\x85\xD0\xBD\xD0\xBE\xD0\xBB\xD0\xBE\xD0\xB3\xD0\xB8"
              "\xD1\x8F");
    EXPECT_EQ(ShownText(""), "");

    EXPECT_FALSE(HasNonAscii("plain ##TITLE="));
    EXPECT_TRUE(HasNonAscii("\x80"));

    // One, two, three and four bytes; the last becomes a surrogate pair.
    EXPECT_EQ(Utf16OfUtf8("a\xC2\xB5\xE2\x84\x96\xF0\x9F\x98\x80"), u"a\u00B5\u2116\U0001F600");
}

}  // namespace
}  // namespace halvorn
