#include "import/sp_reader.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "core/export_text.h"
#include "core/numbers.h"
#include "import/delimited_table.h"
#include "import/read_frame.h"
#include "import/sp_ascii.h"
#include "import/sp_blocks.h"
#include "import/transmittance.h"

namespace halvorn {

namespace {

constexpr int kMaxHeaderLinesAfterFirst = 80;
constexpr int kProgressEvery = 4096;
// The longest file that can hold a spectrum of kMaxPoints points: their
// ordinates and a header of up to a megabyte.
constexpr std::uintmax_t kMaxFileBytes = 1048576 + 4 * static_cast<std::uintmax_t>(kMaxPoints);

const char* const kNoDataMarker =
    "Cannot open!\r\nThis file is corrupted,\r\nor has unsupported format.";
const char* const kNotWavenumbers =
    "This program can open only files\r\nwith abscissa units in CM-1.\r\nSorry!";

// Header lines end at CR; a LF right after the CR belongs to the terminator.
class LineCursor {
  public:
    explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}

    // The next line, or nothing when the file has ended (reading past the end).
    std::optional<std::string> Next() {
        if (pos_ >= bytes_.size()) {
            return std::nullopt;
        }
        std::size_t end = bytes_.find('\r', pos_);
        if (end == std::string_view::npos) {
            end = bytes_.size();
        }
        std::string line(bytes_.substr(pos_, end - pos_));
        pos_ = end;
        if (pos_ < bytes_.size()) {
            ++pos_;  // the CR
            if (pos_ < bytes_.size() && bytes_[pos_] == '\n') {
                ++pos_;
            }
        }
        return line;
    }

    std::size_t Position() const { return pos_; }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Header line n (1-based); lines the header does not have read as empty.
const std::string& HeaderLine(const Spectrum& s, long n) {
    static const std::string kEmpty;
    if (n < 1 || n > static_cast<long>(s.HeaderList.size())) {
        return kEmpty;
    }
    return s.HeaderList[static_cast<std::size_t>(n - 1)];
}

// Characters from..from+count-1 (1-based) of the text, as far as it has them.
std::string Mid(const std::string& text, std::size_t from, std::size_t count) {
    if (from > text.size()) {
        return "";
    }
    return text.substr(from - 1, count);
}

std::int32_t LittleEndianInt32(const char* p) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) {
        v = (v << 8) | static_cast<unsigned char>(p[k]);
    }
    std::int32_t result;
    std::memcpy(&result, &v, sizeof result);
    return result;
}

void FillSampleLabels(Spectrum& s) {
    const std::string& date = HeaderLine(s, 4);
    const std::string& instrument = HeaderLine(s, 21);
    s.Label14[0] = "Sample: " + HeaderLine(s, 3);
    s.Label14[1] = "Date: " + Mid(date, 7, 2) + "/" + Mid(date, 4, 2) + "/" + Mid(date, 1, 2);
    s.Label14[2] = "Operator: " + HeaderLine(s, 8);
    s.Label14[3] = "Sample prep. as: ";
    s.Label14[4] = "Perkin-Elmer " + instrument.substr(0, instrument.find(','));
    s.Label14[5] = "Remarks1: " + HeaderLine(s, 9);
    s.Label14[6] = "Remarks2: ";
}

