#include "engine/dsp/StereoDelay.h"

#include <algorithm>

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
    mCapacity = valid ? n : 1;
    mBuffer.assign(2 * static_cast<size_t>(mCapacity), 0.0);
    mLength = valid ? n : 0;
    mPosition = 0;
}

//------------------------------------------------------------------------------
void StereoDelay::SetLength(int n)
{
    mLength = ClampLength(n, kMaxLength, mCapacity);
}

//------------------------------------------------------------------------------
void StereoDelay::Clear()
{
    std::fill(mBuffer.begin(), mBuffer.end(), 0.0);
    mPosition = 0;
}

//------------------------------------------------------------------------------
void MonoDelay::Reallocate(int n)
{
    const bool valid = n > 0 && n <= kMaxCapacity;
    mCapacity = valid ? n : 1;
    mBuffer.assign(static_cast<size_t>(mCapacity), 0.0);
    mLength = valid ? n : 0;
    mPosition = 0;
}

//------------------------------------------------------------------------------
void MonoDelay::SetLength(int n)
{
    mLength = ClampLength(n, kMaxLength, mCapacity);
}

//------------------------------------------------------------------------------
void MonoDelay::Clear()
{
    std::fill(mBuffer.begin(), mBuffer.end(), 0.0);
    mPosition = 0;
}
