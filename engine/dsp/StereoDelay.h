#pragma once
// Whole-sample delay lines: StereoDelay for a pair of values, MonoDelay for
// one. A length of 0 passes the input through unchanged.
//
// The buffer starts zeroed without being written (ZeroedBuffer) and is
// written only as far as the lengths in use reach, so a large capacity costs
// neither time nor memory until it is used; Clear zeroes only that part.
//
// Real-time: Reallocate allocates; SetLength, Clear and ProcessSample never
// allocate, lock or throw.

#include "engine/dsp/ZeroedBuffer.h"

#include <emmintrin.h>

class StereoDelay
{
public:
    static constexpr int kMaxCapacity = 3999999;
    static constexpr int kMaxLength = 399999;

    // A delay of n pairs' capacity whose length is n (see Reallocate).
    explicit StereoDelay(int n = 100) { Reallocate(n); }

    // Capacity and length n (zeroed) when 0 < n <= kMaxCapacity, else a
    // length of 0 with a buffer of one pair.
    void Reallocate(int n);
    // Length n when 0 < n <= kMaxLength, else 0; held to the capacity.
    // Keeps the content.
    void SetLength(int n);
    void Clear();

    int Length() const { return mLength; }
    int Capacity() const { return mCapacity; }

    // Returns the pair stored `length` calls ago and stores the new one.
    void ProcessSample(double& a, double& b)
    {
        if (mLength == 0)
            return;
        if (mPosition >= mLength)
            mPosition = 0;
        double* slot = mBuffer.data() + 2 * static_cast<std::size_t>(mPosition);
        const double oldA = slot[0];
        const double oldB = slot[1];
        slot[0] = a;
        slot[1] = b;
        a = oldA;
        b = oldB;
        if (++mPosition >= mLength)
            mPosition = 0;
    }
    // The same for a pair held as the two lanes of a vector (a in lane 0).
    void ProcessPair(__m128d& v)
    {
        if (mLength == 0)
            return;
        if (mPosition >= mLength)
            mPosition = 0;
        double* slot = mBuffer.data() + 2 * static_cast<std::size_t>(mPosition);
        const __m128d old = _mm_loadu_pd(slot);
        _mm_storeu_pd(slot, v);
        v = old;
        if (++mPosition >= mLength)
            mPosition = 0;
    }

private:
    ZeroedBuffer mBuffer;
    int mCapacity = 0;
    int mPosition = 0;
    int mLength = 0;
    int mTouched = 0; // entries that may be non-zero: the longest length since the last clear
};

class MonoDelay
{
public:
    static constexpr int kMaxCapacity = StereoDelay::kMaxCapacity;
    static constexpr int kMaxLength = StereoDelay::kMaxLength;

    explicit MonoDelay(int n = 100) { Reallocate(n); }

    void Reallocate(int n);
    void SetLength(int n);
    void Clear();

    int Length() const { return mLength; }
    int Capacity() const { return mCapacity; }

    void ProcessSample(double& x)
    {
        if (mLength == 0)
            return;
        if (mPosition >= mLength)
            mPosition = 0;
        double& slot = mBuffer.data()[mPosition];
        const double old = slot;
        slot = x;
        x = old;
        if (++mPosition >= mLength)
            mPosition = 0;
    }

private:
    ZeroedBuffer mBuffer;
    int mCapacity = 0;
    int mPosition = 0;
    int mLength = 0;
    int mTouched = 0; // entries that may be non-zero: the longest length since the last clear
};
