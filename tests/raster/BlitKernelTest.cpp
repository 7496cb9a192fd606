// Exact results of every blit kernel on chosen pixels.
#include <gtest/gtest.h>

#include <cmath>

#include "raster/RasterBlit.h"
#include "tests/raster/RasterTestUtil.h"

namespace {

constexpr uint32_t kDest = 0x80402010;  // A 128, R 64, G 32, B 16
constexpr uint32_t kSrc = 0xC0A06030;   // A 192, R 160, G 96, B 48

uint32_t BlitOne(uint32_t src, uint32_t dest, float opacity, int32_t mode) {
  auto s = MakeFilled(1, 1, src);
  auto d = MakeFilled(1, 1, dest);
  RasterBlit(d.get(), s.get(), 0, 0, nullptr, opacity, mode);
  return Px(*d, 0, 0);
}

}  // namespace

TEST(BlitKernel, CopyWithoutSourceAlpha) {
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterCopy), kSrc);
  // 0.75 is a = 192: d = s + (d - s) x 64 / 256, truncating toward zero.
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.75f, kRasterCopy), 0xB0885028u);
  EXPECT_EQ(BlitOne(0x00000011, 0x00000010, 0.75f, kRasterCopy), 0x00000011u);
  // 0.5 halves both words and adds them, each byte rounded down.
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.5f, kRasterCopy), 0xA0704020u);
  EXPECT_EQ(BlitOne(0x01FF0303, 0x01010101, 0.5f, kRasterCopy), 0x007F0101u);
}

TEST(BlitKernel, CombineModesWithoutSourceAlpha) {
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterAdd), 0xFFE08040u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.5f, kRasterAdd), 0xE0905028u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterDodge), 0xFFAA3313u);
  EXPECT_EQ(BlitOne(0x00FFFFFF, 0x00000100, 1.0f, kRasterDodge), 0x0000FF00u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterMultiply), 0x60280C03u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.5f, kRasterMultiply), 0x70341609u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterOverlay), 0xA04C1906u);
}

TEST(BlitKernel, SourceAlphaKernels) {
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterUseSourceAlpha), 0xFF895129u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.5f, kRasterUseSourceAlpha), 0xE064381Cu);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterUseSourceAlpha | kRasterAdd), 0xFFB86834u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterUseSourceAlpha | kRasterDodge), 0xFF782C12u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterUseSourceAlpha | kRasterMultiply), 0x672D1006u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterUseSourceAlpha | kRasterOverlay), 0x98491A08u);
  // An opaque source pixel replaces the destination exactly.
  EXPECT_EQ(BlitOne(0xFF123456, kDest, 1.0f, kRasterUseSourceAlpha), 0xFF123456u);
}

TEST(BlitKernel, TransparentSourceLeavesDestination) {
  for (int32_t mode : {kRasterCopy, kRasterAdd, kRasterMultiply}) {
    for (float opacity : {1.0f, 0.6f}) {
      EXPECT_EQ(BlitOne(0x00FFFFFF, kDest, opacity, kRasterUseSourceAlpha | mode), kDest) << mode;
    }
  }
}

TEST(BlitKernel, ChannelCopyIgnoresOpacity) {
  // Destination byte 3 (alpha) takes source byte 0 (blue).
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.25f, kRasterChannelCopy | 3 << 2 | 0), 0x30402010u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, kRasterChannelCopy | 0 << 2 | 2), 0x804020A0u);
  // Opacities that draw nothing in the other modes draw nothing here either.
  for (float opacity : {0.0f, -1.0f, std::nanf("")}) {
    EXPECT_EQ(BlitOne(kSrc, kDest, opacity, kRasterChannelCopy | 3 << 2 | 0), kDest) << opacity;
  }
}

