// Checks shared by the reader tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <random>
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

// A read of damaged bytes either gave a record whose arrays hold its points
// or failed with a message and no points.
inline void ExpectSelfConsistent(const ReadOutcome& outcome, const Spectrum& s,
                                 const std::string& what) {
    if (outcome.ok) {
        EXPECT_EQ(s.WaveX.size(), static_cast<std::size_t>(s.PointCount) + 1) << what;
        EXPECT_EQ(s.RawY.size(), static_cast<std::size_t>(s.PointCount) + 1) << what;
    } else {
        EXPECT_TRUE(outcome.message.ends_with(kSuffix)) << what;
        EXPECT_EQ(s.PointCount, 0) << what;
    }
}

// Hands check the prefixes of base at every step-th length up to the whole,
// then copies of base with changes bytes replaced at random by characters
// the JCAMP-DX forms use, rounds times.
template <typename Check>
void ForEachDamagedCopy(const std::string& base, std::size_t step, int rounds, int changes,
                        std::mt19937& random, Check check) {
    static const std::string kAlphabet = "0123456789+-.?@AJSajs%#$=eE \n\r,;";
    for (std::size_t length = 0; length <= base.size(); length += step) {
        check(base.substr(0, length));
    }
    for (int round = 0; round < rounds; ++round) {
        std::string text = base;
        for (int k = 0; k < changes; ++k) {
            text[random() % text.size()] = kAlphabet[random() % kAlphabet.size()];
        }
        check(text);
    }
}

}  // namespace halvorn::test
