#include "import/delimited_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/character_set.h"
#include "core/numbers.h"
#include "import/point_placement.h"
#include "import/read_frame.h"
#include "import/text_numbers.h"

namespace halvorn {

namespace {

// Text lines kept for the header list from before and from after the numbers.
constexpr std::size_t kKeptTextLines = 500;

struct Layout {
    char separator;
    bool decimalComma;
};

// The layouts tried, in the order that decides between equally long runs.
constexpr std::array<Layout, 7> kLayouts = {{{'\t', false},
                                             {'\t', true},
                                             {';', false},
                                             {';', true},
                                             {',', false},
                                             {' ', false},
                                             {' ', true}}};

// Walks the lines of a text, ended by CR LF, CR or LF.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {
        if (text_.starts_with("\xEF\xBB\xBF")) {
            text_.remove_prefix(3);
        }
    }

    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) {
            return false;
        }
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') {
            ++end;
        }
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (end < text_.size() && text_[end] == '\r' && pos_ < text_.size() &&
            text_[pos_] == '\n') {
            ++pos_;
        }
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::string_view Unquoted(std::string_view field) {
    field = TrimBlanks(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = TrimBlanks(field.substr(1, field.size() - 2));
    }
    return field;
}

enum class LineKind { Blank, Numbers, Text };

// A line as the layout reads it: blank, two numbers, or text.
LineKind Classify(std::string_view line, Layout layout, double& x, double& y) {
    line = TrimBlanks(line);
    if (line.empty()) {
        return LineKind::Blank;
    }
    std::string_view first;
    std::string_view second;
    if (layout.separator == ' ') {
        const std::size_t gap = FirstBlank(line);
        if (gap == std::string_view::npos) {
            return LineKind::Text;
        }
        first = line.substr(0, gap);
        second = TrimBlanks(line.substr(gap));
        if (FirstBlank(second) != std::string_view::npos) {
            return LineKind::Text;
        }
    } else {
        const std::size_t at = line.find(layout.separator);
        if (at == std::string_view::npos) {
            return LineKind::Text;
        }
        first = Unquoted(line.substr(0, at));
        std::string_view rest = TrimBlanks(line.substr(at + 1));
        if (!rest.empty() && rest.back() == layout.separator) {
            rest.remove_suffix(1);  // a separator that ends the line
        }
        if (rest.find(layout.separator) != std::string_view::npos) {
            return LineKind::Text;
        }
        second = Unquoted(rest);
    }
    const std::optional<double> a = WholeNumber(first, layout.decimalComma);
    if (!a) {
        return LineKind::Text;
    }
    const std::optional<double> b = WholeNumber(second, layout.decimalComma);
    if (!b) {
        return LineKind::Text;
    }
    x = *a;
    y = *b;
    return LineKind::Numbers;
}

// The longest run of number lines (blank lines inside it allowed) a layout
// finds: its first and last line (0-based) and its numbers.
struct Run {
    std::size_t first = 0;
    std::size_t last = 0;
    std::size_t count = 0;  // number lines; values are kept for the first kMaxPoints + 1
    std::vector<double> x;
    std::vector<double> y;

    std::size_t Count() const { return count; }
};

Run LongestRun(std::string_view bytes, Layout layout) {
    Run best;
    Run current;
    const auto endRun = [&] {
        if (current.Count() > best.Count()) {
            std::swap(best, current);
        }
        current.count = 0;
        current.x.clear();
        current.y.clear();
    };
    Lines lines(bytes);
    std::string_view line;
    double x = 0.0;
    double y = 0.0;
    for (std::size_t k = 0; lines.Next(line); ++k) {
        switch (Classify(line, layout, x, y)) {
            case LineKind::Blank:
                break;
            case LineKind::Numbers:
                if (current.Count() == 0) {
                    current.first = k;
                }
                current.last = k;
                if (++current.count <= static_cast<std::size_t>(kMaxPoints) + 1) {
                    current.x.push_back(x);
                    current.y.push_back(y);
                }
                break;
            case LineKind::Text:
                endRun();
                break;
        }
    }
    endRun();
    return best;
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Whether the upper-case text holds the word, not as part of a longer word.
bool HasWord(const std::string& text, std::string_view word) {
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool before = at == 0 || !IsLetter(text[at - 1]);
        const std::size_t end = at + word.size();
        const bool after = end >= text.size() || !IsLetter(text[end]);
        if (before && after) {
            return true;
        }
    }
    return false;
}

