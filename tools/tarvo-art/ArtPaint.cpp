#include "ArtPaint.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <stdexcept>

namespace {

FT_Library gLibrary = nullptr;
FT_Face gFaces[4] = {};
cairo_font_face_t* gCairoFaces[4] = {};

const char* const kFaceFiles[4] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansCondensed.ttf",
                                   "DejaVuSansCondensed-Bold.ttf"};

//------------------------------------------------------------------------
void SelectFace(cairo_t* cr, ArtFace face, double px) {
  cairo_set_font_face(cr, gCairoFaces[static_cast<int>(face)]);
  cairo_set_font_size(cr, px);
  // Full hinting with grey antialiasing and whole-pixel metrics: small text
  // snaps to the pixel grid the same way on every run.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

}  // namespace

//------------------------------------------------------------------------
void LoadArtFonts(const std::string& fontDir) {
  if (FT_Init_FreeType(&gLibrary) != 0) throw std::runtime_error("FreeType does not start");
  for (int i = 0; i < 4; ++i) {
    const std::string path = fontDir + "/" + kFaceFiles[i];
    if (FT_New_Face(gLibrary, path.c_str(), 0, &gFaces[i]) != 0)
      throw std::runtime_error("cannot load the font " + path);
    gCairoFaces[i] = cairo_ft_font_face_create_for_ft_face(gFaces[i], 0);
  }
}

//------------------------------------------------------------------------
void FreeArtFonts() {
  for (int i = 0; i < 4; ++i) {
    if (gCairoFaces[i]) cairo_font_face_destroy(gCairoFaces[i]);
    gCairoFaces[i] = nullptr;
  }
  // cairo keeps scaled fonts cached until it is reset; it must let go of the
  // faces before FreeType frees them.
  cairo_debug_reset_static_data();
  for (int i = 0; i < 4; ++i) {
    if (gFaces[i]) FT_Done_Face(gFaces[i]);
    gFaces[i] = nullptr;
  }
  if (gLibrary) FT_Done_FreeType(gLibrary);
  gLibrary = nullptr;
}

//------------------------------------------------------------------------
void SetColour(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

//------------------------------------------------------------------------
void FillBox(cairo_t* cr, int x, int y, int w, int h, Rgb c, double alpha) {
  SetColour(cr, c, alpha);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

//------------------------------------------------------------------------
void RoundedBoxPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  const double pi = M_PI;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

//------------------------------------------------------------------------
void DrawWell(cairo_t* cr, int x, int y, int w, int h, double radius, Rgb fill) {
  // Highlight one pixel below and right of the well, shadow inside along
  // its top and left edge: light from the top left falls into a recess.
  cairo_save(cr);
  RoundedBoxPath(cr, x, y, w + 1, h + 1, radius);
  SetColour(cr, palette::kHighlight, 0.55);
  cairo_fill(cr);
  RoundedBoxPath(cr, x, y, w, h, radius);
  SetColour(cr, palette::kShadow);
  cairo_fill(cr);
  RoundedBoxPath(cr, x + 1, y + 1, w - 1, h - 1, radius > 1 ? radius - 1 : radius);
  SetColour(cr, fill);
  cairo_fill(cr);
  cairo_restore(cr);
}

//------------------------------------------------------------------------
void DrawRaisedEdge(cairo_t* cr, int x, int y, int w, int h, double radius, double strength) {
  cairo_save(cr);
  cairo_set_line_width(cr, 1.0);
  RoundedBoxPath(cr, x + 0.5, y + 0.5, w - 1, h - 1, radius);
  cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + w * 0.35, y + h);
  cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, 0.22 * strength);
  cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0.04 * strength);
  cairo_pattern_add_color_stop_rgba(p, 0.51, 0, 0, 0, 0.10 * strength);
  cairo_pattern_add_color_stop_rgba(p, 1.0, 0, 0, 0, 0.45 * strength);
  cairo_set_source(cr, p);
  cairo_stroke(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

//------------------------------------------------------------------------
double TextWidth(cairo_t* cr, ArtFace face, double px, const std::string& utf8, double tracking) {
  cairo_save(cr);
  SelectFace(cr, face, px);
  double w = 0;
  if (tracking == 0.0) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, utf8.c_str(), &e);
    w = e.x_advance;
  } else {
    // One character at a time (the texts here are ASCII or whole UTF-8
    // sequences of one code point).
    for (size_t i = 0; i < utf8.size();) {
      size_t n = 1;
      const unsigned char c = static_cast<unsigned char>(utf8[i]);
      if (c >= 0xc0) n = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : 2;
      cairo_text_extents_t e;
      cairo_text_extents(cr, utf8.substr(i, n).c_str(), &e);
      w += e.x_advance + tracking;
      i += n;
    }
    w -= tracking;
  }
  cairo_restore(cr);
  return w;
}

//------------------------------------------------------------------------
double DrawText(cairo_t* cr, ArtFace face, double px, double x, double y, const std::string& utf8, Rgb c,
                Align align, double tracking, double alpha) {
  const double w = TextWidth(cr, face, px, utf8, tracking);
  double start = x;
  if (align == Align::kCentre) start = std::round(x - w / 2);
  if (align == Align::kRight) start = std::round(x - w);
  cairo_save(cr);
  SelectFace(cr, face, px);
  SetColour(cr, c, alpha);
  double pen = start;
  for (size_t i = 0; i < utf8.size();) {
    size_t n = 1;
    const unsigned char ch = static_cast<unsigned char>(utf8[i]);
    if (ch >= 0xc0) n = ch >= 0xf0 ? 4 : ch >= 0xe0 ? 3 : 2;
    const std::string piece = tracking == 0.0 ? utf8 : utf8.substr(i, n);
    cairo_move_to(cr, pen, y);
    cairo_show_text(cr, piece.c_str());
    if (tracking == 0.0) break;
    cairo_text_extents_t e;
    cairo_text_extents(cr, piece.c_str(), &e);
    pen += std::round(e.x_advance + tracking);
    i += n;
  }
  cairo_restore(cr);
  return w;
}

//------------------------------------------------------------------------
int DrawPixelText(cairo_t* cr, const PixelFont& font, int x, int y, const std::string& text, Rgb c,
                  Align align, double alpha) {
  const int w = PixelFont::TextWidth(text);
  int pen = x;
  if (align == Align::kCentre) pen = x - w / 2;
  if (align == Align::kRight) pen = x - w;
  cairo_save(cr);
  SetColour(cr, c, alpha);
  for (size_t i = 0; i < text.size(); ++i) {
    if (i > 0) pen += PixelFont::ExtraBefore(text[i]);
    const auto& rows = font.Glyph(text[i]);
    for (size_t r = 0; r < rows.size() && r < 6; ++r)
      for (size_t col = 0; col < rows[r].size(); ++col)
        if (rows[r][col] == '#') cairo_rectangle(cr, pen + static_cast<int>(col), y + static_cast<int>(r), 1, 1);
    pen += PixelFont::Advance(text[i]);
  }
  cairo_fill(cr);
  cairo_restore(cr);
  return w;
}

//------------------------------------------------------------------------
double CairoAngle(double degreesFromUp) {
  return (degreesFromUp - 90.0) * M_PI / 180.0;
}

//------------------------------------------------------------------------
void PolarPoint(double cx, double cy, double radius, double degreesFromUp, double* x, double* y) {
  const double a = CairoAngle(degreesFromUp);
  *x = cx + radius * std::cos(a);
  *y = cy + radius * std::sin(a);
}
