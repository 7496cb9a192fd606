// HSV adjust kernel: integer hue (0..383, six sectors of 64), saturation and
// value (0..255). Divisions by the value and by the channel spread use a
// table of rounded-up reciprocals, exact for the sector boundaries so that
// primaries and greys convert back unchanged.
#include <array>

#include "raster/RasterPixelOps.h"

namespace raster_ops {
namespace {

constexpr int kHueRange = 384;

constexpr std::array<int, 256> MakeReciprocals() {
  std::array<int, 256> r{};
  for (int n = 1; n < 256; ++n) {
    r[n] = (65536 + n - 1) / n;
  }
  return r;
}

constexpr std::array<int, 256> kReciprocal = MakeReciprocals();

struct Hsv {
  int h, s, v;
};

//---
Hsv ToHsv(int r, int g, int b) {
  const int v = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
  const int delta = v - mn;
  if (delta == 0) {
    return {0, 0, v};
  }
  const int s = (delta * 255 * kReciprocal[v]) >> 16;
  const int recip = kReciprocal[delta];
  int h;
  if (v == r) {
    h = ((g - b) * 64 * recip) >> 16;
  } else if (v == g) {
    h = 128 + (((b - r) * 64 * recip) >> 16);
  } else {
    h = 256 + (((r - g) * 64 * recip) >> 16);
  }
  if (h < 0) h += kHueRange;
  return {h, s, v};
}

//---
void FromHsv(const Hsv& c, uint8_t* d) {
  int r = c.v, g = c.v, b = c.v;
  if (c.s != 0) {
    const int sector = c.h / 64;
    const int f = c.h % 64;
    const int p = c.v * (255 - c.s) / 255;
    const int q = c.v * (255 - c.s * f / 64) / 255;
    const int t = c.v * (255 - c.s * (64 - f) / 64) / 255;
    switch (sector) {
      case 0: r = c.v; g = t; b = p; break;
      case 1: r = q; g = c.v; b = p; break;
      case 2: r = p; g = c.v; b = t; break;
      case 3: r = p; g = q; b = c.v; break;
      case 4: r = t; g = p; b = c.v; break;
      default: r = c.v; g = p; b = q; break;
    }
  }
  d[0] = static_cast<uint8_t>(b);
  d[1] = static_cast<uint8_t>(g);
  d[2] = static_cast<uint8_t>(r);
}

//---
void Adjust(uint8_t* d, const uint8_t* s, int a) {
  Hsv c = ToHsv(d[2], d[1], d[0]);
  c.h = (c.h + a * (s[2] + s[2] / 2 - 192) / 256) % kHueRange;
  if (c.h < 0) c.h += kHueRange;
  c.s = Clamp255(c.s + a * (s[1] - 128) / 128);
  c.v = Clamp255(c.v + a * (s[0] - 128) / 128);
  FromHsv(c, d);
}

}  // namespace

//---
void HsvAdjust(uint8_t* d, const uint8_t* s, int a) {
  Adjust(d, s, a);
  d[3] = s[3];
}

//---
void HsvAdjustSourceAlpha(uint8_t* d, const uint8_t* s, int a) {
  if (s[3] == 0) return;
  Adjust(d, s, AlphaWeight(a, s[3]));
}

}  // namespace raster_ops
