// Writes small PNG images in memory with libpng, for the decoding tests.
#pragma once

#include <cstdint>
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
