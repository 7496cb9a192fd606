#include "raster/RasterMemBitmap.h"

#include <cstdlib>

namespace {

// Largest pixel store, chosen so that growth by a quarter still fits the
// 32-bit allocated-size field.
constexpr int64_t kMaxBytes = int64_t{0x7fffffff} / 5 * 4;

int32_t AlignmentMask(int32_t rowAlignment) {
  if (rowAlignment < 2) {
    return 0;
  }
  const int32_t lowest = rowAlignment & -rowAlignment;
  return lowest > 16 ? 15 : lowest - 1;
}

}  // namespace

//---
RasterMemBitmap::RasterMemBitmap(int32_t width, int32_t height, int32_t rowAlignment)
    : mMask(AlignmentMask(rowAlignment)) {
  if (width != 0 || height != 0) {
    Resize(width, height);
  }
}

//---
RasterMemBitmap::~RasterMemBitmap() {
  std::free(mStorage);
}

//---
uint32_t* RasterMemBitmap::GetBits() {
  if (mStorage == nullptr) {
    return nullptr;
  }
  const uintptr_t p = (reinterpret_cast<uintptr_t>(mStorage) + 63) & ~uintptr_t{63};
  return reinterpret_cast<uint32_t*>(p);
}

//---
bool RasterMemBitmap::Resize(int32_t width, int32_t height) {
  if (width == mWidth && height == mHeight) {
    return false;
  }
  // Negative sizes are treated as empty rather than multiplied into a size.
  mWidth = width < 0 ? 0 : width;
  mHeight = height < 0 ? 0 : height;
  // The span in 64 bits: widths near the int32 limit must not wrap when rounded up.
  const int64_t span = (int64_t{mWidth} + mMask) & ~int64_t{mMask};
  const int64_t size = int64_t{mHeight} * span * 4;
  if (size > kMaxBytes) {
    std::free(mStorage);
    mStorage = nullptr;
    mAllocated = 0;
  } else if (size > 0) {
    if (mStorage == nullptr) {
      mStorage = std::malloc(static_cast<size_t>(size) + 63);
      mAllocated = mStorage != nullptr ? static_cast<int32_t>(size) : 0;
    } else if (mAllocated < size) {
      const int64_t grown = size / 4 * 5;
      void* moved = std::realloc(mStorage, static_cast<size_t>(grown) + 63);
      if (moved != nullptr) {
        mStorage = moved;
        mAllocated = static_cast<int32_t>(grown);
      } else {
        std::free(mStorage);
        mStorage = std::malloc(static_cast<size_t>(size) + 63);
        mAllocated = mStorage != nullptr ? static_cast<int32_t>(size) : 0;
      }
    }
  } else {
    std::free(mStorage);
    mStorage = nullptr;
    mAllocated = 0;
  }
  if (mStorage == nullptr) {
    mWidth = 0;
    mHeight = 0;
  }
  return true;
}
