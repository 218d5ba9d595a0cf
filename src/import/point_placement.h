// The end of a read for the readers that find their ordinates as numbers (the
// binary block *.sp files, the *.sp files with ASCII data and the delimited
// tables): the points, the ranges, the information lines, the ordinate axis and
// the export texts, filled as the *.sp reader fills them for its own files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/record.h"

namespace halvorn {

enum class OrdinateUnit { PercentTransmittance, Absorbance };

// The ordinates y[0..N-1] of a spectrum whose abscissae are firstX + i x deltaX
// (cm-1), in the file's order, placed as a *.sp file's: the abscissae computed
// as the *.sp reader computes them, the export texts in the file's order and
// unit (an absorbance file lists absorbances), and RawY / YFactor = %T after
// the read. The information lines give deltaX as it is. Ends the read with a
// ReadFailure (a value this program cannot hold, fewer than one or more than
// kMaxPoints points) or an ArithmeticFault.
void PlaceEvenPoints(Spectrum& s, const std::vector<double>& y, double firstX, double deltaX,
                     OrdinateUnit unit, char separator);

// The points (x[i], y[i]) of a table, x in cm-1 and evenly spaced, in the
// file's order, placed as the two-column table reader places its points: the
// abscissae as they are, the step from the first and last abscissa, the
// information lines with the step to three decimals, the export texts written
// from the points as they are held (the largest wavenumber first).
void PlaceTablePoints(Spectrum& s, const std::vector<double>& x, const std::vector<double>& y,
                      OrdinateUnit unit, char separator);

// Whether the abscissae rise or fall at every point.
bool StrictlyMonotonic(const std::vector<double>& x);

// The largest distance of an abscissa from the even grid between the first and
// the last, as a fraction of the grid's step (0 for an even grid).
double Unevenness(const std::vector<double>& x);

// Puts the points on the even grid from the first to the last abscissa with the
// same number of points, each ordinate interpolated linearly between its two
// neighbours. The abscissae must be strictly monotonic.
void ResampleEvenly(std::vector<double>& x, std::vector<double>& y);

// Scales ordinates of a unit the program does not show (counts, arbitrary
// units, Kubelka-Munk ...) linearly into 0..100, the smallest to 0 and the
// largest to 100 (a flat line to 50); returns the words for the diagnostic
// line, e.g. "scaled linearly from -0.5 .. 2 into 0 .. 100 (scaled)". Values
// that are not numbers are left for the placement to refuse.
std::string ScaleIntoPercent(std::vector<double>& y, char separator = '.');

// The Y export captions of the main window for a %T or an absorbance file.
void SetYExportCaptions(Spectrum& s, bool absorbance);

}  // namespace halvorn
