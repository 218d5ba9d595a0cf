// Reader of the binary, block-structured *.sp files of newer instrument
// software.
//
// The file starts with four signature bytes and a 40-byte description
// ("2D constant interval DataSet file"), followed by blocks. A block is a
// 16-bit signed id, a 32-bit length and that many bytes of content, all
// little-endian. The spectrum is the content of block 120, a list of members
// of the same shape with negative ids, whose content starts with a 16-bit type
// code:
//
//   -29838  abscissa range      type 29981: first and last abscissa, two doubles
//   -29837  ordinate range      type 29981: smallest and largest ordinate
//   -29836  abscissa step       type 29979: a double
//   -29835  number of points    type 29995: a 32-bit integer
//   -29833  abscissa label      type 29987: 16-bit length, then the text ("cm-1")
//   -29832  ordinate label      type 29987: "%T", "A", ...
//   -29831  abscissa unit code  type 29973: 16-bit (10: cm-1)
//   -29830  ordinate unit code  type 29973: 16-bit (1: absorbance, 2: %T)
//   -29829  kind of data        type 29987: "SPECTRUM"
//   -29828  ordinates           type 29974: 32-bit byte count, then the values,
//                               64-bit (or 32-bit) IEEE floats
//   -29827  data set name       type 29987: the path it was saved under
//   -29825  history             nested blocks of history records; each record
//                               holds a title, a date ("Thu Mar 09 09:19:21
//                               2006") and a description as texts, and the
//                               instrument header block 123, whose member
//                               -29699 names the instrument
//   -29823  alias               type 29987: the name the sample was given
//
// Members the reader does not know are passed over by their length.
#pragma once

#include <string>
#include <string_view>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

// Whether the bytes start with the block format's signature.
bool HasBlockSignature(std::string_view bytes);

// Reads a block-structured *.sp file into s, filling the same fields as the
// *.sp reader, with the alias as the sample name and the history's date.
ReadOutcome ReadSpBlocksBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s);

}  // namespace halvorn
