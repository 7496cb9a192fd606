#pragma once
// Uniformly partitioned FFT convolution of two streams with one fixed
// impulse response. The two real streams travel as one complex signal
// x + j·y: the impulse response is real, so the real part of the complex
// result is x convolved with it and the imaginary part y convolved with it.
// One complex transform each way serves both streams and needs none of the
// split passes of a real transform. Each call returns, for both streams,
// the B output samples of the exact linear convolution for the block just
// given.
//
// Real-time: SetImpulse allocates; Clear and ProcessBlock never allocate,
// lock or throw.

#include "engine/dsp/ComplexFft.h"

#include <vector>

class PairBlockConvolver
{
public:
    PairBlockConvolver();

    // Block size B (a power of two, 16 ... 16384) and impulse response of
    // `length` taps; returns false and stays empty for bad arguments.
    bool SetImpulse(int blockSize, const double* taps, int length);
    // Forgets the input history (the impulse response stays); the caller
    // forgets its previous block.
    void Clear();

    // Convolves B new input pairs (x, y), interleaved, given together with
    // the B pairs of the previous call (zeros at first or after Clear), and
    // returns the B output pairs, valid until the next call.
    const double* ProcessBlock(const double* previous, const double* in);

    int BlockSize() const { return mBlock; }

    // Lets the products use AVX where present (the default; the sums are
    // the same) or keeps them to SSE2, for tests that compare the two.
    void AllowWideVectors(bool allow);

private:
    ComplexFft mFft;               // 2B points
    std::vector<double> mFilter;   // partition spectra, 2B complex bins each, bit-reversed order
    std::vector<double> mSpectra;  // input spectra ring, same layout
    static constexpr int kMaxPartitions = 8; // summed per pass over the bins
    std::vector<double> mWork;     // 2B complex values
    int mBlock = 0;
    int mPartitions = 0;
    int mNewest = 0;               // ring slot of the newest input spectrum
    bool mWide = false;            // AVX products
};
