// The mouse-move readout over a 32767-point spectrum with 30 marked peaks, in
// normal and in peak-mark mode, and the label hit test of a right-button
// press.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "graph/graph.h"
#include "interaction/label_moving.h"
#include "interaction/peak_marking.h"
#include "interaction/readout.h"
#include "synthetic_bands.h"

namespace {

using namespace halvorn;

struct Scene {
    explicit Scene(double noiseLevel) : s(bench::LargeSpectrum(60, 7, noiseLevel)) {
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
