// Writes the demonstration spectrum Demo.sp: a synthetic transmittance spectrum
// of a polystyrene film, 4000 to 450 cm-1 in 1 cm-1 steps, with the bands at
// their usual positions, a gently sloping baseline and a little noise.
//
// usage: make_demo_sp OUT
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Band {
    double centre;     // cm-1
    double peak;       // absorbance at the centre
    double halfWidth;  // half width at half height, cm-1
};

// Polystyrene film, about 38 um thick.
const Band kBands[] = {
    {3103, 0.18, 6},  {3082, 0.55, 5}, {3060, 0.85, 6}, {3026, 1.05, 7}, {3001, 0.40, 5},
    {2923, 1.30, 14}, {2850, 0.75, 9}, {1943, 0.22, 8}, {1871, 0.20, 8}, {1802, 0.17, 8},
    {1745, 0.10, 9},  {1601, 0.62, 4}, {1583, 0.35, 4}, {1541, 0.08, 6}, {1493, 1.15, 5},
    {1452, 1.10, 7},  {1372, 0.18, 6}, {1328, 0.14, 6}, {1181, 0.16, 5}, {1154, 0.18, 5},
    {1069, 0.38, 5},  {1028, 0.58, 4}, {965, 0.12, 6},  {906, 0.42, 4},  {842, 0.14, 6},
    {757, 1.55, 6},   {698, 1.75, 7},  {620, 0.12, 6},  {540, 0.85, 9},
};

// A small deterministic generator, so that the file is the same on every build.
class Noise {
  public:
    double Next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0 - 0.5;
    }

  private:
    std::uint64_t state_ = 20261208;
};

double Transmittance(double nu, Noise& noise) {
    double absorbance = 0.035 + 0.02 * (nu - 450.0) / 3550.0;  // scattering rises with nu
    for (const Band& band : kBands) {
        const double d = (nu - band.centre) / band.halfWidth;
        absorbance += band.peak / (1.0 + d * d);
    }
    return 100.0 * std::pow(10.0, -absorbance) + 0.08 * noise.Next();
}

std::vector<std::string> HeaderLines(int pointCount) {
    std::vector<std::string> lines = {
        "HALVORN DEMONSTRATION SPECTRUM (synthetic data)",
        "DEMO.SP",
        "Polystyrene film, 38 um",
        "26/12/08",
        "09:30:00.00",
        "",
        "",
        "Halvorn",
        "Synthetic spectrum computed from band positions",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "Demo FT-IR, resolution 4 cm-1, 16 scans",
        "#HDR",
        "Sample holder: film card",
        "Detector: DTGS",
        "Beam splitter: KBr",
        "Source: MIR",
        "Apodization: strong",
        "Phase correction: Mertz",
        "Zero filling: 2",
        "Gain: 1",
        "Scan speed: 0.2 cm/s",
        "Aperture: 8 mm",
        "Purge: dry air",
        "Temperature: 22 C",
        "Humidity: 35 %",
        "Background: air, 16 scans",
        "Accessory: none",
        "Comment: bands of atactic polystyrene",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "",
        "#GR",
        "CM-1",
        "%T",
        "1.0",
        "0.0",
        "4000",
        "-1",
        std::to_string(pointCount),
        "8",
        "105.0",
        "0.0",
        "#DATA",
    };
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_sp OUT\n");
        return 2;
    }
    const int first = 4000;
    const int last = 450;
    const int pointCount = first - last + 1;

    std::string bytes;
    for (const std::string& line : HeaderLines(pointCount)) {
        bytes += line + "\r\n";
    }
    Noise noise;
    for (int i = 0; i < pointCount; ++i) {
        const double t = Transmittance(first - i, noise);
        const auto v = static_cast<std::int32_t>(std::lround(t * 41943.04));
        for (int k = 0; k < 4; ++k) {
            bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * k)) & 0xFF);
        }
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << bytes;
    return out ? 0 : 1;
}
