// The editor's PNG resources: what each one is and the painter that draws it.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "ArtStrip.h"
#include "PixelFont.h"

// Shared, read-only while resources are painted.
struct ArtContext {
  PixelFont smallFont;
  std::string fontDir;
  cairo_surface_t* background = nullptr;  // the background resource, 674 x 262
  // The same without what lies under the plates: what the plates show.
  cairo_surface_t* plateGround = nullptr;
};

struct ArtResource {
  int id;
  const char* name;
  int width;
  int frameHeight;
  int frames;
  std::function<void(const ArtContext&, ArtStrip&)> paint;
};

// Every resource, in id order.
const std::vector<ArtResource>& ArtResources();

// Painters, grouped by file.
// The background, with or without the markings the plates cover.
cairo_surface_t* PaintBackground(const PixelFont& font, bool underPlates);  // Background.cpp
void PaintInfoScreen(const ArtContext& ctx, ArtStrip& strip);             // InfoScreen.cpp
void PaintSmallKnob(ArtStrip& strip, bool bipolar, bool stepped);         // Knobs.cpp
void PaintAngleKnob(ArtStrip& strip);
void PaintScrew(ArtStrip& strip);
void PaintFaderCap(ArtStrip& strip);                                      // Fader.cpp
void PaintFaderLight(ArtStrip& strip);
void PaintNudgeButton(ArtStrip& strip, bool plus);
void PaintVuNeedle(ArtStrip& strip);                                      // Meters.cpp
void PaintVuBar(ArtStrip& strip, bool outer);
void PaintLevelMeter(ArtStrip& strip);
void PaintClipLight(ArtStrip& strip);
void PaintMemoryButton(const ArtContext& ctx, ArtStrip& strip, char letter);   // Buttons.cpp
void PaintUndoButton(const ArtContext& ctx, ArtStrip& strip, bool redo);
void PaintLampLight(ArtStrip& strip);
void PaintSwitch(ArtStrip& strip);
void PaintSwitchLight(ArtStrip& strip);
void PaintNamePlate(const ArtContext& ctx, ArtStrip& strip, int x, int y, const char* name);   // Plates.cpp
void PaintAnglePlate(const ArtContext& ctx, ArtStrip& strip);
void PaintSwitchPlate(const ArtContext& ctx, ArtStrip& strip, int x, int y, const char* name);
void PaintMakerLogo(const ArtContext& ctx, ArtStrip& strip);
void PaintProductLogo(const ArtContext& ctx, ArtStrip& strip);
void PaintModeIndicator(ArtStrip& strip);
void PaintSmallFont(const ArtContext& ctx, ArtStrip& strip);               // Fonts.cpp
void PaintLargeFont(const ArtContext& ctx, ArtStrip& strip);

// Shared pieces of the background and the controls.
void DrawKnobBody(cairo_t* cr, double cx, double cy, double radius);       // Knobs.cpp
void DrawUnlitLamp(cairo_t* cr, double x, double y, double w, double h);    // Buttons.cpp
void DrawUnlitLens(cairo_t* cr, double cx, double cy, double r);
