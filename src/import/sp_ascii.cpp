#include "import/sp_ascii.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "core/character_set.h"
#include "core/numbers.h"
#include "import/point_placement.h"
#include "import/read_frame.h"
#include "import/sp_reader.h"
#include "import/text_numbers.h"

namespace halvorn {

namespace {

// The #DATA line is looked for among this many lines.
constexpr std::size_t kMaxHeaderLines = 512;

// A data line: the abscissa, blanks or a TAB, the ordinate; blanks at either
// end are allowed.
std::optional<std::pair<double, double>> DataPair(std::string_view line) {
    line = TrimBlanks(line);
    const std::size_t gap = FirstBlank(line);
    if (gap == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<double> x = WholeNumber(line.substr(0, gap), true);
    const std::optional<double> y = WholeNumber(TrimBlanks(line.substr(gap)), true);
    if (!x || !y) {
        return std::nullopt;
    }
    return std::pair{*x, *y};
}

// The position of the #DATA line among the first lines (0-based), looking at
// lines 2 onwards.
std::optional<std::size_t> MarkerLine(const std::vector<std::string_view>& lines) {
    for (std::size_t k = 1; k < lines.size() && k < kMaxHeaderLines; ++k) {
        if (lines[k].starts_with("#DATA")) {
            return k;
        }
    }
    return std::nullopt;
}

// Header line n above the marker line (0-based index c), trimmed; empty when
// the header has no such line.
std::string_view Above(const std::vector<std::string_view>& lines, std::size_t c, std::size_t n) {
    return n <= c ? TrimBlanks(lines[c - n]) : std::string_view();
}

void Read(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    const char separator = request.decimalSeparator;
    s.DiagnosticList.clear();
    const std::vector<std::string_view> lines = TextLines(bytes);
    const std::optional<std::size_t> marker = MarkerLine(lines);
    if (!marker) {
        Fail("Cannot open!\r\nThis file is corrupted,\r\nor has unsupported format.");
    }
    const std::size_t c = *marker;
    s.HeaderList.clear();
    for (std::size_t k = 0; k <= c; ++k) {
        s.HeaderList.push_back(KeptHeaderLine(lines[k]));
    }

    const std::string xUnit = AsciiUpperCase(Above(lines, c, 10));
    const std::string yUnit = AsciiUpperCase(Above(lines, c, 9));
    const double headerFirstX = ParseNumber(Above(lines, c, 6));
    const double headerStep = ParseNumber(Above(lines, c, 5));
    const double headerCount = ParseNumber(Above(lines, c, 4));
    if (xUnit == "NM") {
        Fail("This file holds a UV/VIS spectrum (nm), not an infrared spectrum.");
    }
    if (xUnit != "CM-1") {
        Fail("This program can open only files\r\nwith abscissa units in CM-1.\r\nSorry!");
    }

    // The data lines, up to the first line that is not one.
    std::vector<double> x;
    std::vector<double> y;
    std::size_t k = c + 1;
    for (; k < lines.size(); ++k) {
        if (TrimBlanks(lines[k]).empty()) {
            continue;
        }
        const std::optional<std::pair<double, double>> point = DataPair(lines[k]);
        if (!point) {
            break;
        }
        if (x.size() == static_cast<std::size_t>(kMaxPoints)) {
            Fail("This file holds more than " + IntegerText(kMaxPoints) +
                 " data lines;\r\nthis program holds at most " + IntegerText(kMaxPoints) +
                 " points.");
        }
        x.push_back(point->first);
        y.push_back(point->second);
    }
    if (x.empty()) {
        Fail("No data lines follow the #DATA line.");
    }
    std::size_t trailing = 0;
    for (; k < lines.size(); ++k) {
        trailing += TrimBlanks(lines[k]).empty() ? 0 : 1;
    }

    OrdinateUnit unit = OrdinateUnit::PercentTransmittance;
    std::string unitText;
    if (yUnit == "%T") {
        unitText = "%T";
    } else if (yUnit == "ABS" || yUnit == "A") {
        unit = OrdinateUnit::Absorbance;
        unitText = "absorbance";
    } else if (yUnit == "%R") {
        unitText = "%R, shown as %T";
    } else if (yUnit == "T" || yUnit == "R") {
        for (double& v : y) {
            v *= 100.0;
        }
        unitText = yUnit + " as a fraction, shown x 100 as %T";
    } else {
        unitText = "\"" + std::string(Above(lines, c, 9)) + "\", " + ScaleIntoPercent(y, separator);
        s.Caption += " (scaled)";
    }
    const std::size_t n = x.size();
    s.DiagnosticList.push_back("read as a *.sp file with ASCII data: " +
                               IntegerText(static_cast<std::int64_t>(n)) + " points, " + unitText);
    if (trailing > 0) {
        s.DiagnosticList.push_back(IntegerText(static_cast<std::int64_t>(trailing)) +
                                   " lines after the data skipped (not two numbers)");
    }
    if (headerCount != static_cast<double>(n)) {
        s.DiagnosticList.push_back("the header gives " + DoubleText(headerCount, separator) +
                                   " points, the data lines hold " +
                                   IntegerText(static_cast<std::int64_t>(n)) +
                                   "; the data lines are read");
    }

    // The abscissae: the header's first abscissa and step where the data
    // lines agree with them, else the data lines' own.
    const auto fits = [&](double first, double step) {
        const double tolerance = std::max(std::fabs(step) * 0.01, 1e-6);
        for (std::size_t i = 0; i < n; ++i) {
            if (!(std::fabs(x[i] - (first + static_cast<double>(i) * step)) <= tolerance)) {
                return false;
            }
        }
        return true;
    };
    double firstX = headerFirstX;
    double deltaX = headerStep;
    if (fits(headerFirstX, headerStep)) {
        // As the header gives them.
    } else if (fits(headerFirstX, -headerStep)) {
        deltaX = -headerStep;
        s.DiagnosticList.push_back("the step line gives " + DoubleText(headerStep, separator) +
                                   ", the data lines run the other way; " +
                                   DoubleText(deltaX, separator) + " used");
    } else {
        if (!StrictlyMonotonic(x)) {
            Fail("The abscissae of the data lines\r\nneither rise nor fall steadily.");
        }
        firstX = x.front();
        deltaX = n > 1 ? (x.back() - x.front()) / static_cast<double>(n - 1) : headerStep;
        if (Unevenness(x) > 0.01) {
            ResampleEvenly(x, y);
            s.DiagnosticList.push_back(
                "the abscissae are not evenly spaced: resampled by linear interpolation onto " +
                IntegerText(static_cast<std::int64_t>(n)) + " even points");
        }
        s.DiagnosticList.push_back(
            "the header's first abscissa and step do not fit the data "
            "lines; the data lines' abscissae are used");
    }

    FillSpSampleLabels(s);
    PlaceEvenPoints(s, y, firstX, deltaX, unit, separator);
}

}  // namespace

bool HasAsciiSpData(std::string_view bytes) {
    // Only the header and the line after #DATA are looked at.
    std::size_t start = 0;
    bool marker = false;
    for (std::size_t k = 0; start < bytes.size() && k <= kMaxHeaderLines; ++k) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') {
            ++end;
        }
        const std::string_view line = bytes.substr(start, end - start);
        if (marker) {
            return DataPair(line).has_value();
        }
        marker = k >= 1 && line.starts_with("#DATA");
        start = end + 1;
        if (end < bytes.size() && bytes[end] == '\r' && start < bytes.size() &&
            bytes[start] == '\n') {
            ++start;
        }
    }
    return false;
}

ReadOutcome ReadSpAsciiBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    BeginRead(request, s);
    return GuardedRead(s, "", [&] { Read(bytes, request, s); });
}

}  // namespace halvorn
