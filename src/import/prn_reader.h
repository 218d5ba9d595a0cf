// Reader of two-column *.prn tables: one point per line, the wavenumber in
// cm-1, a TAB, and the transmittance in percent.
//
//   4000,5<TAB>95,2
//   3999<TAB>94.8
//   ...
//
// The first three commas of a line are decimal commas and read as periods.
// Lines end with CR LF, CR or LF; blank lines at the end are ignored. The file
// has no header: the reader fills the points, the abscissa range, the
// ordinate axis, the information lines and the export texts, and leaves the
// header list and the sample labels of the previous spectrum alone.
//
// A file this reader refuses is handed to the forgiving table reader
// (delimited_table.h) when it holds lines of two numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

ReadOutcome ReadPrnBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s);

// Reads the file at path; a missing or unreadable file is a failed read.
ReadOutcome ReadPrnFile(const std::string& path, const ReadRequest& request, Spectrum& s);

// The table's lines, ended by CR LF, CR or LF, without the blank lines at the
// end. The views point into bytes.
std::vector<std::string_view> PrnTableLines(std::string_view bytes);

}  // namespace halvorn
