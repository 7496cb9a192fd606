// Memory, undo and redo keys with their lamps, and the round switches with
// their lights. Lights are drawn before the keys and switches at the same
// place, so those leave their lamp window or lens transparent.
#include <cmath>

#include "ArtPaint.h"
#include "ArtResources.h"
#include "Layout.h"

namespace {

using namespace palette;

constexpr int kKeyX = 2, kKeyY = 1, kKeyW = 25, kKeyH = 23;

// How a key is lit in each of its states; the shape never changes.
struct KeyLight {
  double faceLift;  // added to the face's grey
  double tint;      // accent tint over the face
  Rgb mark;         // colour of the letter or symbol
};

//------------------------------------------------------------------------
void DrawKey(cairo_t* cr, const KeyLight& light) {
  RoundedBoxPath(cr, kKeyX + 1, kKeyY + 2, kKeyW, kKeyH, 3);
  SetColour(cr, Hex(0x000000), 0.40);
  cairo_fill(cr);
  RoundedBoxPath(cr, kKeyX, kKeyY, kKeyW, kKeyH, 3);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, kKeyY, 0, kKeyY + kKeyH);
  const double l = light.faceLift;
  cairo_pattern_add_color_stop_rgb(body, 0.0, 0.275 + l, 0.29 + l, 0.31 + l);
  cairo_pattern_add_color_stop_rgb(body, 1.0, 0.165 + l, 0.175 + l, 0.19 + l);
  cairo_set_source(cr, body);
  cairo_fill(cr);
  cairo_pattern_destroy(body);
  if (light.tint > 0) {
    RoundedBoxPath(cr, kKeyX, kKeyY, kKeyW, kKeyH, 3);
    SetColour(cr, kAccent, light.tint);
    cairo_fill(cr);
  }
  DrawRaisedEdge(cr, kKeyX, kKeyY, kKeyW, kKeyH, 3, 1.0);
  // The lamp window: a dark bezel around a hole the light shows through.
  FillBox(cr, layout::kLampX - 1, layout::kLampY - 1, layout::kLampW + 2, layout::kLampH + 2, kShadow);
  FillBox(cr, layout::kLampX - 1, layout::kLampY + layout::kLampH + 1, layout::kLampW + 2, 1, Hex(0xffffff),
          0.10);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cr, layout::kLampX, layout::kLampY, layout::kLampW, layout::kLampH);
  cairo_fill(cr);
  cairo_restore(cr);
}

//------------------------------------------------------------------------
void DrawUndoArrow(cairo_t* cr, bool redo, Rgb c) {
  // A hooked arrow over a short arc; redo is its mirror image.
  cairo_save(cr);
  if (redo) {
    cairo_translate(cr, 29, 0);
    cairo_scale(cr, -1, 1);
  }
  // An arc over the top from the lower right to the left, its head at the
  // left end pointing down: back the way you came.
  const double cx = 15.5, cy = 18.0, r = 4.5;
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, M_PI, 2 * M_PI + 0.45);
  cairo_set_line_width(cr, 1.7);
  SetColour(cr, c);
  cairo_stroke(cr);
  cairo_move_to(cr, cx - r - 3.3, cy - 0.8);
  cairo_line_to(cr, cx - r + 3.3, cy - 0.8);
  cairo_line_to(cr, cx - r, cy + 3.2);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

//------------------------------------------------------------------------
void DrawUnlitLamp(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x, y, w, h);
  SetColour(cr, kAccentDim, 0.75);
  cairo_fill(cr);
  cairo_rectangle(cr, x, y, w, 1);
  SetColour(cr, Hex(0xffffff), 0.06);
  cairo_fill(cr);
}

//------------------------------------------------------------------------
void DrawUnlitLens(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r + 0.6, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.4, cy - r * 0.4, 0.2, cx, cy, r + 0.6);
  cairo_pattern_add_color_stop_rgb(p, 0.0, 0.34, 0.25, 0.13);
  cairo_pattern_add_color_stop_rgb(p, 1.0, 0.12, 0.09, 0.05);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

