#include "import/transmittance.h"

#include <algorithm>
#include <limits>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define HALVORN_VECTOR_TRANSMITTANCES 1
#endif

namespace halvorn {

namespace {

// PlaceOnGrid for the points from..n, one at a time, folding their stored
// ordinates into low and high.
inline void PlaceOneByOne(const double* value, std::int32_t n, bool backward, double x0,
                          double step, std::int32_t* rawY, float* waveX, std::int32_t from,
                          std::int32_t& low, std::int32_t& high) {
    for (std::int32_t k = from; k <= n; ++k) {
        const std::int32_t i = backward ? n - k : k - 1;
        const auto r = static_cast<std::int32_t>(NearbyInteger(value[i]));
        rawY[k] = r;
        waveX[k] = static_cast<float>(x0 + static_cast<double>(i) * step);
        low = std::min(low, r);
        high = std::max(high, r);
    }
}

// PlacePoints for the points from..n, one at a time.
inline void PlacePointsOneByOne(const double* value, const double* x, std::int32_t n,
                                std::int32_t* rawY, float* waveX, std::int32_t from,
                                std::int32_t& low, std::int32_t& high) {
    for (std::int32_t k = from; k <= n; ++k) {
        const auto r = static_cast<std::int32_t>(NearbyInteger(value[k - 1]));
        rawY[k] = r;
        waveX[k] = static_cast<float>(x[k - 1]);
        low = std::min(low, r);
        high = std::max(high, r);
    }
}

// InterpolateAt for k in [from, n), one at a time.
inline void InterpolateOneByOne(const double* x, const double* y, const std::int32_t* left,
                                const double* g, std::size_t from, std::size_t n, double* out) {
    for (std::size_t k = from; k < n; ++k) {
        const auto j = static_cast<std::size_t>(left[k]);
        const double x0 = x[j];
        const double x1 = x[j + 1];
        const double t = x0 == x1 ? 0.0 : (x0 - g[k]) / (x0 - x1);
        out[k] = y[j] + (y[j + 1] - y[j]) * std::clamp(t, 0.0, 1.0);
    }
}

#ifdef HALVORN_VECTOR_TRANSMITTANCES

// The low 32 bits of each of four 64-bit lanes.
[[gnu::target("avx2")]] inline __m128i LowHalves(__m256i v) {
    const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    return _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(v, order));
}

// TenToMinus for four values, operation for operation (k / 256 is k times
// 1/256 exactly, as k is a whole number).
[[gnu::target("avx2")]] inline __m256d TenToMinusVector(__m256d a,
                                                        const std::array<double, 256>& twoTo) {
    const __m256d shift = _mm256_set1_pd(kRoundingShift);
    const __m256d t =
        _mm256_mul_pd(_mm256_xor_pd(a, _mm256_set1_pd(-0.0)), _mm256_set1_pd(3.321928094887362348));
    const __m256d shifted = _mm256_add_pd(_mm256_mul_pd(t, _mm256_set1_pd(256.0)), shift);
    const __m256d k = _mm256_sub_pd(shifted, shift);
    const __m256d x = _mm256_mul_pd(_mm256_sub_pd(t, _mm256_mul_pd(k, _mm256_set1_pd(1.0 / 256.0))),
                                    _mm256_set1_pd(0.6931471805599453094));
    __m256d series =
        _mm256_add_pd(_mm256_set1_pd(0.5), _mm256_mul_pd(x, _mm256_set1_pd(1.0 / 6.0)));
    series = _mm256_add_pd(_mm256_set1_pd(1.0), _mm256_mul_pd(x, series));
    series = _mm256_add_pd(_mm256_set1_pd(1.0), _mm256_mul_pd(x, series));
    const __m128i whole = LowHalves(_mm256_castpd_si256(shifted));
    const __m128i exponent = _mm_srai_epi32(whole, 8);
    const __m256d power = _mm256_castsi256_pd(_mm256_slli_epi64(
        _mm256_add_epi64(_mm256_cvtepi32_epi64(exponent), _mm256_set1_epi64x(1023)), 52));
    // The table entries looked up one by one, which is quicker than a gather.
    alignas(16) std::int32_t index[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_and_si128(whole, _mm_set1_epi32(255)));
    const __m256d table = _mm256_setr_pd(
        twoTo[static_cast<std::size_t>(index[0])], twoTo[static_cast<std::size_t>(index[1])],
        twoTo[static_cast<std::size_t>(index[2])], twoTo[static_cast<std::size_t>(index[3])]);
    return _mm256_mul_pd(_mm256_mul_pd(table, series), power);
}

// StoredTransmittance for a[k..k+3], operation for operation.
[[gnu::target("avx2")]] void StoredTransmittancesVector(const double* a, std::int32_t* stored,
                                                        std::int32_t n, double scale) {
    const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
    const __m256d signBit = _mm256_set1_pd(-0.0);
    const __m256d shift = _mm256_set1_pd(kRoundingShift);
    const __m256d scaleV = _mm256_set1_pd(scale);
    const __m256d zero = _mm256_setzero_pd();
    std::int32_t k = 1;
    for (; k + 3 <= n; k += 4) {
        const __m256d av = _mm256_loadu_pd(a + k);
        const __m256d inRange =
            _mm256_cmp_pd(_mm256_andnot_pd(signBit, av), _mm256_set1_pd(100.0), _CMP_LT_OQ);
        const __m256d aa = _mm256_blendv_pd(zero, av, inRange);
        const __m256d tenTo = TenToMinusVector(aa, twoTo);
        // The rounding and whether it is clear.
        const __m256d v = _mm256_mul_pd(tenTo, scaleV);
        const __m256d shiftedV = _mm256_add_pd(v, shift);
        const __m256d r = _mm256_sub_pd(shiftedV, shift);
        const __m256d margin = _mm256_sub_pd(
            _mm256_set1_pd(0.5),
            _mm256_add_pd(_mm256_mul_pd(_mm256_set1_pd(1e-9), v), _mm256_set1_pd(1e-9)));
        const __m256d clear = _mm256_and_pd(
            _mm256_and_pd(inRange, _mm256_cmp_pd(v, _mm256_set1_pd(2.0e9), _CMP_LT_OQ)),
            _mm256_cmp_pd(_mm256_andnot_pd(signBit, _mm256_sub_pd(v, r)), margin, _CMP_LT_OQ));
        const __m128i rounded = LowHalves(_mm256_castpd_si256(shiftedV));
        const __m128i clearMask = LowHalves(_mm256_castpd_si256(clear));
        const __m128i result = _mm_or_si128(_mm_and_si128(clearMask, rounded),
                                            _mm_andnot_si128(clearMask, _mm_set1_epi32(-1)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(stored + k), result);
    }
    StoredTransmittancesOneByOne(a, stored, k, n, scale);
}

// The sign bits of eight doubles flipped, or cleared, with the integer
// operations every 512-bit processor has.
[[gnu::target("avx512f")]] inline __m512d Negated8(__m512d v) {
    return _mm512_castsi512_pd(_mm512_xor_si512(
        _mm512_castpd_si512(v), _mm512_set1_epi64(static_cast<long long>(0x8000000000000000ULL))));
}
[[gnu::target("avx512f")]] inline __m512d Magnitude8(__m512d v) {
    return _mm512_castsi512_pd(
        _mm512_and_si512(_mm512_castpd_si512(v), _mm512_set1_epi64(0x7FFFFFFFFFFFFFFFLL)));
}

// The table's entries at eight indices, looked up one by one, which is
// quicker than a gather.
[[gnu::target("avx512f")]] inline __m512d Lookup8(const double* table, const std::int32_t* index) {
    const auto at = [&](int lane) { return table[static_cast<std::size_t>(index[lane])]; };
    const double e0 = at(0), e1 = at(1), e2 = at(2), e3 = at(3);
    const double e4 = at(4), e5 = at(5), e6 = at(6), e7 = at(7);
    return _mm512_setr_pd(e0, e1, e2, e3, e4, e5, e6, e7);
}

// TenToMinusVector for eight values.
[[gnu::target("avx512f,avx2")]] inline __m512d TenToMinus8(__m512d a,
                                                           const std::array<double, 256>& twoTo) {
    const __m512d shift = _mm512_set1_pd(kRoundingShift);
    const __m512d t = _mm512_mul_pd(Negated8(a), _mm512_set1_pd(3.321928094887362348));
    const __m512d shifted = _mm512_add_pd(_mm512_mul_pd(t, _mm512_set1_pd(256.0)), shift);
    const __m512d k = _mm512_sub_pd(shifted, shift);
    const __m512d x = _mm512_mul_pd(_mm512_sub_pd(t, _mm512_mul_pd(k, _mm512_set1_pd(1.0 / 256.0))),
                                    _mm512_set1_pd(0.6931471805599453094));
    __m512d series =
        _mm512_add_pd(_mm512_set1_pd(0.5), _mm512_mul_pd(x, _mm512_set1_pd(1.0 / 6.0)));
    series = _mm512_add_pd(_mm512_set1_pd(1.0), _mm512_mul_pd(x, series));
    series = _mm512_add_pd(_mm512_set1_pd(1.0), _mm512_mul_pd(x, series));
    const __m256i whole = _mm512_maskz_cvtepi64_epi32(0xFF, _mm512_castpd_si512(shifted));
    const __m256i exponent = _mm256_srai_epi32(whole, 8);
    const __m512d power = _mm512_castsi512_pd(_mm512_maskz_slli_epi64(
        0xFF,
        _mm512_add_epi64(_mm512_maskz_cvtepi32_epi64(0xFF, exponent), _mm512_set1_epi64(1023)),
        52));
    alignas(32) std::int32_t index[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(index),
                       _mm256_and_si256(whole, _mm256_set1_epi32(255)));
    const __m512d table = Lookup8(twoTo.data(), index);
    return _mm512_mul_pd(_mm512_mul_pd(table, series), power);
}

// StoredTransmittance for a[k..k+7], operation for operation.
[[gnu::target("avx512f,avx2")]] void StoredTransmittances8(const double* a, std::int32_t* stored,
                                                           std::int32_t n, double scale) {
    const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
    const __m512d shift = _mm512_set1_pd(kRoundingShift);
    const __m512d scaleV = _mm512_set1_pd(scale);
    std::int32_t k = 1;
    for (; k + 7 <= n; k += 8) {
        const __m512d av = _mm512_loadu_pd(a + k);
        const __mmask8 inRange =
            _mm512_cmp_pd_mask(Magnitude8(av), _mm512_set1_pd(100.0), _CMP_LT_OQ);
        const __m512d tenTo = TenToMinus8(_mm512_maskz_mov_pd(inRange, av), twoTo);
        const __m512d v = _mm512_mul_pd(tenTo, scaleV);
        const __m512d shiftedV = _mm512_add_pd(v, shift);
        const __m512d r = _mm512_sub_pd(shiftedV, shift);
        const __m512d margin = _mm512_sub_pd(
            _mm512_set1_pd(0.5),
            _mm512_add_pd(_mm512_mul_pd(_mm512_set1_pd(1e-9), v), _mm512_set1_pd(1e-9)));
        const __mmask8 clear =
            inRange & _mm512_cmp_pd_mask(v, _mm512_set1_pd(2.0e9), _CMP_LT_OQ) &
            _mm512_cmp_pd_mask(Magnitude8(_mm512_sub_pd(v, r)), margin, _CMP_LT_OQ);
        const __m256i result =
            _mm512_mask_cvtepi64_epi32(_mm256_set1_epi32(-1), clear, _mm512_castpd_si512(shiftedV));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(stored + k), result);
    }
    StoredTransmittancesOneByOne(a, stored, k, n, scale);
}

// StoredOfAbsorbance for y[i..i+3], operation for operation; the values
// beyond the tables take TenToMinus, as one at a time.
[[gnu::target("avx2")]] void StoredOfAbsorbancesVector(const double* y, std::size_t n,
                                                       const AbsorbancePowers& p, double* out) {
    const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
    const __m256d base = _mm256_set1_pd(p.base);
    const __m256d factor = _mm256_set1_pd(p.factor);
    const __m256d reach = _mm256_set1_pd(AbsorbancePowers::kReach);
    const __m256d most = _mm256_set1_pd(300.0);
    const __m256d tabled = _mm256_castsi256_pd(_mm256_set1_epi64x(p.tabled ? -1 : 0));
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m256d v = _mm256_loadu_pd(y + i);
        const __m256d d = _mm256_sub_pd(v, base);
        const __m256d a = _mm256_mul_pd(v, factor);
        const __m128i di = _mm256_cvttpd_epi32(d);
        __m256d inTables = _mm256_and_pd(
            tabled,
            _mm256_and_pd(_mm256_cmp_pd(d, _mm256_xor_pd(reach, _mm256_set1_pd(-0.0)), _CMP_GE_OQ),
                          _mm256_cmp_pd(d, reach, _CMP_LT_OQ)));
        inTables = _mm256_and_pd(inTables,
                                 _mm256_and_pd(_mm256_cmp_pd(d, _mm256_cvtepi32_pd(di), _CMP_EQ_OQ),
                                               _mm256_cmp_pd(a, most, _CMP_LE_OQ)));
        // The table entries, looked up one by one, which is quicker than a
        // gather; a lane beyond the tables looks up an entry it then drops.
        alignas(16) std::int32_t d32[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(d32), di);
        const auto entry = [&](const auto& table, int lane, int shift, int mask) {
            return table[static_cast<std::size_t>(
                ((d32[lane] >> shift) + (shift == 12 ? AbsorbancePowers::kHigh : 0)) & mask)];
        };
        const __m256d high = _mm256_setr_pd(entry(p.high, 0, 12, 127), entry(p.high, 1, 12, 127),
                                            entry(p.high, 2, 12, 127), entry(p.high, 3, 12, 127));
        const __m256d middle = _mm256_setr_pd(entry(p.middle, 0, 6, 63), entry(p.middle, 1, 6, 63),
                                              entry(p.middle, 2, 6, 63), entry(p.middle, 3, 6, 63));
        const __m256d low = _mm256_setr_pd(entry(p.low, 0, 0, 63), entry(p.low, 1, 0, 63),
                                           entry(p.low, 2, 0, 63), entry(p.low, 3, 0, 63));
        __m256d stored = _mm256_mul_pd(_mm256_mul_pd(_mm256_set1_pd(p.baseStored), high),
                                       _mm256_mul_pd(middle, low));
        if (_mm256_movemask_pd(inTables) != 0xF) [[unlikely]] {
            // std::min(a, 300.0) keeps a where it is no number.
            const __m256d capped = _mm256_blendv_pd(a, most, _mm256_cmp_pd(most, a, _CMP_LT_OQ));
            const __m256d other =
                _mm256_mul_pd(TenToMinusVector(capped, twoTo), _mm256_set1_pd(p.toStored));
            stored = _mm256_blendv_pd(other, stored, inTables);
        }
        _mm256_storeu_pd(out + i, stored);
    }
    for (; i < n; ++i) {
        out[i] = StoredOfAbsorbance(y[i], p, twoTo);
    }
}

