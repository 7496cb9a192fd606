// Fonts from the font cache and text through the glyph path: coverage,
// measuring, alignment, clipping and the font flags. Font shapes differ
// between systems, so these check properties rather than exact glyphs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "raster/RasterFontCache.h"
#include "tests/raster/RasterTestUtil.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGlyphs = kTextGlyphsOnly;

ITextStyle Style(int32_t size) {
  ITextStyle s;
  s.size = size;
  return s;
}

RasterFont* Font(int32_t size = 20) {
  ITextStyle s = Style(size);
  RasterFont* f = ResolveFont(s);
  if (f != nullptr) {
    f->SetTextColour(0xFF000000);
    f->SetBlend(0, 1.0f);
    f->SetBackgroundMode(1);
  }
  return f;
}

struct Ink {
  int count = 0, exact = 0, darkest = 255;
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
};

Ink Measure(RasterBitmap& b, uint32_t text = 0xFF000000) {
  Ink ink;
  for (int y = 0; y < b.GetHeight(); ++y) {
    for (int x = 0; x < b.GetWidth(); ++x) {
      const uint32_t p = Px(b, x, y);
      if (p == kWhite) continue;
      ++ink.count;
      ink.exact += p == text ? 1 : 0;
      ink.darkest = std::min(ink.darkest, int(p & 0xff));
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

int32_t Width(RasterFont* f, const char* text) {
  RasterRect r{0, 0, 0, 0};
  f->DrawText(nullptr, text, -1, &r, kTextCalcRect | kGlyphs);
  return r.right;
}

}  // namespace

TEST(FontCache, SharesFontsAcrossColourAlignmentAndQuality) {
  ITextStyle a = Style(13);
  ITextStyle b = Style(13);
  b.colour = {255, 200, 10, 10};
  b.align = 2;
  b.quality = 2;
  RasterFont* fa = ResolveFont(a);
  ASSERT_NE(fa, nullptr);
  EXPECT_EQ(a.font, fa);
  EXPECT_EQ(ResolveFont(b), fa);
  EXPECT_EQ(fa->GetFlags(), kRasterFontOwnsSystemFont | kRasterFontPreferSystem);
  EXPECT_NE(fa->GetSystemFont(), nullptr);
  ITextStyle bold = Style(13);
  bold.style = 1;
  ITextStyle bigger = Style(14);
  ITextStyle other = Style(13);
  std::strcpy(other.name, "Arial");
  EXPECT_NE(ResolveFont(bold), fa);
  EXPECT_NE(ResolveFont(bigger), fa);
  EXPECT_NE(ResolveFont(other), fa);
  EXPECT_NE(ResolveFont(bigger), ResolveFont(bold));
}

TEST(GlyphText, DrawsAKnownStringInsideItsRectangle) {
  RasterFont* f = Font();
  ASSERT_NE(f, nullptr);
  const int32_t lh = f->GetLineHeight();
  EXPECT_GE(lh, 16);
  EXPECT_LE(lh, 26);
  auto b = MakeFilled(120, 40, kWhite);
  RasterRect r{5, 5, 115, 35};
  EXPECT_EQ(f->DrawText(b.get(), "Hello", -1, &r, kGlyphs), lh);
  const Ink ink = Measure(*b);
  EXPECT_GT(ink.count, 40);
  EXPECT_GT(ink.exact, 10);  // fully covered stems take the text colour exactly
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.left, 8);
  EXPECT_GE(ink.top, 5);
  EXPECT_LT(ink.bottom, 5 + lh);
  EXPECT_LT(ink.right, 5 + Width(f, "Hello") + 2);
  // Only part of the text when the rectangle is small; everything with no-clip.
  auto c = MakeFilled(120, 40, kWhite);
  r = {5, 5, 15, 12};
  f->DrawText(c.get(), "Hello", -1, &r, kGlyphs);
  Ink cut = Measure(*c);
  EXPECT_GT(cut.count, 0);
  EXPECT_GE(cut.left, 5);
  EXPECT_LT(cut.right, 15);
  EXPECT_LT(cut.bottom, 12);
  c = MakeFilled(120, 40, kWhite);
  f->DrawText(c.get(), "Hello", -1, &r, kGlyphs | kTextNoClip);
  EXPECT_EQ(Measure(*c).count, ink.count);
}

TEST(GlyphText, CalculatesRectanglesWithoutDrawing) {
  RasterFont* f = Font();
  ASSERT_NE(f, nullptr);
  const int32_t lh = f->GetLineHeight();
  RasterRect r{10, 20, 11, 21};
  EXPECT_EQ(f->DrawText(nullptr, "Hello", -1, &r, kTextCalcRect | kGlyphs), lh);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right, 10 + Width(f, "Hello"));
  EXPECT_EQ(r.bottom, 20 + lh);
  EXPECT_EQ(Width(f, "Hello"), Width(f, "He") + Width(f, "llo"));
  EXPECT_LT(Width(f, "iii"), Width(f, "WWW"));
  // Lines: the widest counts; a carriage return is skipped; a single line
  // draws the line feed as a space.
  r = {0, 0, 0, 0};
  EXPECT_EQ(f->DrawText(nullptr, "ab\r\nWWW", -1, &r, kTextCalcRect | kGlyphs), 2 * lh);
  EXPECT_EQ(r.right, Width(f, "WWW"));
  f->SetLineGap(3);
  EXPECT_EQ(f->DrawText(nullptr, "a\nb\nc", -1, &r, kTextCalcRect | kGlyphs), 3 * lh + 6);
  f->SetLineGap(0);
  EXPECT_EQ(f->DrawText(nullptr, "a\nb", -1, &r, kTextCalcRect | kTextSingleLine | kGlyphs), lh);
  EXPECT_EQ(Width(f, "a\nb"), std::max(Width(f, "a"), Width(f, "b")));
  // UTF-8: a 4-byte sequence is a space, a cut-off sequence is a byte of its own.
  EXPECT_EQ(Width(f, "a\xF0\x9F\x98\x80" "b"), Width(f, "a b"));
  EXPECT_GT(Width(f, "\xC3\xA9"), 0);
  EXPECT_GE(Width(f, "a\xC3"), Width(f, "a"));
  // Nothing to draw: empty text, no target, zero opacity.
  r = {0, 0, 50, 50};
  EXPECT_EQ(f->DrawText(nullptr, "", -1, &r, kTextCalcRect | kGlyphs), 0);
  EXPECT_EQ(f->DrawText(nullptr, "abc", -1, &r, kGlyphs), 0);
  auto b = MakeFilled(50, 50, kWhite);
  f->SetBlend(0, 0.0f);
  EXPECT_EQ(f->DrawText(b.get(), "abc", -1, &r, kGlyphs), 0);
  f->SetBlend(0, 1.0f);
  EXPECT_EQ(Measure(*b).count, 0);
}

