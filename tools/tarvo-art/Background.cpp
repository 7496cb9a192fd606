// The background: the panel with every fixed marking under the controls.
// Readout rows are left free: the labels draw their text there.
#include <cmath>
#include <cstdint>

#include "ArtPaint.h"
#include "ArtResources.h"
#include "Layout.h"

namespace {

using namespace palette;
using layout::Pos;

//------------------------------------------------------------------------
// A fine brushed texture: deterministic noise, darker and lighter streaks
// along the rows, strong enough to feel like metal, too weak to read.
void BrushPanel(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  uint32_t seed = 0x2545F491u;
  auto next = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 24) & 0xff) - 128;
  };
  for (int y = 0; y < layout::kEditorH; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    int streak = 0;
    for (int x = 0; x < layout::kEditorW; ++x) {
      // Slowly wandering streak value plus fine grain.
      streak = (streak * 15 + next()) / 16;
      const int delta = (streak / 40) + (next() / 110);
      const uint32_t p = row[x];
      auto ch = [delta](uint32_t v) {
        const int c = static_cast<int>(v) + delta;
        return static_cast<uint32_t>(c < 0 ? 0 : c > 255 ? 255 : c);
      };
      row[x] = (p & 0xff000000u) | (ch((p >> 16) & 0xff) << 16) | (ch((p >> 8) & 0xff) << 8) | ch(p & 0xff);
    }
  }
  cairo_surface_mark_dirty(surface);
}

//------------------------------------------------------------------------
void DrawPanel(cairo_t* cr) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, layout::kEditorH);
  cairo_pattern_add_color_stop_rgb(p, 0.0, kPanelTop.r, kPanelTop.g, kPanelTop.b);
  cairo_pattern_add_color_stop_rgb(p, 1.0, kPanelBottom.r, kPanelBottom.g, kPanelBottom.b);
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
}

//------------------------------------------------------------------------
void DrawPanelEdges(cairo_t* cr) {
  FillBox(cr, 0, 0, layout::kEditorW, 1, Hex(0xffffff), 0.10);
  FillBox(cr, 0, 1, 1, layout::kEditorH - 1, Hex(0xffffff), 0.06);
  FillBox(cr, 0, layout::kEditorH - 1, layout::kEditorW, 1, Hex(0x000000), 0.5);
  FillBox(cr, layout::kEditorW - 1, 0, 1, layout::kEditorH, Hex(0x000000), 0.4);
}

//------------------------------------------------------------------------
void DrawWells(cairo_t* cr) {
  DrawWell(cr, 4, 4, 88, 254, 4, kWell);       // detector: Tight, Classic, Juice
  DrawWell(cr, 96, 43, 278, 169, 4, kWell);    // rotation: Angle, Attack, Release, Delay
  DrawWell(cr, 116, 216, 236, 43, 4, kWell);   // memory, undo, redo
  DrawWell(cr, 378, 52, 42, 102, 4, kWell);    // invert switches
  DrawWell(cr, 588, 38, 82, 104, 4, kWell);    // output
  DrawWell(cr, 378, 176, 292, 84, 4, kWell);   // sensitivity, balance, strength
  // The detectors above, the oversampling below.
  FillBox(cr, 14, 160, 68, 1, kShadow);
  FillBox(cr, 14, 161, 68, 1, kHighlight, 0.6);
}

//------------------------------------------------------------------------
void KnobCentre(Pos frame, double* cx, double* cy) {
  *cx = frame.x + layout::kKnobCx;
  *cy = frame.y + layout::kKnobCy;
}

//------------------------------------------------------------------------
// End ticks of a small knob's travel, just outside its arc.
void DrawKnobEnds(cairo_t* cr, Pos frame) {
  double cx, cy;
  KnobCentre(frame, &cx, &cy);
  for (double deg : {-layout::kKnobSweep, layout::kKnobSweep}) {
    double x0, y0, x1, y1;
    PolarPoint(cx, cy, 18.5, deg, &x0, &y0);
    PolarPoint(cx, cy, 21.0, deg, &x1, &y1);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
  }
  cairo_set_line_width(cr, 1.2);
  SetColour(cr, kScale);
  cairo_stroke(cr);
}

