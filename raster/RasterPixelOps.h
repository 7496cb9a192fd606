// Per-pixel combine kernels shared by blits, fills and glyph drawing (library
// internal). d points at a destination pixel, s at a source pixel, both as the
// bytes B, G, R, A; a and k are weights 0..256. "/" truncates toward zero.
#pragma once

#include <cstdint>

namespace raster_ops {

inline int Clamp255(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

//---
inline void CopyWeighted(uint8_t* d, const uint8_t* s, int a) {
  for (int c = 0; c < 4; ++c) {
    d[c] = static_cast<uint8_t>(s[c] + (d[c] - s[c]) * (256 - a) / 256);
  }
}

//---
inline uint8_t AddChannel(int d, int s, int a) {
  return static_cast<uint8_t>(Clamp255(a * s / 256 + d));
}

//---
inline uint8_t DodgeChannel(int d, int s, int a) {
  const int t = a * s / 256;
  return static_cast<uint8_t>(t <= 254 ? Clamp255(d * 256 / (256 - t)) : Clamp255(d * 256));
}

//---
inline uint8_t MultiplyChannel(int d, int s, int a) {
  return static_cast<uint8_t>((a * s + (256 - a) * 256) * d / 65536);
}

//---
inline uint8_t OverlayChannel(int d, int s, int a) {
  const int m = a * s + (256 - a) * 128;
  return static_cast<uint8_t>(Clamp255(((32768 - m) * d / 256 + m) * d / 32768));
}

//---
inline void Add(uint8_t* d, const uint8_t* s, int a) {
  for (int c = 0; c < 4; ++c) d[c] = AddChannel(d[c], s[c], a);
}

//---
inline void Dodge(uint8_t* d, const uint8_t* s, int a) {
  for (int c = 0; c < 4; ++c) d[c] = DodgeChannel(d[c], s[c], a);
}

//---
inline void Multiply(uint8_t* d, const uint8_t* s, int a) {
  for (int c = 0; c < 4; ++c) d[c] = MultiplyChannel(d[c], s[c], a);
}

//---
inline void Overlay(uint8_t* d, const uint8_t* s, int a) {
  for (int c = 0; c < 4; ++c) d[c] = OverlayChannel(d[c], s[c], a);
}

// Source-alpha weight of a pixel with alpha A at opacity weight a.
inline int AlphaWeight(int a, int A) {
  return a * (A + 1) / 256;
}

//---
inline void CopySourceAlphaFull(uint8_t* d, const uint8_t* s) {
  const int A = s[3];
  if (A == 0) return;
  if (A == 255) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
    d[3] = 255;
    return;
  }
  const int alpha = A + d[3];
  d[3] = static_cast<uint8_t>(alpha > 255 ? 255 : alpha);
  for (int c = 0; c < 3; ++c) {
    d[c] = static_cast<uint8_t>(s[c] + (d[c] - s[c]) * (255 - A) / 256);
  }
}

//---
inline void CopySourceAlpha(uint8_t* d, const uint8_t* s, int a) {
  const int A = s[3];
  if (A == 0) return;
  const int k = AlphaWeight(a, A);
  const int alpha = k + d[3];
  d[3] = static_cast<uint8_t>(alpha > 255 ? 255 : alpha);
  for (int c = 0; c < 3; ++c) {
    d[c] = static_cast<uint8_t>(s[c] + (d[c] - s[c]) * (256 - k) / 256);
  }
}

//---
inline void AddSourceAlpha(uint8_t* d, const uint8_t* s, int a) {
  const int A = s[3];
  if (A == 0) return;
  const int k = AlphaWeight(a, A);
  for (int c = 0; c < 3; ++c) d[c] = AddChannel(d[c], s[c], k);
  d[3] = static_cast<uint8_t>(Clamp255(A * k / 256 + d[3]));
}

//---
inline void DodgeSourceAlpha(uint8_t* d, const uint8_t* s, int a) {
  Dodge(d, s, AlphaWeight(a, s[3]));
}

//---
inline void MultiplySourceAlpha(uint8_t* d, const uint8_t* s, int a) {
  if (s[3] == 0) return;
  Multiply(d, s, AlphaWeight(a, s[3]));
}

//---
inline void OverlaySourceAlpha(uint8_t* d, const uint8_t* s, int a) {
  Overlay(d, s, AlphaWeight(a, s[3]));
}

// HSV adjust (RasterHsv.cpp): shifts the destination's hue, saturation and
// value by the source's R, G and B with weight a; alpha becomes the source's.
void HsvAdjust(uint8_t* d, const uint8_t* s, int a);
// The same weighted by each source pixel's alpha; the destination keeps its
// alpha and pixels with source alpha 0 are untouched.
void HsvAdjustSourceAlpha(uint8_t* d, const uint8_t* s, int a);

}  // namespace raster_ops
