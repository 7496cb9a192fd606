#pragma once
// Uniformly partitioned FFT convolution of a stream with a fixed impulse
// response. Input arrives in blocks of B samples; each call returns the B
// output samples of the exact linear convolution for the block just given.
//
// Real-time: SetImpulse allocates; Clear and ProcessBlock never allocate,
// lock or throw.

#include "engine/dsp/RealFft.h"

#include <vector>

class BlockConvolver
{
public:
    // Block size B (a power of two, 16 ... 16384) and impulse response of
    // `length` taps; returns false and stays empty for bad arguments.
    bool SetImpulse(int blockSize, const double* taps, int length);
    // Forgets the input history (the impulse response stays).
    void Clear();

    // Convolves B input samples, writes B output samples (in may equal out).
    void ProcessBlock(const double* in, double* out);

    int BlockSize() const { return mBlock; }

private:
    RealFft mFft;
    std::vector<double> mFilter;   // partition spectra, packed, 2B doubles each
    std::vector<double> mSpectra;  // input spectra ring, same layout
    static constexpr int kMaxPartitions = 8; // summed per pass over the bins
    std::vector<double> mInput;    // the last B input samples (2B allocated)
    std::vector<double> mWork;     // 2B doubles
    int mBlock = 0;
    int mPartitions = 0;
    int mNewest = 0;               // ring slot of the newest input spectrum
};
