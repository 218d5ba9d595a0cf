// The large spectrum the benchmarks share: 32767 points from 4000 to 400 cm-1
// with absorption bands at random places and, optionally, a little noise
// (which makes thousands of candidate dips).
#pragma once

#include <cmath>
#include <random>
#include <vector>

#include "graph/graph_test_support.h"

namespace halvorn::bench {

inline Spectrum LargeSpectrum(int bandCount, unsigned seed, double noiseLevel) {
    constexpr int kPoints = 32767;
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> position(450, 3950), depth(5, 80), width(3, 30);
    struct Band {
        double nu, depth, width;
    };
    std::vector<Band> bands;
    for (int k = 0; k < bandCount; ++k) {
        bands.push_back({position(random), depth(random), width(random)});
    }
    std::normal_distribution<double> noise(0, noiseLevel);
    std::vector<double> percent(kPoints);
    const double step = -3600.0 / (kPoints - 1);
    for (int i = 0; i < kPoints; ++i) {
        const double nu = 4000 + i * step;
        double a = 0.02;
        for (const Band& b : bands) {
            const double d = (nu - b.nu) / b.width;
            a += b.depth / 50.0 / (1 + d * d);
        }
        percent[static_cast<std::size_t>(i)] =
            100.0 * std::pow(10.0, -a) + (noiseLevel > 0 ? noise(random) : 0.0);
    }
    return test::MakeSpectrum(4000, step, percent);
}

}  // namespace halvorn::bench
