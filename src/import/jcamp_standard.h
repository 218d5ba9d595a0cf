// The general JCAMP-DX reader: files in any of the forms the JCAMP-DX
// standards 4.24 and 5.01 allow, for the files the plain "(X++(Y..Y))" reader
// (jcamp_reader.h) does not read.
//
// - Labels are compared in their normal form: upper case, without blanks,
//   "-", "_" and "/" ("##DATA TYPE=" is "##DATATYPE="); "$$" starts a
//   comment anywhere; a value may run on over the lines up to the next label.
// - A file may hold several blocks (a LINK file: "##BLOCKS=" in its first
//   block, every further block starting at its own "##TITLE="). The first
//   block that holds an infrared spectrum is read unless the request names
//   another; the others are listed in the diagnostic lines.
// - Data: "##XYDATA=(X++(Y..Y))" in every compressed form (asdf.h), its
//   abscissa checked at the start of every line against FIRSTX + index x
//   DELTAX and the repeated ordinate of a difference line checked; or pairs
//   "##XYPOINTS=(XY..XY)" and "##PEAKTABLE=(XY..XY)" separated by commas,
//   semicolons or blanks. "##NPOINTS=" may be absent; the data give the count.
// - Abscissae in 1/CM, MICROMETERS or NANOMETERS become wavenumbers; points
//   that are then unevenly spaced are interpolated onto an even grid of as
//   many points. Ordinates in TRANSMITTANCE (a fraction, or percent when
//   MAXY or the data exceed 1.5) and ABSORBANCE become %T; any other unit is
//   scaled linearly into 0..100 %T and the caption says "(scaled)".
// - Spectra of other kinds (NMR, mass, UV-Vis, Raman) are refused with a
//   message that says what the file holds.
// - Header text is UTF-8, or else Latin-1 or Windows-1251, and is kept in
//   UTF-8.
#pragma once

#include <string_view>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

struct StandardJcampRead {
    ReadOutcome outcome;
    // Whether the file holds a data table at all; a file without one is no
    // JCAMP-DX spectrum file.
    bool dataFound = false;
};

// Reads the bytes into the record, which it fills as every reader does; a
// failure leaves the record empty.
StandardJcampRead ReadStandardJcamp(std::string_view bytes, const ReadRequest& request,
                                    Spectrum& s);

inline ReadOutcome ReadStandardJcampBytes(std::string_view bytes, const ReadRequest& request,
                                          Spectrum& s) {
    return ReadStandardJcamp(bytes, request, s).outcome;
}

// Whether the file is made of several blocks: a "##BLOCKS=" label, or a
// second "##TITLE=" after a data table.
bool JcampHasSeveralBlocks(std::string_view bytes);

}  // namespace halvorn
