#include "core/peak_table.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"

namespace halvorn {

namespace {

constexpr const char* kLineEnd = "\r\n";

// RoundTo where it can round, the value itself where rounding would leave the
// 32-bit range; nothing for a value that is no number.
std::optional<double> Rounded(double value, int decimals) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    try {
        return RoundTo(value, decimals);
    } catch (const ArithmeticFault&) {
        return value;
    }
}

std::string Cell(const std::optional<double>& value, char separator) {
    return value ? DoubleText(*value, separator) : std::string();
}

// The four cells of a row as text.
std::vector<std::string> Cells(const PeakTableRow& row, char separator) {
    return {SingleText(row.wavenumber, separator), Cell(row.micrometres, separator),
            Cell(row.percentT, separator), Cell(row.absorbance, separator)};
}

std::string Joined(const std::vector<std::string>& cells, char between) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += between;
        }
        line += cells[i];
    }
    return line + kLineEnd;
}

std::string HtmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string HtmlRow(const std::vector<std::string>& cells, const char* tag) {
    std::string row = "<tr>";
    for (const std::string& cell : cells) {
        row += std::string("<") + tag + ">" + HtmlEscaped(cell) + "</" + tag + ">";
    }
    return row + "</tr>" + kLineEnd;
}

std::vector<std::string> HeaderCells() {
    return {std::begin(kPeakTableHeaders), std::end(kPeakTableHeaders)};
}

}  // namespace

std::vector<PeakTableRow> PeakTableRows(const Spectrum& s,
                                        std::span<const std::int16_t> peakPoints) {
    std::vector<std::int16_t> points;
    // The last point the arrays really hold, whatever PointCount says.
    const auto held = [](std::size_t size) { return size > 0 ? size - 1 : 0; };
    const auto last = static_cast<std::int32_t>(
        std::min<std::size_t>({static_cast<std::size_t>(std::max(s.PointCount, 0)),
                               held(s.WaveX.size()), held(s.RawY.size())}));
    for (std::int16_t p : peakPoints) {
        if (p >= 1 && p <= last && std::find(points.begin(), points.end(), p) == points.end()) {
            points.push_back(p);
        }
    }
    std::vector<PeakTableRow> rows;
    for (std::int16_t p : points) {
        PeakTableRow row;
        row.point = p;
        row.wavenumber = s.WaveX[static_cast<std::size_t>(p)];
        if (row.wavenumber != 0.0f) {
            row.micrometres = Rounded(10000.0 / static_cast<double>(row.wavenumber), 2);
        }
        const double t = static_cast<double>(s.RawY[static_cast<std::size_t>(p)]) / s.YFactor;
        if (std::isfinite(t)) {
            row.percentT = Rounded(t, 2);
            if (t > 0.0) {
                row.absorbance = Rounded(std::log10(100.0 / t), 3);
            }
        }
        rows.push_back(row);
    }
    // Highest wavenumber first; equal wavenumbers keep their point order.
    std::stable_sort(rows.begin(), rows.end(), [](const PeakTableRow& a, const PeakTableRow& b) {
        return a.wavenumber > b.wavenumber;
    });
    return rows;
}

std::string PeakTableText(const Spectrum& s, std::span<const std::int16_t> peakPoints,
                          char decimalSeparator) {
    std::string text = Joined(HeaderCells(), '\t');
    for (const PeakTableRow& row : PeakTableRows(s, peakPoints)) {
        text += Joined(Cells(row, decimalSeparator), '\t');
    }
    return text;
}

std::string PeakTableHtml(const Spectrum& s, std::span<const std::int16_t> peakPoints,
                          char decimalSeparator) {
    std::string html = "<html><head><meta charset=\"utf-8\"></head><body>";
    html += kLineEnd;
    html += "<table>";
    html += kLineEnd;
    html += HtmlRow(HeaderCells(), "th");
    for (const PeakTableRow& row : PeakTableRows(s, peakPoints)) {
        html += HtmlRow(Cells(row, decimalSeparator), "td");
    }
    html += "</table>";
    html += kLineEnd;
    html += "</body></html>";
    html += kLineEnd;
    return html;
}

std::string PeakTableCsv(const Spectrum& s, std::span<const std::int16_t> peakPoints) {
    // Period decimals, so no cell holds a comma and none needs quoting.
    std::string csv = Joined(HeaderCells(), ',');
    for (const PeakTableRow& row : PeakTableRows(s, peakPoints)) {
        csv += Joined(Cells(row, '.'), ',');
    }
    return csv;
}

}  // namespace halvorn
