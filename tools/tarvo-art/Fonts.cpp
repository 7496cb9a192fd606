// The two bitmap fonts of the value readouts: 95 glyph frames each, frame
// c - 31 (from 1) for character c. '^' is drawn as the micro sign and '$' as
// the degree sign.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ArtPaint.h"
#include "ArtResources.h"

namespace {

using namespace palette;

// Advances of the large-font labels; a glyph keeps one column free.
int LargeAdvance(char c) {
  switch (c) {
  case 'w': case 'm': case 'M': case 'W': case 'O': case 'G': return 8;
  case 'l': case 'i': return 3;
  case 'r': return 5;
  case ' ': case '1': case '(': case ',': case 'I': return 6;
  case ')': return 7;
  case '^': case 'a': case '-': case 'f': case 't': return 6;
  case '.': return 4;
  default: return 7;
  }
}

//------------------------------------------------------------------------
unsigned long LargeCodePoint(char c) {
  if (c == '^') return 0xB5;  // micro sign
  if (c == '$') return 0xB0;  // degree sign
  return static_cast<unsigned char>(c);
}

}  // namespace

//------------------------------------------------------------------------
void PaintSmallFont(const ArtContext& ctx, ArtStrip& strip) {
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const char c = static_cast<char>(32 + index);
    const auto& rows = ctx.smallFont.Glyph(c);
    SetColour(cr, kValue);
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t col = 0; col < rows[r].size(); ++col)
        if (rows[r][col] == '#') cairo_rectangle(cr, static_cast<double>(col), static_cast<double>(r), 1, 1);
    cairo_fill(cr);
  });
}

//------------------------------------------------------------------------
void PaintLargeFont(const ArtContext& ctx, ArtStrip& strip) {
  // Its own FreeType instance: other painters use the shared faces through
  // cairo on another thread.
  FT_Library library;
  if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType does not start");
  FT_Face face;
  const std::string path = ctx.fontDir + "/DejaVuSansCondensed-Bold.ttf";
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
    FT_Done_FreeType(library);
    throw std::runtime_error("cannot load the font " + path);
  }
  constexpr int kPixelSize = 12;
  constexpr int kBaseline = 10;  // caps stand on rows 2..10, descenders below
  FT_Set_Pixel_Sizes(face, 0, kPixelSize);
  const int cellW = strip.Width(), cellH = strip.FrameHeight();
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const char c = static_cast<char>(32 + index);
    if (c == ' ') return;
    const int maxInk = LargeAdvance(c) - 1;
    // Render hinted; a glyph wider than its advance allows is narrowed
    // until it fits, keeping its hinted heights.
    double squeeze = 1.0;
    for (int attempt = 0; attempt < 6; ++attempt) {
      FT_Matrix m{static_cast<FT_Fixed>(std::lround(squeeze * 65536.0)), 0, 0, 0x10000};
      FT_Set_Transform(face, &m, nullptr);
      if (FT_Load_Char(face, LargeCodePoint(c), FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return;
      const int w = static_cast<int>(face->glyph->bitmap.width);
      if (w <= maxInk) break;
      squeeze *= (maxInk - 0.35) / w;
    }
    const FT_Bitmap& bm = face->glyph->bitmap;
    const int w = static_cast<int>(bm.width), h = static_cast<int>(bm.rows);
    const int left = std::max(0, (maxInk - w + 1) / 2);
    const int top = kBaseline + 1 - face->glyph->bitmap_top;
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_surface_flush(target);
    unsigned char* data = cairo_image_surface_get_data(target);
    const int stride = cairo_image_surface_get_stride(target);
    for (int y = 0; y < h; ++y) {
      const int ty = top + y;
      if (ty < 0 || ty >= cellH) continue;
      for (int x = 0; x < w; ++x) {
        const int tx = left + x;
        if (tx < 0 || tx >= cellW) continue;
        const unsigned a = bm.buffer[y * bm.pitch + x];
        // Premultiplied ARGB32, as cairo stores it.
        const auto pm = [a](double ch) { return static_cast<uint32_t>(std::lround(ch * 255.0 * a / 255.0)); };
        reinterpret_cast<uint32_t*>(data + ty * stride)[tx] =
            (a << 24) | (pm(kValue.r) << 16) | (pm(kValue.g) << 8) | pm(kValue.b);
      }
    }
    cairo_surface_mark_dirty(target);
  });
  FT_Done_Face(face);
  FT_Done_FreeType(library);
}
