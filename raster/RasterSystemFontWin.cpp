// Windows: system fonts are GDI fonts; glyphs are captured from DrawTextW on
// a DIB-section scratch surface, and text may go through DrawTextA/W itself.
#include <windows.h>

#include <cstring>
#include <vector>

#include "raster/RasterBlit.h"
#include "raster/RasterSystemFont.h"

namespace {

//---
BYTE QualityOf(int32_t quality) {
  switch (quality) {
    case 1: return NONANTIALIASED_QUALITY;
    case 2: return ANTIALIASED_QUALITY;
    case 3: return CLEARTYPE_QUALITY;
    default: return DEFAULT_QUALITY;
  }
}

//---
HDC ScratchDc() {
  return static_cast<HDC>(RasterGlyphScratch().GetDrawingContext());
}

// The second scratch surface, for system text drawn onto in-memory bitmaps.
RasterSysBitmap& TextScratch() {
  static RasterSysBitmap scratch(256, 256);
  return scratch;
}

//---
bool HasMultiByteSequences(const char* text, int32_t length) {
  for (int32_t i = 0; i < length; ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return true;
  }
  return false;
}

}  // namespace

//---
RasterSystemFont RasterCreateSystemFont(const RasterSystemFontRequest& request) {
  LOGFONTA lf = {};
  lf.lfHeight = request.height;
  lf.lfWidth = 0;
  lf.lfEscapement = request.escapement;
  lf.lfOrientation = request.escapement;
  lf.lfWeight = request.weight;
  lf.lfItalic = request.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = QualityOf(request.quality);
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  if (request.face != nullptr) {
    std::strncpy(lf.lfFaceName, request.face, LF_FACESIZE - 1);
  }
  return CreateFontIndirectA(&lf);
}

//---
void RasterDeleteSystemFont(RasterSystemFont font) {
  if (font != nullptr) DeleteObject(static_cast<HFONT>(font));
}

//---
RasterSysBitmap& RasterGlyphScratch() {
  static RasterSysBitmap scratch(256, 256);
  return scratch;
}

//---
int32_t RasterMeasureLineHeight(RasterSystemFont font) {
  HDC dc = ScratchDc();
  if (dc == nullptr || font == nullptr) return 0;
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(font));
  TEXTMETRICA metrics = {};
  const BOOL ok = GetTextMetricsA(dc, &metrics);
  SelectObject(dc, previous);
  return ok ? metrics.tmHeight : 0;
}

//---
void RasterMeasureChar(RasterSystemFont font, uint32_t codePoint, int32_t& advance, int32_t& height) {
  advance = 0;
  height = 0;
  HDC dc = ScratchDc();
  if (dc == nullptr || font == nullptr) return;
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(font));
  wchar_t c = static_cast<wchar_t>(codePoint);
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, &c, 1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  advance = r.right - r.left;
  height = r.bottom - r.top;
}

//---
void RasterDrawCharCell(RasterSystemFont font, uint32_t codePoint, int32_t width, int32_t height) {
  RasterSysBitmap& scratch = RasterGlyphScratch();
  HDC dc = ScratchDc();
  uint32_t* bits = scratch.GetBits();
  if (dc == nullptr || bits == nullptr || width > scratch.GetWidth() || height > scratch.GetHeight()) return;
  GdiFlush();
  const int32_t span = scratch.GetRowSpan();
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) bits[y * span + x] = 0xff000000u;
  }
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(font));
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, OPAQUE);
  wchar_t c = static_cast<wchar_t>(codePoint);
  RECT r = {0, 0, width, height};
  DrawTextW(dc, &c, 1, &r, DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  GdiFlush();
}