TEST(GlyphText, Alignment) {
  RasterFont* f = Font();
  ASSERT_NE(f, nullptr);
  const int32_t w = Width(f, "X");
  auto draw = [&](uint32_t format) {
    auto b = MakeFilled(100, 60, kWhite);
    RasterRect r{0, 0, 100, 60};
    f->DrawText(b.get(), "X", -1, &r, format | kGlyphs);
    return Measure(*b);
  };
  const Ink left = draw(0), centre = draw(kTextCentre), right = draw(kTextRight);
  const Ink middle = draw(kTextVCentre), bottom = draw(kTextBottom);
  EXPECT_EQ(centre.left - left.left, (100 - w) / 2);
  EXPECT_EQ(right.left - left.left, 100 - w);
  EXPECT_EQ(middle.top - left.top, (60 - f->GetLineHeight()) / 2);
  EXPECT_EQ(bottom.top - left.top, 60 - f->GetLineHeight());
}

TEST(GlyphText, OpacityFromTheTextColour) {
  RasterFont* f = Font();
  ASSERT_NE(f, nullptr);
  auto b = MakeFilled(100, 40, kWhite);
  RasterRect r{0, 0, 100, 40};
  f->SetTextColour(0x80000000);
  f->DrawText(b.get(), "HH", -1, &r, kTextAlphaOpacity);
  f->SetTextColour(0xFF000000);
  // Full coverage at weight 128: 255 x 129 / 256 = 128.
  EXPECT_EQ(Measure(*b).darkest, 128);
}

TEST(GlyphText, MonochromeShadowOutlineAndVertical) {
  RasterFont* shared = Font();
  ASSERT_NE(shared, nullptr);
  RasterFont f;
  f.SetTextColour(0xFF000000);
  f.SetEffectColour(0xFFFF0000);
  for (int32_t flags : {kRasterFontMonochrome, kRasterFontShadow, kRasterFontOutline}) {
    f.SetFont(shared->GetSystemFont(), flags);  // borrowed: not owned
    auto b = MakeFilled(100, 40, kWhite);
    RasterRect r{0, 0, 100, 40};
    f.DrawText(b.get(), "Hello", -1, &r, 0);
    const Ink ink = Measure(*b);
    int effect = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 100; ++x) effect += Px(*b, x, y) == 0xFFFF0000u ? 1 : 0;
    }
    EXPECT_GT(ink.exact, 10) << flags;
    EXPECT_EQ(ink.count, ink.exact + effect) << flags;  // no blended pixels
    EXPECT_EQ(effect > 0, flags != kRasterFontMonochrome) << flags;
  }
  // Vertical text: one line is lineHeight wide and as tall as the text is long.
  f.SetFont(shared->GetSystemFont(), kRasterFontVertical);
  RasterRect r{0, 0, 0, 0};
  EXPECT_EQ(f.DrawText(nullptr, "Hello", -1, &r, kTextCalcRect), f.GetLineHeight());
  EXPECT_EQ(r.right, f.GetLineHeight());
  EXPECT_EQ(r.bottom, Width(shared, "Hello"));
  auto b = MakeFilled(40, 100, kWhite);
  r = {0, 0, 40, 100};
  f.DrawText(b.get(), "Hello", -1, &r, 0);
  const Ink ink = Measure(*b);
  EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left);
  f.SetFont(nullptr, 0);
}
