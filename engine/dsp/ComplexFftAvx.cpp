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

template <bool kInverse>
inline __m128d RotateQuarter(__m128d a)
{
    const __m128d sign = kInverse ? _mm_set_pd(0.0, -0.0) : _mm_set_pd(-0.0, 0.0);
    return _mm_xor_pd(_mm_shuffle_pd(a, a, 1), sign);
}

inline __m256d Join(__m128d low, __m128d high)
{
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(low), high, 1);
}

// One radix-4 step on two neighbouring indices: decimation in time (inputs
// twiddled, then combined) into p0 ... p3.
template <bool kInverse>
inline void TimeButterfly(double* p0, double* p1, double* p2, double* p3,
                          __m256d a, __m256d b, __m256d c, __m256d d, const double* w)
{
    b = Twiddle<kInverse>(b, w);
    c = Twiddle<kInverse>(c, w + 8);
    d = Twiddle<kInverse>(d, w + 16);
    const __m256d t0 = _mm256_add_pd(a, b);
    const __m256d t1 = _mm256_sub_pd(a, b);
    const __m256d t2 = _mm256_add_pd(c, d);
    const __m256d t3 = RotateQuarter<kInverse>(_mm256_sub_pd(c, d));
    _mm256_storeu_pd(p0, _mm256_add_pd(t0, t2));
    _mm256_storeu_pd(p2, _mm256_sub_pd(t0, t2));
    _mm256_storeu_pd(p1, _mm256_add_pd(t1, t3));
    _mm256_storeu_pd(p3, _mm256_sub_pd(t1, t3));
}

// The same transposed (decimation in frequency): combined, then twiddled;
// the results stay in registers.
template <bool kInverse>
inline void FrequencyButterfly(__m256d out[4], __m256d a, __m256d b, __m256d c, __m256d d, const double* w)
{
    const __m256d t0 = _mm256_add_pd(a, c);
    const __m256d t1 = _mm256_sub_pd(a, c);
    const __m256d t2 = _mm256_add_pd(b, d);
    const __m256d t3 = RotateQuarter<kInverse>(_mm256_sub_pd(b, d));
    out[0] = _mm256_add_pd(t0, t2);
    out[1] = Twiddle<kInverse>(_mm256_sub_pd(t0, t2), w);
    out[2] = Twiddle<kInverse>(_mm256_add_pd(t1, t3), w + 8);
    out[3] = Twiddle<kInverse>(_mm256_sub_pd(t1, t3), w + 16);
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

//------------------------------------------------------------------------------
template <bool kInverse>
void FirstStagesAvx(double* data, int n, bool odd, const double* twiddles)
{
    if (odd)
    {
        // Radix 2 on neighbours, then radix 4 over groups of 8 points.
        for (double* p = data; p < data + 2 * n; p += 16)
        {
            __m256d v[4];
            for (int j = 0; j < 4; ++j)
            {
                const __m128d a = _mm_loadu_pd(p + 4 * j);
                const __m128d b = _mm_loadu_pd(p + 4 * j + 2);
                v[j] = Join(_mm_add_pd(a, b), _mm_sub_pd(a, b));
            }
            TimeButterfly<kInverse>(p, p + 4, p + 8, p + 12, v[0], v[1], v[2], v[3], twiddles);
        }
        return;
    }
    // Twiddle-free radix 4 on four neighbours, then radix 4 over groups of
    // 16 points (indices 0, 1 and 2, 3 of each quarter in one register).
    for (double* p = data; p < data + 2 * n; p += 32)
    {
        __m256d low[4], high[4];
        for (int j = 0; j < 4; ++j)
        {
            const double* q = p + 8 * j;
            const __m128d a = _mm_loadu_pd(q);
            const __m128d b = _mm_loadu_pd(q + 2);
            const __m128d c = _mm_loadu_pd(q + 4);
            const __m128d d = _mm_loadu_pd(q + 6);
            const __m128d t0 = _mm_add_pd(a, b);
            const __m128d t1 = _mm_sub_pd(a, b);
            const __m128d t2 = _mm_add_pd(c, d);
            const __m128d t3 = RotateQuarter<kInverse>(_mm_sub_pd(c, d));
            low[j] = Join(_mm_add_pd(t0, t2), _mm_add_pd(t1, t3));
            high[j] = Join(_mm_sub_pd(t0, t2), _mm_sub_pd(t1, t3));
        }
        TimeButterfly<kInverse>(p, p + 8, p + 16, p + 24, low[0], low[1], low[2], low[3], twiddles);
        TimeButterfly<kInverse>(p + 4, p + 12, p + 20, p + 28, high[0], high[1], high[2], high[3], twiddles + 24);
    }
}

template void FirstStagesAvx<false>(double*, int, bool, const double*);
template void FirstStagesAvx<true>(double*, int, bool, const double*);

//------------------------------------------------------------------------------
template <bool kInverse>
void LastStagesAvx(double* data, int n, bool odd, const double* twiddles)
{
    if (odd)
    {
        // Radix 4 over groups of 8 points, then radix 2 on neighbours.
        for (double* p = data; p < data + 2 * n; p += 16)
        {
            __m256d v[4];
            FrequencyButterfly<kInverse>(v, _mm256_loadu_pd(p), _mm256_loadu_pd(p + 4), _mm256_loadu_pd(p + 8),
                                         _mm256_loadu_pd(p + 12), twiddles);
            for (int j = 0; j < 4; ++j)
            {
                const __m128d a = _mm256_castpd256_pd128(v[j]);
                const __m128d b = _mm256_extractf128_pd(v[j], 1);
                _mm_storeu_pd(p + 4 * j, _mm_add_pd(a, b));
                _mm_storeu_pd(p + 4 * j + 2, _mm_sub_pd(a, b));
            }
        }
        return;
    }
    // Radix 4 over groups of 16 points, then twiddle-free radix 4 on four
    // neighbours.
    for (double* p = data; p < data + 2 * n; p += 32)
    {
        __m256d low[4], high[4];
        FrequencyButterfly<kInverse>(low, _mm256_loadu_pd(p), _mm256_loadu_pd(p + 8), _mm256_loadu_pd(p + 16),
                                     _mm256_loadu_pd(p + 24), twiddles);
        FrequencyButterfly<kInverse>(high, _mm256_loadu_pd(p + 4), _mm256_loadu_pd(p + 12), _mm256_loadu_pd(p + 20),
                                     _mm256_loadu_pd(p + 28), twiddles + 24);
        for (int j = 0; j < 4; ++j)
        {
            double* q = p + 8 * j;
            const __m128d a = _mm256_castpd256_pd128(low[j]);
            const __m128d b = _mm256_extractf128_pd(low[j], 1);
            const __m128d c = _mm256_castpd256_pd128(high[j]);
            const __m128d d = _mm256_extractf128_pd(high[j], 1);
            const __m128d t0 = _mm_add_pd(a, c);
            const __m128d t1 = _mm_sub_pd(a, c);
            const __m128d t2 = _mm_add_pd(b, d);
            const __m128d t3 = RotateQuarter<kInverse>(_mm_sub_pd(b, d));
            _mm_storeu_pd(q, _mm_add_pd(t0, t2));
            _mm_storeu_pd(q + 2, _mm_sub_pd(t0, t2));
            _mm_storeu_pd(q + 4, _mm_add_pd(t1, t3));
            _mm_storeu_pd(q + 6, _mm_sub_pd(t1, t3));
        }
    }
}

template void LastStagesAvx<false>(double*, int, bool, const double*);
template void LastStagesAvx<true>(double*, int, bool, const double*);
