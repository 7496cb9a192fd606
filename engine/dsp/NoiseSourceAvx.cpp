// This file alone is compiled for AVX2 (and includes no shared inline code
// the linker could pick for other files); it is only called after
// CpuHasAvx2().
#include "engine/dsp/NoiseSourceAvx.h"

#include <immintrin.h>

namespace {

constexpr int kTerms = 12;
constexpr int kGroup = 24;
constexpr double kUniformScale = 2.3283064370807974e-10; // 1 / (2^32 - 1)

inline __m128i Load4(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

} // namespace

//------------------------------------------------------------------------------
void SumGroupsOfUniformsAvx2(const uint32_t* w, double* sums, int groups)
{
    // A word w becomes the uniform w·scale by way of the signed value of w
    // with its sign bit flipped, plus 2^31 (all exact).
    const __m128i flip = _mm_set1_epi32(static_cast<int>(0x80000000u));
    const __m256d offset = _mm256_set1_pd(2147483648.0);
    const __m256d scale = _mm256_set1_pd(kUniformScale);
    const auto uniforms = [&](__m128i words) {
        return _mm256_mul_pd(_mm256_add_pd(_mm256_cvtepi32_pd(words), offset), scale);
    };
    int g = 0;
    for (; g + 2 <= groups; g += 2, w += 2 * kGroup, sums += 4)
    {
        // Lanes (a, b) of group g and (a, b) of group g + 1.
        __m256d s = _mm256_setzero_pd();
        for (int i = 0; i < kTerms; i += 4)
        {
            const __m128i a0 = _mm_xor_si128(Load4(w + i), flip);
            const __m128i b0 = _mm_xor_si128(Load4(w + kTerms + i), flip);
            const __m128i a1 = _mm_xor_si128(Load4(w + kGroup + i), flip);
            const __m128i b1 = _mm_xor_si128(Load4(w + kGroup + kTerms + i), flip);
            const __m128i low0 = _mm_unpacklo_epi32(a0, b0);  // terms i, i+1 of group g
            const __m128i low1 = _mm_unpacklo_epi32(a1, b1);  // and of group g + 1
            const __m128i high0 = _mm_unpackhi_epi32(a0, b0); // terms i+2, i+3
            const __m128i high1 = _mm_unpackhi_epi32(a1, b1);
            s = i == 0 ? uniforms(_mm_unpacklo_epi64(low0, low1)) : _mm256_add_pd(s, uniforms(_mm_unpacklo_epi64(low0, low1)));
            s = _mm256_add_pd(s, uniforms(_mm_unpackhi_epi64(low0, low1)));
            s = _mm256_add_pd(s, uniforms(_mm_unpacklo_epi64(high0, high1)));
            s = _mm256_add_pd(s, uniforms(_mm_unpackhi_epi64(high0, high1)));
        }
        _mm256_storeu_pd(sums, _mm256_sub_pd(s, _mm256_set1_pd(0.5 * kTerms)));
    }
    if (g < groups)
    {
        // The last odd group: the upper two lanes are unused.
        __m256d s = _mm256_setzero_pd();
        for (int i = 0; i < kTerms; i += 4)
        {
            const __m128i a0 = _mm_xor_si128(Load4(w + i), flip);
            const __m128i b0 = _mm_xor_si128(Load4(w + kTerms + i), flip);
            const __m128i low0 = _mm_unpacklo_epi32(a0, b0);
            const __m128i high0 = _mm_unpackhi_epi32(a0, b0);
            s = i == 0 ? uniforms(low0) : _mm256_add_pd(s, uniforms(low0));
            s = _mm256_add_pd(s, uniforms(_mm_unpackhi_epi64(low0, low0)));
            s = _mm256_add_pd(s, uniforms(high0));
            s = _mm256_add_pd(s, uniforms(_mm_unpackhi_epi64(high0, high0)));
        }
        _mm_storeu_pd(sums, _mm256_castpd256_pd128(_mm256_sub_pd(s, _mm256_set1_pd(0.5 * kTerms))));
    }
}
