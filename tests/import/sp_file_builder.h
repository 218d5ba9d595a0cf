// Builds *.sp file bytes for tests: a header of CR LF lines with the units and
// numbers at their places above the #DATA line, then the ordinates as
// little-endian int32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace halvorn::test {

struct SpFile {
    // Lines 1..21 hold these texts where given; the rest are filler.
    std::string line1 = "TEST SPECTRUM";
    std::string sample = "Polystyrene";
    std::string date = "98/05/20";
    std::string operatorName = "Jane";
    std::string remark = "film";
    std::string instrument = "ABC, 12";
    // Total header lines before #DATA (at least 21 for the lines above to land
    // on their places; fewer lines drop them).
    int linesBeforeData = 60;
    std::string xUnit = "CM-1";
    std::string yUnit = "%T";
    std::string firstX = "4000";
    std::string deltaX = "-1";
    std::string count;  // the point count line; empty: the number of values
    std::vector<std::int32_t> values;
    std::string lineEnd = "\r\n";
    std::string trailing;  // bytes after the values

    std::string Bytes() const {
        std::vector<std::string> lines(static_cast<std::size_t>(linesBeforeData), "filler");
        auto put = [&](int n, const std::string& text) {
            if (n >= 1 && n <= linesBeforeData) {
                lines[static_cast<std::size_t>(n - 1)] = text;
            }
        };
        put(1, line1);
        put(3, sample);
        put(4, date);
        put(8, operatorName);
        put(9, remark);
        put(21, instrument);
        const int c = linesBeforeData + 1;  // the #DATA line
        put(c - 10, xUnit);
        put(c - 9, yUnit);
        put(c - 6, firstX);
        put(c - 5, deltaX);
        put(c - 4, count.empty() ? std::to_string(values.size()) : count);
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += line + lineEnd;
        }
        bytes += "#DATA" + lineEnd;
        for (std::int32_t v : values) {
            const auto u = static_cast<std::uint32_t>(v);
            for (int k = 0; k < 4; ++k) {
                bytes += static_cast<char>((u >> (8 * k)) & 0xFF);
            }
        }
        return bytes + trailing;
    }
};

}  // namespace halvorn::test