//---
bool RasterRunningUnderWine() {
  static const bool underWine = [] {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Wine", &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }();
  return underWine;
}

//---
bool RasterHasSystemTextDrawing() {
  return true;
}

//---
int32_t RasterFont::DrawSystemText(RasterBitmap* target, const char* text, int32_t length, RasterRect* rect,
                                   uint32_t format) {
  // UTF-8 with multi-byte sequences is drawn as UTF-16; invalid UTF-8 falls
  // back to 8-bit characters.
  wchar_t local[1024];
  std::vector<wchar_t> heap;
  wchar_t* wide = nullptr;
  int wideLength = 0;
  if (HasMultiByteSequences(text, length)) {
    wchar_t* buffer = local;
    int capacity = 1024;
    if (length > 999) {
      try {
        heap.resize(static_cast<size_t>(length) + 32);
      } catch (...) {
        return 0;
      }
      buffer = heap.data();
      capacity = static_cast<int>(heap.size());
    }
    wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, buffer, capacity);
    if (wideLength > 0) wide = buffer;
  }
  auto draw = [&](HDC dc, RECT* r, UINT f) {
    return wide != nullptr ? ::DrawTextW(dc, wide, wideLength, r, f) : ::DrawTextA(dc, text, length, r, f);
  };
  const UINT sysFormat = (format & 0x3fffffffu) | DT_NOPREFIX;
  HFONT font = static_cast<HFONT>(mSystemFont);
  const COLORREF colour = RGB((mTextColour >> 16) & 0xff, (mTextColour >> 8) & 0xff, mTextColour & 0xff);
  auto prepare = [&](HDC dc) {
    SetTextColor(dc, colour);
    SetBkMode(dc, mBackgroundMode == 2 ? OPAQUE : TRANSPARENT);
    if (mBackgroundMode == 2) {
      SetBkColor(dc, RGB((mBackgroundColour >> 16) & 0xff, (mBackgroundColour >> 8) & 0xff, mBackgroundColour & 0xff));
    }
  };

  HDC targetDc = target != nullptr ? static_cast<HDC>(target->GetDrawingContext()) : nullptr;
  if (targetDc != nullptr) {
    HGDIOBJ previous = SelectObject(targetDc, font);
    prepare(targetDc);
    RECT r = {rect->left, rect->top, rect->right, rect->bottom};
    const int result = draw(targetDc, &r, sysFormat);
    SelectObject(targetDc, previous);
    GdiFlush();
    if (format & kTextCalcRect) *rect = {r.left, r.top, r.right, r.bottom};
    return result;
  }

  // In-memory target: measure, then draw on the second scratch surface over a
  // copy of the pixels under the text, and blit it back.
  RasterSysBitmap& scratch = TextScratch();
  HDC dc = static_cast<HDC>(scratch.GetDrawingContext());
  if (dc == nullptr) return 0;
  HGDIOBJ previous = SelectObject(dc, font);
  RECT measured = {rect->left, rect->top, rect->right, rect->bottom};
  const UINT measureFormat = (sysFormat & ~UINT{kTextCentre | kTextRight | kTextVCentre | kTextBottom}) | DT_CALCRECT;
  int result = draw(dc, &measured, measureFormat);
  const int32_t w = measured.right - measured.left, h = measured.bottom - measured.top;
  if (format & kTextCalcRect) {
    SelectObject(dc, previous);
    *rect = {rect->left, rect->top, rect->left + w, rect->top + h};
    return result;
  }
  int32_t x = rect->left, y = rect->top;
  const int32_t rw = rect->right - rect->left, rh = rect->bottom - rect->top;
  if (w < rw) {
    if (format & kTextRight) x = rect->right - w;
    else if (format & kTextCentre) x = rect->left + (rw - w) / 2;
  }
  if (h < rh) {
    if (format & kTextBottom) y = rect->bottom - h;
    else if (format & kTextVCentre) y = rect->top + (rh - h) / 2;
  }
  if (w <= 0 || h <= 0) {
    SelectObject(dc, previous);
    return result;
  }
  scratch.Resize(w > scratch.GetWidth() ? w : scratch.GetWidth(), h > scratch.GetHeight() ? h : scratch.GetHeight());
  GdiFlush();
  const RasterRect under{x, y, x + w, y + h};
  RasterBlit(&scratch, target, 0, 0, &under, 1.0f, kRasterCopy);
  prepare(dc);
  RECT r = {0, 0, w, h};
  result = draw(dc, &r, measureFormat & ~UINT{DT_CALCRECT});
  SelectObject(dc, previous);
  GdiFlush();
  const RasterRect drawn{0, 0, w, h};
  RasterBlit(target, &scratch, x, y, &drawn, mBlendAlpha, kRasterCopy);
  return result;
}
