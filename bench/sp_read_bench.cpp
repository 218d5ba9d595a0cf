// Reading a 32767-point *.sp file: from bytes in memory and from disk.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "import/sp_file_builder.h"
#include "import/sp_reader.h"

namespace {

std::string LargeFile(const std::string& yUnit) {
    halvorn::test::SpFile file;
    file.yUnit = yUnit;
    file.deltaX = "-0.1220703125";
    for (int i = 0; i < 32767; ++i) {
        const double t = 50.0 + 45.0 * std::sin(i * 0.01);
        file.values.push_back(static_cast<std::int32_t>(
            yUnit == "ABS" ? std::log10(100.0 / t) * 8388608.0 : t * 41943.04));
    }
    return file.Bytes();
}

void BM_ReadSpBytes(benchmark::State& state, const std::string& yUnit) {
    const std::string bytes = LargeFile(yUnit);
    for (auto _ : state) {
        halvorn::Spectrum s;
        auto outcome = halvorn::ReadSpBytes(bytes, {}, s);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(s.ZZYE.data());
    }
}
BENCHMARK_CAPTURE(BM_ReadSpBytes, transmittance, std::string("%T"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadSpBytes, absorbance, std::string("ABS"))->Unit(benchmark::kMillisecond);

void BM_ReadSpFile(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "halvorn_bench.sp";
    std::ofstream(path, std::ios::binary) << LargeFile("%T");
    int calls = 0;
    halvorn::ReadRequest request;
    request.progress = [&](int, int) { ++calls; };
    // One record, replaced by every read, as in the viewer.
    halvorn::Spectrum s;
    for (auto _ : state) {
        auto outcome = halvorn::ReadSpFile(path.string(), request, s);
        benchmark::DoNotOptimize(outcome);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadSpFile)->Unit(benchmark::kMillisecond);

}  // namespace
