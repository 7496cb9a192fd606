// A bitmap backed by a system drawing surface. On Windows it is a 32-bit
// top-down DIB section selected into a memory device context, so system text
// and window painting can use it; elsewhere the same contract over plain
// memory without a drawing context. The surface never shrinks: a smaller size
// keeps the surface and its row span. A failed allocation leaves 0 x 0.
#pragma once

#include "raster/RasterBitmap.h"

class RasterSysBitmap : public RasterBitmap {
public:
  RasterSysBitmap(int32_t width = 0, int32_t height = 0);
  ~RasterSysBitmap() override;
  RasterSysBitmap(const RasterSysBitmap&) = delete;
  RasterSysBitmap& operator=(const RasterSysBitmap&) = delete;

  uint32_t* GetBits() override { return mPixels; }
  int32_t GetWidth() const override { return mWidth; }
  int32_t GetHeight() const override { return mHeight; }
  int32_t GetRowSpan() const override { return mAllocWidth; }
  bool Resize(int32_t width, int32_t height) override;
  RasterDrawingContext GetDrawingContext() override { return mContext; }

private:
  void ReleaseSurface();

  int32_t mWidth = 0;
  int32_t mHeight = 0;
  RasterDrawingContext mContext = nullptr;
  uint32_t* mPixels = nullptr;
  int32_t mAllocWidth = 0;
  int32_t mAllocHeight = 0;
  void* mSystemBitmap = nullptr;  // HBITMAP on Windows, the pixel block elsewhere
  // Object selected into the context before ours (Windows only).
  [[maybe_unused]] void* mPrevious = nullptr;
};
