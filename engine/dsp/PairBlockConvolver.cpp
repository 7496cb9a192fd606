// Overlap-save as in BlockConvolver, on complex windows of 2B points whose
// real and imaginary parts are the two streams. The partition spectra are
// those of the real impulse response, so each bin's product keeps the two
// streams apart after the inverse transform.
//
// Every spectrum (partitions and input windows alike) is kept in the
// bit-reversed bin order the transform produces without its final
// permutation: the products pair bin k of one spectrum only with bin k of
// another, so any order shared by all of them gives the same sums, and the
// inverse transform takes that order back without a permutation either.
#include "engine/dsp/PairBlockConvolver.h"

#include "engine/dsp/CpuWideVectors.h"
#include "engine/dsp/SpectrumProducts.h"
#include "engine/dsp/SpectrumProductsAvx.h"

#include <algorithm>

//------------------------------------------------------------------------------
PairBlockConvolver::PairBlockConvolver()
    : mWide(CpuHasAvx2())
{
}

//------------------------------------------------------------------------------
void PairBlockConvolver::AllowWideVectors(bool allow)
{
    mWide = allow && CpuHasAvx2();
}

//------------------------------------------------------------------------------
bool PairBlockConvolver::SetImpulse(int blockSize, const double* taps, int length)
{
    if (!IsConvolverBlockSize(blockSize) || taps == nullptr || length < 1 || !mFft.SetSize(2 * blockSize))
    {
        mBlock = 0;
        mPartitions = 0;
        return false;
    }
    mBlock = blockSize;
    mPartitions = (length + blockSize - 1) / blockSize;
    const size_t span = 4 * static_cast<size_t>(blockSize); // doubles per spectrum

    // Partition spectra, scaled by 1/(2B) so the inverse transform needs no
    // separate normalisation pass.
    mFilter.assign(span * mPartitions, 0.0);
    const double scale = 1.0 / (2.0 * blockSize);
    for (int p = 0; p < mPartitions; ++p)
    {
        double* h = &mFilter[span * p];
        const int first = p * blockSize;
        const int count = std::min(blockSize, length - first);
        for (int i = 0; i < count; ++i)
            h[2 * i] = taps[first + i] * scale;
        mFft.ForwardToBitReversed(h);
    }
    mSpectra.assign(span * mPartitions, 0.0);
    mWork.assign(span, 0.0);
    mNewest = 0;
    return true;
}

//------------------------------------------------------------------------------
void PairBlockConvolver::Clear()
{
    std::fill(mSpectra.begin(), mSpectra.end(), 0.0);
    mNewest = 0;
}

//------------------------------------------------------------------------------
const double* PairBlockConvolver::ProcessBlock(const double* previous, const double* in)
{
    const int b = mBlock;
    if (b == 0)
        return nullptr;
    const size_t half = 2 * static_cast<size_t>(b); // doubles in B pairs
    const size_t span = 2 * half;

    // Input window: the previous block, then the new one.
    mNewest = mNewest + 1 == mPartitions ? 0 : mNewest + 1;
    double* x = &mSpectra[span * mNewest];
    std::copy(previous, previous + half, x);
    std::copy(in, in + half, x + half);
    mFft.ForwardToBitReversed(x);

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
        if (mWide)
            AccumulateComplexBinsAvx(acc, spectra, filters, parts, 0, 2 * (2 * b), first == 0);
        else
            spectrum::AccumulateComplexBins(acc, spectra, filters, parts, 0, 2 * (2 * b), first == 0);
    }
    mFft.InverseFromBitReversed(acc);
    return acc + half;
}
