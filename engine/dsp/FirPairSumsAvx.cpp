// AVX variant of the paired FIR sum: taps j and j + 1 of both lanes in one
// 256-bit register, so the low half carries the even-tap sums and the high
// half the odd-tap sums of mid and side, exactly as the two SSE2 sums do.
// This file alone is compiled for AVX (without FMA, which would round
// differently) and includes no shared inline code that the linker could
// pick for other files; it is only called after CpuHasAvx().
#include "engine/dsp/FirPairSums.h"

#include <immintrin.h>

//------------------------------------------------------------------------------
void FirPairSumsAvx(const double* taps, const double* history, int length, double* out)
{
    __m256d sums = _mm256_setzero_pd(); // even (mid, side), odd (mid, side)
    int j = 0;
    for (; j + 1 < length; j += 2)
        sums = _mm256_add_pd(sums, _mm256_mul_pd(_mm256_loadu_pd(taps + 2 * j), _mm256_loadu_pd(history + 2 * j)));
    __m128d even = _mm256_castpd256_pd128(sums);
    const __m128d odd = _mm256_extractf128_pd(sums, 1);
    if (j < length)
        even = _mm_add_pd(even, _mm_mul_pd(_mm_loadu_pd(taps + 2 * j), _mm_loadu_pd(history + 2 * j)));
    _mm_storeu_pd(out, _mm_add_pd(even, odd));
    _mm256_zeroupper();
}

//------------------------------------------------------------------------------
void FirPairSumsTwoAvx(const double* taps, const double* a, const double* b, int length, double* outA,
                       double* outB)
{
    __m256d sumsA = _mm256_setzero_pd();
    __m256d sumsB = _mm256_setzero_pd();
    int j = 0;
    for (; j + 1 < length; j += 2)
    {
        const __m256d t = _mm256_loadu_pd(taps + 2 * j);
        sumsA = _mm256_add_pd(sumsA, _mm256_mul_pd(t, _mm256_loadu_pd(a + 2 * j)));
        sumsB = _mm256_add_pd(sumsB, _mm256_mul_pd(t, _mm256_loadu_pd(b + 2 * j)));
    }
    __m128d evenA = _mm256_castpd256_pd128(sumsA);
    __m128d evenB = _mm256_castpd256_pd128(sumsB);
    if (j < length)
    {
        const __m128d t = _mm_loadu_pd(taps + 2 * j);
        evenA = _mm_add_pd(evenA, _mm_mul_pd(t, _mm_loadu_pd(a + 2 * j)));
        evenB = _mm_add_pd(evenB, _mm_mul_pd(t, _mm_loadu_pd(b + 2 * j)));
    }
    _mm_storeu_pd(outA, _mm_add_pd(evenA, _mm256_extractf128_pd(sumsA, 1)));
    _mm_storeu_pd(outB, _mm_add_pd(evenB, _mm256_extractf128_pd(sumsB, 1)));
    _mm256_zeroupper();
}