bool HasAnyWord(const std::string& text, std::initializer_list<std::string_view> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](std::string_view word) { return HasWord(text, word); });
}

enum class XHint { None, Wavenumber, Micrometre, Nanometre };
enum class YHint { None, Absorbance, Transmittance, Reflectance, Other };

XHint XHintOf(const std::string& text) {
    if (HasAnyWord(text, {"1/CM", "CM-1", "CM^-1", "CM^(-1)", "WAVENUMBER", "WAVENUMBERS"})) {
        return XHint::Wavenumber;
    }
    if (HasAnyWord(text, {"UM", "\xC2\xB5M", "MICROMETER", "MICROMETERS", "MICROMETRES", "MICRON",
                          "MICRONS"})) {
        return XHint::Micrometre;
    }
    if (HasAnyWord(text, {"NM", "NANOMETER", "NANOMETERS", "NANOMETRES"})) {
        return XHint::Nanometre;
    }
    return XHint::None;
}

YHint YHintOf(const std::string& text) {
    if (HasAnyWord(text, {"ABSORBANCE", "ABS"})) {
        return YHint::Absorbance;
    }
    if (HasAnyWord(text, {"TRANSMITTANCE", "TRANSMISSION", "%T"})) {
        return YHint::Transmittance;
    }
    if (HasAnyWord(text, {"REFLECTANCE", "%R"})) {
        return YHint::Reflectance;
    }
    if (HasAnyWord(text, {"KUBELKA", "COUNTS", "ARBITRARY", "INTENSITY", "SINGLE BEAM"})) {
        return YHint::Other;
    }
    return YHint::None;
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return IntegerText(static_cast<std::int64_t>(n)) + " " + (n == 1 ? one : many);
}

std::string LayoutWords(Layout layout) {
    const char* separator = layout.separator == '\t'  ? "TAB"
                            : layout.separator == ';' ? "semicolon"
                            : layout.separator == ',' ? "comma"
                                                      : "blank";
    return std::string(separator) + "-separated, decimal " +
           (layout.decimalComma ? "comma" : "point");
}

