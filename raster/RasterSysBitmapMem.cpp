// Systems without a drawing context here: the surface is plain memory, with
// the same sizing rules as the Windows DIB section (rows a multiple of four
// pixels, never shrinking).
#include "raster/RasterSysBitmap.h"

#include <cstdlib>

namespace {

constexpr int64_t kMaxBytes = int64_t{0x7fffffff};
constexpr int64_t kMaxWidth = int64_t{0x7fffffff};

}  // namespace

//---
RasterSysBitmap::RasterSysBitmap(int32_t width, int32_t height) {
  Resize(width, height);
}

//---
RasterSysBitmap::~RasterSysBitmap() {
  ReleaseSurface();
}

//---
void RasterSysBitmap::ReleaseSurface() {
  std::free(mSystemBitmap);
  mSystemBitmap = nullptr;
  mPixels = nullptr;
}

//---
bool RasterSysBitmap::Resize(int32_t width, int32_t height) {
  width = width < 0 ? 0 : width;
  height = height < 0 ? 0 : height;
  if (width == mWidth && height == mHeight) {
    return false;
  }
  mWidth = width;
  mHeight = height;
  if (width != 0 && height != 0 && mPixels != nullptr && mAllocWidth >= width &&
      mAllocHeight >= height) {
    return true;  // the surface never shrinks
  }
  // Rounded up in 64 bits: a width near the int32 limit must not wrap.
  const int64_t allocWidth = (int64_t{width} + 3) & ~int64_t{3};
  mAllocWidth = allocWidth <= kMaxWidth ? static_cast<int32_t>(allocWidth) : 0;
  mAllocHeight = height;
  ReleaseSurface();
  if (width == 0 || height == 0) {
    return false;
  }
  const int64_t bytes = int64_t{mAllocWidth} * height * 4;
  void* block = bytes > 0 && bytes <= kMaxBytes ? std::malloc(static_cast<size_t>(bytes) + 63) : nullptr;
  if (block == nullptr) {
    mWidth = 0;
    mHeight = 0;
    mAllocWidth = 0;
    mAllocHeight = 0;
    return true;
  }
  mSystemBitmap = block;
  const uintptr_t aligned = (reinterpret_cast<uintptr_t>(block) + 63) & ~uintptr_t{63};
  mPixels = reinterpret_cast<uint32_t*>(aligned);
  return true;
}
