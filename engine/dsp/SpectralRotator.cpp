// Half-overlapped Blackman frames, rotated in the frequency domain.
//
// A frame holds x·(1 + j); after rotation the output is half the sum of the
// real and imaginary parts, which equals the real inverse transform of the
// real spectrum with the bins 1 ... N/2-1 turned by φ and DC and Nyquist
// scaled by cos φ. So the block work runs as one real transform pair of N
// points (one complex FFT of N/2 points each way) on the real parts; the
// result is written back as (v, v) so the frame holds what the complex form
// would hold, up to an imaginary part that the output sum cancels. The real
// transform needs only half of the scratch array; the other half keeps the
// per-position output gains.
#include "engine/dsp/SpectralRotator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

//------------------------------------------------------------------------------
SpectralRotator::SpectralRotator()
{
    SetSize(4096);
}

//------------------------------------------------------------------------------
bool SpectralRotator::SetSize(int n)
{
    if (n < kMinSize || n > kMaxSize || (n & (n - 1)) != 0)
        return false;
    if (!mFft.SetSize(n))
        return false;

    const size_t total = static_cast<size_t>(n) / 2 + 6 * static_cast<size_t>(n);
    if (n != mSize)
        mMemory.assign(total, 0.0);
    else
        std::fill(mMemory.begin(), mMemory.end(), 0.0);

    mSize = n;
    mWindow = mMemory.data();
    mFrameA = mWindow + n / 2;
    mFrameB = mFrameA + 2 * n;
    mScratch = mFrameB + 2 * n;
    mGain = mScratch + n;
    for (int i = 0; i < n / 2; ++i)
    {
        const double t = 2.0 * std::numbers::pi * i / n;
        mWindow[i] = 0.42 - 0.5 * std::cos(t) + 0.08 * std::cos(2.0 * t);
    }
    for (int i = 0; i < n / 2; ++i)
        mGain[i] = 0.5 / (n * (mWindow[i] + mWindow[n / 2 - 1 - i]));
    return true;
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
    std::swap(mFrameA, mFrameB);
    double* __restrict frame = mFrameA;
    double* __restrict work = mScratch;

    // Real parts of the complete frame, transformed as n real points.
    for (int i = 0; i < n; ++i)
        work[i] = frame[2 * i];
    mFft.Forward(work);

    // Bins 1 ... N/2-1 times (cos φ + j sin φ); their mirror images take the
    // conjugate factor implicitly. DC and Nyquist get the real part only.
    const double c = mCosPhi;
    const double s = mSinPhi;
    work[0] *= c;
    work[1] *= c;
    for (int k = 2; k < n; k += 2)
    {
        const double re = work[k];
        const double im = work[k + 1];
        work[k] = re * c - im * s;
        work[k + 1] = re * s + im * c;
    }
    mFft.Inverse(work);

    for (int i = 0; i < n; ++i)
        frame[2 * i] = frame[2 * i + 1] = work[i];
    mPosition = 0;
}