// The entries of a 64-entry table at eight indices (their low six bits),
// the table held in eight registers: each two-register permute picks from
// sixteen entries, and bits 4 and 5 of an index choose among the four picks.
struct Table64 {
    __m512d part[8];
};

[[gnu::target("avx512f,avx2")]] inline Table64 LoadTable64(const std::array<double, 64>& table) {
    Table64 t;
    for (std::size_t k = 0; k < 8; ++k) {
        t.part[k] = _mm512_loadu_pd(table.data() + 8 * k);
    }
    return t;
}

[[gnu::target("avx512f,avx2")]] inline __m512d Lookup64(const Table64& t, __m512i index) {
    const __m512d r0 = _mm512_permutex2var_pd(t.part[0], index, t.part[1]);
    const __m512d r1 = _mm512_permutex2var_pd(t.part[2], index, t.part[3]);
    const __m512d r2 = _mm512_permutex2var_pd(t.part[4], index, t.part[5]);
    const __m512d r3 = _mm512_permutex2var_pd(t.part[6], index, t.part[7]);
    const __mmask8 bit4 = _mm512_test_epi64_mask(index, _mm512_set1_epi64(16));
    const __mmask8 bit5 = _mm512_test_epi64_mask(index, _mm512_set1_epi64(32));
    return _mm512_mask_mov_pd(_mm512_mask_mov_pd(r0, bit4, r1), bit5,
                              _mm512_mask_mov_pd(r2, bit4, r3));
}