//------------------------------------------------------------------------
void DrawJuiceScale(cairo_t* cr, const PixelFont& font) {
  double cx, cy;
  KnobCentre(layout::kJuice, &cx, &cy);
  for (int k = 0; k <= 5; ++k) {
    const double deg = -layout::kKnobSweep + 2 * layout::kKnobSweep * k / 5.0;
    double x, y;
    PolarPoint(cx, cy, 25.0, deg, &x, &y);
    DrawPixelText(cr, font, static_cast<int>(std::lround(x)) + 1, static_cast<int>(std::lround(y)) - 2,
                  std::string(1, static_cast<char>('0' + k)), kScale, Align::kCentre);
  }
}

//------------------------------------------------------------------------
void DrawAngleScale(cairo_t* cr, const PixelFont& font) {
  const double cx = layout::kAngle.x + layout::kAngleCx, cy = layout::kAngle.y + layout::kAngleCy;
  DrawPixelText(cr, font, static_cast<int>(cx) + 37, static_cast<int>(cy) - 2, "+90", kScale, Align::kLeft);
  DrawPixelText(cr, font, static_cast<int>(cx) - 36, static_cast<int>(cy) - 2, "-90", kScale, Align::kRight);
  DrawPixelText(cr, font, static_cast<int>(cx) + 1, static_cast<int>(cy) + 36, "180", kScale, Align::kCentre);
}

//------------------------------------------------------------------------
void DrawFaderScale(cairo_t* cr, const PixelFont& font) {
  const int fx = layout::kFader.x, fy = layout::kFader.y;
  const int ty = fy + layout::kFaderTrackY;
  // The slot the cap runs in.
  const int left = fx + layout::kFaderLeft - 7, right = fx + layout::kFaderLeft + layout::kFaderTravel + 8;
  FillBox(cr, left, ty - 1, right - left, 1, Hex(0x000000), 0.5);
  FillBox(cr, left, ty, right - left, 3, Hex(0x08090a));
  FillBox(cr, left, ty + 3, right - left, 1, Hex(0xffffff), 0.10);
  for (int d = -72; d <= 72; d += 18) {
    const int x = fx + layout::kFaderLeft + static_cast<int>(std::lround((d + 72) / 144.0 * layout::kFaderTravel));
    const bool major = d % 36 == 0;
    const int len = d == 0 ? 5 : major ? 4 : 2;
    FillBox(cr, x, ty - 2 - len, 1, len, d == 0 ? kLabel : kScale);
    if (major) {
      const std::string text = d > 0 ? "+" + std::to_string(d) : std::to_string(d);
      DrawPixelText(cr, font, x + 1, ty - 15, text, d == 0 ? kLabel : kScale, Align::kCentre);
    }
  }
}

//------------------------------------------------------------------------
void DrawLamps(cairo_t* cr) {
  for (Pos key : {layout::kMemA, layout::kMemB, layout::kMemC, layout::kMemD, layout::kUndo, layout::kRedo})
    DrawUnlitLamp(cr, key.x + layout::kLampX, key.y + layout::kLampY, layout::kLampW, layout::kLampH);
}

//------------------------------------------------------------------------
void DrawMemoryCaptions(cairo_t* cr, const PixelFont& font) {
  const int y = 251;
  const int memCentre = (layout::kMemA.x + layout::kMemD.x + 29) / 2;
  DrawPixelText(cr, font, memCentre + 1, y, "MEMORY", kScale, Align::kCentre);
  DrawPixelText(cr, font, layout::kUndo.x + 15, y, "UNDO", kScale, Align::kCentre);
  DrawPixelText(cr, font, layout::kRedo.x + 15, y, "REDO", kScale, Align::kCentre);
}

//------------------------------------------------------------------------
void DrawSwitchMarks(cairo_t* cr, const PixelFont& font) {
  for (Pos s : {layout::kEnvSwitch, layout::kPdrSwitch, layout::kExtSwitch})
    DrawUnlitLens(cr, s.x + layout::kSwitchCx, s.y + layout::kSwitchCy, layout::kSwitchLensR);
  DrawPixelText(cr, font, layout::kEnvSwitch.x + 12, 59, "INVERT", kScale, Align::kCentre);
}

//------------------------------------------------------------------------
// Under the switch plates: the same legends lit, uncovered on hover.
void DrawUnderSwitchPlates(cairo_t* cr, const PixelFont& font) {
  DrawPixelText(cr, font, layout::kEnvPlate.x + 19, layout::kEnvPlate.y + 3, "ENV", kAccent, Align::kCentre);
  DrawPixelText(cr, font, layout::kPdrPlate.x + 19, layout::kPdrPlate.y + 3, "PDR", kAccent, Align::kCentre);
  DrawPixelText(cr, font, layout::kExtPlate.x + 19, layout::kExtPlate.y + 3, "EXT SC", kAccent, Align::kCentre);
}

