#pragma once
// Two "Clear" oversampling filters with the same table, for a mid and a side
// signal that always advance together. Each output is the exact FIR
// convolution of its own input, delayed by exactly one block (512 samples),
// as with ResampleBlockFir; the pair shares one complex transform per block.
//
// Real-time: the constructor allocates for 512-sample blocks and the
// longest table; Configure with that block size, ProcessPair and PushPair
// never allocate, lock or throw. Another block size allocates in Configure.

#include "engine/dsp/PairBlockConvolver.h"

#include <cstddef>
#include <vector>

class ResampleBlockFirPair
{
public:
    static constexpr int kBlockSize = 512;

    ResampleBlockFirPair();
    // Holds pointers into its own buffers, so it is not copied.
    ResampleBlockFirPair(const ResampleBlockFirPair&) = delete;
    ResampleBlockFirPair& operator=(const ResampleBlockFirPair&) = delete;

    // Clears the blocks, chooses the table for the rate and F and loads it.
    // Returns false (the filters then output silence) when the block size
    // is not a power of two within 16 ... 16384.
    bool Configure(int blockSize, int rate, int factor);

    // Stores m and s and replaces them with the outputs of this sample.
    void ProcessPair(double& m, double& s)
    {
        if (mFill == mBlock)
        {
            if (mBlock == 0)
            {
                m = s = 0.0;
                return;
            }
            NextBlock();
        }
        const std::size_t i = 2 * static_cast<std::size_t>(mFill++);
        mIn[i] = m;
        mIn[i + 1] = s;
        m = mOut[i];
        s = mOut[i + 1];
    }
    // Stores m and s only; the same work as ProcessPair.
    void PushPair(double m, double s) { ProcessPair(m, s); }

    int Length() const { return mLength; }
    int Factor() const { return mFactor; }
    // See PairBlockConvolver::AllowWideVectors.
    void AllowWideVectors(bool allow) { mEngine.AllowWideVectors(allow); }

private:
    void NextBlock(); // convolves the full input block, starts a new one

    PairBlockConvolver mEngine;
    // (m, s) pairs: two input blocks used in turn, so that the previous one
    // needs no copy; the output is read where the convolver left it.
    std::vector<double> mInputs;
    std::vector<double> mSilence;
    double* mIn = nullptr;
    const double* mOut = nullptr;
    int mBlock = 0;
    int mFill = 0;
    int mLength = 0;
    int mFactor = 1;
};
