// The information screen: drawn over the whole editor while open. Product,
// version, maker, a short guide to the gestures, and the oversampling-style
// toggle's area, where the mode indicator shows through.
#include <cmath>

#include "ArtPaint.h"
#include "ArtResources.h"
#include "Layout.h"

namespace {

using namespace palette;

struct GuideItem {
  const char* heading;
  const char* line1;
  const char* line2;
};

const GuideItem kLeftColumn[] = {
    {"MEMORY  A B C D", "Click: recall the slot.  Right-, Ctrl- or Alt-click: store.", "Shift-click: clear the slot."},
    {"UNDO  /  REDO", "Step back and forth through your changes.", ""},
    {"KNOBS", "Drag up or down.  Shift- or Ctrl-drag: fine adjustment.", "Double-click: back to the default."},
    {"READOUTS", "Point at a knob to read its value.", "Click the value to type a new one."},
};

const GuideItem kRightColumn[] = {
    {"ANGLE  AND  DELAY", "Right-click mirrors the setting: +90\xC2\xB0 becomes \xE2\x88\x92" "90\xC2\xB0.", ""},
    {"DELAY", "Drag the fader or use \xE2\x88\x92 and +.", "Click the delay readout to type microseconds."},
    {"SCREW", "Turn it fully down for the user guide,", "fully up for this screen."},
    {"CLIP LIGHTS", "Click to reset them.", ""},
};

//------------------------------------------------------------------------
void DrawColumn(cairo_t* cr, const GuideItem* items, int count, int x, int y) {
  for (int i = 0; i < count; ++i) {
    DrawText(cr, ArtFace::kCondensedBold, 9, x, y, items[i].heading, kAccent, Align::kLeft, 1.0);
    DrawText(cr, ArtFace::kCondensed, 10, x, y + 13, items[i].line1, kLabel);
    if (items[i].line2[0]) DrawText(cr, ArtFace::kCondensed, 10, x, y + 25, items[i].line2, kLabel);
    y += items[i].line2[0] ? 44 : 32;
  }
}

}  // namespace

//------------------------------------------------------------------------
void PaintInfoScreen(const ArtContext&, ArtStrip& strip) {
  strip.DrawFrames([&](cairo_t* cr, int, double) {
    const int w = strip.Width(), h = strip.FrameHeight();
    // A dark glass over the whole editor, the panel faintly visible.
    FillBox(cr, 0, 0, w, h, Hex(0x0b0c0e), 0.95);
    RoundedBoxPath(cr, 6.5, 6.5, w - 13, h - 13, 5);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, kDecor);
    cairo_stroke(cr);

    // Product, version and maker.
    DrawText(cr, ArtFace::kSansBold, 26, 20, 37, "Tarvo", kValue, Align::kLeft, 0.5);
    DrawText(cr, ArtFace::kCondensed, 11, 124, 26, "Phase-rotation dynamics", kLabel);
    DrawText(cr, ArtFace::kCondensed, 11, 124, 39, "Version 1.0.2  \xC2\xB7  quenby audio", kScale);

    // The oversampling-style toggle: its area is outlined, the indicator
    // drawn over this screen shows the style in use.
    const int tx = layout::kModeIndicator.x, ty = layout::kModeIndicator.y;
    const int tw = layout::kModeToggleR - tx, th = layout::kModeToggleB - ty;
    RoundedBoxPath(cr, tx - 2.5, ty - 2.5, tw + 5, th + 5, 4);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, kAccent, 0.8);
    cairo_stroke(cr);
    DrawText(cr, ArtFace::kCondensedBold, 9, tx - 10, ty + 13, "OVERSAMPLING STYLE", kAccent, Align::kRight, 1.0);
    DrawText(cr, ArtFace::kCondensed, 10, tx - 10, ty + 27, "Regular / Clear: click to switch", kLabel,
             Align::kRight);

    FillBox(cr, 16, 50, w - 32, 1, kDecor, 0.8);
    DrawColumn(cr, kLeftColumn, 4, 22, 68);
    DrawColumn(cr, kRightColumn, 4, 352, 68);
    FillBox(cr, 16, 232, w - 32, 1, kDecor, 0.8);
    DrawText(cr, ArtFace::kCondensed, 10, w / 2.0, 249, "click anywhere to close", kScale, Align::kCentre);
  });
}
