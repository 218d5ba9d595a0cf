#include "import/prn_reader.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>

#include "core/export_text.h"
#include "core/numbers.h"
#include "import/delimited_table.h"
#include "import/number_scan.h"
#include "import/read_frame.h"

namespace halvorn {

namespace {

const char* const kOutOfRange =
    "A number in this table is out of the range\r\nthis program can hold.";

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// The longest file that can hold a table of kMaxPoints lines: 256 bytes a line.
constexpr std::uintmax_t kMaxFileBytes = 256 * static_cast<std::uintmax_t>(kMaxPoints);

// A line with its first three commas read as decimal points, in a buffer of
// the reader's own for the common short line.
class PointLine {
  public:
    explicit PointLine(std::string_view line) {
        char* out = shortLine_;
        if (line.size() > sizeof shortLine_) {
            long_.assign(line);
            out = long_.data();
        } else {
            line.copy(shortLine_, line.size());
        }
        int replaced = 0;
        for (std::size_t i = 0; i < line.size() && replaced < 3; ++i) {
            if (out[i] == ',') {
                out[i] = '.';
                ++replaced;
            }
        }
        text_ = std::string_view(out, line.size());
    }
    PointLine(const PointLine&) = delete;
    PointLine& operator=(const PointLine&) = delete;

    std::string_view Text() const { return text_; }

  private:
    char shortLine_[128];
    std::string long_;
    std::string_view text_;
};

// Reads the common line "abscissa TAB ordinate" whose numbers are short plain
// decimals (an optional sign, digits with one point or comma, at most 15
// significant digits and 22 decimals), blanks before each number, with the
// values the general path gives them. False for any other line.
bool ReadShortPointLine(std::string_view line, double& x, double& y) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = line.data();
    const char* const end = p + line.size();
    const auto digitOf = [](char c) {
        return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
    };
    const auto number = [&](bool tabsBefore, double& value) {
        while (p < end && (*p == ' ' || (tabsBefore && *p == '\t'))) {
            ++p;
        }
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '+' || *p == '-')) {
            ++p;
        }
        std::uint64_t mantissa = 0;
        const char* const digitsStart = p;
        for (unsigned d; p < end && (d = digitOf(*p)) <= 9; ++p) {
            mantissa = mantissa * 10 + d;
        }
        std::ptrdiff_t digits = p - digitsStart;
        std::ptrdiff_t decimals = 0;
        if (p < end && (*p == '.' || *p == ',')) {
            const char* const decimalsStart = ++p;
            for (unsigned d; p < end && (d = digitOf(*p)) <= 9; ++p) {
                mantissa = mantissa * 10 + d;
            }
            decimals = p - decimalsStart;
            digits += decimals;
        }
        if (digits == 0 || digits > 19 || decimals > 22 || mantissa >= 1000000000000000) {
            return false;
        }
        const auto m = static_cast<double>(static_cast<std::int64_t>(mantissa));
        const double magnitude = m / kPowers[decimals];
        value = negative ? -magnitude : magnitude;
        return true;
    };
    if (!number(false, x) || p == end || *p != '\t') {
        return false;
    }
    ++p;
    return number(true, y) && p == end;
}

// Fills lines with the table's lines, as PrnTableLines gives them.
void SplitTableLines(std::string_view bytes, std::vector<std::string_view>& lines) {
    lines.clear();
    const char* const text = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t start = 0;
    while (start < size) {
        std::size_t end = start;
        while (end < size && text[end] != '\r' && text[end] != '\n') {
            ++end;
        }
        lines.push_back(bytes.substr(start, end - start));
        if (end == size) {
            break;
        }
        start = end + 1;
        if (text[end] == '\r' && start < size && text[start] == '\n') {
            ++start;
        }
    }
    while (!lines.empty() && IsBlankLine(lines.back())) {
        lines.pop_back();
    }
}

