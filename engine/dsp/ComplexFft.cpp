// Iterative radix-4 decimation-in-time FFT on SSE2 (the x86-64 baseline).
// After a bit-reversal permutation, each stage merges four transforms of
// size m into one of size 4m; an odd power of two starts with one radix-2
// stage. Every complex value lives in one 128-bit register (re, im).
#include "engine/dsp/ComplexFft.h"

#include "engine/dsp/ComplexFftStages.h"

#include <cmath>
#include <emmintrin.h>
#include <numbers>

namespace {

inline __m128d Swap(__m128d a)
{
    return _mm_shuffle_pd(a, a, 1);
}

// a·w with w stored as (wr, wr, -wi, wi): forward twiddle; the inverse uses
// the conjugate by subtracting the second product.
template <bool kInverse>
inline __m128d Twiddle(__m128d a, const double* w)
{
    const __m128d re = _mm_loadu_pd(w);
    const __m128d im = _mm_loadu_pd(w + 4);
    const __m128d p = _mm_mul_pd(a, re);
    const __m128d q = _mm_mul_pd(Swap(a), im);
    return kInverse ? _mm_sub_pd(p, q) : _mm_add_pd(p, q);
}

// -j·a in the forward direction, +j·a in the inverse direction.
template <bool kInverse>
inline __m128d RotateQuarter(__m128d a)
{
    const __m128d sign = kInverse ? _mm_set_pd(0.0, -0.0) : _mm_set_pd(-0.0, 0.0);
    return _mm_xor_pd(Swap(a), sign);
}

template <bool kInverse>
inline void Butterfly4(double* p0, double* p1, double* p2, double* p3,
                       __m128d a, __m128d b, __m128d c, __m128d d)
{
    const __m128d t0 = _mm_add_pd(a, b);
    const __m128d t1 = _mm_sub_pd(a, b);
    const __m128d t2 = _mm_add_pd(c, d);
    const __m128d t3 = RotateQuarter<kInverse>(_mm_sub_pd(c, d));
    _mm_storeu_pd(p0, _mm_add_pd(t0, t2));
    _mm_storeu_pd(p2, _mm_sub_pd(t0, t2));
    _mm_storeu_pd(p1, _mm_add_pd(t1, t3));
    _mm_storeu_pd(p3, _mm_sub_pd(t1, t3));
}

// The transpose of Butterfly4 (decimation in frequency), before twiddles:
// (a, b, c, d) at p0 ... p3 become the four outputs of one size-4
// transform in bit-reversed order.
template <bool kInverse>
inline void SplitButterfly4(double* p0, double* p1, double* p2, double* p3,
                            __m128d a, __m128d b, __m128d c, __m128d d)
{
    const __m128d t0 = _mm_add_pd(a, c);
    const __m128d t1 = _mm_sub_pd(a, c);
    const __m128d t2 = _mm_add_pd(b, d);
    const __m128d t3 = RotateQuarter<kInverse>(_mm_sub_pd(b, d));
    _mm_storeu_pd(p0, _mm_add_pd(t0, t2));
    _mm_storeu_pd(p1, _mm_sub_pd(t0, t2));
    _mm_storeu_pd(p2, _mm_add_pd(t1, t3));
    _mm_storeu_pd(p3, _mm_sub_pd(t1, t3));
}

int Log2(int n)
{
    int bits = 0;
    while ((1 << bits) < n)
        ++bits;
    return bits;
}

} // namespace

