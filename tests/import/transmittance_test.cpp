#include "import/transmittance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/numbers.h"
#include "core/record.h"

namespace halvorn {
namespace {

// Absorbances as files hold them: token times factor, a few far out of range
// and a few that are no numbers, so that every lane of a vector step meets
// each kind.
std::vector<double> Absorbances(std::size_t count, std::uint64_t seed) {
    std::vector<double> a(count + 1);
    for (std::size_t k = 1; k <= count; ++k) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto token = static_cast<double>((seed >> 33) % 40000) - 2000.0;
        a[k] = token * 0.000062833;
        switch ((seed >> 20) % 97) {
            case 0:
                a[k] = std::numeric_limits<double>::quiet_NaN();
                break;
            case 1:
                a[k] = std::numeric_limits<double>::infinity();
                break;
            case 2:
                a[k] = -150.0;
                break;
            case 3:
                a[k] = 99.9999;
                break;
            case 4:
                a[k] = 0.0;
                break;
            default:
                break;
        }
    }
    return a;
}

TEST(StoredTransmittances, KnownValuesRoundAsPowDoes) {
    const double scale = 100.0 * kTransmittanceYFactor;
    const std::vector<double> a = Absorbances(20000, 5);
    std::vector<std::int32_t> stored(a.size());
    const auto n = static_cast<std::int32_t>(a.size() - 1);
    StoredTransmittances(a.data(), stored.data(), n, scale);
    int unknown = 0;
    for (std::int32_t k = 1; k <= n; ++k) {
        if (stored[k] < 0) {
            ++unknown;
            continue;
        }
        ASSERT_EQ(stored[k],
                  ToLong(Divide(1.0, std::pow(10.0, a[k])) * 100.0 * kTransmittanceYFactor))
            << a[k];
    }
    // Only near-ties, large absorbances and no-numbers are left to pow.
    EXPECT_LT(unknown, n / 20);
}

// The vector widths this processor has beyond one at a time.
std::vector<VectorWidth> WiderWays() {
    std::vector<VectorWidth> widths;
    for (const VectorWidth width : {VectorWidth::Four, VectorWidth::Eight}) {
        if (static_cast<int>(width) <= static_cast<int>(WidestVectors())) {
            widths.push_back(width);
        }
    }
    return widths;
}

TEST(StoredTransmittances, SeveralAtATimeGiveWhatOneAtATimeGives) {
    for (const VectorWidth width : WiderWays()) {
        for (const double scale : {100.0 * kTransmittanceYFactor, 838860800.0, 1.0, 3e9}) {
            for (const std::size_t count : {1u, 3u, 4u, 7u, 8u, 15u, 1001u}) {
                const std::vector<double> a = Absorbances(count, count + 17);
                const auto n = static_cast<std::int32_t>(count);
                std::vector<std::int32_t> together(a.size(), 7);
                std::vector<std::int32_t> single(a.size(), 7);
                StoredTransmittances(a.data(), together.data(), n, scale, width);
                StoredTransmittancesOneByOne(a.data(), single.data(), 1, n, scale);
                ASSERT_EQ(together, single) << static_cast<int>(width) << " at a time, scale "
                                            << scale << ", " << count << " points";
            }
        }
    }
}

// Compressed tables: whole numbers near the first one, some farther from it,
// some beyond the tables or with a fraction, which the tables do not hold.
TEST(StoredOfAbsorbances, SeveralAtATimeGiveWhatOneAtATimeGives) {
    for (const double factor : {2.441406250E-4, 2.840445172462317941E-05, 1e-3, 0.5}) {
        std::uint64_t seed = 99;
        std::vector<double> y(1003);
        for (double& v : y) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            v = static_cast<double>((seed >> 33) % 20000) - 1000.0;
            switch ((seed >> 20) % 53) {
                case 0:
                    v += 0.5;
                    break;
                case 1:
                    v = 1e6;
                    break;
                case 2:
                    v = -3e5;
                    break;
                case 3:
                    v = 2e9;
                    break;
                case 4:
                    v += 100000;  // in the tables, far from the first value
                    break;
                case 5:
                    v -= 200000;
                    break;
                default:
                    break;
            }
        }
        const AbsorbancePowers powers = MakeAbsorbancePowers(y[0], factor, 4194304.0);
        const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
        for (const VectorWidth width : WiderWays()) {
            std::vector<double> together(y.size());
            StoredOfAbsorbances(y.data(), y.size(), powers, together.data(), width);
            for (std::size_t i = 0; i < y.size(); ++i) {
                const double single = StoredOfAbsorbance(y[i], powers, twoTo);
                ASSERT_EQ(std::bit_cast<std::uint64_t>(together[i]),
                          std::bit_cast<std::uint64_t>(single))
                    << static_cast<int>(width) << " at a time, factor " << factor << ", value "
                    << y[i];
            }
        }
    }
}

