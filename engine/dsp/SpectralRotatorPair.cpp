// Half-overlapped Blackman frames of (mid, side) pairs, rotated together in
// the frequency domain. The frames double as the overlap-add buffers, as in
// SpectralRotator: frame A takes the rising half of the current input block
// while its rotated content is read out, frame B the falling half.
#include "engine/dsp/SpectralRotatorPair.h"

#include "engine/dsp/ComplexFftStages.h"
#include "engine/dsp/SpectralRotatorBins.h"
#include "engine/dsp/SpectralRotatorWindow.h"

#include <algorithm>
#include <cmath>
#include <numbers>

//------------------------------------------------------------------------------
SpectralRotatorPair::SpectralRotatorPair(int n)
{
    if (!SetSize(n))
        SetSize(4096);
    mUseAvx = CpuHasAvx2Fma();
}

//------------------------------------------------------------------------------
bool SpectralRotatorPair::SetSize(int n)
{
    if (n < kMinSize || n > kMaxSize || (n & (n - 1)) != 0)
        return false;
    if (n == mSize)
    {
        // The tables depend on N alone: only the buffered audio goes.
        ClearFrames();
        return true;
    }
    if (!mFft.SetSize(n))
        return false;

    // Window (N/2), the two frames (2N each) and the gains (N/2), zeroed.
    mMemory.assign(5 * static_cast<size_t>(n), 0.0);
    mTouched = false;

    mSize = n;
    mWindow = mMemory.data();
    mFrameA = mWindow + n / 2;
    mFrameB = mFrameA + 2 * n;
    mGain = mFrameB + 2 * n;
    FillRotatorWindowAndGain(mWindow, mGain, n);
    return true;
}

//------------------------------------------------------------------------------
void SpectralRotatorPair::ClearFrames()
{
    // Frames that never took a sample since the last clear are zero still.
    if (!mTouched && mPosition == 0)
        return;
    std::fill(mFrameA, mFrameA + 2 * mSize, 0.0);
    std::fill(mFrameB, mFrameB + 2 * mSize, 0.0);
    mTouched = false;
}

//------------------------------------------------------------------------------
void SpectralRotatorPair::SetPhase(double cosPhi, double sinPhi)
{
    mCosPhi = cosPhi;
    mSinPhi = sinPhi;
}

//------------------------------------------------------------------------------
void SpectralRotatorPair::AllowWideVectors(bool allow)
{
    mFft.AllowWideVectors(allow);
    mUseAvx = allow && CpuHasAvx2Fma();
}

//------------------------------------------------------------------------------
void SpectralRotatorPair::FinishBlock()
{
    const int n = mSize;
    std::swap(mFrameA, mFrameB);
    mTouched = true;
    double* z = mFrameA;

    mFft.ForwardToBitReversed(z);

    if (mUseAvx)
        RotateBitReversedBinsAvx(z, n, mCosPhi, mSinPhi);
    else
        RotateBitReversedBinsSse(z, n, mCosPhi, mSinPhi);

    mFft.InverseFromBitReversed(z);
    mPosition = 0;
}

//------------------------------------------------------------------------------
void RotateBitReversedBinsSse(double* z, int n, double c, double s)
{
    // v·c + swap(v)·(-s, s) turns by e^(jφ), v·c + swap(v)·(s, -s) by e^(-jφ).
    const __m128d cc = _mm_set1_pd(c);
    const __m128d up = _mm_set_pd(s, -s);
    const __m128d down = _mm_set_pd(-s, s);
    _mm_storeu_pd(z, _mm_mul_pd(_mm_loadu_pd(z), cc));
    _mm_storeu_pd(z + 2, _mm_mul_pd(_mm_loadu_pd(z + 2), cc));
    for (int i = 4; i < 2 * n; i += 4)
    {
        const __m128d even = _mm_loadu_pd(z + i);
        const __m128d odd = _mm_loadu_pd(z + i + 2);
        _mm_storeu_pd(z + i, _mm_add_pd(_mm_mul_pd(even, cc), _mm_mul_pd(_mm_shuffle_pd(even, even, 1), up)));
        _mm_storeu_pd(z + i + 2, _mm_add_pd(_mm_mul_pd(odd, cc), _mm_mul_pd(_mm_shuffle_pd(odd, odd, 1), down)));
    }
}
