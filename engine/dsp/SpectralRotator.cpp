// Half-overlapped Blackman frames, rotated in the frequency domain.
//
// A frame holds x·(1 + j); after rotation the output is half the sum of the
// real and imaginary parts, which equals the real inverse transform of the
// real spectrum with the bins 1 ... N/2-1 turned by φ and DC and Nyquist
// scaled by cos φ. So the block work runs as one real transform pair of N
// points (one complex FFT of N/2 points each way) on the real parts; the
// result is written back as (v, v) so the frame holds what the complex form
// would hold, up to an imaginary part that the output sum cancels.
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
    for (int i = 0; i < n / 2; ++i)
    {
        const double t = 2.0 * std::numbers::pi * i / n;
        mWindow[i] = 0.42 - 0.5 * std::cos(t) + 0.08 * std::cos(2.0 * t);
    }
    return true;
}

//------------------------------------------------------------------------------
void SpectralRotator::SetPhase(double cosPhi, double sinPhi)
{
    mCosPhi = cosPhi;
    mSinPhi = sinPhi;
}

//------------------------------------------------------------------------------
void SpectralRotator::ProcessSample(double& x)
{
    const int n = mSize;
    if (mPosition >= n)
        FinishBlock();

    const int k = mPosition >> 1;
    const int half = n >> 1;
    const double rise = mWindow[k];
    const double fall = mWindow[half - 1 - k];
    double* a = mFrameA + 2 * k;
    double* b = mFrameB + 2 * (half + k);

    const double out = 0.5 * (a[0] + a[1] + b[0] + b[1]) / (n * (rise + fall));
    a[0] = a[1] = rise * x;
    b[0] = b[1] = fall * x;
    mPosition += 2;
    x = out;
}

//------------------------------------------------------------------------------
void SpectralRotator::FinishBlock()
{
    const int n = mSize;
    std::swap(mFrameA, mFrameB);

    // Real parts of the complete frame, transformed as n real points.
    for (int i = 0; i < n; ++i)
        mScratch[i] = mFrameA[2 * i];
    mFft.Forward(mScratch);

    // Bins 1 ... N/2-1 times (cos φ + j sin φ); their mirror images take the
    // conjugate factor implicitly. DC and Nyquist get the real part only.
    const double c = mCosPhi;
    const double s = mSinPhi;
    mScratch[0] *= c;
    mScratch[1] *= c;
    for (int k = 1; k < n / 2; ++k)
    {
        const double re = mScratch[2 * k];
        const double im = mScratch[2 * k + 1];
        mScratch[2 * k] = re * c - im * s;
        mScratch[2 * k + 1] = re * s + im * c;
    }
    mFft.Inverse(mScratch);

    for (int i = 0; i < n; ++i)
        mFrameA[2 * i] = mFrameA[2 * i + 1] = mScratch[i];
    mPosition = 0;
}
