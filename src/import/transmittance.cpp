#include "import/transmittance.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define HALVORN_VECTOR_TRANSMITTANCES 1
#endif

namespace halvorn {

namespace {

#ifdef HALVORN_VECTOR_TRANSMITTANCES

// The low 32 bits of each of four 64-bit lanes.
[[gnu::target("avx2")]] inline __m128i LowHalves(__m256i v) {
    const __m256i order = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    return _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(v, order));
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
        // TenToMinus(aa).
        const __m256d t =
            _mm256_mul_pd(_mm256_xor_pd(aa, signBit), _mm256_set1_pd(3.321928094887362348));
        const __m256d shifted = _mm256_add_pd(_mm256_mul_pd(t, _mm256_set1_pd(256.0)), shift);
        const __m256d kk = _mm256_sub_pd(shifted, shift);
        const __m256d x = _mm256_mul_pd(_mm256_sub_pd(t, _mm256_div_pd(kk, _mm256_set1_pd(256.0))),
                                        _mm256_set1_pd(0.6931471805599453094));
        __m256d series =
            _mm256_add_pd(_mm256_set1_pd(0.5), _mm256_mul_pd(x, _mm256_set1_pd(1.0 / 6.0)));
        series = _mm256_add_pd(_mm256_set1_pd(1.0), _mm256_mul_pd(x, series));
        series = _mm256_add_pd(_mm256_set1_pd(1.0), _mm256_mul_pd(x, series));
        const __m128i whole = LowHalves(_mm256_castpd_si256(shifted));
        const __m128i exponent = _mm_srai_epi32(whole, 8);
        const __m256d power = _mm256_castsi256_pd(_mm256_slli_epi64(
            _mm256_add_epi64(_mm256_cvtepi32_epi64(exponent), _mm256_set1_epi64x(1023)), 52));
        const __m256d table =
            _mm256_mask_i32gather_pd(zero, twoTo.data(), _mm_and_si128(whole, _mm_set1_epi32(255)),
                                     _mm256_castsi256_pd(_mm256_set1_epi64x(-1)), 8);
        const __m256d tenTo = _mm256_mul_pd(_mm256_mul_pd(table, series), power);
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

bool HasVectors() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

#endif

}  // namespace

void StoredTransmittances(const double* a, std::int32_t* stored, std::int32_t n, double scale) {
#ifdef HALVORN_VECTOR_TRANSMITTANCES
    if (HasVectors()) {
        StoredTransmittancesVector(a, stored, n, scale);
        return;
    }
#endif
    StoredTransmittancesOneByOne(a, stored, 1, n, scale);
}

}  // namespace halvorn
