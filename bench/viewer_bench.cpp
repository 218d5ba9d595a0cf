// The viewer: start-up to the first painted graph (main window, settings,
// Demo.sp, the spectrum window's redraw and its first paint), and GraphIr4 on a
// 32767-point spectrum at each expansion level. Runs on the offscreen platform
// unless another one is asked for.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QPushButton>

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include "app/main_window.h"
#include "graph/graph_test_support.h"
#include "import/sp_file_builder.h"
#include "synthetic_bands.h"
#include "window/graph_window.h"
#include "window/prompts.h"

namespace {

// Answers nothing (or the one file to open): cancels every dialog and closes
// every message box.
class SilentPrompts : public halvorn::Prompts {
  public:
    std::optional<QString> OpenFileName(QWidget*, const QString&) override {
        if (openAnswer.isEmpty()) {
            return {};
        }
        return openAnswer;
    }
    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                        QMessageBox::StandardButtons) override {
        return QMessageBox::Ok;
    }
    std::optional<QString> SaveFileName(QWidget*, const QString&, const QString&) override {
        return std::nullopt;
    }
    int Exec(QDialog& dialog) override {
        dialog.reject();
        return dialog.result();
    }

    QString openAnswer;
};

void BM_StartUpToFirstPaintedGraph(benchmark::State& state) {
    SilentPrompts prompts;
    const QString folder = QCoreApplication::applicationDirPath();
    for (auto _ : state) {
        halvorn::MainWindow window(folder, prompts, folder + "/bench-config");
        window.show();
        window.Start();
        window.Form5()->repaint();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.State().spectrum.Loading);
    }
}
BENCHMARK(BM_StartUpToFirstPaintedGraph)->Unit(benchmark::kMillisecond);

void BM_GraphIr4(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    SilentPrompts prompts;
    halvorn::ViewerState viewer;
    halvorn::SpectrumWindow window(viewer, prompts, {});
    window.Load();
    viewer.spectrum = halvorn::bench::LargeSpectrum(40, 11, 0.2);
    for (int k = 0; k < level; ++k) {
        window.ExpandClick();
    }
    if (window.GraphIr4() != 0) {
        state.SkipWithError("the redraw failed");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(window.GraphIr4());
    }
    state.counters["plot_width"] = 673 << level;
    state.counters["peaks"] = viewer.graph.peaks.PeakCount;
}
BENCHMARK(BM_GraphIr4)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// From the Open command on a 32767-point *.sp file to the painted graph: the
// read, the peak search, the label layout, the redraw and the paint.
void BM_OpenFileToPaintedGraph(benchmark::State& state) {
    const halvorn::Spectrum large = halvorn::bench::LargeSpectrum(40, 11, 0.2);
    halvorn::test::SpFile file;
    char step[32];
    std::snprintf(step, sizeof step, "%.17g", large.DeltaX);
    file.deltaX = step;
    file.values.assign(large.RawY.begin() + 1, large.RawY.end());
    const QString folder = QCoreApplication::applicationDirPath();
    const QString path = folder + "/bench-large.sp";
    {
        std::ofstream out(path.toStdString(), std::ios::binary);
        out << file.Bytes();
    }
    SilentPrompts prompts;
    prompts.openAnswer = path;
    halvorn::MainWindow window(folder, prompts, folder + "/bench-config");
    window.show();
    window.Start();
    window.Form5()->repaint();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.OpenCommand(halvorn::FileFormat::Sp);
        window.Form5()->repaint();
        QCoreApplication::processEvents();
    }
    state.counters["points"] = window.State().spectrum.PointCount;
    state.counters["candidates"] = window.State().graph.peaks.TopCandidateCount;
    QFile::remove(path);
}
BENCHMARK(BM_OpenFileToPaintedGraph)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
