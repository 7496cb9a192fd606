// A bitmap in plain memory: pixels 64-byte aligned, rows a multiple of the
// requested alignment apart. Storage grows by a quarter more than asked and
// never shrinks; a failed allocation leaves a 0 x 0 bitmap without pixels.
#pragma once

#include "raster/RasterBitmap.h"

class RasterMemBitmap : public RasterBitmap {
public:
  // rowAlignment (pixels) is rounded down to a power of two, at most 16.
  RasterMemBitmap(int32_t width = 0, int32_t height = 0, int32_t rowAlignment = 4);
  ~RasterMemBitmap() override;
  RasterMemBitmap(const RasterMemBitmap&) = delete;
  RasterMemBitmap& operator=(const RasterMemBitmap&) = delete;

  uint32_t* GetBits() override;
  int32_t GetWidth() const override { return mWidth; }
  int32_t GetHeight() const override { return mHeight; }
  int32_t GetRowSpan() const override { return (mWidth + mMask) & ~mMask; }
  bool Resize(int32_t width, int32_t height) override;

  // Bytes of pixel storage currently held.
  int32_t GetAllocatedSize() const { return mAllocated; }

private:
  void* mStorage = nullptr;
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  int32_t mAllocated = 0;
  int32_t mMask = 0;
};