//------------------------------------------------------------------------------
bool ComplexFft::SetSize(int n)
{
    if (n < kMinSize || n > kMaxSize || (n & (n - 1)) != 0)
        return false;
    if (n == mSize)
        return true;

    const int bits = Log2(n);
    mSwaps.clear();
    for (int i = 0; i < n; ++i)
    {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((i >> b) & 1) << (bits - 1 - b);
        if (i < r)
        {
            mSwaps.push_back(i);
            mSwaps.push_back(r);
        }
    }

    // Twiddles of every radix-4 stage with m >= 2, in stage order. For each
    // pair of indices k, k+1 the factors W^2k, W^k, W^3k (W = e^(-j2π/4m))
    // each take 8 doubles: (wr_k, wr_k, wr_k+1, wr_k+1) and
    // (-wi_k, wi_k, -wi_k+1, wi_k+1), so one 256-bit load serves both k and
    // two 128-bit loads serve one k each.
    mTwiddles.clear();
    for (int m = (bits & 1) ? 2 : 4; 4 * m <= n; m *= 4)
    {
        for (int k = 0; k < m; k += 2)
        {
            for (int factor : {2, 1, 3})
            {
                double re[2], im[2];
                for (int d = 0; d < 2; ++d)
                {
                    const double angle = 2.0 * std::numbers::pi * factor * (k + d) / (4.0 * m);
                    re[d] = std::cos(angle);
                    im[d] = -std::sin(angle);
                }
                mTwiddles.insert(mTwiddles.end(), {re[0], re[0], re[1], re[1], -im[0], im[0], -im[1], im[1]});
            }
        }
    }
    mUseAvx = mAllowAvx && CpuHasAvx2Fma();
    mSize = n;
    return true;
}

//------------------------------------------------------------------------------
void ComplexFft::AllowWideVectors(bool allow)
{
    mAllowAvx = allow;
    mUseAvx = allow && CpuHasAvx2Fma();
}

//------------------------------------------------------------------------------
void ComplexFft::Forward(double* data) const
{
    Transform<false>(data);
}

//------------------------------------------------------------------------------
void ComplexFft::Inverse(double* data) const
{
    Transform<true>(data);
}

//------------------------------------------------------------------------------
void ComplexFft::ForwardToBitReversed(double* data) const
{
    TransformToBitReversed<false>(data);
}

//------------------------------------------------------------------------------
void ComplexFft::InverseFromBitReversed(double* data) const
{
    TransformFromBitReversed<true>(data);
}

//------------------------------------------------------------------------------
template <bool kInverse>
void ComplexFft::Transform(double* data) const
{
    // Bit-reversal permutation, then the stages.
    const int* swaps = mSwaps.data();
    for (size_t s = 0; s < mSwaps.size(); s += 2)
    {
        double* a = data + 2 * swaps[s];
        double* b = data + 2 * swaps[s + 1];
        const __m128d va = _mm_loadu_pd(a);
        _mm_storeu_pd(a, _mm_loadu_pd(b));
        _mm_storeu_pd(b, va);
    }
    TransformFromBitReversed<kInverse>(data);
}

//------------------------------------------------------------------------------
template <bool kInverse>
void ComplexFft::TransformFromBitReversed(double* data) const
{
    const int n = mSize;
    if (n < 2)
        return;

    const bool odd = (Log2(n) & 1) != 0;
    if (mUseAvx && n >= (odd ? 8 : 16))
    {
        // The first two stages in one pass.
        const int m = odd ? 8 : 16;
        FirstStagesAvx<kInverse>(data, n, odd, mTwiddles.data());
        TwiddleStagesAvx<kInverse>(data, n, m, mTwiddles.data() + 3 * m);
        return;
    }
    int m;
    if (odd)
    {
        for (int i = 0; i < n; i += 2)
        {
            double* p = data + 2 * i;
            const __m128d a = _mm_loadu_pd(p);
            const __m128d b = _mm_loadu_pd(p + 2);
            _mm_storeu_pd(p, _mm_add_pd(a, b));
            _mm_storeu_pd(p + 2, _mm_sub_pd(a, b));
        }
        m = 2;
    }
    else
    {
        // First radix-4 stage: all twiddles are 1.
        for (int i = 0; i < n; i += 4)
        {
            double* p = data + 2 * i;
            const __m128d a = _mm_loadu_pd(p);
            const __m128d b = _mm_loadu_pd(p + 2);
            const __m128d c = _mm_loadu_pd(p + 4);
            const __m128d d = _mm_loadu_pd(p + 6);
            Butterfly4<kInverse>(p, p + 2, p + 4, p + 6, a, b, c, d);
        }
        m = 4;
    }

    if (mUseAvx)
        TwiddleStagesAvx<kInverse>(data, n, m, mTwiddles.data());
    else
        TwiddleStagesSse<kInverse>(data, n, m, mTwiddles.data());
}

