// Drawing helpers shared by every resource painter: the palette, crisp
// pixel-aligned boxes and bevels, text in the outline fonts (FreeType through
// cairo, hinted) and in the small pixel font.
#pragma once

#include <cairo.h>

#include <string>

#include "PixelFont.h"

struct Rgb {
  double r, g, b;
};

constexpr Rgb Hex(unsigned v) {
  return {((v >> 16) & 0xff) / 255.0, ((v >> 8) & 0xff) / 255.0, (v & 0xff) / 255.0};
}

// One light source (top left), one neutral panel, one accent for what is
// active, one warning colour for clipping.
namespace palette {
constexpr Rgb kPanelTop = Hex(0x2b2e33);
constexpr Rgb kPanelBottom = Hex(0x212327);
constexpr Rgb kWell = Hex(0x1b1d20);
constexpr Rgb kShadow = Hex(0x0f1012);
constexpr Rgb kHighlight = Hex(0x3f444b);
constexpr Rgb kDecor = Hex(0x4c5259);
constexpr Rgb kScale = Hex(0x6c737c);
constexpr Rgb kLabel = Hex(0xa3a9b1);
constexpr Rgb kValue = Hex(0xefebe3);
constexpr Rgb kAccent = Hex(0xffad33);
constexpr Rgb kAccentDim = Hex(0x4a3417);
constexpr Rgb kAccentTrack = Hex(0x2a2219);
constexpr Rgb kWarn = Hex(0xff3b2f);
constexpr Rgb kWarnDim = Hex(0x3a1714);
}  // namespace palette

enum class ArtFace { kSans, kSansBold, kCondensed, kCondensedBold };
enum class Align { kLeft, kCentre, kRight };

// The outline fonts, loaded once from the font folder before painting.
void LoadArtFonts(const std::string& fontDir);
void FreeArtFonts();

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);

// Fills the pixel rectangle (x, y, w, h) exactly.
void FillBox(cairo_t* cr, int x, int y, int w, int h, Rgb c, double alpha = 1.0);
// Rounded rectangle path on the pixel grid (edges on whole pixels).
void RoundedBoxPath(cairo_t* cr, double x, double y, double w, double h, double r);
// A recessed well: darker fill, shadow on its top and left inner edge,
// highlight on its bottom and right outer edge.
void DrawWell(cairo_t* cr, int x, int y, int w, int h, double radius, Rgb fill);
// A raised 1-px bevel around a box: highlight top/left, shadow bottom/right.
void DrawRaisedEdge(cairo_t* cr, int x, int y, int w, int h, double radius, double strength);

// Outline text, hinted, drawn with its baseline at y. Returns the advance.
double DrawText(cairo_t* cr, ArtFace face, double px, double x, double y, const std::string& utf8,
                Rgb c, Align align = Align::kLeft, double tracking = 0.0, double alpha = 1.0);
double TextWidth(cairo_t* cr, ArtFace face, double px, const std::string& utf8, double tracking = 0.0);

// Pixel-font text with its cell top at y, advances of the small-font labels.
int DrawPixelText(cairo_t* cr, const PixelFont& font, int x, int y, const std::string& text, Rgb c,
                  Align align = Align::kLeft, double alpha = 1.0);

// Angles are measured clockwise from straight up, in degrees.
double CairoAngle(double degreesFromUp);
void PolarPoint(double cx, double cy, double radius, double degreesFromUp, double* x, double* y);
