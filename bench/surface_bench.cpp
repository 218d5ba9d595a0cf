// The screen's hot path: a 32767-point trace drawn with LineTo on an image
// surface as wide as the widest plot (5384 x 348), once as a spectrum-like
// curve and once as the worst case, a full-height zigzag; and the same trace
// recorded as a metafile.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "surface/emf_recorder.h"
#include "surface/image_surface.h"

namespace {

constexpr int kPoints = 32767;
constexpr int kWidth = 5384;
constexpr int kHeight = 348;

struct Point {
    int x;
    int y;
};

std::vector<Point> SpectrumLike() {
    std::vector<Point> points;
    for (int i = 0; i < kPoints; ++i) {
        const double t = static_cast<double>(i) / (kPoints - 1);
        const double y = 60 + 200 * std::exp(-std::pow((t - 0.3) * 40, 2)) +
                         120 * std::exp(-std::pow((t - 0.7) * 90, 2)) + 10 * std::sin(t * 400);
        points.push_back(
            {static_cast<int>(std::lround(t * (kWidth - 1))), static_cast<int>(std::lround(y))});
    }
    return points;
}

std::vector<Point> Zigzag() {
    std::vector<Point> points;
    for (int i = 0; i < kPoints; ++i) {
        points.push_back({static_cast<int>(static_cast<long>(i) * (kWidth - 1) / (kPoints - 1)),
                          i % 2 == 0 ? 0 : kHeight - 1});
    }
    return points;
}

void DrawTrace(benchmark::State& state, const std::vector<Point>& points) {
    halvorn::ImageSurface surface(kWidth, kHeight);
    const halvorn::ObjectHandle pen = surface.CreatePen(halvorn::MakeRgb(192, 0, 0));
    surface.SelectObject(pen);
    for (auto _ : state) {
        surface.MoveTo(points[0].x, points[0].y);
        for (std::size_t i = 1; i < points.size(); ++i) {
            surface.LineTo(points[i].x, points[i].y);
        }
        benchmark::DoNotOptimize(surface.Image().constBits());
    }
}

void BM_ImageTraceSpectrumLike(benchmark::State& state) {
    DrawTrace(state, SpectrumLike());
}
void BM_ImageTraceZigzag(benchmark::State& state) {
    DrawTrace(state, Zigzag());
}

void BM_EmfTraceSpectrumLike(benchmark::State& state) {
    const std::vector<Point> points = SpectrumLike();
    const halvorn::ScreenMetrics screen = halvorn::FixedScreenMetrics();
    const halvorn::MetafileGeometry geometry = *halvorn::ComputeMetafileGeometry(screen, 747, 456);
    for (auto _ : state) {
        halvorn::EmfRecorder emf(screen, geometry);
        emf.MoveTo(points[0].x, points[0].y);
        for (std::size_t i = 1; i < points.size(); ++i) {
            emf.LineTo(points[i].x, points[i].y);
        }
        benchmark::DoNotOptimize(emf.Finish().data());
    }
}

BENCHMARK(BM_ImageTraceSpectrumLike)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageTraceZigzag)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmfTraceSpectrumLike)->Unit(benchmark::kMillisecond);

}  // namespace
