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
