#pragma once
// A block of doubles that starts zeroed without being written. Large blocks
// come straight from the system as fresh pages, which are zero and cost
// nothing until first touched; small ones from calloc. So a buffer sized
// for the worst case costs time and memory only for the part in use.
//
// Real-time: construction allocates and may throw std::bad_alloc; access
// never allocates. Pages of a large block are mapped on first touch.
#include <cstddef>

class ZeroedBuffer
{
public:
    ZeroedBuffer() = default;
    explicit ZeroedBuffer(std::size_t count);
    ~ZeroedBuffer();
    ZeroedBuffer(ZeroedBuffer&& other) noexcept;
    ZeroedBuffer& operator=(ZeroedBuffer&& other) noexcept;
    ZeroedBuffer(const ZeroedBuffer&) = delete;
    ZeroedBuffer& operator=(const ZeroedBuffer&) = delete;

    double* data() { return mData; }
    const double* data() const { return mData; }
    std::size_t size() const { return mCount; }
    double& operator[](std::size_t i) { return mData[i]; }
    const double& operator[](std::size_t i) const { return mData[i]; }

    // Blocks of at least this many bytes are taken from the system directly.
    static constexpr std::size_t kSystemBytes = 256 * 1024;

private:
    void Release();

    double* mData = nullptr;
    std::size_t mCount = 0;
    bool mFromSystem = false;
};
