// The table of the marked peaks that leaves the program: as text and HTML for
// the clipboard and as CSV for files and scripts.
//
// One row per marked peak, highest wavenumber first (left to right on the
// graph): the wavenumber in cm-1 as the readout shows it, the wavelength in
// micrometres to two decimals, the point's %T to two decimals and its
// absorbance log10(100 / %T) to three decimals. A value that has no number
// (the wavelength of a wavenumber of 0, the absorbance of a %T of 0 or below,
// anything of a spectrum without a %T divisor) is an empty cell, never "inf"
// or "nan". Every line, the header included, ends with CR LF, as the data
// export texts do.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/record.h"

namespace halvorn {

// The header cells, in column order.
inline constexpr const char* kPeakTableHeaders[4] = {"Wavenumber (cm-1)", "Wavelength (um)", "%T",
                                                     "Absorbance"};

struct PeakTableRow {
    std::int16_t point = 0;  // the marked point's index
    float wavenumber = 0.0f;
    std::optional<double> micrometres;
    std::optional<double> percentT;
    std::optional<double> absorbance;
};

// The rows of the marked points (PeakPoints slots 0..PeakCount-1, in any
// order), highest wavenumber first; indices outside 1..PointCount are left
// out, and a point marked twice gives one row.
std::vector<PeakTableRow> PeakTableRows(const Spectrum& s,
                                        std::span<const std::int16_t> peakPoints);

// A header line, then one TAB-separated line per peak, numbers with the
// given decimal separator (the user's locale in the viewer).
std::string PeakTableText(const Spectrum& s, std::span<const std::int16_t> peakPoints,
                          char decimalSeparator);

// The same as an HTML table that office programs paste as cells; the texts
// are escaped.
std::string PeakTableHtml(const Spectrum& s, std::span<const std::int16_t> peakPoints,
                          char decimalSeparator);

// UTF-8, comma-separated, period decimals, a header line.
std::string PeakTableCsv(const Spectrum& s, std::span<const std::int16_t> peakPoints);

}  // namespace halvorn