// StoredOfAbsorbance for y[i..i+7], operation for operation, the tables held
// in registers: the low and middle ones whole, the high one for differences
// within 8 x 4096 of the base, which is where a spectrum's values lie; a
// value in the tables beyond that is looked up one at a time.
[[gnu::target("avx512f,avx2")]] void StoredOfAbsorbances8(const double* y, std::size_t n,
                                                          const AbsorbancePowers& p, double* out) {
    constexpr int kWindow = AbsorbancePowers::kHigh - 8;  // the first high entry held
    const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
    const Table64 low = LoadTable64(p.low);
    const Table64 middle = LoadTable64(p.middle);
    const __m512d high0 = _mm512_loadu_pd(p.high.data() + kWindow);
    const __m512d high1 = _mm512_loadu_pd(p.high.data() + kWindow + 8);
    const __m512d base = _mm512_set1_pd(p.base);
    const __m512d factor = _mm512_set1_pd(p.factor);
    const __m512d reach = _mm512_set1_pd(AbsorbancePowers::kReach);
    const __m512d most = _mm512_set1_pd(300.0);
    const __m512d baseStored = _mm512_set1_pd(p.baseStored);
    const __m512i lowBits = _mm512_set1_epi64(63);
    const __mmask8 tabled = p.tabled ? 0xFF : 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m512d v = _mm512_loadu_pd(y + i);
        const __m512d d = _mm512_sub_pd(v, base);
        const __m512d a = _mm512_mul_pd(v, factor);
        const __m256i d32 = _mm512_maskz_cvttpd_epi32(0xFF, d);
        const __mmask8 inTables =
            tabled & _mm512_cmp_pd_mask(d, _mm512_sub_pd(_mm512_setzero_pd(), reach), _CMP_GE_OQ) &
            _mm512_cmp_pd_mask(d, reach, _CMP_LT_OQ) &
            _mm512_cmp_pd_mask(d, _mm512_maskz_cvtepi32_pd(0xFF, d32), _CMP_EQ_OQ) &
            _mm512_cmp_pd_mask(a, most, _CMP_LE_OQ);
        const __m512i di = _mm512_maskz_cvtepi32_epi64(0xFF, d32);
        // The high entry's place in the two registers, in range when below 16.
        const __m512i window =
            _mm512_add_epi64(_mm512_maskz_srai_epi64(0xFF, di, 12),
                             _mm512_set1_epi64(AbsorbancePowers::kHigh - kWindow));
        const __mmask8 inWindow = _mm512_cmplt_epu64_mask(window, _mm512_set1_epi64(16));
        const __m512d h = _mm512_permutex2var_pd(high0, window, high1);
        const __m512d m =
            Lookup64(middle, _mm512_and_si512(_mm512_maskz_srai_epi64(0xFF, di, 6), lowBits));
        const __m512d l = Lookup64(low, _mm512_and_si512(di, lowBits));
        __m512d stored = _mm512_mul_pd(_mm512_mul_pd(baseStored, h), _mm512_mul_pd(m, l));
        if ((inTables & inWindow) != 0xFF) [[unlikely]] {
            // std::min(a, 300.0) keeps a where it is no number.
            const __m512d capped =
                _mm512_mask_mov_pd(a, _mm512_cmp_pd_mask(most, a, _CMP_LT_OQ), most);
            const __m512d other =
                _mm512_mul_pd(TenToMinus8(capped, twoTo), _mm512_set1_pd(p.toStored));
            stored = _mm512_mask_mov_pd(other, inTables & inWindow, stored);
            _mm512_storeu_pd(out + i, stored);
            const auto beyondWindow = static_cast<unsigned>(inTables & ~inWindow & 0xFF);
            for (unsigned lane = 0; lane < 8; ++lane) {
                if ((beyondWindow >> lane) & 1u) {
                    out[i + lane] = StoredOfAbsorbance(y[i + lane], p, twoTo);
                }
            }
            continue;
        }
        _mm512_storeu_pd(out + i, stored);
    }
    for (; i < n; ++i) {
        out[i] = StoredOfAbsorbance(y[i], p, twoTo);
    }
}

