#pragma once
// "Clear" oversampling filter by block convolution (base rates up to
// 50000 Hz, tables of up to 1774 taps). The output is the exact FIR
// convolution of the input, delayed by exactly one block (512 samples).
//
// Real-time: the constructor allocates for 512-sample blocks and the
// longest table; Configure with that block size, ProcessSample and Push
// never allocate, lock or throw. Another block size allocates in Configure.

#include "engine/dsp/BlockConvolver.h"

#include <cstddef>
#include <vector>

class ResampleBlockFir
{
public:
    static constexpr int kBlockSize = 512;

    ResampleBlockFir();

    // Clears the blocks, chooses the table for the rate and F and loads it.
    // Returns false (the filter then outputs silence) when the block size
    // is not a power of two within 16 ... 16384.
    bool Configure(int blockSize, int rate, int factor);

    // Stores x and returns the output of this sample.
    double ProcessSample(double x)
    {
        if (mFill == mBlock)
        {
            if (mBlock == 0)
                return 0.0;
            NextBlock();
        }
        mIn[static_cast<std::size_t>(mFill)] = x;
        return mOut[static_cast<std::size_t>(mFill++)];
    }
    // Stores x only; the same work as ProcessSample.
    void Push(double x) { ProcessSample(x); }

    int Length() const { return mLength; }
    int Factor() const { return mFactor; }

private:
    void NextBlock(); // convolves the full input block, starts a new one

    BlockConvolver mEngine;
    std::vector<double> mIn;
    std::vector<double> mOut;
    int mBlock = 0;
    int mFill = 0;
    int mLength = 0;
    int mFactor = 1;
};