//------------------------------------------------------------------------
void PaintMemoryButton(const ArtContext&, ArtStrip& strip, char letter) {
  // Frames: idle, recall, store, clear.
  const KeyLight states[4] = {
      {0.0, 0.0, kLabel},
      {0.02, 0.0, kValue},
      {0.03, 0.08, kAccent},
      {-0.05, 0.0, kDecor},
  };
  const std::string text(1, letter);
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    DrawKey(cr, states[index]);
    DrawText(cr, ArtFace::kSansBold, 10, kKeyX + kKeyW / 2.0 + 0.5, 20, text, states[index].mark, Align::kCentre);
  });
}

//------------------------------------------------------------------------
void PaintUndoButton(const ArtContext&, ArtStrip& strip, bool redo) {
  // Frames: idle, pressed, and a brighter pressed state.
  const KeyLight states[3] = {
      {0.0, 0.0, kLabel},
      {-0.02, 0.06, kAccent},
      {0.0, 0.12, kValue},
  };
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    DrawKey(cr, states[index]);
    DrawUndoArrow(cr, redo, states[index].mark);
  });
}

//------------------------------------------------------------------------
void PaintLampLight(ArtStrip& strip) {
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const double strength = index == 1 ? 1.0 : 0.75;
    const int x = layout::kLampX, y = layout::kLampY, w = layout::kLampW, h = layout::kLampH;
    FillBox(cr, x, y, w, h, kAccent, strength);
    FillBox(cr, x + 1, y + 1, w - 2, 1, Hex(0xfff0c8), strength);
    FillBox(cr, x, y, w, 1, Hex(0xffd58a), 0.6 * strength);
  });
}

//------------------------------------------------------------------------
void PaintSwitch(ArtStrip& strip) {
  const double cx = layout::kSwitchCx, cy = layout::kSwitchCy, r = 10.0, lens = layout::kSwitchLensR;
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    const bool on = index == 1;
    cairo_new_path(cr);
    cairo_arc(cr, cx + 0.8, cy + 1.3, r + 0.4, 0, 2 * M_PI);
    SetColour(cr, Hex(0x000000), 0.4);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - r, cy - r, cx + r * 0.5, cy + r);
    // Pressed in, the face tilts away from the light and reads darker.
    const double top = on ? 0.25 : 0.36, bottom = on ? 0.15 : 0.12;
    cairo_pattern_add_color_stop_rgb(p, 0.0, top, top + 0.01, top + 0.03);
    cairo_pattern_add_color_stop_rgb(p, 1.0, bottom, bottom + 0.01, bottom + 0.02);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r - 0.5, CairoAngle(-150), CairoAngle(40));
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0xffffff), on ? 0.10 : 0.24);
    cairo_stroke(cr);
    // Bezel around the lens, then the lens hole itself.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, lens + 1.4, 0, 2 * M_PI);
    SetColour(cr, kShadow);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, lens + 1.4, CairoAngle(60), CairoAngle(200));
    cairo_set_line_width(cr, 0.8);
    SetColour(cr, Hex(0xffffff), 0.16);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, lens, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
  });
}

//------------------------------------------------------------------------
void PaintSwitchLight(ArtStrip& strip) {
  const double cx = layout::kSwitchCx, cy = layout::kSwitchCy, r = layout::kSwitchLensR + 0.6;
  strip.DrawFrames([&](cairo_t* cr, int index, double) {
    if (index == 0) {
      DrawUnlitLens(cr, cx, cy, layout::kSwitchLensR);
      return;
    }
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - 1.2, cy - 1.2, 0.3, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 1.0, 0.96, 0.85);
    cairo_pattern_add_color_stop_rgb(p, 0.5, kAccent.r, kAccent.g, kAccent.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.8, 0.5, 0.12);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  });
}
