#include "raster/RasterFont.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "raster/RasterGlyph.h"
#include "raster/RasterSystemFont.h"

namespace {

constexpr int32_t kShapeFlags = kRasterFontVertical | kRasterFontOtherRotation | kRasterFontAsciiOnly |
                                kRasterFontFiltered | kRasterFontInverted | kRasterFontMonochrome |
                                kRasterFontShadow | kRasterFontOutline;
constexpr uint32_t kAlignFlags = kTextCentre | kTextRight | kTextVCentre | kTextBottom;

// Coverage above this becomes full in the monochrome, shadow and outline kinds.
constexpr int kThreshold = 130;

bool IsContinuation(uint8_t b) {
  return (b & 0xC0) == 0x80;
}

// Decodes one code point at text[i] and advances i: 2- and 3-byte sequences
// give their code point, a 4-byte sequence a space, any other byte itself.
// Sequences cut off by the end of the text count as single bytes.
uint32_t NextCodePoint(const uint8_t* text, int32_t length, int32_t& i) {
  const uint8_t b = text[i];
  const int32_t left = length - i;
  if (b >= 0xC0 && b < 0xE0 && left >= 2 && IsContinuation(text[i + 1])) {
    i += 2;
    return (b & 0x1Fu) << 6 | (text[i - 1] & 0x3Fu);
  }
  if (b >= 0xE0 && b < 0xF0 && left >= 3 && IsContinuation(text[i + 1]) && IsContinuation(text[i + 2])) {
    i += 3;
    return (b & 0x0Fu) << 12 | (text[i - 2] & 0x3Fu) << 6 | (text[i - 1] & 0x3Fu);
  }
  if (b >= 0xF0 && b < 0xF8 && left >= 4 && IsContinuation(text[i + 1]) && IsContinuation(text[i + 2]) &&
      IsContinuation(text[i + 3])) {
    i += 4;
    return ' ';
  }
  ++i;
  return b;
}

// Softens a captured mask with a [1 2 1] kernel in both directions.
void Soften(std::vector<uint8_t>& mask, int32_t w, int32_t h) {
  std::vector<uint8_t> tmp(mask.size());
  auto at = [w](const std::vector<uint8_t>& m, int32_t x, int32_t y) { return int{m[y * w + x]}; };
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const int l = at(mask, x > 0 ? x - 1 : x, y), r = at(mask, x + 1 < w ? x + 1 : x, y);
      tmp[y * w + x] = static_cast<uint8_t>((l + 2 * at(mask, x, y) + r) / 4);
    }
  }
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const int u = at(tmp, x, y > 0 ? y - 1 : y), d = at(tmp, x, y + 1 < h ? y + 1 : y);
      mask[y * w + x] = static_cast<uint8_t>((u + 2 * at(tmp, x, y) + d) / 4);
    }
  }
}

}  // namespace

//---
RasterFont::~RasterFont() {
  if ((mFlags & kRasterFontOwnsSystemFont) && mSystemFont != nullptr) {
    RasterDeleteSystemFont(mSystemFont);
  }
}

//---
void RasterFont::SetFont(RasterSystemFont font, int32_t flags) {
  if ((mFlags & kRasterFontOwnsSystemFont) && mSystemFont != nullptr && mSystemFont != font) {
    RasterDeleteSystemFont(mSystemFont);
  }
  mFlags = flags;
  mSystemFont = font;
  mLineHeight = font != nullptr ? RasterMeasureLineHeight(font) : 0;
  std::fill(std::begin(mAsciiGlyphs), std::end(mAsciiGlyphs), Glyph{});
  mOtherGlyphs.clear();
  mGlyphMasks.clear();
  if (flags & kRasterFontAsciiOnly) {
    for (uint32_t c = 0; c < 128; ++c) GetGlyph(c);
  }
}

//---
uint32_t RasterFont::SetTextColour(uint32_t argb) {
  return std::exchange(mTextColour, argb);
}

//---
uint32_t RasterFont::SetBackgroundColour(uint32_t argb) {
  return std::exchange(mBackgroundColour, argb);
}

//---
uint32_t RasterFont::SetEffectColour(uint32_t argb) {
  return std::exchange(mEffectColour, argb);
}

//---
int32_t RasterFont::SetBackgroundMode(int32_t mode) {
  return std::exchange(mBackgroundMode, mode);
}

//---
void RasterFont::SetBlend(int32_t mode, float alpha) {
  mBlendMode = mode;
  mBlendAlpha = alpha;
}

