// Uniformly partitioned overlap-save convolution. The impulse response is
// cut into P partitions of B taps; each partition's spectrum (FFT size 2B,
// zero-padded) is kept, together with the spectra of the last P input
// windows of 2B samples. One output block is the inverse transform of the
// sum of products, of which the last B samples are the exact linear
// convolution.
//
// The real transforms are the usual split over a complex transform of B
// points, but that transform skips its bit-reversal permutation: bin k of
// every spectrum sits at position bitreverse(k), found through a table by
// the split passes, which pair bin k with bin B-k. The products pair each
// position only with the same position of another spectrum, so they work
// unchanged on that order, and the inverse complex transform takes it back.
// DC and Nyquist share position 0, as in the natural packed layout.
#include "engine/dsp/BlockConvolver.h"

#include "engine/dsp/SpectrumProducts.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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
    if (!IsConvolverBlockSize(blockSize) || taps == nullptr || length < 1 || !mHalf.SetSize(blockSize))
    {
        mBlock = 0;
        mPartitions = 0;
        return false;
    }
    mBlock = blockSize;

    // Split-pass twiddles for 2B real points, and where each bin sits.
    const int n = 2 * blockSize;
    mTwiddles.resize(static_cast<size_t>(blockSize / 2 + 1) * 2);
    for (int k = 0; k <= blockSize / 2; ++k)
    {
        const double angle = 2.0 * std::numbers::pi * k / n;
        mTwiddles[2 * static_cast<size_t>(k)] = std::cos(angle);
        mTwiddles[2 * static_cast<size_t>(k) + 1] = -std::sin(angle);
    }
    mTwiddles[static_cast<size_t>(blockSize)] = 0.0; // k = B/2: exactly -j, the middle bin stays exact
    mTwiddles[static_cast<size_t>(blockSize) + 1] = -1.0;
    int bits = 0;
    while ((1 << bits) < blockSize)
        ++bits;
    mSlot.resize(static_cast<size_t>(blockSize));
    for (int k = 0; k < blockSize; ++k)
    {
        int r = 0;
        for (int b = 0; b < bits; ++b)
            r |= ((k >> b) & 1) << (bits - 1 - b);
        mSlot[static_cast<size_t>(k)] = r;
    }

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
        ForwardReal(h);
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
    ForwardReal(x);

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
    InverseReal(acc);
    std::copy(acc + b, acc + span, out);
}

//------------------------------------------------------------------------------
void BlockConvolver::ForwardReal(double* data) const
{
    const int half = mBlock;
    mHalf.ForwardToBitReversed(data);

    const double z0r = data[0];
    const double z0i = data[1];
    data[0] = z0r + z0i; // DC
    data[1] = z0r - z0i; // Nyquist

    for (int k = 1; k <= half / 2; ++k)
    {
        const size_t a = 2 * static_cast<size_t>(mSlot[static_cast<size_t>(k)]);
        const size_t m = 2 * static_cast<size_t>(mSlot[static_cast<size_t>(half - k)]);
        const double ar = data[a], ai = data[a + 1];
        const double br = data[m], bi = data[m + 1];
        // E = (Z[k] + conj Z[B-k]) / 2, O = (Z[k] - conj Z[B-k]) / 2j
        const double er = 0.5 * (ar + br), ei = 0.5 * (ai - bi);
        const double or_ = 0.5 * (ai + bi), oi = -0.5 * (ar - br);
        const double wr = mTwiddles[2 * static_cast<size_t>(k)], wi = mTwiddles[2 * static_cast<size_t>(k) + 1];
        const double tr = wr * or_ - wi * oi;
        const double ti = wr * oi + wi * or_;
        // X[k] = E + W^k·O, X[B-k] = conj(E - W^k·O)
        data[a] = er + tr;
        data[a + 1] = ei + ti;
        data[m] = er - tr;
        data[m + 1] = ti - ei;
    }
}

//------------------------------------------------------------------------------
void BlockConvolver::InverseReal(double* data) const
{
    const int half = mBlock;
    const double dc = data[0];
    const double nyquist = data[1];
    data[0] = dc + nyquist;
    data[1] = dc - nyquist;

    for (int k = 1; k <= half / 2; ++k)
    {
        const size_t a = 2 * static_cast<size_t>(mSlot[static_cast<size_t>(k)]);
        const size_t m = 2 * static_cast<size_t>(mSlot[static_cast<size_t>(half - k)]);
        const double ar = data[a], ai = data[a + 1];
        const double br = data[m], bi = data[m + 1];
        // E = X[k] + conj X[B-k], O = (X[k] - conj X[B-k])·conj(W^k)
        const double er = ar + br, ei = ai - bi;
        const double dr = ar - br, di = ai + bi;
        const double wr = mTwiddles[2 * static_cast<size_t>(k)], wi = -mTwiddles[2 * static_cast<size_t>(k) + 1];
        const double or_ = dr * wr - di * wi;
        const double oi = dr * wi + di * wr;
        // Z[k] = E + j·O, Z[B-k] = conj E + j·conj O
        data[a] = er - oi;
        data[a + 1] = ei + or_;
        data[m] = er + oi;
        data[m + 1] = or_ - ei;
    }
    mHalf.InverseFromBitReversed(data);
}
