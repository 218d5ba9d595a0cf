// The mouse-move readout over a 32767-point spectrum with 30 marked peaks, in
// normal and in peak-mark mode, and the label hit test of a right-button
// press.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "graph/graph.h"
#include "graph/graph_test_support.h"
#include "interaction/label_moving.h"
#include "interaction/peak_marking.h"
#include "interaction/readout.h"

namespace {

using namespace halvorn;

// 4000 to 400 cm-1 with sixty absorption bands, optionally with a little
// noise (which makes thousands of candidate dips).
Spectrum LargeSpectrum(double noiseLevel) {
    constexpr int kPoints = 32767;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> position(450, 3950), depth(5, 80), width(3, 30);
    struct Band {
        double nu, depth, width;
    };
    std::vector<Band> bands;
    for (int k = 0; k < 60; ++k) {
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

struct Scene {
    explicit Scene(double noiseLevel) : s(LargeSpectrum(noiseLevel)) {
        Graph graph(s, settings, g);
        if (!graph.PrepareRedraw(W, H).ok) {
            throw std::runtime_error("redraw failed");
        }
        // Mark candidates until 30 peaks are marked.
        for (std::int16_t c = 1; c <= g.peaks.TopCandidateCount && g.peaks.PeakCount < 30; ++c) {
            g.peaks.NearestCandidate = c;
            if (TopCollecModify(g.peaks, settings) == PeakToggle::Removed) {
                (void)TopCollecModify(g.peaks, settings);
            }
        }
        s.RelayoutLabels = true;
        (void)graph.PrepareRedraw(W, H);
        s.Loading = false;
    }
    Spectrum s;
    DisplaySettings settings;
    GraphState g;
    int W = 673;
    int H = 348;
};

void Readout(benchmark::State& state, double noiseLevel, bool peakMark) {
    Scene scene(noiseLevel);
    ReadoutFields fields;
    int k = 0;
    for (auto _ : state) {
        // Walk over every column and a spread of rows, so the snaps vary.
        const auto x = static_cast<float>(k % scene.W);
        const auto y = static_cast<float>((k * 7) % (scene.H + 1));
        ++k;
        benchmark::DoNotOptimize(MoveReadout(fields, scene.g.peaks, scene.s, scene.g.mapping,
                                             scene.settings, false, peakMark, x, y, scene.W,
                                             scene.H, '.'));
    }
    state.counters["marks"] = scene.g.peaks.PeakCount;
    state.counters["candidates"] = scene.g.peaks.TopCandidateCount;
}

void BM_ReadoutNormal(benchmark::State& state) {
    Readout(state, 0.0, false);
}
BENCHMARK(BM_ReadoutNormal);

void BM_ReadoutPeakMark(benchmark::State& state) {
    Readout(state, 0.0, true);
}
BENCHMARK(BM_ReadoutPeakMark);

// A noisy spectrum has a candidate at nearly every other point: the
// peak-mark readout's one pass over the candidates is then the longest.
void BM_ReadoutPeakMarkNoisy(benchmark::State& state) {
    Readout(state, 0.2, true);
}
BENCHMARK(BM_ReadoutPeakMarkNoisy);

// A press inside the last marked peak's label: every slot is tested.
void BM_PickLabel(benchmark::State& state) {
    Scene scene(0.0);
    const LabelBox box = *LabelBoxOf(scene.g.peaks, scene.settings, scene.g.peaks.PeakCount - 1);
    const auto x = static_cast<float>(box.Left + 2);
    const auto y = static_cast<float>(box.Top + 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(PickLabel(scene.g.peaks, scene.settings, x, y, kLabelFillColour));
    }
}
BENCHMARK(BM_PickLabel);

}  // namespace