//------------------------------------------------------------------------
void FillBand(cairo_t* cr, double r0, double r1, double fromDeg, double toDeg) {
  const double cx = layout::kVuCx, cy = layout::kVuCy;
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r1, CairoAngle(fromDeg), CairoAngle(toDeg));
  cairo_arc_negative(cr, cx, cy, r0, CairoAngle(toDeg), CairoAngle(fromDeg));
  cairo_close_path(cr);
  cairo_fill(cr);
}

//------------------------------------------------------------------------
void DrawVuFace(cairo_t* cr, const PixelFont& font) {
  const double cx = layout::kVuCx, cy = layout::kVuCy, r = layout::kVuFaceR, sweep = layout::kVuSweep;
  // Bezel: a raised ring lit from the top left.
  cairo_new_path(cr);
  cairo_arc(cr, cx + 1, cy + 1.5, r + 4, 0, 2 * M_PI);
  SetColour(cr, Hex(0x000000), 0.35);
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r + 3.5, 0, 2 * M_PI);
  cairo_pattern_t* bezel = cairo_pattern_create_linear(cx - r, cy - r, cx + r * 0.7, cy + r);
  cairo_pattern_add_color_stop_rgb(bezel, 0.0, 0.36, 0.38, 0.41);
  cairo_pattern_add_color_stop_rgb(bezel, 0.5, 0.2, 0.21, 0.225);
  cairo_pattern_add_color_stop_rgb(bezel, 1.0, 0.09, 0.095, 0.105);
  cairo_set_source(cr, bezel);
  cairo_fill(cr);
  cairo_pattern_destroy(bezel);
  // Face, recessed: its edge is dark at the top left.
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_pattern_t* rim = cairo_pattern_create_linear(cx - r, cy - r, cx + r, cy + r);
  cairo_pattern_add_color_stop_rgb(rim, 0.0, 0.03, 0.03, 0.035);
  cairo_pattern_add_color_stop_rgb(rim, 1.0, 0.22, 0.23, 0.25);
  cairo_set_source(cr, rim);
  cairo_fill(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r - 1, 0, 2 * M_PI);
  cairo_pattern_t* face = cairo_pattern_create_radial(cx, cy - 20, 5, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(face, 0.0, 0.105, 0.11, 0.12);
  cairo_pattern_add_color_stop_rgb(face, 1.0, 0.065, 0.07, 0.075);
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);
  cairo_pattern_destroy(rim);
  // Bar tracks.
  SetColour(cr, kAccentTrack);
  FillBand(cr, layout::kVuMidR0, layout::kVuMidR1, -sweep, sweep);
  FillBand(cr, layout::kVuSideR0, layout::kVuSideR1, -sweep, sweep);
  // Needle scale: ten steps, longer ticks at 0, 50 and 100.
  for (int k = 0; k <= 20; ++k) {
    const double deg = -sweep + 2 * sweep * k / 20.0;
    const bool major = k % 10 == 0, mid = k % 2 == 0;
    const double r0 = major ? layout::kVuTickR0 - 1.5 : mid ? layout::kVuTickR0 : layout::kVuTickR0 + 2;
    double x0, y0, x1, y1;
    PolarPoint(cx, cy, r0, deg, &x0, &y0);
    PolarPoint(cx, cy, layout::kVuTickR1, deg, &x1, &y1);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_width(cr, major ? 1.5 : 1.0);
    SetColour(cr, major ? kLabel : kScale, mid ? 1.0 : 0.7);
    cairo_stroke(cr);
  }
  const struct {
    double deg;
    const char* text;
    double r;
  } numbers[] = {{-sweep + 9, "0", layout::kVuNumberR - 2},
                 {-sweep / 2, "25", layout::kVuNumberR},
                 {0, "50", layout::kVuNumberR},
                 {sweep / 2, "75", layout::kVuNumberR},
                 {sweep - 10, "100", layout::kVuNumberR - 2}};
  for (const auto& n : numbers) {
    double x, y;
    PolarPoint(cx, cy, n.r, n.deg, &x, &y);
    DrawPixelText(cr, font, static_cast<int>(std::lround(x)) + 1, static_cast<int>(std::lround(y)) - 2, n.text,
                  kLabel, Align::kCentre);
  }
  // Legends beside the bars' starts and under the scale's end.
  // Each bar is marked with its letter just before its start.
  double mx, my, sx, sy;
  PolarPoint(cx, cy, (layout::kVuMidR0 + layout::kVuMidR1) / 2, -sweep - 8, &mx, &my);
  PolarPoint(cx, cy, (layout::kVuSideR0 + layout::kVuSideR1) / 2 + 1, -sweep - 14, &sx, &sy);
  DrawPixelText(cr, font, static_cast<int>(std::lround(mx)) + 1, static_cast<int>(std::lround(my)) - 2, "M",
                kAccent, Align::kCentre, 0.8);
  DrawPixelText(cr, font, static_cast<int>(std::lround(sx)) + 1, static_cast<int>(std::lround(sy)) - 2, "S",
                kAccent, Align::kCentre, 0.8);
  DrawPixelText(cr, font, 549, 136, "CHANGE", kScale, Align::kCentre);
}

