#include "engine/dsp/StereoDelay.h"

#include <algorithm>
#include <cstring>

namespace {

// Length rule shared by both delays: n when 0 < n <= limit, else 0, and
// never beyond the buffer, so a careless caller cannot write past it.
int ClampLength(int n, int limit, int capacity)
{
    if (n <= 0 || n > limit)
        return 0;
    return std::min(n, capacity);
}

} // namespace

//------------------------------------------------------------------------------
void StereoDelay::Reallocate(int n)
{
    const bool valid = n > 0 && n <= kMaxCapacity;
    mBuffer = ZeroedBuffer(2 * static_cast<size_t>(valid ? n : 1));
    mCapacity = valid ? n : 1;
    mLength = valid ? n : 0;
    mPosition = 0;
    mTouched = mLength;
}

//------------------------------------------------------------------------------
void StereoDelay::SetLength(int n)
{
    mLength = ClampLength(n, kMaxLength, mCapacity);
    mTouched = std::max(mTouched, mLength);
}

//------------------------------------------------------------------------------
void StereoDelay::Clear()
{
    // Beyond the longest length used since the last clear it is still zero.
    std::memset(mBuffer.data(), 0, 2 * static_cast<size_t>(mTouched) * sizeof(double));
    mTouched = mLength;
    mPosition = 0;
}

//------------------------------------------------------------------------------
void MonoDelay::Reallocate(int n)
{
    const bool valid = n > 0 && n <= kMaxCapacity;
    mBuffer = ZeroedBuffer(static_cast<size_t>(valid ? n : 1));
    mCapacity = valid ? n : 1;
    mLength = valid ? n : 0;
    mPosition = 0;
    mTouched = mLength;
}

//------------------------------------------------------------------------------
void MonoDelay::SetLength(int n)
{
    mLength = ClampLength(n, kMaxLength, mCapacity);
    mTouched = std::max(mTouched, mLength);
}

//------------------------------------------------------------------------------
void MonoDelay::Clear()
{
    std::memset(mBuffer.data(), 0, static_cast<size_t>(mTouched) * sizeof(double));
    mTouched = mLength;
    mPosition = 0;
}
