// Arithmetic the readers share for turning absorbances into stored
// transmittances and placing points, and roundings without a library call.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/numbers.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace halvorn {

// std::nearbyint(v) for |v| < 2^51, without a call: adding and taking away
// 1.5 * 2^52 rounds to an integer in the same rounding.
inline constexpr double kRoundingShift = 6755399441055744.0;

inline double NearbyInteger(double v) {
    return (v + kRoundingShift) - kRoundingShift;
}

#ifdef __SSE2__
// The smallest of the four lanes of lo and the largest of those of hi, as
// the loops that take four points at a time fold them at their end.
inline void FoldLanes(__m128i lo, __m128i hi, std::int32_t& low, std::int32_t& high) {
    alignas(16) std::int32_t lows[4];
    alignas(16) std::int32_t highs[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lows), lo);
    _mm_store_si128(reinterpret_cast<__m128i*>(highs), hi);
    low = std::min(std::min(lows[0], lows[1]), std::min(lows[2], lows[3]));
    high = std::max(std::max(highs[0], highs[1]), std::max(highs[2], highs[3]));
}
#endif

// ToSingle(v) without a call where it raises no fault.
inline float SingleOf(double v) {
    const float f = static_cast<float>(v);
    if (std::isinf(f) || std::isnan(f)) [[unlikely]] {
        return ToSingle(v);
    }
    return f;
}

// 2^(j / 256) for j = 0..255.
inline const std::array<double, 256>& TwoToTheQuarterBytes() {
    static const std::array<double, 256> kTable = [] {
        std::array<double, 256> table{};
        for (std::size_t j = 0; j < table.size(); ++j) {
            table[j] = std::exp2(static_cast<double>(j) / 256.0);
        }
        return table;
    }();
    return kTable;
}

// 10^-a for |a| < 100, within a few parts in 10^13, without a call or a
// branch: 10^-a is 2^t with t = -a log2(10) = k / 256 + r, |r| <= 1/512, and
// 2^r = e^(r ln 2) is a short series.
inline double TenToMinus(double a, const std::array<double, 256>& twoTo) {
    const double t = -a * 3.321928094887362348;
    // k = t * 256 rounded, in the low bits of the shifted sum as well.
    const double shifted = t * 256.0 + kRoundingShift;
    const double k = shifted - kRoundingShift;
    const double x = (t - k / 256.0) * 0.6931471805599453094;
    const double series = 1.0 + x * (1.0 + x * (0.5 + x * (1.0 / 6.0)));
    const auto whole = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(shifted)));
    const std::int32_t exponent = whole >> 8;  // the floor of k / 256
    const auto power = std::bit_cast<double>(static_cast<std::uint64_t>(exponent + 1023) << 52);
    return twoTo[static_cast<std::size_t>(whole & 255)] * series * power;
}

// The stored ordinate ToLong(scale / 10^a) of the absorbance a where it can
// be told without pow, else -1: TenToMinus(a) is within
// 1e-12 of 10^-a, and so is the division and scaling the read does, so a
// product that lies clearly between two roundings rounds as the read's own
// would. A near-tie, a large a, or a product out of range is not told.
inline std::int32_t StoredTransmittance(double a, double scale,
                                        const std::array<double, 256>& twoTo) {
    const bool inRange = std::fabs(a) < 100.0;
    const double v = TenToMinus(inRange ? a : 0.0, twoTo) * scale;
    // The nearest integer r, below 2^31 where it is used, in the low bits.
    const double shifted = v + kRoundingShift;
    const double r = shifted - kRoundingShift;
    const bool clear = inRange && v < 2.0e9 && std::fabs(v - r) < 0.5 - (1e-9 * v + 1e-9);
    const auto rounded = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(shifted)));
    return clear ? rounded : -1;
}

// The same for a[from..to] into stored[from..to], one at a time.
inline void StoredTransmittancesOneByOne(const double* a, std::int32_t* stored, std::int32_t from,
                                         std::int32_t to, double scale) {
    const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
    for (std::int32_t k = from; k <= to; ++k) {
        stored[k] = StoredTransmittance(a[k], scale, twoTo);
    }
}

