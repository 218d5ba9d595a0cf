// The forgiving reader of two-column numeric tables: the files the *.prn reader
// refuses that still hold a spectrum as lines of two numbers, separated by a
// TAB, a semicolon, a comma or blanks, with a decimal point or a decimal
// comma, with header lines (titles, column names, key-value lines) before the
// numbers and perhaps more text after them.
//
//   TITLE,sample 12
//   XUNITS,1/CM
//   YUNITS,ABSORBANCE
//   XYDATA
//   999.9101,0.572538
//   1000.3922,0.572601
//   ...
//
// The longest run of number lines is the spectrum; every other line is
// skipped and the DiagnosticList says how many and why. The first column is
// taken as wavenumbers in cm-1 (micrometres and nanometres are converted where
// the header or the values say so); the second as %T, a transmittance
// fraction or absorbance, decided from the header words and the values and
// said in the DiagnosticList. Abscissae that are not evenly spaced are
// resampled onto an even grid of the same number of points.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

struct DelimitedTable {
    char separator = '\t';  // '\t', ';', ',' or ' ' (blanks or TABs)
    bool decimalComma = false;
    std::vector<double> x;  // the file's order
    std::vector<double> y;
    // The text lines before and after the numbers (the first few hundred of
    // each are kept), and how many there are; blank lines are not counted.
    std::vector<std::string_view> linesBefore;
    std::vector<std::string_view> linesAfter;
    std::size_t skippedBefore = 0;
    std::size_t skippedAfter = 0;
    std::size_t firstDataLine = 0;  // 1-based
    // The lines of numbers; x and y keep no more than kMaxPoints + 1 of them.
    std::size_t pointLines = 0;
};

// The table in the bytes, or nothing when they hold no run of at least two
// lines of two numbers, or when they are JCAMP-DX text (the first line that is
// not blank starts with "##").
std::optional<DelimitedTable> FindDelimitedTable(std::string_view bytes);

// The text of bytes in UTF-16 with a byte order mark, as single bytes: the
// characters below 128 as they are, every other one as '?'. Nothing for bytes
// without the mark.
std::optional<std::string> NarrowUtf16(std::string_view bytes);

// Reads the table in the bytes (or in their UTF-16 text) into s; a file
// without one fails with a message.
ReadOutcome ReadDelimitedTableBytes(std::string_view bytes, const ReadRequest& request,
                                    Spectrum& s);

// Places a table already found, as ReadDelimitedTableBytes does.
ReadOutcome ReadDelimitedTable(const DelimitedTable& table, const ReadRequest& request,
                               Spectrum& s);

}  // namespace halvorn
