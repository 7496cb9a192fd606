// Systems without GDI: system fonts are FreeType faces found through
// fontconfig, whose substitution picks an installed face for names such as
// "Verdana". All text takes the glyph path.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <mutex>
#include <new>

#include "raster/RasterSystemFont.h"

namespace {

struct FtFont {
  FT_Face face = nullptr;
  int32_t ascent = 0;
  int32_t lineHeight = 0;
  bool monochrome = false;
};

// FreeType's library object is shared by all faces; creating and deleting
// faces is serialised through this lock.
std::mutex gFreeTypeLock;
FT_Library gFreeType = nullptr;

//---
FT_Library Library() {
  if (gFreeType == nullptr && FT_Init_FreeType(&gFreeType) != 0) {
    gFreeType = nullptr;
  }
  return gFreeType;
}

//---
bool MatchFontFile(const RasterSystemFontRequest& request, int32_t pixels, char* path, size_t pathSize,
                   int* index) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face != nullptr ? request.face : ""));
  FcPatternAddInteger(pattern, FC_WEIGHT, request.weight >= 700 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixels);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* file = nullptr;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr &&
            std::strlen(reinterpret_cast<const char*>(file)) < pathSize;
  if (ok) {
    std::strcpy(path, reinterpret_cast<const char*>(file));
    if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
  }
  FcPatternDestroy(match);
  return ok;
}

//---
FtFont* AsFont(RasterSystemFont font) {
  return static_cast<FtFont*>(font);
}

//---
bool LoadGlyph(FtFont* font, uint32_t codePoint) {
  const FT_Int32 target = font->monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  return FT_Load_Char(font->face, codePoint, FT_LOAD_DEFAULT | target) == 0;
}

}  // namespace

//---
RasterSystemFont RasterCreateSystemFont(const RasterSystemFontRequest& request) {
  // A cell height of 0 asks for the default size, as it does for GDI.
  int32_t pixels = request.height < 0 ? -request.height : request.height;
  if (pixels == 0) pixels = 12;
  if (pixels > 2048) return nullptr;
  char path[4096];
  int index = 0;
  if (!MatchFontFile(request, pixels, path, sizeof(path), &index)) return nullptr;

  std::lock_guard<std::mutex> lock(gFreeTypeLock);
  FT_Library library = Library();
  FT_Face face = nullptr;
  if (library == nullptr || FT_New_Face(library, path, index, &face) != 0) return nullptr;
  // A positive height is the whole cell (ascender to descender), as for GDI.
  FT_Size_RequestRec size = {};
  size.type = request.height > 0 ? FT_SIZE_REQUEST_TYPE_REAL_DIM : FT_SIZE_REQUEST_TYPE_NOMINAL;
  size.height = static_cast<FT_Long>(pixels) * 64;
  if (FT_Request_Size(face, &size) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  FtFont* font = new (std::nothrow) FtFont;
  if (font == nullptr) {
    FT_Done_Face(face);
    return nullptr;
  }
  font->face = face;
  // Rounded as a whole, so that the cell is as high as asked for.
  const FT_Pos ascender = face->size->metrics.ascender, descender = face->size->metrics.descender;
  font->ascent = static_cast<int32_t>((ascender + 32) >> 6);
  font->lineHeight = static_cast<int32_t>((ascender - descender + 32) >> 6);
  font->monochrome = request.quality == 1;
  return font;
}

//---
void RasterDeleteSystemFont(RasterSystemFont font) {
  if (font == nullptr) return;
  std::lock_guard<std::mutex> lock(gFreeTypeLock);
  FT_Done_Face(AsFont(font)->face);
  delete AsFont(font);
}

//---
RasterSysBitmap& RasterGlyphScratch() {
  static RasterSysBitmap scratch(256, 256);
  return scratch;
}

//---
int32_t RasterMeasureLineHeight(RasterSystemFont font) {
  return font != nullptr ? AsFont(font)->lineHeight : 0;
}

//---
void RasterMeasureChar(RasterSystemFont font, uint32_t codePoint, int32_t& advance, int32_t& height) {
  advance = 0;
  height = 0;
  FtFont* f = AsFont(font);
  if (f == nullptr || !LoadGlyph(f, codePoint)) return;
  advance = static_cast<int32_t>((f->face->glyph->advance.x + 32) >> 6);
  height = f->lineHeight;
}

//---
void RasterDrawCharCell(RasterSystemFont font, uint32_t codePoint, int32_t width, int32_t height) {
  RasterSysBitmap& scratch = RasterGlyphScratch();
  uint32_t* bits = scratch.GetBits();
  if (bits == nullptr || width > scratch.GetWidth() || height > scratch.GetHeight()) return;
  const int32_t span = scratch.GetRowSpan();
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) bits[y * span + x] = 0xff000000u;
  }
  FtFont* f = AsFont(font);
  if (f == nullptr || !LoadGlyph(f, codePoint)) return;
  FT_GlyphSlot slot = f->face->glyph;
  if (FT_Render_Glyph(slot, f->monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return;
  const FT_Bitmap& bm = slot->bitmap;
  const int32_t left = slot->bitmap_left;
  const int32_t top = f->ascent - slot->bitmap_top;
  for (int32_t row = 0; row < static_cast<int32_t>(bm.rows); ++row) {
    const int32_t y = top + row;
    if (y < 0 || y >= height) continue;
    const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(row) * bm.pitch;
    for (int32_t col = 0; col < static_cast<int32_t>(bm.width); ++col) {
      const int32_t x = left + col;
      if (x < 0 || x >= width) continue;
      uint32_t v = 0;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
        v = (src[col >> 3] >> (7 - (col & 7))) & 1 ? 255 : 0;
      } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.num_grays > 1) {
        v = src[col] * 255u / (bm.num_grays - 1);
      }
      bits[y * span + x] = 0xff000000u | v << 16 | v << 8 | v;
    }
  }
}

//---
bool RasterRunningUnderWine() {
  return false;
}

//---
bool RasterHasSystemTextDrawing() {
  return false;
}

//---
int32_t RasterFont::DrawSystemText(RasterBitmap* target, const char* text, int32_t length, RasterRect* rect,
                                   uint32_t format) {
  return DrawGlyphText(target, text, length, rect, format);
}
