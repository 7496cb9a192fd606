// Half-overlapped Blackman frames, rotated in the frequency domain.
//
// A frame holds x·(1 + j); after rotation the output is half the sum of the
// real and imaginary parts, which equals the real inverse transform of the
// real spectrum X with the bins 1 ... N/2-1 turned by φ and DC and Nyquist
// scaled by cos φ. So the block work runs on the real parts only: the N real
// values, read as N/2 complex points z[n] = x[2n] + j·x[2n+1], take one
// complex FFT of N/2 points each way. Between the two, one pass over the bin
// pairs (k, N/2-k) does what separating X, rotating it and packing it again
// would do. The transforms leave the bins in bit-reversed order and take
// them back so, which saves both permutations: the bin pass finds its pairs
// through a table. A frame only ever holds pairs (v, v) (input samples are written
// so, and the rotated frame is one too, up to an imaginary part that the
// output sum cancels), so each frame keeps just its N reals v, and the
// transforms run in place on them. The scratch array keeps the per-position
// output gains.
#include "engine/dsp/SpectralRotator.h"

#include "engine/dsp/SpectralRotatorWindow.h"

#include <algorithm>
#include <cmath>
#include <emmintrin.h>
#include <numbers>

//------------------------------------------------------------------------------
SpectralRotator::SpectralRotator(int n)
{
    if (!SetSize(n))
        SetSize(4096);
}

//------------------------------------------------------------------------------
bool SpectralRotator::SetSize(int n)
{
    if (n < kMinSize || n > kMaxSize || (n & (n - 1)) != 0)
        return false;
    if (n == mSize)
    {
        // The tables depend on N alone: only the buffered audio goes.
        ClearFrames();
        return true;
    }
    if (!mHalfFft.SetSize(n / 2))
        return false;
    mTwiddles.resize(static_cast<size_t>(n / 4 + 1) * 2);
    for (int k = 0; k <= n / 4; ++k)
    {
        const double angle = 2.0 * std::numbers::pi * k / n;
        mTwiddles[2 * static_cast<size_t>(k)] = std::cos(angle);
        mTwiddles[2 * static_cast<size_t>(k) + 1] = -std::sin(angle);
    }
    mTwiddles[static_cast<size_t>(n / 2)] = 0.0; // k = N/4: exactly -j
    mTwiddles[static_cast<size_t>(n / 2) + 1] = -1.0;

    int bits = 0;
    while ((2 << bits) < n)
        ++bits;
    const auto reversed = [bits](int k) {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((k >> b) & 1) << (bits - 1 - b);
        return 2 * r;
    };
    mBins.resize(static_cast<size_t>(n / 4) * 2);
    for (int k = 1; k <= n / 4; ++k)
    {
        mBins[2 * static_cast<size_t>(k - 1)] = reversed(k);
        mBins[2 * static_cast<size_t>(k - 1) + 1] = reversed(n / 2 - k);
    }

    // Window (N/2), the two frames (N each) and the gains (N/2), zeroed.
    mMemory.assign(3 * static_cast<size_t>(n), 0.0);
    mTouched = false;

    mSize = n;
    mWindow = mMemory.data();
    mFrameA = mWindow + n / 2;
    mFrameB = mFrameA + n;
    mGain = mFrameB + n;
    FillRotatorWindowAndGain(mWindow, mGain, n);
    return true;
}

//------------------------------------------------------------------------------
void SpectralRotator::ClearFrames()
{
    // Frames that never took a sample since the last clear are zero still.
    if (!mTouched && mPosition == 0)
        return;
    std::fill(mFrameA, mFrameA + mSize, 0.0);
    std::fill(mFrameB, mFrameB + mSize, 0.0);
    mTouched = false;
}

//------------------------------------------------------------------------------
void SpectralRotator::SetPhase(double cosPhi, double sinPhi)
{
    mCosPhi = cosPhi;
    mSinPhi = sinPhi;
}

//------------------------------------------------------------------------------
void SpectralRotator::FinishBlock()
{
    const int n = mSize;
    const int half = n / 2;
    std::swap(mFrameA, mFrameB);
    mTouched = true;
    double* __restrict z = mFrameA;
    const double* __restrict w = mTwiddles.data();
    const int32_t* __restrict bins = mBins.data();

    mHalfFft.ForwardToBitReversed(z);

    // With A = Z[k], B = Z[N/2-k], E = (A + conj B)/2, O = (A - conj B)/2j
    // (the spectra of the even and odd samples), W = e^(-j2πk/N),
    // P = j·W·O and Q = conj(W)·E, the rotated pair is
    //   Z'[k] = cos φ·A + sin φ·(P - Q),  Z'[N/2-k] = cos φ·B + sin φ·conj(P + Q),
    // and Z'[0] = cos φ·Z[0]. Both factors carry a 2 so that the inverse
    // yields N times the rotated frame, as a real inverse transform would.
    // The loop works on (re, im) pairs in one register, with the same
    // operations in the same order as the scalar formulas above.
    const double c = 2.0 * mCosPhi;
    const double s = 2.0 * mSinPhi;
    z[0] *= c;
    z[1] *= c;
    const __m128d cc = _mm_set1_pd(c);
    const __m128d sConj = _mm_set_pd(-s, s);
    const __m128d ss = _mm_set1_pd(s);
    const __m128d half1 = _mm_set1_pd(0.5);
    const __m128d halfOdd = _mm_set_pd(-0.5, 0.5);
    const __m128d negIm = _mm_set_pd(-0.0, 0.0);
    const __m128d negRe = _mm_set_pd(0.0, -0.0);
    for (int k = 1; k <= half / 2; ++k)
    {
        double* za = z + bins[2 * k - 2]; // bin k
        double* zb = z + bins[2 * k - 1]; // bin N/2 - k
        const __m128d a = _mm_loadu_pd(za);
        const __m128d b = _mm_loadu_pd(zb);
        const __m128d aSwap = _mm_shuffle_pd(a, a, 1);
        const __m128d bSwap = _mm_shuffle_pd(b, b, 1);
        // E = (0.5·(ar + br), 0.5·(ai - bi)), O = (0.5·(ai + bi), -0.5·(ar - br))
        const __m128d e = _mm_mul_pd(half1, _mm_add_pd(a, _mm_xor_pd(b, negIm)));
        const __m128d o = _mm_mul_pd(halfOdd, _mm_add_pd(aSwap, _mm_xor_pd(bSwap, negIm)));
        const __m128d wr = _mm_set1_pd(w[2 * k]);
        const __m128d wi = _mm_set1_pd(w[2 * k + 1]);
        // P = (-(wr·oi + wi·or), wr·or - wi·oi)
        const __m128d p = _mm_xor_pd(_mm_add_pd(_mm_mul_pd(wr, _mm_shuffle_pd(o, o, 1)),
                                                _mm_xor_pd(_mm_mul_pd(wi, o), negIm)), negRe);
        // Q = (wr·er + wi·ei, wr·ei - wi·er)
        const __m128d q = _mm_add_pd(_mm_mul_pd(wr, e), _mm_xor_pd(_mm_mul_pd(wi, _mm_shuffle_pd(e, e, 1)), negIm));
        _mm_storeu_pd(za, _mm_add_pd(_mm_mul_pd(cc, a), _mm_mul_pd(ss, _mm_sub_pd(p, q))));
        _mm_storeu_pd(zb, _mm_add_pd(_mm_mul_pd(cc, b), _mm_mul_pd(sConj, _mm_add_pd(p, q))));
    }
    mHalfFft.InverseFromBitReversed(z);
    mPosition = 0;
}
