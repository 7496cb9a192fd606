// Name plates, switch plates, the maker's and the product's logos and the
// oversampling-style indicator.
#include <cmath>

#include "ArtPaint.h"
#include "ArtResources.h"
#include "Layout.h"

namespace {

using namespace palette;

//------------------------------------------------------------------------
// Starts a plate frame with the background it lies on: the plate is opaque,
// so it must be indistinguishable from the panel around its text.
void PaintBackgroundCrop(cairo_t* cr, const ArtContext& ctx, int x, int y) {
  // A surface of this thread's own over the shared, read-only pixels.
  cairo_surface_t* shared = ctx.plateGround;
  cairo_surface_t* view = cairo_image_surface_create_for_data(
      cairo_image_surface_get_data(shared), CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(shared),
      cairo_image_surface_get_height(shared), cairo_image_surface_get_stride(shared));
  cairo_set_source_surface(cr, view, -x, -y);
  cairo_paint(cr);
  cairo_surface_destroy(view);
}

}  // namespace

//------------------------------------------------------------------------
void PaintNamePlate(const ArtContext& ctx, ArtStrip& strip, int x, int y, const char* name) {
  // The text centre sits on row 8, where the readout beneath is centred.
  strip.DrawFrames([&](cairo_t* cr, int, double) {
    PaintBackgroundCrop(cr, ctx, x, y);
    DrawText(cr, ArtFace::kCondensedBold, 9.0, strip.Width() / 2.0, 12.0, name, kLabel, Align::kCentre, 1.0);
  });
}

//------------------------------------------------------------------------
void PaintAnglePlate(const ArtContext& ctx, ArtStrip& strip) {
  // The Angle readout is drawn after this plate, over it: the plate keeps
  // the rows of the readout clear and carries the name below them, where it
  // fades while the knob is pointed at.
  const int x = layout::kAnglePlate.x, y = layout::kAnglePlate.y;
  strip.DrawFrames([&](cairo_t* cr, int, double) {
    PaintBackgroundCrop(cr, ctx, x, y);
    DrawPixelText(cr, ctx.smallFont, strip.Width() / 2 + 1, 13, "ANGLE", kLabel, Align::kCentre);
  });
}

//------------------------------------------------------------------------
void PaintSwitchPlate(const ArtContext& ctx, ArtStrip& strip, int x, int y, const char* name) {
  strip.DrawFrames([&](cairo_t* cr, int, double) {
    PaintBackgroundCrop(cr, ctx, x, y);
    DrawPixelText(cr, ctx.smallFont, strip.Width() / 2 + 1, 3, name, kLabel, Align::kCentre);
  });
}

//------------------------------------------------------------------------
void PaintMakerLogo(const ArtContext& ctx, ArtStrip& strip) {
  const int x = layout::kLogoPlate.x, y = layout::kLogoPlate.y;
  strip.DrawFrames([&](cairo_t* cr, int, double) {
    PaintBackgroundCrop(cr, ctx, x, y);
    const double cx = 17.5, cy = 15.5;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 9.5, 0, 2 * M_PI);
    SetColour(cr, Hex(0x0c0d0f));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 9.5, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, kDecor);
    cairo_stroke(cr);
    DrawText(cr, ArtFace::kSansBold, 13, cx + 0.5, cy + 3.5, "q", kLabel, Align::kCentre);
    DrawPixelText(cr, ctx.smallFont, 18, 28, "QUENBY", kScale, Align::kCentre);
  });
}

//------------------------------------------------------------------------
void PaintProductLogo(const ArtContext&, ArtStrip& strip) {
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const bool lit = index == 1;
    if (lit) {
      // A low glow behind the word while the button is held.
      cairo_save(cr);
      cairo_translate(cr, 44, 20);
      cairo_scale(cr, 3.2, 1.0);
      cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, 16);
      cairo_pattern_add_color_stop_rgba(g, 0.0, kAccent.r, kAccent.g, kAccent.b, 0.22);
      cairo_pattern_add_color_stop_rgba(g, 1.0, kAccent.r, kAccent.g, kAccent.b, 0.0);
      cairo_set_source(cr, g);
      cairo_arc(cr, 0, 0, 16, 0, 2 * M_PI);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      cairo_restore(cr);
    }
    // Shadow one pixel down, then the word.
    DrawText(cr, ArtFace::kSansBold, 25, 7, 29, "Tarvo", Hex(0x000000), Align::kLeft, 0.5, 0.6);
    DrawText(cr, ArtFace::kSansBold, 25, 6, 28, "Tarvo", lit ? kAccent : kValue, Align::kLeft, 0.5);
    DrawText(cr, ArtFace::kCondensedBold, 7.5, 90, 18, "PHASE", lit ? kAccent : kScale, Align::kLeft, 0.5);
    DrawText(cr, ArtFace::kCondensedBold, 7.5, 90, 28, "DYNAMICS", lit ? kAccent : kScale, Align::kLeft, 0.5);
  });
}

//------------------------------------------------------------------------
void PaintModeIndicator(ArtStrip& strip) {
  // Frames: off, "Regular" (shown dimmed), "Clear" (lit). The clickable
  // area is the left 68 columns.
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const int w = layout::kModeToggleR - layout::kModeIndicator.x;
    const int h = layout::kModeToggleB - layout::kModeIndicator.y;
    RoundedBoxPath(cr, 0.5, 0.5, w - 1, h - 1, 3);
    SetColour(cr, Hex(0x15171a), 0.96);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, index == 0 ? kDecor : kScale);
    cairo_stroke(cr);
    struct Row {
      const char* text;
      int y;
      bool lit;
      double strength;
    };
    const Row rows[2] = {{"REGULAR", 14, index == 1, 0.55}, {"CLEAR", 27, index == 2, 1.0}};
    for (const Row& row : rows) {
      const double lx = 9.5, ly = row.y - 3.5;
      cairo_new_path(cr);
      cairo_arc(cr, lx, ly, 2.5, 0, 2 * M_PI);
      if (row.lit) {
        SetColour(cr, kAccent, row.strength);
      } else {
        SetColour(cr, kAccentDim, 0.8);
      }
      cairo_fill(cr);
      DrawText(cr, ArtFace::kCondensedBold, 8, 17, row.y, row.text,
               row.lit ? (row.strength < 1.0 ? kLabel : kValue) : kDecor, Align::kLeft, 0.6);
    }
  });
}
