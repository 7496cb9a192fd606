// The VU meter's three layers and the output level meters with their clip
// lights.
#include <algorithm>
#include <cmath>

#include "ArtPaint.h"
#include "ArtResources.h"
#include "Layout.h"

namespace {

using namespace palette;

//------------------------------------------------------------------------
void FillBand(cairo_t* cr, double cx, double cy, double r0, double r1, double fromDeg, double toDeg) {
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r1, CairoAngle(fromDeg), CairoAngle(toDeg));
  cairo_arc_negative(cr, cx, cy, r0, CairoAngle(toDeg), CairoAngle(fromDeg));
  cairo_close_path(cr);
}

}  // namespace

//------------------------------------------------------------------------
void PaintVuNeedle(ArtStrip& strip) {
  const double c = strip.Width() / 2.0;
  const double sweep = layout::kVuSweep;
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    const double deg = -sweep + 2 * sweep * v;
    auto needle = [&](double dx, double dy, Rgb col, double alpha, double w0, double w1) {
      cairo_save(cr);
      cairo_translate(cr, c + dx, c + dy);
      cairo_rotate(cr, CairoAngle(deg) + M_PI / 2);
      // Tapered: wider at the hub, fine at the tip.
      cairo_move_to(cr, -w0 / 2, -layout::kVuNeedleR0);
      cairo_line_to(cr, -w1 / 2, -layout::kVuNeedleR1);
      cairo_line_to(cr, w1 / 2, -layout::kVuNeedleR1);
      cairo_line_to(cr, w0 / 2, -layout::kVuNeedleR0);
      cairo_close_path(cr);
      SetColour(cr, col, alpha);
      cairo_fill(cr);
      cairo_restore(cr);
    };
    needle(1.2, 2.0, Hex(0x000000), 0.45, 2.6, 1.2);
    needle(0, 0, kValue, 1.0, 2.2, 1.1);
    // The tip in the accent colour, where the eye reads the scale.
    cairo_save(cr);
    cairo_translate(cr, c, c);
    cairo_rotate(cr, CairoAngle(deg) + M_PI / 2);
    cairo_rectangle(cr, -0.6, -layout::kVuNeedleR1, 1.2, 8.0);
    SetColour(cr, kAccent);
    cairo_fill(cr);
    cairo_restore(cr);
  });
}

//------------------------------------------------------------------------
void PaintVuBar(ArtStrip& strip, bool outer) {
  const double c = strip.Width() / 2.0;
  const double sweep = layout::kVuSweep;
  const double r0 = outer ? layout::kVuMidR0 : layout::kVuSideR0;
  const double r1 = outer ? layout::kVuMidR1 : layout::kVuSideR1;
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    if (v <= 0.0) return;
    const double to = -sweep + 2 * sweep * v;
    // A soft halo one pixel around the bar, then the bar.
    FillBand(cr, c, c, r0 - 1.0, r1 + 1.0, -sweep, to);
    SetColour(cr, kAccent, 0.18);
    cairo_fill(cr);
    FillBand(cr, c, c, r0, r1, -sweep, to);
    // The side bar a shade paler than the mid bar; flat colour reads best
    // on a band only a few pixels wide.
    const Rgb side{1.0, 0.78, 0.45};
    SetColour(cr, outer ? kAccent : side);
    cairo_fill(cr);
  });
}

//------------------------------------------------------------------------
void PaintLevelMeter(ArtStrip& strip) {
  const double c = 7.5, r = 6.0;
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    // Brightness follows the level in decibels over 48 dB.
    const double db = v > 0 ? 20.0 * std::log10(v) : -200.0;
    const double t = std::clamp((db + 48.0) / 48.0, 0.0, 1.0);
    if (t <= 0.0) return;
    cairo_new_path(cr);
    cairo_arc(cr, c, c, r + 1.0, 0, 2 * M_PI);
    SetColour(cr, kAccent, 0.25 * t);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, r, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(c - 1.5, c - 1.5, 0.5, c, c, r);
    const double hot = t * t;
    cairo_pattern_add_color_stop_rgba(p, 0.0, 1.0, 0.80 + 0.18 * hot, 0.45 + 0.5 * hot, 0.35 + 0.65 * t);
    cairo_pattern_add_color_stop_rgba(p, 1.0, kAccent.r, kAccent.g * 0.85, kAccent.b * 0.6, 0.2 + 0.8 * t);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  });
}

//------------------------------------------------------------------------
void PaintClipLight(ArtStrip& strip) {
  const double c = 5.5, r = 4.5;
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const bool lit = index == 1;
    cairo_new_path(cr);
    cairo_arc(cr, c, c, r + 1.0, 0, 2 * M_PI);
    SetColour(cr, kWarn, lit ? 0.45 : 0.2);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, c, c, r, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(c - 1.2, c - 1.2, 0.3, c, c, r);
    if (lit) {
      cairo_pattern_add_color_stop_rgb(p, 0.0, 1.0, 0.85, 0.8);
      cairo_pattern_add_color_stop_rgb(p, 0.45, kWarn.r, kWarn.g, kWarn.b);
      cairo_pattern_add_color_stop_rgb(p, 1.0, 0.75, 0.12, 0.08);
    } else {
      cairo_pattern_add_color_stop_rgb(p, 0.0, 0.55, 0.2, 0.17);
      cairo_pattern_add_color_stop_rgb(p, 1.0, 0.3, 0.08, 0.06);
    }
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  });
}