// PlaceOnGrid for points 1..n, four at a time, operation for operation.
[[gnu::target("avx2")]] void PlaceOnGridVector(const double* value, std::int32_t n, bool backward,
                                               double x0, double step, std::int32_t* rawY,
                                               float* waveX, std::int32_t& low,
                                               std::int32_t& high) {
    const __m256d shift = _mm256_set1_pd(kRoundingShift);
    const __m256d x0v = _mm256_set1_pd(x0);
    const __m256d stepV = _mm256_set1_pd(step);
    __m128i lo = _mm_set1_epi32(std::numeric_limits<std::int32_t>::max());
    __m128i hi = _mm_set1_epi32(std::numeric_limits<std::int32_t>::min());
    std::int32_t k = 1;
    for (; k + 3 <= n; k += 4) {
        // The values' indices i for points k..k+3.
        __m128i index;
        __m256d v;
        if (backward) {
            index = _mm_setr_epi32(n - k, n - k - 1, n - k - 2, n - k - 3);
            v = _mm256_permute4x64_pd(_mm256_loadu_pd(value + (n - k - 3)), 0x1B);
        } else {
            index = _mm_setr_epi32(k - 1, k, k + 1, k + 2);
            v = _mm256_loadu_pd(value + (k - 1));
        }
        const __m128i r = _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(v, shift), shift));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rawY + k), r);
        lo = _mm_min_epi32(lo, r);
        hi = _mm_max_epi32(hi, r);
        const __m256d x = _mm256_add_pd(x0v, _mm256_mul_pd(_mm256_cvtepi32_pd(index), stepV));
        _mm_storeu_ps(waveX + k, _mm256_cvtpd_ps(x));
    }
    std::int32_t l = 0;
    std::int32_t h = 0;
    FoldLanes(lo, hi, l, h);
    PlaceOneByOne(value, n, backward, x0, step, rawY, waveX, k, l, h);
    low = l;
    high = h;
}

