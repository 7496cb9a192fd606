#include "framework/StateChunk.h"

#include "framework/GrowthRule.h"

#include <cstring>
#include <limits>

//------------------------------------------------------------------------
StateChunk::StateChunk(const StateChunk& other)
{
    *this = other;
}

//------------------------------------------------------------------------
StateChunk& StateChunk::operator=(const StateChunk& other)
{
    if (this != &other) {
        SetByteCount(other.mSize);
        if (other.mSize > 0)
            std::memcpy(mBytes.get(), other.mBytes.get(), static_cast<std::size_t>(other.mSize));
    }
    return *this;
}

//------------------------------------------------------------------------
void StateChunk::Reserve(std::size_t n)
{
    if (n <= mCapacity)
        return;
    std::size_t capacity = fx::GrownCapacity(n, kGrowthStep);
    auto bytes = std::make_unique<std::uint8_t[]>(capacity);
    if (mSize > 0)
        std::memcpy(bytes.get(), mBytes.get(), static_cast<std::size_t>(mSize));
    mBytes = std::move(bytes);
    mCapacity = capacity;
}

//------------------------------------------------------------------------
void StateChunk::SetByteCount(int n)
{
    if (n < 0)
        n = 0;
    auto wanted = static_cast<std::size_t>(n);
    if (wanted > mCapacity) {
        Reserve(wanted);
    } else if (fx::ShouldShrink(wanted, mCapacity, kGrowthStep)) {
        auto bytes = std::make_unique<std::uint8_t[]>(wanted ? wanted : 1);
        if (wanted > 0)
            std::memcpy(bytes.get(), mBytes.get(), wanted);
        mBytes = std::move(bytes);
        mCapacity = wanted;
    }
    if (n > mSize)
        std::memset(mBytes.get() + mSize, 0, static_cast<std::size_t>(n - mSize));
    mSize = n;
}

//------------------------------------------------------------------------
int StateChunk::AppendBytes(const void* data, int n)
{
    if (n <= 0 || data == nullptr)
        return mSize;
    if (n > std::numeric_limits<int>::max() - mSize)
        return mSize;
    int at = mSize;
    Reserve(static_cast<std::size_t>(mSize) + static_cast<std::size_t>(n));
    std::memcpy(mBytes.get() + at, data, static_cast<std::size_t>(n));
    mSize += n;
    return mSize;
}

//------------------------------------------------------------------------
int StateChunk::AppendText(const char* text)
{
    std::size_t length = text ? std::strlen(text) : 0;
    if (length > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2))
        length = 0;
    auto n = static_cast<std::int32_t>(length);
    Append(n);
    return AppendBytes(text, n);
}

//------------------------------------------------------------------------
int StateChunk::ReadAt(void* out, int n, int startPos) const
{
    if (startPos < 0 || n < 0 || n > mSize || startPos > mSize - n)
        return -1;
    if (n > 0)
        std::memcpy(out, mBytes.get() + startPos, static_cast<std::size_t>(n));
    return startPos + n;
}

//------------------------------------------------------------------------
int StateChunk::ReadTextAt(char* out, int outSize, int startPos) const
{
    std::int32_t length = 0;
    int pos = Read(&length, startPos);
    if (pos < 0)
        return -1;
    if (length <= 0)
        return pos;
    if (length > mSize - pos) {
        // The claimed text runs past the end: skip it so the next read fails,
        // saturating rather than overflowing the position.
        long long past = static_cast<long long>(pos) + length;
        return past > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                      : static_cast<int>(past);
    }
    if (out != nullptr && outSize > 0) {
        int copied = length < outSize - 1 ? length : outSize - 1;
        std::memcpy(out, mBytes.get() + pos, static_cast<std::size_t>(copied));
        out[copied] = '\0';
    }
    return pos + length;
}
