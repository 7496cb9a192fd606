#include "engine/dsp/ZeroedBuffer.h"

#include <cstdlib>
#include <new>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace {

// Fresh zeroed pages, or null.
void* MapZeroed(std::size_t bytes)
{
#ifdef _WIN32
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
#endif
}

void Unmap(void* p, std::size_t bytes)
{
#ifdef _WIN32
    (void)bytes;
    VirtualFree(p, 0, MEM_RELEASE);
#else
    munmap(p, bytes);
#endif
}

} // namespace

//------------------------------------------------------------------------------
ZeroedBuffer::ZeroedBuffer(std::size_t count)
{
    if (count == 0)
        return;
    if (count > static_cast<std::size_t>(-1) / sizeof(double))
        throw std::bad_alloc();
    const std::size_t bytes = count * sizeof(double);
    void* p = nullptr;
    if (bytes >= kSystemBytes) {
        p = MapZeroed(bytes);
        mFromSystem = p != nullptr;
    }
    if (p == nullptr)
        p = std::calloc(count, sizeof(double));
    if (p == nullptr)
        throw std::bad_alloc();
    mData = static_cast<double*>(p);
    mCount = count;
}

//------------------------------------------------------------------------------
ZeroedBuffer::~ZeroedBuffer()
{
    Release();
}

//------------------------------------------------------------------------------
ZeroedBuffer::ZeroedBuffer(ZeroedBuffer&& other) noexcept
    : mData(std::exchange(other.mData, nullptr))
    , mCount(std::exchange(other.mCount, 0))
    , mFromSystem(std::exchange(other.mFromSystem, false))
{
}

//------------------------------------------------------------------------------
ZeroedBuffer& ZeroedBuffer::operator=(ZeroedBuffer&& other) noexcept
{
    if (this != &other) {
        Release();
        mData = std::exchange(other.mData, nullptr);
        mCount = std::exchange(other.mCount, 0);
        mFromSystem = std::exchange(other.mFromSystem, false);
    }
    return *this;
}

//------------------------------------------------------------------------------
void ZeroedBuffer::Release()
{
    if (mData == nullptr)
        return;
    if (mFromSystem)
        Unmap(mData, mCount * sizeof(double));
    else
        std::free(mData);
    mData = nullptr;
    mCount = 0;
    mFromSystem = false;
}
