// AVX2/FMA bin pass of the rotator pair: one 256-bit register holds an even
// and the following odd bin, which turn in opposite directions. This file
// alone is compiled for those instructions; it is only called after
// CpuHasAvx2Fma().
#include "engine/dsp/SpectralRotatorBins.h"

#include <immintrin.h>

//------------------------------------------------------------------------------
void RotateBitReversedBinsAvx(double* z, int n, double c, double s)
{
    // v·c + swap(v)·(-s, s, s, -s): (re·c - im·s, im·c + re·s) for the even
    // bin, (re·c + im·s, im·c - re·s) for the odd one.
    const __m256d cc = _mm256_set1_pd(c);
    const __m256d ss = _mm256_set_pd(-s, s, s, -s);
    _mm256_storeu_pd(z, _mm256_mul_pd(_mm256_loadu_pd(z), cc));
    for (int i = 4; i < 2 * n; i += 4)
    {
        const __m256d v = _mm256_loadu_pd(z + i);
        _mm256_storeu_pd(z + i, _mm256_fmadd_pd(v, cc, _mm256_mul_pd(_mm256_permute_pd(v, 0x5), ss)));
    }
}
