// 32-bit bitmaps of the raster library.
//
// Pixels are 32-bit words A << 24 | R << 16 | G << 8 | B (in memory the bytes
// B, G, R, A), colour not premultiplied by alpha. Rows lie GetRowSpan() pixels
// apart; row 0 is the top row unless IsFlipped() says it is the bottom one.
// A bitmap is used by one thread at a time.
#pragma once

#include <cstdint>

// A rectangle with exclusive right and bottom edges.
struct RasterRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// The operating-system drawing context of a bitmap (an HDC on Windows).
using RasterDrawingContext = void*;

class RasterBitmap {
public:
  virtual ~RasterBitmap() = default;

  // First pixel, or nullptr when the bitmap has no storage.
  virtual uint32_t* GetBits() = 0;
  virtual int32_t GetWidth() const = 0;
  virtual int32_t GetHeight() const = 0;
  // Pixels between the starts of two rows.
  virtual int32_t GetRowSpan() const = 0;
  virtual bool IsFlipped() const { return false; }
  // Changes the size; true when the size changed. May allocate.
  virtual bool Resize(int32_t width, int32_t height) = 0;
  // The system drawing context, nullptr for bitmaps without one.
  virtual RasterDrawingContext GetDrawingContext() { return nullptr; }
  // Extension hook; no extension is defined.
  virtual intptr_t Extended(int32_t id, void* data);
};
