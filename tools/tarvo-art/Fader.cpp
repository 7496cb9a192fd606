// The Delay fader's cap and track light, and the nudge buttons beside it.
#include <cmath>

#include "ArtPaint.h"
#include "ArtResources.h"
#include "Layout.h"

namespace {

using namespace palette;

//------------------------------------------------------------------------
int CapCentre(double v) {
  return layout::kFaderLeft + static_cast<int>(std::lround(v * layout::kFaderTravel));
}

}  // namespace

//------------------------------------------------------------------------
void PaintFaderCap(ArtStrip& strip) {
  const int w = layout::kFaderCapW, h = layout::kFaderCapH, top = layout::kFaderCapTop;
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    const int left = CapCentre(v) - w / 2;
    // Shadow falls down and right.
    FillBox(cr, left + 1, top + 2, w, h, Hex(0x000000), 0.35);
    FillBox(cr, left + 2, top + 3, w, h, Hex(0x000000), 0.20);
    // Body: brushed grey, lighter at the top.
    cairo_rectangle(cr, left, top, w, h);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, top, 0, top + h);
    cairo_pattern_add_color_stop_rgb(body, 0.0, 0.36, 0.375, 0.40);
    cairo_pattern_add_color_stop_rgb(body, 0.48, 0.25, 0.26, 0.28);
    cairo_pattern_add_color_stop_rgb(body, 0.52, 0.20, 0.21, 0.23);
    cairo_pattern_add_color_stop_rgb(body, 1.0, 0.15, 0.16, 0.175);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // 1-px highlight on top and left, shadow on bottom and right.
    FillBox(cr, left, top, w, 1, Hex(0xffffff), 0.28);
    FillBox(cr, left, top + 1, 1, h - 1, Hex(0xffffff), 0.14);
    FillBox(cr, left, top + h - 1, w, 1, Hex(0x000000), 0.5);
    FillBox(cr, left + w - 1, top, 1, h - 1, Hex(0x000000), 0.4);
    // Grip lines above and below the index line.
    for (int gy : {top + 4, top + 6, top + h - 7, top + h - 5}) {
      FillBox(cr, left + 3, gy, w - 6, 1, Hex(0x000000), 0.45);
      FillBox(cr, left + 3, gy + 1, w - 6, 1, Hex(0xffffff), 0.10);
    }
    // Index line across the cap's middle, where the track is.
    FillBox(cr, left + 1, layout::kFaderTrackY + 1, w - 2, 1, kValue);
  });
}

//------------------------------------------------------------------------
void PaintFaderLight(ArtStrip& strip) {
  const int ty = layout::kFaderTrackY;
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    const double cx = CapCentre(v) + 0.5;
    // A glow around the cap on the track, and the track itself lit from the
    // centre mark to the cap: how far the delay is from zero.
    cairo_save(cr);
    cairo_translate(cr, cx, ty + 1.5);
    cairo_scale(cr, 3.0, 1.0);
    cairo_pattern_t* glow = cairo_pattern_create_radial(0, 0, 0, 0, 0, 9);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, kAccent.r, kAccent.g, kAccent.b, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, kAccent.r, kAccent.g, kAccent.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, 0, 0, 9, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_restore(cr);
    const int zero = layout::kFaderLeft + layout::kFaderTravel / 2;
    const int c = CapCentre(v);
    const int a = std::min(zero, c), b = std::max(zero, c);
    FillBox(cr, a, ty + 1, b - a + 1, 1, kAccent);
  });
}

//------------------------------------------------------------------------
void PaintNudgeButton(ArtStrip& strip, bool plus) {
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const bool pressed = index == 1;
    const int x = 3, y = 3, w = 28, h = 19;
    RoundedBoxPath(cr, x + 1, y + 2, w, h, 3);
    SetColour(cr, Hex(0x000000), 0.35);
    cairo_fill(cr);
    RoundedBoxPath(cr, x, y, w, h, 3);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, y, 0, y + h);
    const double lift = pressed ? -0.03 : 0.0;
    cairo_pattern_add_color_stop_rgb(body, 0.0, 0.27 + lift, 0.285 + lift, 0.305 + lift);
    cairo_pattern_add_color_stop_rgb(body, 1.0, 0.17 + lift, 0.18 + lift, 0.195 + lift);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    DrawRaisedEdge(cr, x, y, w, h, 3, pressed ? 0.6 : 1.0);
    // The sign: 10 x 2 pixels, crisp; lit while pressed.
    const Rgb sign = pressed ? kAccent : kLabel;
    const int cx = x + w / 2, cy = y + h / 2;
    FillBox(cr, cx - 5, cy - 1, 10, 2, sign);
    if (plus) FillBox(cr, cx - 1, cy - 5, 2, 10, sign);
    if (pressed) {
      // A faint glow of the sign on the key face.
      RoundedBoxPath(cr, x + 1, y + 1, w - 2, h - 2, 2);
      SetColour(cr, kAccent, 0.06);
      cairo_fill(cr);
    }
  });
}