// The read proper; throws ReadFailure or ArithmeticFault.
void Read(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    const char separator = request.decimalSeparator;

    // The header: line 1, then up to 80 more until the #DATA line.
    LineCursor cursor(bytes);
    s.HeaderList.clear();
    std::optional<std::string> line = cursor.Next();
    if (!line) {
        Fail("");
    }
    s.HeaderList.push_back(KeptHeaderLine(*line));
    bool marker = false;
    for (int k = 0; k < kMaxHeaderLinesAfterFirst && !marker; ++k) {
        line = cursor.Next();
        if (!line) {
            Fail("");
        }
        marker = line->compare(0, 5, "#DATA") == 0;
        s.HeaderList.push_back(KeptHeaderLine(*line));
    }
    if (!marker) {
        Fail(kNoDataMarker);
    }
    const std::size_t dataStart = cursor.Position();
    const long c = static_cast<long>(s.HeaderList.size());

    const std::int32_t n = ToLong(ParseNumber(HeaderLine(s, c - 4)));
    s.PointCount = n;
    s.StepCount = ToInteger(static_cast<double>(n) - 1.0);
    s.PointCountLabel = "Number of points: " + IntegerText(n);

    s.DeltaX = ParseNumber(HeaderLine(s, c - 5));
    s.IntervalLabel = "points: " + DoubleText(s.DeltaX, separator) + " cm^(-1)";

    if (HeaderLine(s, c - 10) != "CM-1") {
        Fail(kNotWavenumbers);
    }
    const std::string& yUnit = HeaderLine(s, c - 9);
    if (yUnit == "ABS") {
        s.YFactor = kAbsorbanceYFactor;
        s.FileIsAbsorbance = true;
        s.mnuCopyYPercentCaption = "Copy Y (Absorbance) values (calculated from file values)";
        s.mnuSaveDataYPercentCaption = "Save Data (Calculated Y (Absorbance) values only) As...";
    } else if (yUnit == "%T") {
        s.YFactor = kTransmittanceYFactor;
        s.FileIsAbsorbance = false;
        s.mnuCopyYPercentCaption = "Copy Y % values (calculated from file values)";
        s.mnuSaveDataYPercentCaption = "Save Data (Calculated Y % values only) As...";
    } else {
        Fail("");
    }

    s.FirstX = ParseNumber(HeaderLine(s, c - 6));
    s.LastX = static_cast<double>(s.StepCount) * s.DeltaX + s.FirstX;
    if (!std::isfinite(s.LastX)) {
        throw ArithmeticFault("last abscissa out of range");
    }
    s.FirstWL = Divide(10000.0, s.FirstX);
    s.LastWL = Divide(10000.0, s.LastX);
    ShowWholeSpectrum(s);
    s.FirstPointLabel = "First point: " + DoubleText(s.FirstX, separator) + " cm^(-1)";

    FillSampleLabels(s);

    // The data part: N little-endian int32 values right after the #DATA line;
    // a spectrum has at least one point.
    if (n < 1 || bytes.size() - dataStart < static_cast<std::size_t>(n) * 4) {
        Fail("");
    }
    if (request.progress) {
        request.progress(0, n);
    }
    s.RawY.assign(static_cast<std::size_t>(n) + 1, 0);
    s.WaveX.assign(static_cast<std::size_t>(n) + 1, 0.0f);
    s.RawYMax = 0;
    s.RawYMin = 1000000000;
    const char* data = bytes.data() + dataStart;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t v = LittleEndianInt32(data + 4 * static_cast<std::size_t>(i - 1));
        s.RawY[i] = v;
        s.WaveX[i] = ToSingle(static_cast<double>(i - 1) * s.DeltaX + s.FirstX);
        if (v > s.RawYMax) {
            s.RawYMax = v;
        }
        if (v < s.RawYMin) {
            s.RawYMin = v;
        }
        if (request.progress && i % kProgressEvery == 0) {
            request.progress(i, n);
        }
    }
    if (request.progress) {
        request.progress(n, n);
    }

    float tmax;
    float tmin;
    if (s.FileIsAbsorbance) {
        tmax = ToSingle(Divide(100.0, std::pow(10.0, s.RawYMin / s.YFactor)));
        tmin = ToSingle(Divide(100.0, std::pow(10.0, s.RawYMax / s.YFactor)));
    } else {
        tmax = ToSingle(s.RawYMax / s.YFactor);
        tmin = ToSingle(s.RawYMin / s.YFactor);
    }
    SetYAxisFromExtremes(s, tmax, tmin);

    // The export texts keep the file's order and its own unit.
    PrepareExportTexts(s, separator);

    if (s.FileIsAbsorbance) {
        // The transmittances whose rounding is beyond doubt are found in one
        // pass; pow gives the others, in order.
        thread_local std::vector<double> absorbance;
        thread_local std::vector<std::int32_t> known;
        absorbance.resize(static_cast<std::size_t>(n) + 1);
        known.resize(static_cast<std::size_t>(n) + 1);
        for (std::int32_t i = 1; i <= n; ++i) {
            absorbance[static_cast<std::size_t>(i)] = s.RawY[i] / 8388608.0;
        }
        StoredTransmittances(absorbance.data(), known.data(), n, 838860800.0);
        for (std::int32_t i = 1; i <= n; ++i) {
            const auto k = static_cast<std::size_t>(i);
            s.RawY[i] =
                known[k] >= 0 ? known[k] : ToLong(838860800.0 / std::pow(10.0, absorbance[k]));
        }
    }

    EndRead(s, separator, IntervalForm::AsIs);
}

}  // namespace

void FillSpSampleLabels(Spectrum& s) {
    FillSampleLabels(s);
}

SpKind SpKindOf(std::string_view bytes) {
    if (HasBlockSignature(bytes)) {
        return SpKind::Blocks;
    }
    if (HasAsciiSpData(bytes)) {
        return SpKind::AsciiData;
    }
    return SpKind::TextHeader;
}

ReadOutcome ReadSpBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    switch (SpKindOf(bytes)) {
        case SpKind::Blocks:
            return ReadSpBlocksBytes(bytes, request, s);
        case SpKind::AsciiData:
            return ReadSpAsciiBytes(bytes, request, s);
        case SpKind::TextHeader:
            break;
    }
    BeginRead(request, s);
    // No diagnostic line of the previous file stays with this one.
    s.DiagnosticList.clear();
    ReadOutcome outcome = GuardedRead(s, "", [&] { Read(bytes, request, s); });
    if (outcome.ok || bytes.find("#DATA") != std::string_view::npos) {
        return outcome;
    }
    // A file without any #DATA line that holds lines of two numbers (the
    // plain tables some instruments save as *.asc) is read as a table.
    const std::optional<std::string> narrow = NarrowUtf16(bytes);
    if (const std::optional<DelimitedTable> table = FindDelimitedTable(narrow ? *narrow : bytes)) {
        return ReadDelimitedTable(*table, request, s);
    }
    return outcome;
}

ReadOutcome ReadSpFile(const std::string& path, const ReadRequest& request, Spectrum& s) {
    return ReadWholeFile(path, request, s, kMaxFileBytes, "", BeginRead, ReadSpBytes);
}

}  // namespace halvorn
