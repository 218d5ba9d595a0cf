// Checks shared by the reader tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/export_text.h"
#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn::test {

inline const std::string kSuffix = "\r\nTry to look in 'File Details'";

// Abscissae of points 1..N.
inline std::vector<float> Wave(const Spectrum& s) {
    return {s.WaveX.begin() + 1, s.WaveX.end()};
}

// %T of every point, to 4 decimals.
inline std::vector<double> Percent(const Spectrum& s) {
    std::vector<double> result;
    for (std::size_t i = 1; i < s.RawY.size(); ++i) {
        result.push_back(std::round(s.RawY[i] / s.YFactor * 1e4) / 1e4);
    }
    return result;
}

// A failed read: a message holding part with the fixed ending, and an empty
// record whose arrays, counts and export texts agree.
inline void ExpectFailure(const ReadOutcome& outcome, const Spectrum& s, const std::string& part) {
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(s.OpenFailed);
    EXPECT_NE(outcome.message.find(part), std::string::npos) << outcome.message;
    EXPECT_TRUE(outcome.message.ends_with(kSuffix));
    EXPECT_EQ(s.PointCount, 0);
    EXPECT_EQ(s.WaveX.size(), 1u);
    EXPECT_EQ(s.RawY.size(), 1u);
    EXPECT_TRUE(s.ZZ.empty());
    EXPECT_TRUE(ExportTextOf(s, ExportText::X).empty());
}

}  // namespace halvorn::test
