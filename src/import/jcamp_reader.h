// Reader of JCAMP-DX infrared spectra (*.txt, *.dx, *.jdx) whose data are an
// uncompressed "##XYDATA=(X++(Y..Y))" table: each line holds an abscissa and a
// run of ordinates, separated by blanks.
//
//   ##TITLE=METHANE
//   ##XUNITS=1/CM
//   ##YUNITS=TRANSMITTANCE
//   ##YFACTOR=1
//   ##DELTAX=0.935748
//   ##FIRSTX=449.47
//   ##LASTX=3801.32
//   ##MAXY=1.03697
//   ##MINY=0.028
//   ##NPOINTS=3583
//   ##XYDATA=(X++(Y..Y))
//   449.470000 0.9530 0.9530 0.9530 0.9530 0.9530
//   454.148739 0.9530 0.9530 0.9520 0.9520 0.9520
//   ...
//   ##END=
//
// Abscissae in 1/CM (also written CM-1) or MICROMETERS; ordinates are a
// transmittance fraction (1 = 100 %), or absorbance when YUNITS is ABSORBANCE.
// Every ordinate is scaled by YFACTOR and by Spectrum::MultGlobal (which a
// "##MultGlobal=" line of the file sets). The header ends at the ##XYDATA
// line, which must be one of the first 80 lines. Lines end with LF or CR LF;
// bytes after the last LF are not part of the file's text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

ReadOutcome ReadJcampBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s);

// Reads the file at path; a missing or unreadable file is a failed read.
ReadOutcome ReadJcampFile(const std::string& path, const ReadRequest& request, Spectrum& s);

// The file's text lines: each ends at a LF, a CR just before the LF belongs to
// the line end, and bytes after the last LF are dropped. The views point into
// bytes.
std::vector<std::string_view> JcampTextLines(std::string_view bytes);

}  // namespace halvorn
