// Rectangle fills (with their whole-word shortcuts) and glyph mask drawing.
#include <gtest/gtest.h>

#include "raster/RasterBlit.h"
#include "raster/RasterGlyph.h"
#include "tests/raster/RasterTestUtil.h"

namespace {

constexpr uint32_t kDest = 0x80402010;

uint32_t FillOne(uint32_t colour, float opacity, int32_t mode) {
  auto d = MakeFilled(1, 1, kDest);
  RasterFillRect(d.get(), 0, 0, 1, 1, colour, opacity, mode);
  return Px(*d, 0, 0);
}

}  // namespace

TEST(FillRect, CopyShortcutsAndGeneralOpacity) {
  constexpr uint32_t c = 0xFF204080;
  EXPECT_EQ(FillOne(c, 1.0f, kRasterCopy), c);
  EXPECT_EQ(FillOne(c, 0.5f, kRasterCopy), 0xBF303048u);
  EXPECT_EQ(FillOne(c, 0.25f, kRasterCopy), 0x9F38282Cu);
  EXPECT_EQ(FillOne(c, 0.75f, kRasterCopy), 0xDE283864u);
  // 0.625 (a = 160) takes the blit's copy formula: d = s + (d - s) x 96 / 256.
  EXPECT_EQ(FillOne(c, 0.625f, kRasterCopy), 0xD02C3456u);
  // With source alpha the colour's alpha (128) scales the opacity: the 0.5 shortcut.
  EXPECT_EQ(FillOne(0x80204080, 1.0f, kRasterCopy | kRasterUseSourceAlpha), 0x80303048u);
  EXPECT_EQ(FillOne(c, 1.0f, kRasterAdd), 0xFF606090u);
  EXPECT_EQ(FillOne(c, 0.0f, kRasterCopy), kDest);
  EXPECT_EQ(FillOne(0x00FFFFFF, 1.0f, kRasterCopy | kRasterUseSourceAlpha), kDest);
}

TEST(FillRect, CutToTheBitmap) {
  auto d = MakeFilled(4, 4, 0);
  RasterFillRect(d.get(), -2, -2, 4, 4, 0xFFFFFFFF, 1.0f, kRasterCopy);
  EXPECT_EQ(CountNot(*d, 0), 4);
  EXPECT_EQ(Px(*d, 1, 1), 0xFFFFFFFFu);
  RasterFillRect(d.get(), 3, 3, 100, 100, 0xFFFFFFFF, 1.0f, kRasterCopy);
  EXPECT_EQ(CountNot(*d, 0), 5);
  RasterFillRect(d.get(), 4, 0, 1, 1, 0xFFFFFFFF, 1.0f, kRasterCopy);
  RasterFillRect(d.get(), 0, 0, -3, 2, 0xFFFFFFFF, 1.0f, kRasterCopy);
  RasterFillRect(d.get(), 0x7fffffff, 0x7fffffff, 0x7fffffff, 1, 0xFFFFFFFF, 1.0f, kRasterCopy);
  EXPECT_EQ(CountNot(*d, 0), 5);
}

namespace {

constexpr uint32_t kBack = 0xFF102030;
constexpr uint32_t kText = 0xFFF0E0D0;
const uint8_t kMask[6] = {0, 128, 255, 255, 64, 0};  // 3 x 2

std::unique_ptr<RasterMemBitmap> DrawMask(const RasterGlyphPaint& paint, RasterRect clip = {0, 0, 100, 100}) {
  auto d = MakeFilled(5, 4, kBack);
  RasterDrawGlyph(d.get(), kMask, 3, 2, 1, 1, clip, paint);
  return d;
}

}  // namespace

TEST(DrawGlyph, AntialiasedCoverage) {
  RasterGlyphPaint paint;
  paint.textColour = kText;
  auto d = DrawMask(paint);
  EXPECT_EQ(Px(*d, 1, 1), kBack);          // mask 0
  EXPECT_EQ(Px(*d, 2, 1), 0xFF818181u);    // mask 128
  EXPECT_EQ(Px(*d, 3, 1), kText);          // mask 255
  EXPECT_EQ(Px(*d, 2, 2), 0xFF495159u);    // mask 64
  EXPECT_EQ(CountNot(*d, kBack), 4);

  paint.opacity = 0.5f;  // k = 128 x 255 / 256 = 127, h = 129
  d = DrawMask(paint);
  EXPECT_EQ(Px(*d, 3, 1), 0xFF808080u);
}

TEST(DrawGlyph, MonochromeAndEffectKinds) {
  RasterGlyphPaint paint;
  paint.textColour = kText;
  paint.effectColour = 0xFF0000FF;
  paint.kind = kRasterGlyphMonochrome;
  auto d = DrawMask(paint);
  EXPECT_EQ(Px(*d, 2, 1), kText);
  EXPECT_EQ(Px(*d, 2, 2), kText);
  paint.opacity = 0.5f;
  d = DrawMask(paint);
  EXPECT_EQ(Px(*d, 2, 2), 0xFF808080u);

  paint.kind = kRasterGlyphEffect;
  paint.opacity = 1.0f;
  d = DrawMask(paint);
  EXPECT_EQ(Px(*d, 3, 1), kText);
  EXPECT_EQ(Px(*d, 2, 1), 0xFF0000FFu);
  EXPECT_EQ(Px(*d, 1, 1), kBack);
}

TEST(DrawGlyph, ClipBackgroundAndOtherModes) {
  RasterGlyphPaint paint;
  paint.textColour = kText;
  auto d = DrawMask(paint, {0, 0, 3, 100});  // right edge exclusive: column 3 is cut
  EXPECT_EQ(Px(*d, 3, 1), kBack);
  EXPECT_EQ(Px(*d, 2, 1), 0xFF818181u);
  d = DrawMask(paint, {4, 0, 10, 10});  // entirely outside
  EXPECT_EQ(CountNot(*d, kBack), 0);

  paint.backgroundMode = 2;
  paint.backgroundColour = 0xFF000000;
  d = DrawMask(paint);
  EXPECT_EQ(Px(*d, 1, 1), 0xFF000000u);  // the cell is filled first
  EXPECT_EQ(Px(*d, 3, 2), 0xFF000000u);
  EXPECT_EQ(Px(*d, 0, 0), kBack);

  paint.backgroundMode = 1;
  paint.blendMode = kRasterAdd;
  paint.textColour = 0xFF010101;
  d = DrawMask(paint);
  EXPECT_EQ(Px(*d, 3, 1), 0xFF112131u);  // k = 256: every channel + 1
  EXPECT_EQ(Px(*d, 2, 1), 0xFF102030u);  // k = 129: 1 x 129 / 256 = 0
}
