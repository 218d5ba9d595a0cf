// The header lines of the loaded file, numbered the way the header description
// shipped beside the program numbers the lines of a *.sp header.
#pragma once

#include <string>
#include <vector>

namespace halvorn {

// One line of the numbered header: the number text ("01", "19", "??", "0-7",
// "20") followed by two blanks, the item and CR LF.
//
// The numbering starts at 1 (items 0..18 are 01..19). Item 19 is always
// marked "??" and resets the offset to 0, so the items after it carry their
// own index. Otherwise an item that is exactly "#HDR", "#GR" or "#DATA" sets
// the offset to -37, -40 or -52 before it is numbered, and the items after it
// count on from there. Numbers up to 9, negative ones included, get a leading
// "0".
std::string NumberedHeaderText(const std::vector<std::string>& headerList);

// The number text of item i alone, given the running offset, which it updates
// the same way NumberedHeaderText does.
std::string HeaderLineNumber(std::size_t index, const std::string& item, int& offset);

}  // namespace halvorn
