#include "core/header_lines.h"

namespace halvorn {

namespace {

// Item 19 is the line the numbering cannot place; it is shown as "??".
constexpr std::size_t kUnplacedItem = 19;

}  // namespace

std::string HeaderLineNumber(std::size_t index, const std::string& item, int& offset) {
    if (index == kUnplacedItem) {
        offset = 0;
        return "??";
    }
    if (item == "#HDR") {
        offset = -37;
    } else if (item == "#GR") {
        offset = -40;
    } else if (item == "#DATA") {
        offset = -52;
    }
    // A header list holds at most a few hundred lines, so the index fits easily.
    const long long n = static_cast<long long>(index) + offset;
    std::string text = n <= 9 ? "0" : "";
    text += std::to_string(n);
    return text;
}

std::string NumberedHeaderText(const std::vector<std::string>& headerList) {
    std::string text;
    int offset = 1;
    for (std::size_t i = 0; i < headerList.size(); ++i) {
        text += HeaderLineNumber(i, headerList[i], offset);
        text += "  ";
        text += headerList[i];
        text += "\r\n";
    }
    return text;
}

}  // namespace halvorn
