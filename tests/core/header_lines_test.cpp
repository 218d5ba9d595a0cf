#include "core/header_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace halvorn {
namespace {

// The header list "L0", "L1", ... with the given items replaced.
std::vector<std::string> Items(std::size_t count,
                               const std::vector<std::pair<std::size_t, std::string>>& set = {}) {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < count; ++i) {
        items.push_back("L" + std::to_string(i));
    }
    for (const auto& [index, text] : set) {
        items[index] = text;
    }
    return items;
}

// The numbered text split at its CR LF ends; fails the test on a bare CR or LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "text does not end with CR LF";
        if (end == std::string::npos) {
            break;
        }
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

TEST(NumberedHeaderText, TwentyItemsAreNumbered01To19ThenMarkedUnplaced) {
    const std::vector<std::string> lines = Lines(NumberedHeaderText(Items(20)));
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[0], "01  L0");
    EXPECT_EQ(lines[8], "09  L8");
    EXPECT_EQ(lines[9], "10  L9");
    EXPECT_EQ(lines[18], "19  L18");
    EXPECT_EQ(lines[19], "??  L19");
}

TEST(NumberedHeaderText, ItemsAfterTheUnplacedOneCarryTheirOwnIndex) {
    const std::vector<std::string> lines = Lines(NumberedHeaderText(Items(23)));
    EXPECT_EQ(lines[20], "20  L20");
    EXPECT_EQ(lines[22], "22  L22");
}

TEST(NumberedHeaderText, SectionMarkersRestartTheNumbering) {
    const std::vector<std::string> lines =
        Lines(NumberedHeaderText(Items(62, {{40, "#HDR"}, {45, "#GR"}, {60, "#DATA"}})));
    ASSERT_EQ(lines.size(), 62u);
    EXPECT_EQ(lines[39], "39  L39");
    EXPECT_EQ(lines[40], "03  #HDR");
    EXPECT_EQ(lines[41], "04  L41");
    EXPECT_EQ(lines[44], "07  L44");
    EXPECT_EQ(lines[45], "05  #GR");
    EXPECT_EQ(lines[46], "06  L46");
    EXPECT_EQ(lines[59], "19  L59");
    EXPECT_EQ(lines[60], "08  #DATA");
    EXPECT_EQ(lines[61], "09  L61");
}

TEST(NumberedHeaderText, NegativeNumbersKeepTheLeadingZero) {
    const std::vector<std::string> lines = Lines(NumberedHeaderText(Items(40, {{30, "#HDR"}})));
    EXPECT_EQ(lines[30], "0-7  #HDR");
    EXPECT_EQ(lines[31], "0-6  L31");
    EXPECT_EQ(lines[37], "00  L37");
    EXPECT_EQ(lines[38], "01  L38");
    EXPECT_EQ(lines[39], "02  L39");
}

TEST(NumberedHeaderText, MarkersMatchOnlyTheWholeExactItem) {
    const std::vector<std::string> lines = Lines(
        NumberedHeaderText(Items(45, {{40, "#hdr"}, {41, "#HDR "}, {42, "#DATA1"}, {43, " #GR"}})));
    EXPECT_EQ(lines[40], "40  #hdr");
    EXPECT_EQ(lines[41], "41  #HDR ");
    EXPECT_EQ(lines[42], "42  #DATA1");
    EXPECT_EQ(lines[43], "43   #GR");
}

TEST(NumberedHeaderText, AMarkerAtItem19IsStillUnplacedAndDoesNotRestart) {
    // Item 19 is marked before the markers are looked at, so a marker there
    // leaves the offset at 0.
    const std::vector<std::string> lines = Lines(NumberedHeaderText(Items(21, {{19, "#HDR"}})));
    EXPECT_EQ(lines[19], "??  #HDR");
    EXPECT_EQ(lines[20], "20  L20");
}

TEST(NumberedHeaderText, AMarkerBeforeItem19IsOverriddenThere) {
    const std::vector<std::string> lines = Lines(NumberedHeaderText(Items(21, {{10, "#GR"}})));
    EXPECT_EQ(lines[10], "0-30  #GR");
    EXPECT_EQ(lines[18], "0-22  L18");
    EXPECT_EQ(lines[19], "??  L19");
    EXPECT_EQ(lines[20], "20  L20");
}

TEST(NumberedHeaderText, EmptyListAndEmptyItems) {
    EXPECT_EQ(NumberedHeaderText({}), "");
    EXPECT_EQ(NumberedHeaderText({"", "x"}), "01  \r\n02  x\r\n");
}

}  // namespace
}  // namespace halvorn
