// The spectrum window's redraw of a 32767-point spectrum on image surfaces, at
// the plot's width without expansion (673) and at the widest expansion (5384),
// and the peak search on the same spectrum.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "cli/render_file.h"
#include "graph/graph.h"
#include "surface/image_surface.h"
#include "synthetic_bands.h"

namespace {

using halvorn::Graph;
using halvorn::GraphState;
using halvorn::ImageSurface;

// What the redraw does after the set-up: the Y scales on the background, the
// X scales and titles on their strips, grid, trace, frame and labels on the
// plot, each surface cleared first.
void BM_Redraw(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = 348;
    halvorn::Spectrum s = halvorn::bench::LargeSpectrum(40, 7, 0.2);
    halvorn::DisplaySettings settings;
    GraphState g;
    Graph graph(s, settings, g);
    if (!graph.PrepareRedraw(width, height).ok) {
        state.SkipWithError("set-up failed");
        return;
    }
    ImageSurface background(760, 473), bottom(width + 20, 28), top(width + 20, 33),
        plot(width, height);
    for (auto _ : state) {
        s.RelayoutLabels = true;
        if (!graph.PrepareRedraw(width, height).ok) {
            state.SkipWithError("set-up failed");
            return;
        }
        background.Clear(0xFFFFFF);
        graph.DrawScales(background, 40, 673, 60, height, 0, false, true, false, true, 0);
        bottom.Clear(0xFFFFFF);
        graph.DrawScales(bottom, 10, width, 0, 0, 0, true, false, false, false, 0);
        top.Clear(0xFFFFFF);
        graph.DrawScales(top, 10, width, 33, 0, 0, false, false, true, false, 0);
        plot.Clear(0xFFFFFF);
        graph.DrawGrid(plot, 0, width, 0, height);
        graph.DrawTrace(plot, 0, width, 0, height, halvorn::kScreenTraceColour);
        plot.MoveTo(0, 0);
        plot.LineTo(width, 0);
        plot.MoveTo(0, 0);
        plot.LineTo(0, height);
        graph.DrawPeakLabels(plot, 0, 0, halvorn::kScreenPeakLabelColour);
        benchmark::DoNotOptimize(plot.Image().constBits());
    }
}
BENCHMARK(BM_Redraw)->Arg(673)->Arg(5384)->Unit(benchmark::kMillisecond);

void BM_FindPeakTops(benchmark::State& state) {
    halvorn::Spectrum s = halvorn::bench::LargeSpectrum(40, 7, 0.2);
    halvorn::DisplaySettings settings;
    GraphState g;
    Graph graph(s, settings, g);
    if (!graph.PrepareRedraw(673, 348).ok) {
        state.SkipWithError("set-up failed");
        return;
    }
    for (auto _ : state) {
        graph.FindPeakTops();
        benchmark::DoNotOptimize(g.peaks.PeakCount);
    }
    state.counters["candidates"] = g.peaks.TopCandidateCount;
    state.counters["marks"] = g.peaks.PeakCount;
}
BENCHMARK(BM_FindPeakTops)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const halvorn::GuiApplicationScope application;  // fonts for the scale labels
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