// PlacePoints for points 1..n, four at a time, operation for operation.
[[gnu::target("avx2")]] void PlacePointsVector(const double* value, const double* x, std::int32_t n,
                                               std::int32_t* rawY, float* waveX, std::int32_t& low,
                                               std::int32_t& high) {
    const __m256d shift = _mm256_set1_pd(kRoundingShift);
    __m128i lo = _mm_set1_epi32(std::numeric_limits<std::int32_t>::max());
    __m128i hi = _mm_set1_epi32(std::numeric_limits<std::int32_t>::min());
    std::int32_t k = 1;
    for (; k + 3 <= n; k += 4) {
        const __m256d v = _mm256_loadu_pd(value + (k - 1));
        const __m128i r = _mm256_cvttpd_epi32(_mm256_sub_pd(_mm256_add_pd(v, shift), shift));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rawY + k), r);
        lo = _mm_min_epi32(lo, r);
        hi = _mm_max_epi32(hi, r);
        _mm_storeu_ps(waveX + k, _mm256_cvtpd_ps(_mm256_loadu_pd(x + (k - 1))));
    }
    std::int32_t l = 0;
    std::int32_t h = 0;
    FoldLanes(lo, hi, l, h);
    PlacePointsOneByOne(value, x, n, rawY, waveX, k, l, h);
    low = l;
    high = h;
}