// The read proper; throws ReadFailure or ArithmeticFault.
void Read(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    const char sep = request.decimalSeparator;
    // The line table keeps its room from one read to the next.
    thread_local std::vector<std::string_view> lines;
    SplitTableLines(bytes, lines);
    if (lines.size() > static_cast<std::size_t>(kMaxPoints)) {
        Fail("The table has more than " + IntegerText(kMaxPoints) +
             " lines;\r\nthis program holds at most " + IntegerText(kMaxPoints) + " points.");
    }
    const auto n = static_cast<std::int32_t>(lines.size());
    s.PointCountLabel = "Number of points: " + IntegerText(n);
    if (n < 2) {
        Fail("The table holds " + IntegerText(n) + (n == 1 ? " line" : " lines") +
             ";\r\na spectrum needs at least two points.");
    }

    s.PointCount = n;
    s.StepCount = ToInteger(static_cast<double>(n) - 1.0);
    s.WaveX.assign(static_cast<std::size_t>(n) + 1, 0.0f);
    s.RawY.assign(static_cast<std::size_t>(n) + 1, 0);
    s.RawYMax = 0;
    s.RawYMin = 1000000000;

    // The last line becomes point 1, the first point N.
    for (std::int32_t k = 1; k <= n; ++k) {
        double x = 0.0;
        double y = 0.0;
        if (!ReadShortPointLine(lines[static_cast<std::size_t>(k - 1)], x, y)) {
            const PointLine converted(lines[static_cast<std::size_t>(k - 1)]);
            const std::string_view line = converted.Text();
            const std::size_t tab = line.find('\t');
            x = tab == std::string_view::npos ? 0.0 : ReadNumber(line.substr(0, tab));
            y = ReadNumber(tab == std::string_view::npos ? line : line.substr(tab + 1));
        }
        const auto point = static_cast<std::size_t>(n - k + 1);
        const double stored = y * s.YFactor;
        if (!(std::fabs(x) <= 3.4e38 && std::fabs(stored) < 2147483647.5)) {
            Fail("Line " + IntegerText(k) + " holds a value too large\r\nfor this program.");
        }
        s.WaveX[point] = ToSingle(x);
        s.RawY[point] = ToLong(stored);
        if (s.RawY[point] > s.RawYMax) {
            s.RawYMax = s.RawY[point];
        }
        if (s.RawY[point] < s.RawYMin) {
            s.RawYMin = s.RawY[point];
        }
    }

    s.DeltaX = static_cast<double>(s.WaveX[2] - s.WaveX[1]);
    // Shown even when the first or last abscissa turns out to be unusable.
    s.IntervalLabel =
        "points: " + DoubleText(std::nearbyint(s.DeltaX * 1000.0) / 1000.0, sep) + " cm^(-1)";
    s.FirstX = s.WaveX[1];
    s.LastX = s.WaveX[static_cast<std::size_t>(n)];
    for (const auto& [x, line] : {std::pair{s.FirstX, n}, std::pair{s.LastX, 1}}) {
        if (x == 0.0) {
            Fail("Line " + IntegerText(line) +
                 " gives the abscissa 0 cm^(-1)\r\n(no TAB before the ordinate?);\r\nthe first "
                 "and last lines must hold wavenumbers.");
        }
    }
    s.FirstWL = Divide(10000.0, s.FirstX);
    s.LastWL = Divide(10000.0, s.LastX);
    ShowWholeSpectrum(s);

    SetYAxisFromExtremes(s, ToSingle(s.RawYMax / s.YFactor), ToSingle(s.RawYMin / s.YFactor));

    EndRead(s, sep, IntervalForm::ThreeDecimals);
    PrepareExportTexts(s, sep);
}

}  // namespace

std::vector<std::string_view> PrnTableLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    SplitTableLines(bytes, lines);
    return lines;
}

namespace {

// The start of a read, before the file is opened.
void BeginPrnRead(const ReadRequest& request, Spectrum& s) {
    BeginRead(request, s);
    s.YFactor = kTransmittanceYFactor;
}

}  // namespace

ReadOutcome ReadPrnBytes(std::string_view bytes, const ReadRequest& request, Spectrum& s) {
    BeginPrnRead(request, s);
    // No diagnostic line of the previous file stays with this one.
    s.DiagnosticList.clear();
    // Without a TAB every line gives the abscissa 0 and this reader refuses
    // the file: a table in it is read by the table reader at once.
    if (bytes.find('\t') == std::string_view::npos && !bytes.starts_with("\xFF\xFE") &&
        !bytes.starts_with("\xFE\xFF")) {
        if (const std::optional<DelimitedTable> table = FindDelimitedTable(bytes)) {
            return ReadDelimitedTable(*table, request, s);
        }
    }
    ReadOutcome outcome = GuardedRead(s, kOutOfRange, [&] { Read(bytes, request, s); });
    if (outcome.ok) {
        return outcome;
    }
    // A table this reader refuses is read by the forgiving table reader when
    // it holds lines of two numbers in another form than this reader's own:
    // other separators, a byte order mark, or text lines before or after the
    // numbers. A TAB table of nothing but numbers and blank lines keeps this
    // reader's refusal (a blank first or last line, a value too large).
    // UTF-16 text is read as its characters below 128.
    const std::optional<std::string> narrow = NarrowUtf16(bytes);
    const std::optional<DelimitedTable> table = FindDelimitedTable(narrow ? *narrow : bytes);
    const bool ownForm = table && table->separator == '\t' && table->skippedBefore == 0 &&
                         table->skippedAfter == 0 && !narrow && !bytes.starts_with("\xEF\xBB\xBF");
    if (table && !ownForm) {
        return ReadDelimitedTable(*table, request, s);
    }
    return outcome;
}

ReadOutcome ReadPrnFile(const std::string& path, const ReadRequest& request, Spectrum& s) {
    return ReadWholeFile(path, request, s, kMaxFileBytes, "The file cannot be opened or read.",
                         BeginPrnRead, ReadPrnBytes);
}

}  // namespace halvorn
