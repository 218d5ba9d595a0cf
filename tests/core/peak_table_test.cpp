// The peak table checked against values worked out here from the marked
// points' abscissae and stored ordinates.
#include "core/peak_table.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace halvorn {
namespace {

// Points 1..n with the given wavenumbers and %T, on the usual divisor.
Spectrum Table(const std::vector<float>& nu, const std::vector<double>& percent) {
    Spectrum s;
    s.YFactor = kTransmittanceYFactor;
    s.PointCount = static_cast<std::int32_t>(nu.size());
    s.WaveX = {0.0f};
    s.RawY = {0};
    for (std::size_t i = 0; i < nu.size(); ++i) {
        s.WaveX.push_back(nu[i]);
        s.RawY.push_back(static_cast<std::int32_t>(std::lround(percent[i] * s.YFactor)));
    }
    return s;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + separator.size();
    }
}

TEST(PeakTable, RowsMatchAnIndependentComputationInWavenumberOrder) {
    // Five points; the marks in marking order, not in wavenumber order.
    const Spectrum s =
        Table({3026.5f, 2924.0f, 1601.4f, 1493.0f, 906.7f}, {31.27, 12.5, 40.0, 8.03, 77.7});
    const std::array<std::int16_t, 4> marks = {4, 1, 3, 5};
    const std::string csv = PeakTableCsv(s, marks);
    const std::vector<std::string> lines = Split(csv, "\r\n");
    ASSERT_EQ(lines.size(), 6u) << csv;  // header, four rows, the empty rest
    EXPECT_EQ(lines[0], "Wavenumber (cm-1),Wavelength (um),%T,Absorbance");
    EXPECT_EQ(lines[5], "");
    const std::array<int, 4> expectedPoints = {1, 3, 4, 5};  // highest wavenumber first
    for (std::size_t r = 0; r < expectedPoints.size(); ++r) {
        const int p = expectedPoints[r];
        const std::vector<std::string> cells = Split(lines[r + 1], ",");
        ASSERT_EQ(cells.size(), 4u) << lines[r + 1];
        const double nu = s.WaveX[p];
        const double t = s.RawY[p] / s.YFactor;
        // The single-precision abscissa reads back from its text.
        EXPECT_EQ(std::strtof(cells[0].c_str(), nullptr), s.WaveX[p]);
        EXPECT_NEAR(std::strtod(cells[1].c_str(), nullptr), 1.0e4 / nu, 0.005 + 1e-9);
        EXPECT_NEAR(std::strtod(cells[2].c_str(), nullptr), t, 0.005 + 1e-9);
        EXPECT_NEAR(std::strtod(cells[3].c_str(), nullptr), -std::log10(t / 100.0), 0.0005 + 1e-9);
    }
    // The wavenumber as the readout shows it, the rest rounded.
    EXPECT_EQ(lines[2], "1601.4,6.24,40,0.398");
    EXPECT_EQ(lines[1], "3026.5,3.3,31.27,0.505");
}

TEST(PeakTable, TextUsesTabsAndTheLocaleSeparatorHtmlEscapes) {
    const Spectrum s = Table({1601.4f, 1000.0f}, {10.0, 100.0});
    const std::array<std::int16_t, 2> marks = {2, 1};
    EXPECT_EQ(PeakTableText(s, marks, ','),
              "Wavenumber (cm-1)\tWavelength (um)\t%T\tAbsorbance\r\n"
              "1601,4\t6,24\t10\t1\r\n"
              "1000\t10\t100\t0\r\n");
    const std::string html = PeakTableHtml(s, marks, ',');
    EXPECT_NE(html.find("<tr><th>Wavenumber (cm-1)</th><th>Wavelength (um)</th><th>%T</th>"
                        "<th>Absorbance</th></tr>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("<tr><td>1601,4</td><td>6,24</td><td>10</td><td>1</td></tr>"),
              std::string::npos);
    // A separator that means something in HTML is escaped like any text.
    EXPECT_NE(PeakTableHtml(s, marks, '<').find("<td>1601&lt;4</td>"), std::string::npos);
}

TEST(PeakTable, ValuesWithoutANumberAreEmptyCells) {
    // %T of 0 and below has no absorbance; a wavenumber of 0 no wavelength.
    Spectrum s = Table({2000.0f, 0.0f, 1000.0f}, {0.0, 50.0, -3.2});
    const std::array<std::int16_t, 3> marks = {1, 2, 3};
    EXPECT_EQ(PeakTableCsv(s, marks),
              "Wavenumber (cm-1),Wavelength (um),%T,Absorbance\r\n"
              "2000,5,0,\r\n"
              "1000,10,-3.2,\r\n"
              "0,,50,0.301\r\n");
    // Without a divisor there is no %T at all.
    s.YFactor = 0.0;
    const std::string csv = PeakTableCsv(s, marks);
    EXPECT_EQ(csv.find("inf"), std::string::npos) << csv;
    EXPECT_EQ(csv.find("nan"), std::string::npos) << csv;
    EXPECT_NE(csv.find("2000,5,,\r\n"), std::string::npos) << csv;
}

TEST(PeakTable, NoMarksGiveTheHeaderAloneAndBadIndicesAreLeftOut) {
    const Spectrum s = Table({2000.0f, 1000.0f}, {50.0, 60.0});
    EXPECT_EQ(PeakTableText(s, {}, '.'), "Wavenumber (cm-1)\tWavelength (um)\t%T\tAbsorbance\r\n");
    const std::array<std::int16_t, 5> marks = {0, 3, -1, 2, 2};
    const std::vector<PeakTableRow> rows = PeakTableRows(s, marks);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].point, 2);
    // A record whose arrays are shorter than PointCount says.
    Spectrum cut = s;
    cut.WaveX.resize(2);
    EXPECT_TRUE(PeakTableRows(cut, marks).empty());
}

}  // namespace
}  // namespace halvorn
