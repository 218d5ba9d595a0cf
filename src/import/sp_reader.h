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

ReadOutcome ReadSpBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s);

// Reads the file at path; a missing or unreadable file is a failed read.
ReadOutcome ReadSpFile(const std::string& path, const ReadRequest& request, Spectrum& s);

}  // namespace halvorn