// Every length around the four-point steps, both directions, values with
// halves (which round to even) and negative ones.
TEST(PlaceOnGrid, PointsRunFromTheFirstOrLastValue) {
    for (const VectorWidth width : {VectorWidth::One, WidestVectors()}) {
        for (const bool backward : {false, true}) {
            for (std::int32_t n = 1; n <= 11; ++n) {
                std::vector<double> value(static_cast<std::size_t>(n));
                for (std::int32_t i = 0; i < n; ++i) {
                    value[static_cast<std::size_t>(i)] =
                        (i % 3 == 0 ? -1.0 : 1.0) * (i * 1234.5 + 0.5);
                }
                std::vector<std::int32_t> rawY(static_cast<std::size_t>(n) + 1, 7);
                std::vector<float> waveX(static_cast<std::size_t>(n) + 1, 7.0f);
                std::int32_t low = 0;
                std::int32_t high = 0;
                PlaceOnGrid(value.data(), n, backward, 399.87, 0.964, rawY.data(), waveX.data(),
                            low, high, width);
                std::int32_t wantLow = 2147483647;
                std::int32_t wantHigh = -2147483647 - 1;
                for (std::int32_t k = 1; k <= n; ++k) {
                    const std::int32_t i = backward ? n - k : k - 1;
                    const std::int32_t want = ToLong(value[static_cast<std::size_t>(i)]);
                    ASSERT_EQ(rawY[static_cast<std::size_t>(k)], want) << n << " " << k;
                    ASSERT_EQ(waveX[static_cast<std::size_t>(k)],
                              static_cast<float>(399.87 + static_cast<double>(i) * 0.964));
                    wantLow = std::min(wantLow, want);
                    wantHigh = std::max(wantHigh, want);
                }
                EXPECT_EQ(rawY[0], 7);
                EXPECT_EQ(low, wantLow);
                EXPECT_EQ(high, wantHigh);
            }
        }
    }
}

// Points at their own wavenumbers, wavelengths turned into wavenumbers and
// resampling between points: every width gives what one at a time gives,
// bit for bit, at every length around the four-point steps, with equal
// abscissae, values beyond the neighbours and values that are no numbers.
TEST(PointArithmetic, EveryWidthGivesWhatOneAtATimeGives) {
    const auto bits = [](const std::vector<double>& v) {
        std::vector<std::uint64_t> b;
        for (const double d : v) {
            b.push_back(std::bit_cast<std::uint64_t>(d));
        }
        return b;
    };
    std::uint64_t seed = 5;
    const auto next = [&] {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>((seed >> 33) % 100000) / 7.0;
    };
    for (const VectorWidth width : WiderWays()) {
        for (std::size_t count = 1; count <= 13; ++count) {
            const auto n = static_cast<std::int32_t>(count);
            std::vector<double> value(count);
            std::vector<double> x(count + 1);
            for (std::size_t i = 0; i < count; ++i) {
                value[i] = (i % 3 == 0 ? -1.0 : 1.0) * next() + 0.5;
                x[i] = 4000.0 - next() / 100.0;
            }
            x[count] = x[count - 1] - 1.0;
            std::vector<std::int32_t> rawY(count + 1, 7);
            std::vector<std::int32_t> rawY1(count + 1, 7);
            std::vector<float> waveX(count + 1, 7.0f);
            std::vector<float> waveX1(count + 1, 7.0f);
            std::int32_t low = 0, high = 0, low1 = 0, high1 = 0;
            PlacePoints(value.data(), x.data(), n, rawY.data(), waveX.data(), low, high, width);
            PlacePoints(value.data(), x.data(), n, rawY1.data(), waveX1.data(), low1, high1,
                        VectorWidth::One);
            EXPECT_EQ(rawY, rawY1) << count;
            EXPECT_EQ(waveX, waveX1) << count;
            EXPECT_EQ(low, low1);
            EXPECT_EQ(high, high1);

            std::vector<double> divided = x;
            std::vector<double> divided1 = x;
            divided[count / 2] = 0.0;
            divided1[count / 2] = 0.0;
            DivideInto(1e4, divided.data(), count, width);
            DivideInto(1e4, divided1.data(), count, VectorWidth::One);
            EXPECT_EQ(bits(divided), bits(divided1)) << count;

            // Points between neighbours, on them, beyond them, between equal
            // abscissae and at no number.
            std::vector<double> y(count + 1);
            for (double& v : y) {
                v = next();
            }
            if (count > 2) {
                x[2] = x[1];
            }
            std::vector<std::int32_t> left(count);
            std::vector<double> g(count);
            for (std::size_t k = 0; k < count; ++k) {
                left[k] = static_cast<std::int32_t>(k);
                const double span = x[k] - x[k + 1];
                g[k] = x[k] - span * (k % 4 == 0 ? -0.25 : k % 4 == 1 ? 1.5 : 0.375);
            }
            g[count - 1] = std::numeric_limits<double>::quiet_NaN();
            std::vector<double> out(count);
            std::vector<double> out1(count);
            InterpolateAt(x.data(), y.data(), left.data(), g.data(), count, out.data(), width);
            InterpolateAt(x.data(), y.data(), left.data(), g.data(), count, out1.data(),
                          VectorWidth::One);
            EXPECT_EQ(bits(out), bits(out1)) << count;
        }
    }
}

}  // namespace
}  // namespace halvorn
