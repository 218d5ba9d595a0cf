#include "core/rtf_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace halvorn {
namespace {

RtfDocument Parse(std::string_view rtf) {
    const std::optional<RtfDocument> document = ParseRtf(rtf);
    EXPECT_TRUE(document.has_value()) << rtf;
    return document.value_or(RtfDocument{});
}

std::string Text(std::string_view rtf) {
    return RtfPlainText(Parse(rtf));
}

TEST(ParseRtf, OnlyRtfTextIsRead) {
    EXPECT_FALSE(ParseRtf("").has_value());
    EXPECT_FALSE(ParseRtf("plain words").has_value());
    EXPECT_FALSE(ParseRtf("{\\rt").has_value());
    EXPECT_TRUE(ParseRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}").has_value());
}

TEST(ParseRtf, ParagraphsLinesAndTabs) {
    EXPECT_EQ(Text("{\\rtf1 one\\par two\\par}"), "one\ntwo");
    EXPECT_EQ(Text("{\\rtf1 one\\par\\par two}"), "one\n\ntwo");
    EXPECT_EQ(Text("{\\rtf1 a\\tab b\\line c}"), "a\tb\nc");
    // Line ends in the file are not text; a backslash before one is a paragraph.
    EXPECT_EQ(Text("{\\rtf1 a\r\nb\\\r\nc}"), "ab\nc");
    // The blank after a control word is its delimiter; a second one is text.
    EXPECT_EQ(Text("{\\rtf1 \\b  x\\b0 y}"), " xy");
}

TEST(ParseRtf, CharacterFormattingFollowsGroupsAndPlain) {
    const RtfDocument d =
        Parse("{\\rtf1 n{\\b b{\\i bi}}\\i i\\i0\\fs36 big\\plain p\\b1 B\\b0 n}");
    ASSERT_EQ(d.paragraphs.size(), 1u);
    const std::vector<RtfRun>& r = d.paragraphs[0].runs;
    ASSERT_EQ(r.size(), 8u);
    EXPECT_EQ(r[0].text, "n");
    EXPECT_FALSE(r[0].bold);
    EXPECT_EQ(r[1].text, "b");
    EXPECT_TRUE(r[1].bold);
    EXPECT_FALSE(r[1].italic);
    EXPECT_TRUE(r[2].bold && r[2].italic);
    EXPECT_EQ(r[3].text, "i");
    EXPECT_TRUE(r[3].italic && !r[3].bold);
    EXPECT_EQ(r[4].text, "big");
    EXPECT_EQ(r[4].fontSizeHalfPoints, 36);
    EXPECT_FALSE(r[4].italic);
    EXPECT_EQ(r[5].text, "p");
    EXPECT_EQ(r[5].fontSizeHalfPoints, 24);
    EXPECT_TRUE(r[6].bold);
    EXPECT_EQ(r[7].text, "n");
}

TEST(ParseRtf, NeighbouringTextOfOneStyleIsOneRun) {
    const RtfDocument d = Parse("{\\rtf1 a{b}\\b0 c\\'41}");
    ASSERT_EQ(d.paragraphs.size(), 1u);
    ASSERT_EQ(d.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(d.paragraphs[0].runs[0].text, "abcA");
}

TEST(ParseRtf, ColourTableAndColourIndex) {
    const RtfDocument d = Parse(
        "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue300;}"
        "\\cf1 red\\cf2 green\\cf0 auto\\cf9 none}");
    const std::vector<RtfRun>& r = d.paragraphs.at(0).runs;
    ASSERT_EQ(r.size(), 3u);  // the auto colour and an unknown index show alike
    EXPECT_EQ(r[0].text, "red");
    EXPECT_EQ(r[0].colour, (RtfColour{255, 0, 0}));
    EXPECT_EQ(r[1].colour, (RtfColour{0, 128, 255}));  // components are clamped to 255
    EXPECT_EQ(r[2].text, "autonone");
    EXPECT_FALSE(r[2].colour.has_value());
}

TEST(ParseRtf, EscapesBytesAndUnicode) {
    EXPECT_EQ(Text("{\\rtf1 \\\\ \\{ \\}}"), "\\ { }");
    EXPECT_EQ(Text("{\\rtf1 \\'e9\\'E9 \\'80 \\'96 \\'a0}"),
              "\xC3\xA9\xC3\xA9 \xE2\x82\xAC \xE2\x80\x93 \xC2\xA0");
    // Bytes above 127 written straight into the file count as Windows-1252 too.
    EXPECT_EQ(Text("{\\rtf1 \xB0"
                   "C}"),
              "\xC2\xB0"
              "C");
    EXPECT_EQ(Text("{\\rtf1 a\\~b\\-c}"),
              "a\xC2\xA0"
              "bc");
    EXPECT_EQ(Text("{\\rtf1 \\u8212?x\\uc2\\u956\\'3f\\'3fy\\uc0\\u-4064 z}"),
              "\xE2\x80\x94x\xCE\xBCy\xEF\x80\xA0z");
    EXPECT_EQ(Text("{\\rtf1 \\u-10179?\\u-8704?}"), "\xF0\x9F\x98\x80");  // a surrogate pair
    EXPECT_EQ(Text("{\\rtf1 \\emdash\\bullet\\ldblquote q\\rdblquote}"),
              "\xE2\x80\x94\xE2\x80\xA2\xE2\x80\x9Cq\xE2\x80\x9D");
}

TEST(ParseRtf, DestinationsAndUnknownWordsAreSkipped) {
    EXPECT_EQ(Text("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                   "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                   "{\\*\\generator G;}{\\*\\unknowndest {x}y}\\viewkind4\\uc1\\pard"
                   "\\lang2057\\f0 body\\par}"),
              "body");
    EXPECT_EQ(Text("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt shown}}}"), "shown");
    EXPECT_EQ(Text("{\\rtf1 a{\\pict\\bin4 }}{x}b}"), "ab");
}

TEST(ParseRtf, AlignmentOfTheParagraphWhereItEnds) {
    const RtfDocument d = Parse("{\\rtf1\\qc centred\\par\\pard left\\par\\qr right}");
    ASSERT_EQ(d.paragraphs.size(), 3u);
    EXPECT_EQ(d.paragraphs[0].alignment, RtfAlignment::Centre);
    EXPECT_EQ(d.paragraphs[1].alignment, RtfAlignment::Left);
    EXPECT_EQ(d.paragraphs[2].alignment, RtfAlignment::Right);
}

TEST(ParseRtf, MalformedInputKeepsWhatCanBeMadeOut) {
    EXPECT_EQ(Text("{\\rtf1 {\\b open"), "open");       // unclosed groups
    EXPECT_EQ(Text("{\\rtf1 done} trailing"), "done");  // text after the end
    EXPECT_EQ(Text("{\\rtf1 a\\'4"), "a");              // truncated escape
    EXPECT_EQ(Text("{\\rtf1 a\\'zzb}"), "azzb");        // not hex
    EXPECT_EQ(Text("{\\rtf1 a\\'4zb}"), "azb");         // one hex digit
    EXPECT_EQ(Text("{\\rtf1 a\\"), "a");                // lone backslash
    EXPECT_EQ(Text("{\\rtf1 a\\u"), "a");               // \u without a number
    EXPECT_EQ(Text("{\\rtf1 \\u99999999999999999999?x}"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Text("{\\rtf1 \\u-10240?x}"), "\xEF\xBF\xBDx");  // a lone high surrogate
    EXPECT_EQ(Text("{\\rtf1 \\bin99999999999 x}"), "");        // binary past the end
    EXPECT_EQ(Text("{\\rtf1 \\'00\\'1f x}"), " x");            // control bytes
    const RtfDocument big = Parse("{\\rtf1 \\fs99999999999999 a\\fs-4 b\\fs0 c}");
    const std::vector<RtfRun>& r = big.paragraphs.at(0).runs;
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].fontSizeHalfPoints, 3276);
    EXPECT_EQ(r[1].fontSizeHalfPoints, 24);
    EXPECT_EQ(r[1].text, "bc");
}

TEST(ParseRtf, DeepNestingIsBounded) {
    std::string rtf = "{\\rtf1 ";
    rtf += std::string(200000, '{') + "\\b deep" + std::string(200000, '}') + " after}";
    EXPECT_EQ(Text(rtf), "deep after");
}

TEST(ParseRtf, RandomBytesNeverCrash) {
    std::mt19937 random(20261208);
    const std::string alphabet = "{}\\'abcfirsuqlp0123456789-*; \r\n\x80\xff";
    for (int round = 0; round < 3000; ++round) {
        std::string rtf = "{\\rtf1 ";
        const int length = static_cast<int>(random() % 200);
        for (int k = 0; k < length; ++k) {
            rtf += (random() % 4 == 0) ? static_cast<char>(random() % 256)
                                       : alphabet[random() % alphabet.size()];
        }
        const std::optional<RtfDocument> d = ParseRtf(rtf);
        ASSERT_TRUE(d.has_value());
        (void)RtfToHtml(*d);
    }
}

TEST(RtfToHtml, EscapesTextAndCarriesTheStyle) {
    const std::string html = RtfToHtml(
        Parse("{\\rtf1{\\colortbl;\\red0\\green0\\blue192;}\\qc\\b\\fs29\\cf1 a<b>&\"c\"\\line d"
              "\\par\\pard\\par}"));
    EXPECT_NE(html.find("a&lt;b&gt;&amp;&quot;c&quot;<br />d"), std::string::npos) << html;
    EXPECT_NE(html.find("text-align:center"), std::string::npos);
    EXPECT_NE(html.find("font-size:14.5pt; font-weight:bold; color:#0000c0;"), std::string::npos)
        << html;
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    // The empty second paragraph keeps its line.
    EXPECT_NE(html.find("text-align:left;\"><br /></p>"), std::string::npos) << html;
}

// The two description files shipped beside the program are in the subset:
// they read as RTF, have text, and use no destination the reader would show.
TEST(ShippedDescriptions, ReadAsRtfWithTheirHeadings) {
    for (const char* name : {"PEFileHeader.rtf", "HeaderTitle.rtf"}) {
        std::ifstream in(std::string(HALVORN_DATA_DIR) + "/" + name, std::ios::binary);
        ASSERT_TRUE(in) << name;
        const std::string bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        for (const char c : bytes) {
            EXPECT_LT(static_cast<unsigned char>(c), 0x80) << name << " is not plain ASCII";
        }
        const std::optional<RtfDocument> d = ParseRtf(bytes);
        ASSERT_TRUE(d.has_value()) << name;
        const std::string text = RtfPlainText(*d);
        EXPECT_GT(text.size(), 20u) << name;
        EXPECT_EQ(text.find('\\'), std::string::npos) << name;
        EXPECT_EQ(text.find("Arial"), std::string::npos) << name << ": font table text shown";
    }
}

}  // namespace
}  // namespace halvorn