// DivideInto four at a time; a division rounds the same at every width.
[[gnu::target("avx2")]] void DivideIntoVector(double numerator, double* v, std::size_t n) {
    const __m256d top = _mm256_set1_pd(numerator);
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        _mm256_storeu_pd(v + i, _mm256_div_pd(top, _mm256_loadu_pd(v + i)));
    }
    for (; i < n; ++i) {
        v[i] = numerator / v[i];
    }
}

// InterpolateAt four at a time, operation for operation: std::clamp(t, 0,
// 1) is t < 0 ? 0 : (1 < t ? 1 : t).
[[gnu::target("avx2")]] void InterpolateAtVector(const double* x, const double* y,
                                                 const std::int32_t* left, const double* g,
                                                 std::size_t n, double* out) {
    const __m256d zero = _mm256_setzero_pd();
    const __m256d one = _mm256_set1_pd(1.0);
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        const auto at = [&](const double* a, std::size_t lane, std::size_t offset) {
            return a[static_cast<std::size_t>(left[k + lane]) + offset];
        };
        const __m256d x0 = _mm256_setr_pd(at(x, 0, 0), at(x, 1, 0), at(x, 2, 0), at(x, 3, 0));
        const __m256d x1 = _mm256_setr_pd(at(x, 0, 1), at(x, 1, 1), at(x, 2, 1), at(x, 3, 1));
        const __m256d y0 = _mm256_setr_pd(at(y, 0, 0), at(y, 1, 0), at(y, 2, 0), at(y, 3, 0));
        const __m256d y1 = _mm256_setr_pd(at(y, 0, 1), at(y, 1, 1), at(y, 2, 1), at(y, 3, 1));
        __m256d t = _mm256_div_pd(_mm256_sub_pd(x0, _mm256_loadu_pd(g + k)), _mm256_sub_pd(x0, x1));
        t = _mm256_blendv_pd(t, zero, _mm256_cmp_pd(x0, x1, _CMP_EQ_OQ));
        t = _mm256_blendv_pd(t, zero, _mm256_cmp_pd(t, zero, _CMP_LT_OQ));
        t = _mm256_blendv_pd(t, one, _mm256_cmp_pd(one, t, _CMP_LT_OQ));
        _mm256_storeu_pd(out + k, _mm256_add_pd(y0, _mm256_mul_pd(_mm256_sub_pd(y1, y0), t)));
    }
    InterpolateOneByOne(x, y, left, g, k, n, out);
}

