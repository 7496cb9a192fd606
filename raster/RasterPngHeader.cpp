#include "raster/RasterPngHeader.h"

#include <zlib.h>

#include <cstring>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr size_t kHeaderBytes = 8 + 4 + 4 + 13 + 4;  // signature, IHDR length, type, data, CRC

//---
uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The bit depths each colour type allows.
bool ValidDepth(int type, int depth) {
  switch (type) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;  // grey
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;                 // palette
    case 2:                                                                              // RGB
    case 4:                                                                              // grey + alpha
    case 6: return depth == 8 || depth == 16;                                            // RGBA
    default: return false;
  }
}

}  // namespace

//---
bool ReadPngSize(const void* bytes, size_t size, int32_t* width, int32_t* height) {
  if (bytes == nullptr || size < kHeaderBytes) {
    return false;
  }
  const auto* p = static_cast<const uint8_t*>(bytes);
  if (std::memcmp(p, kSignature, sizeof kSignature) != 0 || BigEndian32(p + 8) != 13 ||
      std::memcmp(p + 12, "IHDR", 4) != 0) {
    return false;
  }
  // The checksum covers the chunk type and its 13 data bytes.
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), p + 12, 4 + 13);
  if (crc != BigEndian32(p + 29)) {
    return false;
  }
  const uint32_t w = BigEndian32(p + 16);
  const uint32_t h = BigEndian32(p + 20);
  const uint8_t* f = p + 24;  // bit depth, colour type, compression, filter, interlace
  if (w == 0 || h == 0 || w > 0x7fffffff || h > 0x7fffffff || !ValidDepth(f[1], f[0]) || f[2] != 0 ||
      f[3] != 0 || f[4] > 1) {
    return false;
  }
  *width = static_cast<int32_t>(w);
  *height = static_cast<int32_t>(h);
  return true;
}
