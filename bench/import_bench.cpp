// Reading 32767-point JCAMP-DX and PRN files, from bytes in memory and from
// disk.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "import/jcamp_reader.h"
#include "import/prn_reader.h"

namespace {

constexpr int kPoints = 32767;
constexpr double kStep = 0.1220703125;

double Transmittance(int i) {
    return 0.5 + 0.45 * std::sin(i * 0.01);
}

// A descending 1/CM file with eight ordinates per line, as instruments write.
std::string JcampFile() {
    char buffer[64];
    std::string bytes =
        "##TITLE=Benchmark\n##JCAMP-DX=4.24\n##XUNITS=1/CM\n##YUNITS=TRANSMITTANCE\n"
        "##XFACTOR=1\n##YFACTOR=0.000001\n##DELTAX=-0.1220703125\n##FIRSTX=4400\n";
    std::snprintf(buffer, sizeof buffer, "##LASTX=%.10g\n", 4400 - (kPoints - 1) * kStep);
    bytes += buffer;
    bytes += "##MINY=0.05\n##MAXY=0.95\n##NPOINTS=32767\n##XYDATA=(X++(Y..Y))\n";
    for (int i = 0; i < kPoints; i += 8) {
        std::snprintf(buffer, sizeof buffer, "%.6f", 4400 - i * kStep);
        bytes += buffer;
        for (int j = i; j < i + 8 && j < kPoints; ++j) {
            std::snprintf(buffer, sizeof buffer, " %d",
                          static_cast<int>(std::lround(Transmittance(j) * 1e6)));
            bytes += buffer;
        }
        bytes += "\r\n";
    }
    return bytes + "##END=\r\n";
}

// A descending table with decimal commas.
std::string PrnFile() {
    char buffer[64];
    std::string bytes;
    for (int i = 0; i < kPoints; ++i) {
        std::snprintf(buffer, sizeof buffer, "%.4f\t%.4f\r\n", 4400 - i * kStep,
                      100 * Transmittance(i));
        for (char* c = buffer; *c != '\0'; ++c) {
            if (*c == '.') {
                *c = ',';
            }
        }
        bytes += buffer;
    }
    return bytes;
}

using BytesReader = halvorn::ReadOutcome (*)(std::string_view, const halvorn::ReadRequest&,
                                             halvorn::Spectrum&);
using FileReader = halvorn::ReadOutcome (*)(const std::string&, const halvorn::ReadRequest&,
                                            halvorn::Spectrum&);

void BM_ReadBytes(benchmark::State& state, BytesReader reader, const std::string& bytes) {
    for (auto _ : state) {
        halvorn::Spectrum s;
        auto outcome = reader(bytes, {}, s);
        if (!outcome.ok) {
            state.SkipWithError(outcome.message.c_str());
        }
        benchmark::DoNotOptimize(s.ZZYE.data());
    }
}

void BM_ReadFile(benchmark::State& state, FileReader reader, const std::string& bytes,
                 const std::string& name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    for (auto _ : state) {
        halvorn::Spectrum s;
        auto outcome = reader(path.string(), {}, s);
        benchmark::DoNotOptimize(outcome);
    }
    std::filesystem::remove(path);
}

BENCHMARK_CAPTURE(BM_ReadBytes, jcamp, halvorn::ReadJcampBytes, JcampFile())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadBytes, prn, halvorn::ReadPrnBytes, PrnFile())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadFile, jcamp, halvorn::ReadJcampFile, JcampFile(),
                  std::string("halvorn_import_bench.jdx"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadFile, prn, halvorn::ReadPrnFile, PrnFile(),
                  std::string("halvorn_import_bench.prn"))
    ->Unit(benchmark::kMillisecond);

}  // namespace
