// The one record of the loaded spectrum and of how it is shown.
//
// Point arrays are indexed 1..PointCount; index 0 is kept and stays 0. For every
// reader RawY[i] / YFactor is the transmittance of point i in percent, and the
// points are held with the largest wavenumber first.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace halvorn {

// The program's point indices are 16-bit, so a spectrum has at most this many points.
inline constexpr std::int32_t kMaxPoints = 32767;

// Stored ordinates per %T of *.sp %T files and of the JCAMP-DX and PRN readers;
// *.sp absorbance files use kAbsorbanceYFactor.
inline constexpr double kTransmittanceYFactor = 41943.04;
inline constexpr double kAbsorbanceYFactor = 8388608.0;

// The points the abscissa and ordinate export texts are written from, in the
// order and unit the texts give them, kept until a text is first asked for.
struct ExportPoints {
    std::vector<float> x;
    std::vector<std::int32_t> y;
    double yFactor = 1.0;
    char separator = '.';
    bool zPending = false;  // ZZ
    bool xPending = false;  // ZZX
    bool yPending = false;  // ZZYE
};

struct Spectrum {
    // Point data.
    std::int32_t PointCount = 0;
    std::int16_t StepCount = 0;
    std::vector<std::int32_t> RawY = {0};
    std::vector<float> WaveX = {0.0f};
    double YFactor = 0.0;
    std::int32_t RawYMax = 0;
    std::int32_t RawYMin = 0;
    bool FileIsAbsorbance = false;

    // Abscissa, display range and whole range (cm-1, um).
    double DeltaX = 0.0;
    double FirstX = 0.0;
    double LastX = 0.0;
    double FirstWL = 0.0;
    double LastWL = 0.0;
    std::int16_t ViewFirstPoint = 0;
    std::int16_t ViewLastPoint = 0;
    double FullFirstX = 0.0;
    double FullLastX = 0.0;
    double FullFirstWL = 0.0;
    double FullLastWL = 0.0;

    // Ordinate axis proposed by the readers (%T).
    float YAxisTop = 0.0f;
    float YAxisBottom = 0.0f;
    bool YAxisTopHalf = false;
    bool YAxisBottomHalf = false;

    // Work flags.
    bool NeedPeakSearch = false;
    bool RelayoutLabels = false;
    bool Loading = true;
    bool OpenFailed = false;

    // Texts. After a read ZZ, ZZX and ZZYE are written from PendingExport when
    // first asked for (ExportTextOf); DataTextBox is only filled by
    // BuildExportTexts.
    mutable std::string ZZ;
    mutable std::string ZZX;
    mutable std::string ZZYE;
    mutable ExportPoints PendingExport;
    std::vector<std::string> HeaderList;
    std::array<std::string, 7> Label14;
    std::string PointCountLabel;
    std::string FirstPointLabel;
    std::string IntervalLabel;
    std::string DataTextBox;
    std::vector<std::string> DiagnosticList;
    std::string Caption;  // the spectrum window's caption

    // Captions of the two Y-in-file-unit export commands; the *.sp reader
    // switches them between %T and absorbance.
    std::string mnuCopyYPercentCaption = "Copy Y % values (calculated from file values)";
    std::string mnuSaveDataYPercentCaption = "Save Data (Calculated Y % values only) As...";

    // Values that outlive a read.
    double MultGlobal = 1.0;
    std::string OpenedFilePath;
    std::string ProgramFolder;
};

// Proposes the ordinate axis from the largest and smallest %T, in Single
// arithmetic: the top is the next multiple of 10 above the maximum, lowered by
// 5 when that leaves at least 5; the bottom likewise. Where that leaves no span
// (a flat line on 5, 15, 25 ... %T), both ends move out by 10. Raises
// ArithmeticFault when an extreme is too large to round.
void SetYAxisFromExtremes(Spectrum& s, float tmax, float tmin);

// Makes the whole spectrum the display range: the whole range takes the
// display range's ends (FirstX, LastX, FirstWL, LastWL) and the points run from
// 1 to PointCount. Raises ArithmeticFault when PointCount is beyond a 16-bit
// point index.
void ShowWholeSpectrum(Spectrum& s);

// Empties the point data, the whole range, the display range and the export
// texts together, so that a failed read never leaves arrays, counts, range and
// texts that disagree.
void ClearPoints(Spectrum& s);

// Holds the points with the largest wavenumber first: when WaveX[1] < WaveX[N]
// the points are reversed, DeltaX negated and the first/last pairs of the
// display and whole range swapped. Returns whether it reversed.
bool PutLargestWavenumberFirst(Spectrum& s);

}  // namespace halvorn