// How many values the loops below take at a time: eight or four where the
// processor has 512-bit or 256-bit vectors, with the same operations in the
// same order as one at a time, so the same results.
enum class VectorWidth { One = 1, Four = 4, Eight = 8 };

// The widest this processor has.
VectorWidth WidestVectors();

// The same for a[1..n] into stored[1..n].
void StoredTransmittances(const double* a, std::int32_t* stored, std::int32_t n, double scale,
                          VectorWidth width = WidestVectors());

// Absorbances written as whole numbers, as compressed tables hold them: 10^-a
// at a value v is 10^-a at a base value times 10^-(d x factor) for the
// difference d = v - base, which three tables of powers give (d = 4096 i +
// 64 j + k) within a few parts in 10^15, without a call.
struct AbsorbancePowers {
    static constexpr int kHigh = 64;  // i = -64..63
    static constexpr double kReach = 4096.0 * kHigh;
    bool tabled = false;  // the tables hold powers TenToMinus reaches
    double factor = 1.0;  // absorbance per unit of the values as written
    double toStored = 1.0;
    double base = 0.0;
    double baseStored = 0.0;
    std::array<double, 2 * kHigh> high{};
    std::array<double, 64> middle{};
    std::array<double, 64> low{};
};

AbsorbancePowers MakeAbsorbancePowers(double base, double factor, double toStored);

// toStored / 10^(v x factor) for one value as written, before rounding.
inline double StoredOfAbsorbance(double v, const AbsorbancePowers& p,
                                 const std::array<double, 256>& twoTo) {
    const double d = v - p.base;
    const double a = v * p.factor;
    if (p.tabled && d >= -AbsorbancePowers::kReach && d < AbsorbancePowers::kReach &&
        d == static_cast<double>(static_cast<int>(d)) && a <= 300.0) [[likely]] {
        const int di = static_cast<int>(d);
        return p.baseStored *
               p.high[static_cast<std::size_t>((di >> 12) + AbsorbancePowers::kHigh)] *
               (p.middle[static_cast<std::size_t>((di >> 6) & 63)] *
                p.low[static_cast<std::size_t>(di & 63)]);
    }
    return TenToMinus(std::min(a, 300.0), twoTo) * p.toStored;
}

// StoredOfAbsorbance for y[0..n) into out[0..n), at the width given.
void StoredOfAbsorbances(const double* y, std::size_t n, const AbsorbancePowers& p, double* out,
                         VectorWidth width = WidestVectors());

// Places the stored ordinates before rounding, value[0..n) in the order
// written, on an even grid of wavenumbers as points k = 1..n: the point k
// takes the value i = k - 1, or i = n - k when backward, as the nearest
// integer rawY[k], at the wavenumber waveX[k], the Single of x0 + i x step;
// low and high are the smallest and largest rawY. Four points at a time at
// any width beyond one.
void PlaceOnGrid(const double* value, std::int32_t n, bool backward, double x0, double step,
                 std::int32_t* rawY, float* waveX, std::int32_t& low, std::int32_t& high,
                 VectorWidth width = WidestVectors());

// The same for points placed at their own wavenumbers: the point k = 1..n
// takes value[k - 1] as the nearest integer rawY[k], at waveX[k], the
// Single of x[k - 1], which the caller has checked to be one.
void PlacePoints(const double* value, const double* x, std::int32_t n, std::int32_t* rawY,
                 float* waveX, std::int32_t& low, std::int32_t& high,
                 VectorWidth width = WidestVectors());

// v[i] = numerator / v[i] for i in [0, n).
void DivideInto(double numerator, double* v, std::size_t n, VectorWidth width = WidestVectors());

// Linear interpolation at g[k] between the points left[k] and left[k] + 1
// of (x, y), for k in [0, n): out[k] = y[j] + (y[j + 1] - y[j]) t with
// t = (x[j] - g[k]) / (x[j] - x[j + 1]) held within 0..1, and t = 0 where the
// two abscissae are equal.
void InterpolateAt(const double* x, const double* y, const std::int32_t* left, const double* g,
                   std::size_t n, double* out, VectorWidth width = WidestVectors());

}  // namespace halvorn
