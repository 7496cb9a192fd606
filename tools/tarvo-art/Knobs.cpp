// The round knobs (small knobs, the endless Angle knob) and the screw.
#include <cmath>

#include "ArtPaint.h"
#include "ArtResources.h"
#include "Layout.h"

namespace {

using namespace palette;

//------------------------------------------------------------------------
void StrokeArc(cairo_t* cr, double cx, double cy, double r, double fromDeg, double toDeg, double width, Rgb c,
               double alpha = 1.0) {
  if (toDeg < fromDeg) std::swap(fromDeg, toDeg);
  if (toDeg - fromDeg < 1e-9) return;
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, CairoAngle(fromDeg), CairoAngle(toDeg));
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  SetColour(cr, c, alpha);
  cairo_stroke(cr);
}

//------------------------------------------------------------------------
void DrawPointer(cairo_t* cr, double cx, double cy, double r0, double r1, double deg, double width) {
  double x0, y0, x1, y1;
  PolarPoint(cx, cy, r0, deg, &x0, &y0);
  PolarPoint(cx, cy, r1, deg, &x1, &y1);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  // A dark groove beside the line keeps it readable on the lit top face.
  cairo_set_line_width(cr, width + 1.4);
  SetColour(cr, kShadow, 0.55);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
  cairo_set_line_width(cr, width);
  SetColour(cr, kValue);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

//------------------------------------------------------------------------
cairo_surface_t* BodySurface(int w, int h, double cx, double cy, double r) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  DrawKnobBody(cr, cx, cy, r);
  cairo_destroy(cr);
  return s;
}

}  // namespace

//------------------------------------------------------------------------
void DrawKnobBody(cairo_t* cr, double cx, double cy, double r) {
  cairo_save(cr);
  // Cast shadow down and right, two soft steps.
  for (int i = 0; i < 2; ++i) {
    cairo_new_path(cr);
    cairo_arc(cr, cx + 0.8 + i * 0.8, cy + 1.2 + i * 1.0, r + 0.6 - i * 0.3, 0, 2 * M_PI);
    SetColour(cr, Hex(0x000000), 0.30);
    cairo_fill(cr);
  }
  // Skirt: lit from the top left.
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_pattern_t* skirt = cairo_pattern_create_linear(cx - r, cy - r, cx + r * 0.6, cy + r);
  cairo_pattern_add_color_stop_rgb(skirt, 0.0, 0.40, 0.42, 0.45);
  cairo_pattern_add_color_stop_rgb(skirt, 0.5, 0.22, 0.235, 0.255);
  cairo_pattern_add_color_stop_rgb(skirt, 1.0, 0.10, 0.105, 0.115);
  cairo_set_source(cr, skirt);
  cairo_fill(cr);
  cairo_pattern_destroy(skirt);
  // Top face, slightly smaller, with the opposite slope: a shallow dish.
  const double top = r * 0.80;
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, top, 0, 2 * M_PI);
  cairo_pattern_t* face = cairo_pattern_create_linear(cx - top, cy - top, cx + top, cy + top);
  cairo_pattern_add_color_stop_rgb(face, 0.0, 0.185, 0.195, 0.21);
  cairo_pattern_add_color_stop_rgb(face, 1.0, 0.255, 0.27, 0.29);
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);
  // Rim light on the top-left half of the skirt's edge.
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r - 0.5, CairoAngle(-150), CairoAngle(40));
  cairo_set_line_width(cr, 1.0);
  cairo_pattern_t* rim = cairo_pattern_create_linear(cx - r, cy - r, cx + r * 0.3, cy);
  cairo_pattern_add_color_stop_rgba(rim, 0.0, 1, 1, 1, 0.30);
  cairo_pattern_add_color_stop_rgba(rim, 1.0, 1, 1, 1, 0.0);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
  cairo_restore(cr);
}

//------------------------------------------------------------------------
void PaintSmallKnob(ArtStrip& strip, bool bipolar, bool stepped) {
  const double cx = layout::kKnobCx, cy = layout::kKnobCy, sweep = layout::kKnobSweep;
  const double arcR = 16.5, bodyR = 11.5;
  cairo_surface_t* body = BodySurface(strip.Width(), strip.FrameHeight(), cx, cy, bodyR);
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    const double deg = -sweep + 2 * sweep * v;
    StrokeArc(cr, cx, cy, arcR, -sweep, sweep, 2.5, kShadow);
    const double from = bipolar ? 0.0 : -sweep;
    StrokeArc(cr, cx, cy, arcR, from, deg, 2.5, kAccent);
    if (stepped) {
      // Juice moves in whole steps: a notch in the track at each of them.
      for (int k = 0; k <= 5; ++k) {
        const double d = -sweep + 2 * sweep * k / 5.0;
        double x, y;
        PolarPoint(cx, cy, arcR, d, &x, &y);
        cairo_new_path(cr);
        cairo_arc(cr, x, y, 1.3, 0, 2 * M_PI);
        SetColour(cr, d <= deg + 1e-9 ? kValue : kDecor, d <= deg + 1e-9 ? 0.9 : 1.0);
        cairo_fill(cr);
      }
    }
    cairo_set_source_surface(cr, body, 0, 0);
    cairo_paint(cr);
    DrawPointer(cr, cx, cy, 3.5, bodyR - 2.0, deg, 1.8);
  });
  cairo_surface_destroy(body);
}