void Read(const DelimitedTable& table, const ReadRequest& request, Spectrum& s) {
    const char sep = request.decimalSeparator;
    s.DiagnosticList.clear();
    if (table.pointLines > static_cast<std::size_t>(kMaxPoints)) {
        Fail("This table holds " + IntegerText(static_cast<std::int64_t>(table.pointLines)) +
             " lines of numbers;\r\nthis program holds at most " + IntegerText(kMaxPoints) +
             " points.");
    }
    std::vector<double> x = table.x;
    std::vector<double> y = table.y;
    const std::size_t n = x.size();
    s.DiagnosticList.push_back("read as a table: " + Count(n, "point", "points") + ", " +
                               LayoutWords({table.separator, table.decimalComma}) +
                               ", numbers from line " +
                               IntegerText(static_cast<std::int64_t>(table.firstDataLine)));
    if (table.skippedBefore > 0) {
        s.DiagnosticList.push_back(Count(table.skippedBefore, "line", "lines") +
                                   " before the numbers skipped (header text, not two numbers)");
    }
    if (table.skippedAfter > 0) {
        s.DiagnosticList.push_back(Count(table.skippedAfter, "line", "lines") +
                                   " after the numbers skipped (not two numbers)");
    }

    // The words of the text lines, the header's first.
    std::string header;
    for (std::string_view line : table.linesBefore) {
        header += AsciiUpperCase(line);
        header += '\n';
    }
    std::string footer;
    for (std::string_view line : table.linesAfter) {
        footer += AsciiUpperCase(line);
        footer += '\n';
    }
    XHint xHint = XHintOf(header);
    if (xHint == XHint::None) {
        xHint = XHintOf(footer);
    }
    YHint yHint = YHintOf(header);
    if (yHint == YHint::None) {
        yHint = YHintOf(footer);
    }

    // The abscissae.
    const auto [xMin, xMax] = std::minmax_element(x.begin(), x.end());
    const double smallest = *xMin;
    const double largest = *xMax;
    if (xHint == XHint::Nanometre && largest <= 1100.0) {
        Fail("This file holds a UV/VIS spectrum (nm), not an infrared spectrum.");
    }
    const bool micrometres = (xHint == XHint::Micrometre && smallest > 0.0 && largest <= 1000.0) ||
                             (xHint == XHint::None && smallest > 0.0 && largest <= 50.0);
    const bool nanometres = xHint == XHint::Nanometre && smallest > 0.0;
    if (micrometres || nanometres) {
        const double scale = micrometres ? 1e4 : 1e7;
        for (double& v : x) {
            v = scale / v;
        }
        s.DiagnosticList.push_back(std::string("first column taken as wavelengths in ") +
                                   (micrometres ? "micrometres" : "nanometres") +
                                   (xHint == XHint::None
                                        ? " (all between " + DoubleText(smallest, sep) + " and " +
                                              DoubleText(largest, sep) + ")"
                                        : " (the header says so)") +
                                   ", converted to cm^(-1)");
    } else {
        s.DiagnosticList.push_back("first column taken as wavenumbers in cm^(-1)");
    }
    if (!StrictlyMonotonic(x)) {
        Fail(
            "The first column of this table\r\nneither rises nor falls steadily;\r\nit holds no "
            "spectrum this program can show.");
    }
    if (Unevenness(x) > 0.01) {
        ResampleEvenly(x, y);
        s.DiagnosticList.push_back(
            "the abscissae are not evenly spaced: resampled by linear interpolation onto " +
            Count(n, "even point", "even points"));
    }

    // The ordinates.
    const auto [yMin, yMax] = std::minmax_element(y.begin(), y.end());
    const double low = *yMin;
    const double high = *yMax;
    std::vector<double> sorted = y;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(n / 2),
                     sorted.end());
    const double median = sorted[n / 2];
    const std::string range = DoubleText(low, sep) + " .. " + DoubleText(high, sep);
    OrdinateUnit unit = OrdinateUnit::PercentTransmittance;
    std::string decision;
    const auto asFractions = [&] {
        for (double& v : y) {
            v *= 100.0;
        }
    };
    switch (yHint) {
        case YHint::Absorbance:
            unit = OrdinateUnit::Absorbance;
            decision = "absorbance (the header says so; values " + range + ")";
            break;
        case YHint::Transmittance:
        case YHint::Reflectance: {
            const char* what = yHint == YHint::Transmittance ? "transmittance" : "reflectance";
            if (high > 1.5) {
                decision = std::string(what) + " in percent (values " + range + "), shown as %T";
            } else {
                asFractions();
                decision =
                    std::string(what) + " as a fraction (values " + range + "), shown x 100 as %T";
            }
            break;
        }
        case YHint::Other:
            decision = "a unit other than %T or absorbance, " + ScaleIntoPercent(y, sep);
            s.Caption += " (scaled)";
            break;
        case YHint::None:
            if (high > 1.5) {
                decision = "%T, as in *.prn tables (values " + range + ", some above 1.5)";
            } else if (median >= 0.5) {
                asFractions();
                decision = "transmittance as a fraction (values " + range +
                           ", most above 0.5), shown x 100 as %T";
            } else {
                unit = OrdinateUnit::Absorbance;
                decision = "absorbance (values " + range + ", most below 0.5)";
            }
            break;
    }
    s.DiagnosticList.push_back("second column taken as " + decision);

    s.HeaderList.clear();
    for (std::string_view line : table.linesBefore) {
        s.HeaderList.push_back(KeptHeaderLine(line));
    }
    for (std::string_view line : table.linesAfter) {
        s.HeaderList.push_back(KeptHeaderLine(line));
    }
    for (std::string& label : s.Label14) {
        label.clear();
    }
    PlaceTablePoints(s, x, y, unit, sep);
}

}  // namespace