//---
const RasterFont::Glyph* RasterFont::GetGlyph(uint32_t codePoint) {
  Glyph* glyph = nullptr;
  if (codePoint < 128) {
    glyph = &mAsciiGlyphs[codePoint];
  } else {
    if (codePoint > 0xffff) return nullptr;
    auto less = [](const Glyph& g, uint32_t c) { return g.codePoint < c; };
    auto it = std::lower_bound(mOtherGlyphs.begin(), mOtherGlyphs.end(), codePoint, less);
    if (it == mOtherGlyphs.end() || it->codePoint != codePoint) {
      if (mFlags & kRasterFontAsciiOnly) return nullptr;
      Glyph fresh;
      fresh.codePoint = static_cast<uint16_t>(codePoint);
      try {
        it = mOtherGlyphs.insert(it, fresh);
      } catch (...) {
        return nullptr;
      }
    }
    glyph = &*it;
  }
  if (glyph->maskPosition == 0) {
    RenderGlyph(codePoint, *glyph);
  }
  return glyph;
}

//---
void RasterFont::RenderGlyph(uint32_t codePoint, Glyph& glyph) {
  glyph = Glyph{};
  glyph.codePoint = static_cast<uint16_t>(codePoint);
  glyph.maskPosition = -1;
  if (mSystemFont == nullptr) return;
  int32_t advance = 0, height = 0;
  RasterMeasureChar(mSystemFont, codePoint, advance, height);
  int32_t width = advance + (codePoint >= 'A' && codePoint <= 'Z' ? 2 : 0);
  if (advance <= 0 || width <= 0 || height <= 0 || width > 4096 || height > 4096) return;
  RasterSysBitmap& scratch = RasterGlyphScratch();
  const int32_t side = std::max(mLineHeight, 1);
  const int32_t needW = std::max({scratch.GetWidth(), side, width});
  const int32_t needH = std::max({scratch.GetHeight(), side, height});
  scratch.Resize(needW, needH);
  if (scratch.GetBits() == nullptr || scratch.GetWidth() < width || scratch.GetHeight() < height) return;
  RasterDrawCharCell(mSystemFont, codePoint, width, height);
  try {
    std::vector<uint8_t> mask(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
      const uint32_t* row = scratch.GetBits() + static_cast<ptrdiff_t>(y) * scratch.GetRowSpan();
      for (int32_t x = 0; x < width; ++x) mask[y * width + x] = static_cast<uint8_t>(row[x] >> 8);
    }
    if (mFlags & kRasterFontFiltered) Soften(mask, width, height);
    ShapeMask(mask.data(), width, height);
    const size_t offset = mGlyphMasks.size();
    mGlyphMasks.insert(mGlyphMasks.end(), mask.begin(), mask.end());
    glyph.maskPosition = static_cast<int32_t>(offset) + 1;
    glyph.width = width;
    glyph.height = height;
    glyph.advance = advance;
  } catch (...) {
    glyph.maskPosition = -1;  // out of memory: the glyph stays empty
  }
}

//---
void RasterFont::ShapeMask(uint8_t* mask, int32_t& width, int32_t& height) const {
  const size_t n = static_cast<size_t>(width) * height;
  if (mFlags & kRasterFontInverted) {
    for (size_t i = 0; i < n; ++i) mask[i] = static_cast<uint8_t>(255 - mask[i]);
  }
  if (mFlags & kRasterFontVertical) {
    // Clockwise: the top row becomes the right column; the other way with 0x2.
    std::vector<uint8_t> turned(mask, mask + n);
    const int32_t w = width, h = height;
    const bool other = (mFlags & kRasterFontOtherRotation) != 0;
    for (int32_t y = 0; y < w; ++y) {
      for (int32_t x = 0; x < h; ++x) {
        mask[y * h + x] = other ? turned[x * w + (w - 1 - y)] : turned[(h - 1 - x) * w + y];
      }
    }
    width = h;
    height = w;
  }
  if (mFlags & (kRasterFontMonochrome | kRasterFontShadow | kRasterFontOutline)) {
    for (size_t i = 0; i < n; ++i) mask[i] = mask[i] > kThreshold ? 255 : 0;
  }
  if (mFlags & (kRasterFontShadow | kRasterFontOutline)) {
    const bool outline = (mFlags & kRasterFontOutline) != 0;
    auto full = [&](int32_t x, int32_t y) {
      return x >= 0 && y >= 0 && x < width && y < height && mask[y * width + x] == 255;
    };
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        if (mask[y * width + x] != 0) continue;
        bool edge = full(x - 1, y) || full(x, y - 1);
        if (outline) edge = edge || full(x + 1, y) || full(x, y + 1);
        if (edge) mask[y * width + x] = 128;
      }
    }
  }
}

//---
bool RasterFont::UsesSystemText(uint32_t format) const {
  return RasterHasSystemTextDrawing() && (mFlags & kRasterFontPreferSystem) && mSystemFont != nullptr &&
         !(format & kTextGlyphsOnly) && !(format & kTextAlphaOpacity) && !(mFlags & kShapeFlags) &&
         (mLineGap == 0 || (format & kTextSingleLine)) && !RasterRunningUnderWine();
}

