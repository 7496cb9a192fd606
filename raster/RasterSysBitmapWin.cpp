// Windows: a 32-bit top-down DIB section selected into a memory DC.
#include "raster/RasterSysBitmap.h"

#include <windows.h>

#include <cstdint>

namespace {

constexpr int64_t kMaxWidth = int64_t{0x7fffffff};
// Larger surfaces could not be addressed with 32-bit byte offsets.
constexpr int64_t kMaxBytes = int64_t{0x7fffffff};

}  // namespace

//---
RasterSysBitmap::RasterSysBitmap(int32_t width, int32_t height) {
  mContext = CreateCompatibleDC(nullptr);
  Resize(width, height);
}

//---
RasterSysBitmap::~RasterSysBitmap() {
  ReleaseSurface();
  if (mContext != nullptr) {
    DeleteDC(static_cast<HDC>(mContext));
  }
}

//---
void RasterSysBitmap::ReleaseSurface() {
  HDC dc = static_cast<HDC>(mContext);
  if (mPrevious != nullptr && dc != nullptr) {
    SelectObject(dc, static_cast<HGDIOBJ>(mPrevious));
  }
  mPrevious = nullptr;
  if (mSystemBitmap != nullptr) {
    DeleteObject(static_cast<HGDIOBJ>(mSystemBitmap));
  }
  mSystemBitmap = nullptr;
  mPixels = nullptr;
}

//---
bool RasterSysBitmap::Resize(int32_t width, int32_t height) {
  if (mContext == nullptr) {
    mWidth = 0;
    mHeight = 0;
    mPixels = nullptr;
    return false;
  }
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
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = mAllocWidth;
  info.bmiHeader.biHeight = IsFlipped() ? height : -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const int64_t bytes = int64_t{mAllocWidth} * height * 4;
  HBITMAP bitmap = bytes > 0 && bytes <= kMaxBytes
                       ? CreateDIBSection(static_cast<HDC>(mContext), &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                       : nullptr;
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) {
      DeleteObject(bitmap);
    }
    mWidth = 0;
    mHeight = 0;
    mAllocWidth = 0;
    mAllocHeight = 0;
    return true;
  }
  mSystemBitmap = bitmap;
  mPrevious = SelectObject(static_cast<HDC>(mContext), bitmap);
  mPixels = static_cast<uint32_t*>(bits);
  return true;
}
