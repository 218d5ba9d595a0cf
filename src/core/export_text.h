// The three data export texts and the default names of the files they are
// saved to.
#pragma once

#include <string>

#include "core/record.h"

namespace halvorn {

enum class ExportText { StoredY, X, YValues };

// Builds ZZ (stored ordinates as integers), ZZX (abscissae as Single text) and
// ZZYE (RawY / YFactor as Double text) from points 1..N in their current order,
// one value per line, every line ended by CR LF, and puts ZZ into DataTextBox.
void BuildExportTexts(Spectrum& s, char decimalSeparator = '.');

// The same texts for the points as they are now, each written when
// ExportTextOf first asks for it (DataTextBox stays empty: the data box shows
// ExportTextOf(s, ExportText::StoredY)); a read alone writes none of them.
void PrepareExportTexts(Spectrum& s, char decimalSeparator = '.');

// The text, written first if it is still pending.
const std::string& ExportTextOf(const Spectrum& s, ExportText which);

// The default file name of a save: OpenedFilePath (or "Demo.sp" when empty)
// without its last three characters, followed by "(Y).txt", "(X).txt",
// "(Y%).txt" or, for an absorbance file, "(Y(Absorbance)).txt".
std::string DefaultSaveName(const Spectrum& s, ExportText which);

// The bytes a save writes: the text followed by one more CR LF.
std::string SavedFileBytes(const Spectrum& s, ExportText which);

}  // namespace halvorn