//------------------------------------------------------------------------
void DrawUnderLogoPlate(cairo_t* cr, const PixelFont& font) {
  // Under the maker's plate (uncovered when the logo or the screw's low end
  // is hovered): the way to the user guide, lit.
  const double lx = layout::kLogoPlate.x + 17.5, ly = layout::kLogoPlate.y + 15.5;
  cairo_new_path(cr);
  cairo_arc(cr, lx, ly, 9.5, 0, 2 * M_PI);
  cairo_set_line_width(cr, 1.0);
  SetColour(cr, kAccent);
  cairo_stroke(cr);
  DrawText(cr, ArtFace::kSansBold, 12, lx + 0.5, ly + 4.5, "?", kAccent, Align::kCentre);
  DrawPixelText(cr, font, layout::kLogoPlate.x + 18, layout::kLogoPlate.y + 28, "GUIDE", kAccent, Align::kCentre);
}

//------------------------------------------------------------------------
void DrawLevelMeterBezels(cairo_t* cr, const PixelFont& font) {
  for (Pos m : {layout::kMeterL, layout::kMeterR}) {
    const double cx = m.x + 7.5, cy = m.y + 7.5;
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 8.5, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_linear(cx - 8, cy - 8, cx + 8, cy + 8);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.05, 0.05, 0.06);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.30, 0.31, 0.33);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 7.0, 0, 2 * M_PI);
    cairo_pattern_t* lens = cairo_pattern_create_radial(cx - 2, cy - 2, 0.5, cx, cy, 7);
    cairo_pattern_add_color_stop_rgb(lens, 0.0, 0.20, 0.15, 0.09);
    cairo_pattern_add_color_stop_rgb(lens, 1.0, 0.07, 0.055, 0.04);
    cairo_set_source(cr, lens);
    cairo_fill(cr);
    cairo_pattern_destroy(lens);
  }
  DrawPixelText(cr, font, layout::kMeterL.x + 8, 53, "L", kScale, Align::kCentre);
  DrawPixelText(cr, font, layout::kMeterR.x + 8, 53, "R", kScale, Align::kCentre);
}

//------------------------------------------------------------------------
void DrawCaptions(cairo_t* cr) {
  DrawText(cr, ArtFace::kCondensedBold, 9, 666, 24, "quenby audio", kScale, Align::kRight, 0.6);
}

}  // namespace

//------------------------------------------------------------------------
cairo_surface_t* PaintBackground(const PixelFont& font, bool underPlates) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, layout::kEditorW, layout::kEditorH);
  cairo_t* cr = cairo_create(surface);
  DrawPanel(cr);
  cairo_destroy(cr);
  BrushPanel(surface);
  cr = cairo_create(surface);
  DrawPanelEdges(cr);
  DrawWells(cr);
  // Juice carries its step numbers instead of end ticks.
  for (Pos k : {layout::kTight, layout::kClassic, layout::kAttack, layout::kRelease,
                layout::kSensitivity, layout::kBalance, layout::kStrength, layout::kOutput})
    DrawKnobEnds(cr, k);
  DrawJuiceScale(cr, font);
  DrawAngleScale(cr, font);
  DrawFaderScale(cr, font);
  DrawLamps(cr);
  DrawMemoryCaptions(cr, font);
  DrawSwitchMarks(cr, font);
  DrawVuFace(cr, font);
  DrawLevelMeterBezels(cr, font);
  DrawCaptions(cr);
  if (underPlates) {
    DrawUnderSwitchPlates(cr, font);
    DrawUnderLogoPlate(cr, font);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}
