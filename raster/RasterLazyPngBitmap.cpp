#include "raster/RasterLazyPngBitmap.h"

#include <new>
#include <utility>

#include "raster/RasterPng.h"
#include "raster/RasterPngHeader.h"

namespace {

std::atomic<uint64_t> gDecodes{0};

}  // namespace

//---
RasterLazyPngBitmap::RasterLazyPngBitmap(const void* data, size_t size, int32_t width, int32_t height)
    : mData(data), mSize(size), mWidth(width), mHeight(height) {}

//---
RasterLazyPngBitmap::~RasterLazyPngBitmap() = default;

//---
RasterBitmap* RasterLazyPngBitmap::Pixels() const {
  const int state = mState.load(std::memory_order_acquire);
  if (state != kPending) {
    return state == kDecoded ? mPixels.get() : nullptr;
  }
  std::lock_guard<std::mutex> lock(mDecodeLock);
  if (mState.load(std::memory_order_relaxed) == kPending) {
    gDecodes.fetch_add(1, std::memory_order_relaxed);
    std::unique_ptr<RasterBitmap> made(DecodePngMemory(mData, mSize, nullptr));
    // The layout was made with the header's size; pixels of any other size
    // would be read out of bounds, so they count as undecodable.
    const bool fits = made != nullptr && made->GetWidth() == mWidth && made->GetHeight() == mHeight &&
                      made->GetBits() != nullptr;
    if (fits) {
      mPixels = std::move(made);
    }
    mState.store(fits ? kDecoded : kFailed, std::memory_order_release);
  }
  return mPixels.get();
}

//---
uint32_t* RasterLazyPngBitmap::GetBits() {
  RasterBitmap* pixels = Pixels();
  return pixels != nullptr ? pixels->GetBits() : nullptr;
}

//---
int32_t RasterLazyPngBitmap::GetWidth() const {
  return mState.load(std::memory_order_acquire) == kFailed ? 0 : mWidth;
}

//---
int32_t RasterLazyPngBitmap::GetHeight() const {
  return mState.load(std::memory_order_acquire) == kFailed ? 0 : mHeight;
}

//---
int32_t RasterLazyPngBitmap::GetRowSpan() const {
  const RasterBitmap* pixels = Pixels();
  return pixels != nullptr ? pixels->GetRowSpan() : 0;
}

//---
bool RasterLazyPngBitmap::Resize(int32_t, int32_t) {
  return false;
}

//---
uint64_t RasterLazyPngBitmap::DecodesSoFar() {
  return gDecodes.load(std::memory_order_relaxed);
}

//---
RasterBitmap* OpenPngMemory(const void* data, size_t size) {
  int32_t width = 0, height = 0;
  if (!ReadPngSize(data, size, &width, &height)) {
    return nullptr;
  }
  return new (std::nothrow) RasterLazyPngBitmap(data, size, width, height);
}
