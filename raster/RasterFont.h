// A font of the raster library: wraps a system font (a GDI font on Windows, a
// FreeType face found through fontconfig elsewhere) and draws UTF-8 text into
// a RasterBitmap, through the system's own text drawing (Windows only) or
// through 8-bit glyph masks rendered once per code point. Fonts are used on
// the editor's thread only; rendering a new glyph allocates.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/RasterBitmap.h"

// <windows.h> maps DrawText to DrawTextA/W; the method keeps its own name.
#ifdef DrawText
#undef DrawText
#endif

// A system font handle (HFONT on Windows).
using RasterSystemFont = void*;

// Font flags.
enum : int32_t {
  kRasterFontVertical = 0x1,        // glyphs rotated for vertical text
  kRasterFontOtherRotation = 0x2,   // with kRasterFontVertical: the other direction
  kRasterFontAsciiOnly = 0x4,       // render 0..127 at SetFont, never add other glyphs
  kRasterFontFiltered = 0x10,       // soften each glyph before capture
  kRasterFontInverted = 0x20,       // invert coverage
  kRasterFontMonochrome = 0x40,     // coverage above 130 becomes 255, the rest 0
  kRasterFontShadow = 0x80,         // monochrome plus a shadow right of and below it
  kRasterFontOutline = 0x100,       // monochrome plus an outline around it
  kRasterFontOwnsSystemFont = 0x200,
  kRasterFontPreferSystem = 0x400,  // use the system's text drawing where possible
};

// Text format flags of DrawText: the system's own plus two of this library.
enum : uint32_t {
  kTextCentre = 0x1,
  kTextRight = 0x2,
  kTextVCentre = 0x4,
  kTextBottom = 0x8,
  kTextSingleLine = 0x20,
  kTextNoClip = 0x100,
  kTextCalcRect = 0x400,
  kTextNoPrefix = 0x800,
  kTextAlphaOpacity = 0x40000000,  // multiply the opacity by the text colour's alpha
  kTextGlyphsOnly = 0x80000000,    // never use the system's text drawing
};

class RasterFont {
public:
  RasterFont() = default;
  virtual ~RasterFont();
  RasterFont(const RasterFont&) = delete;
  RasterFont& operator=(const RasterFont&) = delete;

  // Takes a system font (deleting an owned previous one), measures its line
  // height and forgets all glyphs.
  virtual void SetFont(RasterSystemFont font, int32_t flags);
  virtual uint32_t SetTextColour(uint32_t argb);
  virtual uint32_t SetBackgroundColour(uint32_t argb);
  virtual uint32_t SetEffectColour(uint32_t argb);
  // 1 transparent, 2 opaque; returns the previous mode.
  virtual int32_t SetBackgroundMode(int32_t mode);
  virtual void SetBlend(int32_t mode, float alpha);
  // Draws length bytes of UTF-8 text (-1: up to the NUL) into rect of target.
  // With kTextCalcRect nothing is drawn (target may be nullptr) and rect
  // receives the text's extent. Returns the height of the text (its width
  // for vertical fonts), 0 when nothing was drawn.
  virtual int32_t DrawText(RasterBitmap* target, const char* text, int32_t length, RasterRect* rect,
                           uint32_t format);
  virtual uint32_t GetTextColour() const { return mTextColour; }
  virtual RasterSystemFont GetSystemFont() const { return mSystemFont; }

  int32_t GetFlags() const { return mFlags; }
  int32_t GetLineHeight() const { return mLineHeight; }
  void SetLineGap(int32_t gap) { mLineGap = gap; }

private:
  struct Glyph {
    int32_t maskPosition = 0;  // 1 + offset in mGlyphMasks; 0 not rendered; -1 no pixels
    int32_t width = 0;
    int32_t height = 0;
    int32_t advance = 0;
    uint16_t codePoint = 0;
  };

  const Glyph* GetGlyph(uint32_t codePoint);
  void RenderGlyph(uint32_t codePoint, Glyph& glyph);
  void ShapeMask(uint8_t* mask, int32_t& width, int32_t& height) const;
  bool UsesSystemText(uint32_t format) const;
  int32_t DrawGlyphText(RasterBitmap* target, const char* text, int32_t length, RasterRect* rect, uint32_t format);
  int32_t DrawSystemText(RasterBitmap* target, const char* text, int32_t length, RasterRect* rect, uint32_t format);

  uint32_t mTextColour = 0;
  uint32_t mBackgroundColour = 0xffffffffu;
  uint32_t mEffectColour = 0xffffffffu;
  int32_t mBackgroundMode = 1;
  int32_t mBlendMode = 0;
  float mBlendAlpha = 1.0f;
  int32_t mFlags = 0;
  int32_t mLineHeight = 0;
  int32_t mLineGap = 0;
  Glyph mAsciiGlyphs[128];
  std::vector<Glyph> mOtherGlyphs;  // sorted by code point
  std::vector<uint8_t> mGlyphMasks;
  RasterSystemFont mSystemFont = nullptr;
};