TEST(BlitKernel, OpacityOutsideRangeAndUnknownModes) {
  // Above 1.0 the weight is held at 256: no channel wraps.
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.2f, kRasterCopy), kSrc);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.3f, kRasterUseSourceAlpha), BlitOne(kSrc, kDest, 1.0f, kRasterUseSourceAlpha));
  EXPECT_EQ(BlitOne(kSrc, kDest, 3.0f, kRasterAdd), 0xFFE08040u);
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.0f, kRasterCopy), kDest);
  EXPECT_EQ(BlitOne(kSrc, kDest, -0.5f, kRasterAdd), kDest);
  EXPECT_EQ(BlitOne(kSrc, kDest, std::nanf(""), kRasterUseSourceAlpha), kDest);
  EXPECT_EQ(BlitOne(kSrc, kDest, 0.001f, kRasterCopy), kDest);  // weight 0
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, 6), kDest);
  EXPECT_EQ(BlitOne(kSrc, kDest, 1.0f, 0x20000), kDest);
}

TEST(BlitKernel, HsvAdjust) {
  // A neutral source (R 128, G 128, B 128) keeps the colour; alpha is the source's.
  EXPECT_EQ(BlitOne(0x77808080, 0xFFFF0000, 1.0f, kRasterHsvAdjust), 0x77FF0000u);
  EXPECT_EQ(BlitOne(0x77808080, 0xFF00FF00, 1.0f, kRasterHsvAdjust), 0x7700FF00u);
  // R 171 turns the hue by one sector: red becomes yellow.
  EXPECT_EQ(BlitOne(0xFFAB8080, 0xFFFF0000, 1.0f, kRasterHsvAdjust), 0xFFFFFF00u);
  // R 0 turns it back by three sectors, wrapping round: red becomes cyan.
  EXPECT_EQ(BlitOne(0xFF008080, 0xFFFF0000, 1.0f, kRasterHsvAdjust), 0xFF00FFFFu);
  // No saturation gives grey of the same value; no value gives black.
  EXPECT_EQ(BlitOne(0xFF800080, 0xFFFF0000, 1.0f, kRasterHsvAdjust), 0xFFFFFFFFu);
  EXPECT_EQ(BlitOne(0xFF808000, 0xFF00FF00, 1.0f, kRasterHsvAdjust), 0xFF000000u);
  // With source alpha the destination keeps its alpha; alpha 0 is untouched.
  EXPECT_EQ(BlitOne(0xFF808000, 0x4000FF00, 1.0f, kRasterUseSourceAlpha | kRasterHsvAdjust), 0x40000000u);
  EXPECT_EQ(BlitOne(0x00808000, 0x4000FF00, 1.0f, kRasterUseSourceAlpha | kRasterHsvAdjust), 0x4000FF00u);
}

TEST(BlitKernel, SourceAlphaCopyRowsMatchThePixelKernel) {
  // The row code handles four pixels at a time plus a tail; every result must
  // equal the one-pixel formula, for any mix of alphas and row lengths.
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed;
  };
  auto pick = [&next] {
    const uint32_t alphas[] = {0, 255, 1, 254, 128, next() >> 24};
    return alphas[(next() >> 8) % 6] << 24 | (next() & 0xffffff);
  };
  for (float opacity : {1.0f, 0.5f, 0.3f, 0.99f, 0.004f}) {
    for (int32_t width = 1; width <= 11; ++width) {
      auto src = MakeFilled(width, 3, 0);
      auto dest = MakeFilled(width, 3, 0);
      auto expected = MakeFilled(width, 3, 0);
      for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < width; ++x) {
          Px(*src, x, y) = pick();
          Px(*dest, x, y) = Px(*expected, x, y) = pick();
          Px(*expected, x, y) = BlitOne(Px(*src, x, y), Px(*dest, x, y), opacity, kRasterUseSourceAlpha);
        }
      }
      RasterBlit(dest.get(), src.get(), 0, 0, nullptr, opacity, kRasterUseSourceAlpha);
      for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < width; ++x) {
          ASSERT_EQ(Px(*dest, x, y), Px(*expected, x, y)) << opacity << " " << width << " " << x;
        }
      }
    }
  }
}