// The widest vectors this processor has, found once.
VectorWidth ProcessorVectors() {
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f")) {
        return VectorWidth::Eight;
    }
    return __builtin_cpu_supports("avx2") ? VectorWidth::Four : VectorWidth::One;
}

#endif

}  // namespace

VectorWidth WidestVectors() {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    static const VectorWidth widest = ProcessorVectors();
    return widest;
#else
    return VectorWidth::One;
#endif
}

void StoredTransmittances(const double* a, std::int32_t* stored, std::int32_t n, double scale,
                          VectorWidth width) {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    if (width == VectorWidth::Eight) {
        StoredTransmittances8(a, stored, n, scale);
        return;
    }
    if (width == VectorWidth::Four) {
        StoredTransmittancesVector(a, stored, n, scale);
        return;
    }
#endif
    StoredTransmittancesOneByOne(a, stored, 1, n, scale);
}

AbsorbancePowers MakeAbsorbancePowers(double base, double factor, double toStored) {
    const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
    AbsorbancePowers p;
    constexpr int kHigh = AbsorbancePowers::kHigh;
    p.tabled = std::fabs(4096.0 * kHigh * factor) < 90.0;
    if (p.tabled) {
        for (int i = -kHigh; i < kHigh; ++i) {
            p.high[static_cast<std::size_t>(i + kHigh)] =
                TenToMinus(static_cast<double>(i) * 4096.0 * factor, twoTo);
        }
        for (int j = 0; j < 64; ++j) {
            p.middle[static_cast<std::size_t>(j)] =
                TenToMinus(static_cast<double>(j) * 64.0 * factor, twoTo);
            p.low[static_cast<std::size_t>(j)] = TenToMinus(static_cast<double>(j) * factor, twoTo);
        }
    }
    p.factor = factor;
    p.toStored = toStored;
    p.base = base;
    p.baseStored = TenToMinus(std::min(base * factor, 300.0), twoTo) * toStored;
    return p;
}

