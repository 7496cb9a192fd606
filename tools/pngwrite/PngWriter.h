// Writes PNG images in memory with libpng: small hand-made images for the
// decoding tests, and bitmaps for tools that save what the editor drew.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngImage {
  int width = 1;
  int height = 1;
  int depth = 8;
  int colourType = 2;                  // PNG_COLOR_TYPE_*
  bool interlaced = false;
  std::vector<uint8_t> palette;        // RGB triples
  std::vector<uint8_t> paletteAlpha;   // tRNS of palette images
  std::vector<std::vector<uint8_t>> rows;  // packed rows as libpng takes them
};

// The encoded file, or empty when libpng refused the image.
std::vector<uint8_t> EncodePng(const PngImage& image);

class RasterBitmap;

// A bitmap as an 8-bit RGB image (alpha dropped, as a window shows it) or,
// with withAlpha, RGBA. Empty for a bitmap without pixels.
std::vector<uint8_t> EncodeBitmapPng(RasterBitmap& bitmap, bool withAlpha = false);

// Writes bytes to path; false (with errno set) when that failed.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
