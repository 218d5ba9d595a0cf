// Reader of *.sp files (and their *.asc exports) whose text header is followed
// by ASCII data lines instead of binary integers:
//
//   ...            <- the header as in every *.sp file, lines ended by CR LF
//   CM-1              or by LF alone, the units 10 and 9 lines above #DATA,
//   %T                the first abscissa 6 above, the step 5 above and the
//   ...               number of points 4 above
//   #DATA
//   4000.000000<TAB>95.123400
//   3999.000000<TAB>95.110000
//   ...
//
// The header lines are kept and the sample labels filled as for the binary
// *.sp files. Abscissae other than wavenumbers are refused.
#pragma once

#include <string>
#include <string_view>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

// Whether the bytes are a *.sp text header whose #DATA line is followed by a
// line of two numbers (the first line of ASCII data).
bool HasAsciiSpData(std::string_view bytes);

ReadOutcome ReadSpAsciiBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s);

}  // namespace halvorn
