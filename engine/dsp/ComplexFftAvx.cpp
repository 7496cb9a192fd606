// AVX2/FMA variant of the radix-4 twiddle stages: two neighbouring indices
// k, k+1 share one 256-bit register per value. This file alone is compiled
// for those instructions (and includes no shared inline code that the linker
// could pick for other files); it is only called after CpuHasAvx2Fma().
#include "engine/dsp/ComplexFftStages.h"

#include <immintrin.h>

namespace {

inline __m256d SwapPairs(__m256d a)
{
    return _mm256_permute_pd(a, 0x5);
}

template <bool kInverse>
inline __m256d Twiddle(__m256d a, const double* w)
{
    const __m256d re = _mm256_loadu_pd(w);
    const __m256d im = _mm256_loadu_pd(w + 4);
    const __m256d p = _mm256_mul_pd(a, re);
    return kInverse ? _mm256_fnmadd_pd(SwapPairs(a), im, p) : _mm256_fmadd_pd(SwapPairs(a), im, p);
}

template <bool kInverse>
inline __m256d RotateQuarter(__m256d a)
{
    const __m256d sign = kInverse ? _mm256_set_pd(0.0, -0.0, 0.0, -0.0)
                                  : _mm256_set_pd(-0.0, 0.0, -0.0, 0.0);
    return _mm256_xor_pd(SwapPairs(a), sign);
}

} // namespace

//------------------------------------------------------------------------------
template <bool kInverse>
void TwiddleStagesAvx(double* data, int n, int m, const double* twiddles)
{
    for (; 4 * m <= n; m *= 4)
    {
        for (int g = 0; g < n; g += 4 * m)
        {
            double* p0 = data + 2 * g;
            double* p1 = p0 + 2 * m;
            double* p2 = p1 + 2 * m;
            double* p3 = p2 + 2 * m;
            const double* w = twiddles;
            for (int k = 0; k < 2 * m; k += 4, w += 24)
            {
                const __m256d a = _mm256_loadu_pd(p0 + k);
                const __m256d b = Twiddle<kInverse>(_mm256_loadu_pd(p1 + k), w);
                const __m256d c = Twiddle<kInverse>(_mm256_loadu_pd(p2 + k), w + 8);
                const __m256d d = Twiddle<kInverse>(_mm256_loadu_pd(p3 + k), w + 16);
                const __m256d t0 = _mm256_add_pd(a, b);
                const __m256d t1 = _mm256_sub_pd(a, b);
                const __m256d t2 = _mm256_add_pd(c, d);
                const __m256d t3 = RotateQuarter<kInverse>(_mm256_sub_pd(c, d));
                _mm256_storeu_pd(p0 + k, _mm256_add_pd(t0, t2));
                _mm256_storeu_pd(p2 + k, _mm256_sub_pd(t0, t2));
                _mm256_storeu_pd(p1 + k, _mm256_add_pd(t1, t3));
                _mm256_storeu_pd(p3 + k, _mm256_sub_pd(t1, t3));
            }
        }
        twiddles += 12 * m;
    }
}

template void TwiddleStagesAvx<false>(double*, int, int, const double*);
template void TwiddleStagesAvx<true>(double*, int, int, const double*);

//------------------------------------------------------------------------------
template <bool kInverse>
void SplitStagesAvx(double* data, int n, int m0, const double* twiddlesEnd)
{
    const double* twiddles = twiddlesEnd;
    for (int m = n / 4; m >= m0; m /= 4)
    {
        twiddles -= 12 * m;
        for (int g = 0; g < n; g += 4 * m)
        {
            double* p0 = data + 2 * g;
            double* p1 = p0 + 2 * m;
            double* p2 = p1 + 2 * m;
            double* p3 = p2 + 2 * m;
            const double* w = twiddles;
            for (int k = 0; k < 2 * m; k += 4, w += 24)
            {
                const __m256d a = _mm256_loadu_pd(p0 + k);
                const __m256d b = _mm256_loadu_pd(p1 + k);
                const __m256d c = _mm256_loadu_pd(p2 + k);
                const __m256d d = _mm256_loadu_pd(p3 + k);
                const __m256d t0 = _mm256_add_pd(a, c);
                const __m256d t1 = _mm256_sub_pd(a, c);
                const __m256d t2 = _mm256_add_pd(b, d);
                const __m256d t3 = RotateQuarter<kInverse>(_mm256_sub_pd(b, d));
                _mm256_storeu_pd(p0 + k, _mm256_add_pd(t0, t2));
                _mm256_storeu_pd(p1 + k, Twiddle<kInverse>(_mm256_sub_pd(t0, t2), w));
                _mm256_storeu_pd(p2 + k, Twiddle<kInverse>(_mm256_add_pd(t1, t3), w + 8));
                _mm256_storeu_pd(p3 + k, Twiddle<kInverse>(_mm256_sub_pd(t1, t3), w + 16));
            }
        }
    }
}

template void SplitStagesAvx<false>(double*, int, int, const double*);
template void SplitStagesAvx<true>(double*, int, int, const double*);
