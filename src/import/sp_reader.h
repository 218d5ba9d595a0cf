// Reader of *.sp spectrum files: a text header of CR LF lines that ends with a
// "#DATA" line, followed by the ordinates as 32-bit little-endian integers.
//
//   ...
//   CM-1          <- 10 lines above #DATA: abscissa unit
//   %T            <- 9 above: ordinate unit, "%T" or "ABS"
//   ...
//   4000          <- 6 above: first abscissa
//   -1            <- 5 above: step
//   3551          <- 4 above: number of points
//   ...
//   #DATA
//   <N x int32>
//
// A stored v is v / 41943.04 %T in a %T file and v / 8388608 absorbance units in
// an ABS file; the reader leaves every spectrum as RawY / YFactor = %T.
#pragma once

#include <string>
#include <string_view>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

// The three kinds of *.sp file, told apart by their first bytes: a text header
// with binary integer ordinates (above), the same header followed by ASCII data
// lines, and the binary block format of newer instrument software.
enum class SpKind { TextHeader, AsciiData, Blocks };

SpKind SpKindOf(std::string_view bytes);

// Reads any of the three kinds; the text-header files as described above. A
// file without any #DATA line that the text-header reading refuses is read by
// the table reader when it holds lines of two numbers.
ReadOutcome ReadSpBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s);

// Reads the file at path; a missing or unreadable file is a failed read.
ReadOutcome ReadSpFile(const std::string& path, const ReadRequest& request, Spectrum& s);

// The sample labels of a *.sp text header, from the header list: the sample
// (line 3), the date (line 4, yy/mm/dd shown as dd/mm/yy), the operator (line
// 8), the remark (line 9) and the instrument (line 21, up to its first comma).
void FillSpSampleLabels(Spectrum& s);

}  // namespace halvorn