//---
int32_t RasterFont::DrawText(RasterBitmap* target, const char* text, int32_t length, RasterRect* rect,
                             uint32_t format) {
  if (text == nullptr || rect == nullptr || (target == nullptr && !(format & kTextCalcRect))) {
    return 0;
  }
  if (length < 0) {
    const size_t n = std::strlen(text);
    length = n > 0x7fffffff ? 0x7fffffff : static_cast<int32_t>(n);
  }
  if (UsesSystemText(format)) {
    return DrawSystemText(target, text, length, rect, format);
  }
  return DrawGlyphText(target, text, length, rect, format);
}

//---
int32_t RasterFont::DrawGlyphText(RasterBitmap* target, const char* text, int32_t length, RasterRect* rect,
                                  uint32_t format) {
  const bool calc = (format & kTextCalcRect) != 0;
  float opacity = mBlendAlpha;
  if (format & kTextAlphaOpacity) {
    opacity *= static_cast<float>(mTextColour >> 24) / 255.0f;
  }
  if (!calc && !(opacity > 0.0f)) {
    return 0;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(text);
  const bool singleLine = (format & kTextSingleLine) != 0;
  const int32_t lineStep = mLineHeight + mLineGap;

  // Walks the text, calling place(glyph, u, v) with the pen position along
  // the line (u) and across lines (v); returns the widest line and the lines.
  auto walk = [&](auto place, int32_t& widest, int32_t& lines) {
    int32_t u = 0, v = 0;
    widest = 0;
    lines = length > 0 ? 1 : 0;
    for (int32_t i = 0; i < length;) {
      uint32_t c = NextCodePoint(bytes, length, i);
      if (c == '\r') continue;
      if (c == '\n') {
        if (!singleLine) {
          widest = std::max(widest, u);
          u = 0;
          v += lineStep;
          ++lines;
          continue;
        }
        c = ' ';
      }
      const Glyph* g = GetGlyph(c);
      if (g == nullptr) continue;
      place(*g, u, v);
      u += g->advance;
    }
    widest = std::max(widest, u);
  };

  int32_t widest = 0, lines = 0;
  walk([](const Glyph&, int32_t, int32_t) {}, widest, lines);
  const int32_t total = lines > 0 ? lines * mLineHeight + (lines - 1) * mLineGap : 0;
  const bool vertical = (mFlags & kRasterFontVertical) != 0;
  const int32_t blockW = vertical ? total : widest;
  const int32_t blockH = vertical ? widest : total;
  if (calc) {
    rect->right = rect->left + blockW;
    rect->bottom = rect->top + blockH;
    return total;
  }

  int32_t x0 = rect->left, y0 = rect->top;
  if (format & kAlignFlags) {
    if (format & kTextCentre) x0 = rect->left + (rect->right - blockW - rect->left) / 2;
    if (format & kTextRight) x0 = rect->right - blockW;
    if (format & kTextVCentre) y0 = rect->top + (rect->bottom - blockH - rect->top) / 2;
    if (format & kTextBottom) y0 = rect->bottom - blockH;
  }
  RasterRect clip{0, 0, target->GetWidth(), target->GetHeight()};
  if (!(format & kTextNoClip)) {
    clip.left = std::max(rect->left, 0);
    clip.top = std::max(rect->top, 0);
    clip.right = std::min(rect->right, clip.right);
    clip.bottom = std::min(rect->bottom, clip.bottom);
  }
  if (clip.left >= clip.right || clip.top >= clip.bottom) {
    return 0;
  }
  RasterGlyphPaint paint;
  paint.textColour = mTextColour;
  paint.effectColour = mEffectColour;
  paint.backgroundColour = mBackgroundColour;
  paint.backgroundMode = mBackgroundMode;
  paint.blendMode = mBlendMode;
  paint.opacity = opacity;
  paint.kind = (mFlags & (kRasterFontShadow | kRasterFontOutline)) ? kRasterGlyphEffect
               : (mFlags & kRasterFontMonochrome)                   ? kRasterGlyphMonochrome
                                                                    : kRasterGlyphAntialiased;
  const bool other = (mFlags & kRasterFontOtherRotation) != 0;
  auto place = [&](const Glyph& g, int32_t u, int32_t v) {
    if (g.maskPosition <= 0) return;
    int32_t x = x0 + u, y = y0 + v;
    if (vertical) {
      x = other ? x0 + v : x0 + blockW - v - g.width;
      y = other ? y0 + blockH - u - g.height : y0 + u;
    }
    RasterDrawGlyph(target, mGlyphMasks.data() + g.maskPosition - 1, g.width, g.height, x, y, clip, paint);
  };
  walk(place, widest, lines);
  return total;
}
