// Uniformly partitioned overlap-save convolution. The impulse response is
// cut into P partitions of B taps; each partition's spectrum (FFT size 2B,
// zero-padded) is kept, together with the spectra of the last P input
// windows of 2B samples. One output block is the inverse transform of the
// sum of products, of which the last B samples are the exact linear
// convolution.
#include "engine/dsp/BlockConvolver.h"

#include <algorithm>

namespace {

// acc += x·h on packed real spectra of n points.
void MultiplyAccumulate(double* acc, const double* x, const double* h, int n)
{
    acc[0] += x[0] * h[0]; // DC
    acc[1] += x[1] * h[1]; // Nyquist
    for (int i = 2; i < n; i += 2)
    {
        const double xr = x[i], xi = x[i + 1];
        const double hr = h[i], hi = h[i + 1];
        acc[i] += xr * hr - xi * hi;
        acc[i + 1] += xr * hi + xi * hr;
    }
}

} // namespace

//------------------------------------------------------------------------------
bool BlockConvolver::SetImpulse(int blockSize, const double* taps, int length)
{
    const bool validBlock = blockSize >= 16 && blockSize <= 16384 &&
                            (blockSize & (blockSize - 1)) == 0;
    if (!validBlock || taps == nullptr || length < 1 || !mFft.SetSize(2 * blockSize))
    {
        mBlock = 0;
        mPartitions = 0;
        return false;
    }
    mBlock = blockSize;
    mPartitions = (length + blockSize - 1) / blockSize;
    const size_t span = 2 * static_cast<size_t>(blockSize);

    // Partition spectra, scaled by 1/(2B) so the inverse transform needs no
    // separate normalisation pass.
    mFilter.assign(span * mPartitions, 0.0);
    const double scale = 1.0 / static_cast<double>(span);
    for (int p = 0; p < mPartitions; ++p)
    {
        double* h = &mFilter[span * p];
        const int first = p * blockSize;
        const int count = std::min(blockSize, length - first);
        for (int i = 0; i < count; ++i)
            h[i] = taps[first + i] * scale;
        mFft.Forward(h);
    }
    mSpectra.assign(span * mPartitions, 0.0);
    mInput.assign(span, 0.0);
    mWork.assign(span, 0.0);
    mNewest = 0;
    return true;
}

//------------------------------------------------------------------------------
void BlockConvolver::Clear()
{
    std::fill(mSpectra.begin(), mSpectra.end(), 0.0);
    std::fill(mInput.begin(), mInput.end(), 0.0);
    mNewest = 0;
}

//------------------------------------------------------------------------------
void BlockConvolver::ProcessBlock(const double* in, double* out)
{
    const int b = mBlock;
    if (b == 0)
        return;
    const size_t span = 2 * static_cast<size_t>(b);

    // Input window: the previous block, then the new one.
    std::copy(mInput.begin() + b, mInput.end(), mInput.begin());
    std::copy(in, in + b, mInput.begin() + b);

    mNewest = mNewest + 1 == mPartitions ? 0 : mNewest + 1;
    double* x = &mSpectra[span * mNewest];
    std::copy(mInput.begin(), mInput.end(), x);
    mFft.Forward(x);

    // Sum of products: input spectrum of p blocks ago times partition p.
    double* acc = mWork.data();
    std::fill(mWork.begin(), mWork.end(), 0.0);
    int slot = mNewest;
    for (int p = 0; p < mPartitions; ++p)
    {
        MultiplyAccumulate(acc, &mSpectra[span * slot], &mFilter[span * p], static_cast<int>(span));
        slot = slot == 0 ? mPartitions - 1 : slot - 1;
    }
    mFft.Inverse(acc);
    std::copy(acc + b, acc + span, out);
}