//------------------------------------------------------------------------
void PaintAngleKnob(ArtStrip& strip) {
  const double cx = layout::kAngleCx, cy = layout::kAngleCy;
  const double ringR = 30.5, bodyR = 21.0;
  cairo_surface_t* body = BodySurface(strip.Width(), strip.FrameHeight(), cx, cy, bodyR);
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    // Value 0.5 is 0 degrees (up); 0 and 1 are -180 and +180 (down).
    const double deg = (v - 0.5) * 360.0;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, ringR, 0, 2 * M_PI);
    cairo_set_line_width(cr, 3.0);
    SetColour(cr, kShadow);
    cairo_stroke(cr);
    StrokeArc(cr, cx, cy, ringR, 0.0, deg, 3.0, kAccent);
    // Marks at 0, +-90 and 180 across the ring.
    for (int m = 0; m < 4; ++m) {
      double x0, y0, x1, y1;
      PolarPoint(cx, cy, ringR - 2.5, m * 90.0, &x0, &y0);
      PolarPoint(cx, cy, ringR + 2.5, m * 90.0, &x1, &y1);
      cairo_set_line_width(cr, m == 0 ? 2.0 : 1.0);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
      SetColour(cr, m == 0 ? kValue : kScale);
      cairo_move_to(cr, std::round(x0 * 2) / 2, std::round(y0 * 2) / 2);
      cairo_line_to(cr, std::round(x1 * 2) / 2, std::round(y1 * 2) / 2);
      cairo_stroke(cr);
    }
    // The position on the ring: a bright bead, so the endless knob reads
    // even where the arc wraps.
    double bx, by;
    PolarPoint(cx, cy, ringR, deg, &bx, &by);
    cairo_new_path(cr);
    cairo_arc(cr, bx, by, 3.2, 0, 2 * M_PI);
    SetColour(cr, kShadow, 0.8);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, bx, by, 2.3, 0, 2 * M_PI);
    SetColour(cr, kValue);
    cairo_fill(cr);
    cairo_set_source_surface(cr, body, 0, 0);
    cairo_paint(cr);
    DrawPointer(cr, cx, cy, 7.0, bodyR - 3.0, deg, 2.4);
  });
  cairo_surface_destroy(body);
}

//------------------------------------------------------------------------
void PaintScrew(ArtStrip& strip) {
  const double cx = layout::kScrewCx, cy = layout::kScrewCy, r = layout::kScrewR;
  strip.DrawFrames([&](cairo_t* cr, int, double v) {
    // Shadow, then a domed metal head lit from the top left.
    cairo_new_path(cr);
    cairo_arc(cr, cx + 1.2, cy + 1.8, r + 0.8, 0, 2 * M_PI);
    SetColour(cr, Hex(0x000000), 0.45);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* head = cairo_pattern_create_radial(cx - r * 0.45, cy - r * 0.5, 1.0, cx, cy, r * 1.05);
    cairo_pattern_add_color_stop_rgb(head, 0.0, 0.78, 0.79, 0.80);
    cairo_pattern_add_color_stop_rgb(head, 0.45, 0.50, 0.515, 0.53);
    cairo_pattern_add_color_stop_rgb(head, 1.0, 0.20, 0.21, 0.225);
    cairo_set_source(cr, head);
    cairo_fill(cr);
    cairo_pattern_destroy(head);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0x000000), 0.35);
    cairo_stroke(cr);
    // The slot turns a quarter turn either way from its rest at 45 degrees.
    const double deg = 45.0 + (v - 0.5) * 180.0;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, CairoAngle(deg) + M_PI / 2);
    const double half = r - 2.0;
    cairo_rectangle(cr, -1.7, -half, 3.4, 2 * half);
    SetColour(cr, Hex(0x121315));
    cairo_fill(cr);
    cairo_restore(cr);
    // Light catches the slot's lower edge.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, CairoAngle(deg) + M_PI / 2);
    cairo_move_to(cr, 1.9, -half + 1);
    cairo_line_to(cr, 1.9, half - 1);
    cairo_set_line_width(cr, 0.8);
    SetColour(cr, Hex(0xffffff), 0.35);
    cairo_stroke(cr);
    cairo_restore(cr);
  });
}
