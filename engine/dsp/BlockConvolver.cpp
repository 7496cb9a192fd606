// Uniformly partitioned overlap-save convolution. The impulse response is
// cut into P partitions of B taps; each partition's spectrum (FFT size 2B,
// zero-padded) is kept, together with the spectra of the last P input
// windows of 2B samples. One output block is the inverse transform of the
// sum of products, of which the last B samples are the exact linear
// convolution.
#include "engine/dsp/BlockConvolver.h"

#include "engine/dsp/SpectrumProducts.h"

#include <algorithm>

namespace {

using namespace spectrum;

// acc (0 when starting) + Σ_p x_p·h_p over packed real spectra of n points
// (DC and Nyquist real in the first pair, then complex bins).
void SumOfProducts(double* acc, const double* const* x, const double* const* h, int parts, int n,
                   bool start)
{
    const Pair zero = {0.0, 0.0};
    Pair sum = start ? zero : Load(acc);
    for (int p = 0; p < parts; ++p)
        sum += Load(x[p]) * Load(h[p]); // DC and Nyquist: real products
    Store(acc, sum);
    AccumulateComplexBins(acc, x, h, parts, 2, n, start);
}

} // namespace

//------------------------------------------------------------------------------
bool BlockConvolver::SetImpulse(int blockSize, const double* taps, int length)
{
    if (!IsConvolverBlockSize(blockSize) || taps == nullptr || length < 1 || !mFft.SetSize(2 * blockSize))
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
    mNewest = mNewest + 1 == mPartitions ? 0 : mNewest + 1;
    double* x = &mSpectra[span * mNewest];
    std::copy(mInput.begin(), mInput.begin() + b, x);
    std::copy(in, in + b, x + b);
    std::copy(in, in + b, mInput.begin());
    mFft.Forward(x);

    // Sum of products: input spectrum of p blocks ago times partition p.
    const double* spectra[kMaxPartitions];
    const double* filters[kMaxPartitions];
    double* acc = mWork.data();
    int slot = mNewest;
    for (int first = 0; first < mPartitions; first += kMaxPartitions)
    {
        const int parts = std::min(kMaxPartitions, mPartitions - first);
        for (int p = 0; p < parts; ++p)
        {
            spectra[p] = &mSpectra[span * slot];
            filters[p] = &mFilter[span * (first + p)];
            slot = slot == 0 ? mPartitions - 1 : slot - 1;
        }
        SumOfProducts(acc, spectra, filters, parts, static_cast<int>(span), first == 0);
    }
    mFft.Inverse(acc);
    std::copy(acc + b, acc + span, out);
}