std::optional<DelimitedTable> FindDelimitedTable(std::string_view bytes) {
    // JCAMP-DX text is no table: its numbers need its factors and checks.
    {
        Lines lines(bytes);
        std::string_view line;
        while (lines.Next(line)) {
            line = TrimBlanks(line);
            if (!line.empty()) {
                if (line.starts_with("##")) {
                    return std::nullopt;
                }
                break;
            }
        }
    }
    Layout best{'\t', false};
    Run bestRun;
    // Layouts whose separator or decimal comma the bytes lack are not tried.
    bool tab = false;
    bool semicolon = false;
    bool comma = false;
    bool blank = false;
    for (const char c : bytes) {
        tab = tab || c == '\t';
        semicolon = semicolon || c == ';';
        comma = comma || c == ',';
        blank = blank || c == ' ';
    }
    for (const Layout layout : kLayouts) {
        const bool present = layout.separator == '\t'  ? tab
                             : layout.separator == ';' ? semicolon
                             : layout.separator == ',' ? comma
                                                       : blank || tab;
        if (!present || (layout.decimalComma && !comma)) {
            continue;
        }
        Run run = LongestRun(bytes, layout);
        if (run.Count() > bestRun.Count()) {
            bestRun = std::move(run);
            best = layout;
        }
    }
    if (bestRun.Count() < 2) {
        return std::nullopt;
    }
    DelimitedTable table;
    table.separator = best.separator;
    table.decimalComma = best.decimalComma;
    table.firstDataLine = bestRun.first + 1;
    table.pointLines = bestRun.count;
    table.x = std::move(bestRun.x);
    table.y = std::move(bestRun.y);
    // The text lines around the numbers.
    Lines lines(bytes);
    std::string_view line;
    for (std::size_t k = 0; lines.Next(line); ++k) {
        if ((k >= bestRun.first && k <= bestRun.last) || TrimBlanks(line).empty()) {
            continue;
        }
        const bool before = k < bestRun.first;
        std::vector<std::string_view>& kept = before ? table.linesBefore : table.linesAfter;
        if (kept.size() < kKeptTextLines) {
            kept.push_back(line);
        }
        ++(before ? table.skippedBefore : table.skippedAfter);
    }
    return table;
}

std::optional<std::string> NarrowUtf16(std::string_view bytes) {
    const bool little = bytes.starts_with("\xFF\xFE");
    if (!little && !bytes.starts_with("\xFE\xFF")) {
        return std::nullopt;
    }
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t k = 2; k + 1 < bytes.size(); k += 2) {
        const auto first = static_cast<unsigned char>(bytes[k]);
        const auto second = static_cast<unsigned char>(bytes[k + 1]);
        const unsigned unit = little ? first | (second << 8) : (first << 8) | second;
        text += unit < 128 ? static_cast<char>(unit) : '?';
    }
    return text;
}

ReadOutcome ReadDelimitedTable(const DelimitedTable& table, const ReadRequest& request,
                               Spectrum& s) {
    BeginRead(request, s);
    return GuardedRead(s, "A number in this table is out of the range\r\nthis program can hold.",
                       [&] { Read(table, request, s); });
}

ReadOutcome ReadDelimitedTableBytes(std::string_view bytes, const ReadRequest& request,
                                    Spectrum& s) {
    const std::optional<std::string> narrow = NarrowUtf16(bytes);
    const std::optional<DelimitedTable> table = FindDelimitedTable(narrow ? *narrow : bytes);
    if (!table) {
        BeginRead(request, s);
        return FailedRead(s, "This file holds no table of two numbers a line.");
    }
    return ReadDelimitedTable(*table, request, s);
}

}  // namespace halvorn