//------------------------------------------------------------------------------
template <bool kInverse>
void ComplexFft::TransformToBitReversed(double* data) const
{
    // The stages of TransformFromBitReversed transposed and in reverse
    // order; the transform matrix is symmetric, so this computes the same
    // transform with the output left bit-reversed.
    const int n = mSize;
    if (n < 2)
        return;

    const bool odd = (Log2(n) & 1) != 0;
    const int m = odd ? 2 : 4;
    const double* twiddlesEnd = mTwiddles.data() + mTwiddles.size();
    if (mUseAvx && n >= 4 * m)
    {
        // The last two stages in one pass.
        SplitStagesAvx<kInverse>(data, n, 4 * m, twiddlesEnd);
        LastStagesAvx<kInverse>(data, n, odd, mTwiddles.data());
        return;
    }
    if (mUseAvx)
        SplitStagesAvx<kInverse>(data, n, m, twiddlesEnd);
    else
        SplitStagesSse<kInverse>(data, n, m, twiddlesEnd);

    if (odd)
    {
        for (int i = 0; i < n; i += 2)
        {
            double* p = data + 2 * i;
            const __m128d a = _mm_loadu_pd(p);
            const __m128d b = _mm_loadu_pd(p + 2);
            _mm_storeu_pd(p, _mm_add_pd(a, b));
            _mm_storeu_pd(p + 2, _mm_sub_pd(a, b));
        }
    }
    else
    {
        for (int i = 0; i < n; i += 4)
        {
            double* p = data + 2 * i;
            const __m128d a = _mm_loadu_pd(p);
            const __m128d b = _mm_loadu_pd(p + 2);
            const __m128d c = _mm_loadu_pd(p + 4);
            const __m128d d = _mm_loadu_pd(p + 6);
            SplitButterfly4<kInverse>(p, p + 2, p + 4, p + 6, a, b, c, d);
        }
    }
}

//------------------------------------------------------------------------------
template <bool kInverse>
void TwiddleStagesSse(double* data, int n, int m, const double* twiddles)
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
                for (int d = 0; d < 4; d += 2)
                {
                    const double* wd = w + d;
                    const __m128d a = _mm_loadu_pd(p0 + k + d);
                    const __m128d b = Twiddle<kInverse>(_mm_loadu_pd(p1 + k + d), wd);
                    const __m128d c = Twiddle<kInverse>(_mm_loadu_pd(p2 + k + d), wd + 8);
                    const __m128d e = Twiddle<kInverse>(_mm_loadu_pd(p3 + k + d), wd + 16);
                    Butterfly4<kInverse>(p0 + k + d, p1 + k + d, p2 + k + d, p3 + k + d, a, b, c, e);
                }
            }
        }
        twiddles += 12 * m;
    }
}

template void TwiddleStagesSse<false>(double*, int, int, const double*);
template void TwiddleStagesSse<true>(double*, int, int, const double*);

//------------------------------------------------------------------------------
template <bool kInverse>
void SplitStagesSse(double* data, int n, int m0, const double* twiddlesEnd)
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
                for (int d = 0; d < 4; d += 2)
                {
                    const double* wd = w + d;
                    const int i = k + d;
                    const __m128d a = _mm_loadu_pd(p0 + i);
                    const __m128d b = _mm_loadu_pd(p1 + i);
                    const __m128d c = _mm_loadu_pd(p2 + i);
                    const __m128d e = _mm_loadu_pd(p3 + i);
                    const __m128d t0 = _mm_add_pd(a, c);
                    const __m128d t1 = _mm_sub_pd(a, c);
                    const __m128d t2 = _mm_add_pd(b, e);
                    const __m128d t3 = RotateQuarter<kInverse>(_mm_sub_pd(b, e));
                    _mm_storeu_pd(p0 + i, _mm_add_pd(t0, t2));
                    _mm_storeu_pd(p1 + i, Twiddle<kInverse>(_mm_sub_pd(t0, t2), wd));
                    _mm_storeu_pd(p2 + i, Twiddle<kInverse>(_mm_add_pd(t1, t3), wd + 8));
                    _mm_storeu_pd(p3 + i, Twiddle<kInverse>(_mm_sub_pd(t1, t3), wd + 16));
                }
            }
        }
    }
}

template void SplitStagesSse<false>(double*, int, int, const double*);
template void SplitStagesSse<true>(double*, int, int, const double*);