void StoredOfAbsorbances(const double* y, std::size_t n, const AbsorbancePowers& p, double* out,
                         VectorWidth width) {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    if (width == VectorWidth::Eight) {
        StoredOfAbsorbances8(y, n, p, out);
        return;
    }
    if (width == VectorWidth::Four) {
        StoredOfAbsorbancesVector(y, n, p, out);
        return;
    }
#endif
    const std::array<double, 256>& twoTo = TwoToTheQuarterBytes();
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = StoredOfAbsorbance(y[i], p, twoTo);
    }
}

void PlaceOnGrid(const double* value, std::int32_t n, bool backward, double x0, double step,
                 std::int32_t* rawY, float* waveX, std::int32_t& low, std::int32_t& high,
                 VectorWidth width) {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    if (width != VectorWidth::One) {
        PlaceOnGridVector(value, n, backward, x0, step, rawY, waveX, low, high);
        return;
    }
#endif
    low = std::numeric_limits<std::int32_t>::max();
    high = std::numeric_limits<std::int32_t>::min();
    PlaceOneByOne(value, n, backward, x0, step, rawY, waveX, 1, low, high);
}

void PlacePoints(const double* value, const double* x, std::int32_t n, std::int32_t* rawY,
                 float* waveX, std::int32_t& low, std::int32_t& high, VectorWidth width) {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    if (width != VectorWidth::One) {
        PlacePointsVector(value, x, n, rawY, waveX, low, high);
        return;
    }
#endif
    low = std::numeric_limits<std::int32_t>::max();
    high = std::numeric_limits<std::int32_t>::min();
    PlacePointsOneByOne(value, x, n, rawY, waveX, 1, low, high);
}

void DivideInto(double numerator, double* v, std::size_t n, VectorWidth width) {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    if (width != VectorWidth::One) {
        DivideIntoVector(numerator, v, n);
        return;
    }
#endif
    for (std::size_t i = 0; i < n; ++i) {
        v[i] = numerator / v[i];
    }
}

void InterpolateAt(const double* x, const double* y, const std::int32_t* left, const double* g,
                   std::size_t n, double* out, VectorWidth width) {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    if (width != VectorWidth::One) {
        InterpolateAtVector(x, y, left, g, n, out);
        return;
    }
#endif
    InterpolateOneByOne(x, y, left, g, 0, n, out);
}

}  // namespace halvorn
