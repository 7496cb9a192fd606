#pragma once
// Whole-sample delay of (value, dB level) pairs for the transient detector:
// the level of a value is computed once, when it enters, and travels with
// it, so the delayed windows need no logarithm of their own. Length rules
// and state keeping follow MonoDelay exactly (a length change keeps the
// content and the position; length 0 passes the pair through).
//
// Real-time: the constructor allocates; SetLength and ProcessSample never
// allocate, lock or throw.

#include <cmath>
#include <limits>
#include <vector>

class LevelDelay
{
public:
    // Content starts as silence: value 0, level -infinity (the level of 0).
    explicit LevelDelay(int capacity)
        : mBuffer(2 * static_cast<size_t>(capacity > 0 ? capacity : 1)),
          mCapacity(capacity > 0 ? capacity : 1)
    {
        for (size_t i = 0; i < mBuffer.size(); i += 2)
        {
            mBuffer[i] = 0.0;
            mBuffer[i + 1] = -std::numeric_limits<double>::infinity();
        }
    }

    // Length n when n > 0 (held to the capacity), else 0.
    void SetLength(int n) { mLength = n > 0 ? (n < mCapacity ? n : mCapacity) : 0; }
    int Length() const { return mLength; }

    // Returns the pair stored `length` calls ago and stores the new one.
    void ProcessSample(double& value, double& level)
    {
        if (mLength == 0)
            return;
        if (mPosition >= mLength)
            mPosition = 0;
        double* slot = &mBuffer[2 * static_cast<size_t>(mPosition)];
        const double oldValue = slot[0];
        const double oldLevel = slot[1];
        slot[0] = value;
        slot[1] = level;
        value = oldValue;
        level = oldLevel;
        if (++mPosition >= mLength)
            mPosition = 0;
    }

private:
    std::vector<double> mBuffer;
    int mCapacity;
    int mPosition = 0;
    int mLength = 0;
};
