// Reading the generated PNG resources back for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ArtTestImage {
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colourType = -1;
  std::vector<uint8_t> rgba;  // straight alpha, as stored

  const uint8_t* Pixel(int x, int y) const { return rgba.data() + (static_cast<size_t>(y) * width + x) * 4; }
};

// Reads path; false when it is missing or not a PNG. The header fields are
// those of the file; the pixels are converted to 8-bit RGBA.
bool ReadArtPng(const std::string& path, ArtTestImage* out);

// The file of resource id in the generated folder, or "" when none.
std::string ArtFile(int id);
