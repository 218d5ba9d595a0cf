// A spectrum on the spectrum window's plot, redrawn the way the window does,
// for the interaction tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/numbers.h"
#include "graph/graph.h"
#include "graph/graph_test_support.h"

namespace halvorn::test {

// 90 %T from firstX down in steps of step cm-1 to lastX, with Gaussian dips
// (centre, %T at the centre, half width in cm-1).
struct Dip {
    double centre;
    double percent;
    double width = 8.0;
};

inline Spectrum DipSpectrum(double firstX, double lastX, double step,
                            const std::vector<Dip>& dips) {
    const auto n = static_cast<std::size_t>(std::lround((firstX - lastX) / step)) + 1;
    std::vector<double> percent(n, 90.0);
    for (std::size_t k = 0; k < n; ++k) {
        const double nu = firstX - static_cast<double>(k) * step;
        for (const Dip& d : dips) {
            const double z = (nu - d.centre) / d.width;
            percent[k] -= (90.0 - d.percent) * std::exp(-z * z);
        }
    }
    return MakeSpectrum(firstX, -step, percent);
}

struct Scene {
    explicit Scene(Spectrum spectrum, int w = 673, int h = 348)
        : s(std::move(spectrum)), W(w), H(h) {
        settings.FixedYRange = 1;  // 0..100 %T: 3.48 pixels per %T on 348 rows
        Redraw();
    }
    void Redraw() {
        Graph graph(s, settings, g);
        const GraphOutcome outcome = graph.PrepareRedraw(W, H);
        ASSERT_TRUE(outcome.ok) << outcome.message;
        s.Loading = false;
    }
    // The pixel column of a wavenumber, as the trace draws it.
    float ColumnOf(double nu) const {
        return static_cast<float>(ToLong(XOfWavenumber(g.mapping, nu)));
    }
    // The point index of a wavenumber.
    std::int16_t PointOf(double nu) const {
        return static_cast<std::int16_t>(std::lround((s.FullFirstX - nu) / -s.DeltaX) + 1);
    }

    Spectrum s;
    DisplaySettings settings;
    GraphState g;
    int W;
    int H;
};

}  // namespace halvorn::test
