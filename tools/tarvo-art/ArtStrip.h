// A strip of equally sized frames stacked top to bottom, kept as 8-bit RGBA
// with straight (not premultiplied) alpha, the way the PNG resources store it.
// Frames are drawn one at a time with cairo, whose image surfaces hold
// premultiplied alpha and cannot be taller than 32767 rows.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ArtStrip {
public:
  ArtStrip(int width, int frameHeight, int frames);

  int Width() const { return mWidth; }
  int FrameHeight() const { return mFrameHeight; }
  int Frames() const { return mFrames; }
  int Height() const { return mFrameHeight * mFrames; }
  const std::vector<uint8_t>& Rgba() const { return mRgba; }

  // The value a frame stands for: frame i (from 0) of N shows i / (N - 1),
  // the value the editor's frame choice rounds to it.
  double FrameValue(int index) const;

  // Draws every frame: paint(cr, index, value) on a cleared ARGB32 surface of
  // the frame's size, then stores the result.
  void DrawFrames(const std::function<void(cairo_t*, int, double)>& paint);

  // Copies a frame-sized ARGB32 surface into frame index, un-premultiplying.
  void StoreFrame(int index, cairo_surface_t* surface);

private:
  int mWidth;
  int mFrameHeight;
  int mFrames;
  std::vector<uint8_t> mRgba;
};

// Converts one premultiplied ARGB32 pixel (cairo's native-endian word) to
// straight RGBA bytes.
void UnpremultiplyPixel(uint32_t argb, uint8_t* rgba);

// Writes 8-bit RGBA rows as a PNG file with fixed settings and no time or
// text chunks, so the same pixels always give the same bytes. Returns an
// error text, empty on success.
std::string WriteRgbaPng(const std::string& path, int width, int height, const uint8_t* rgba);
