// Colours and text styles shared by the editor and the raster library.
#pragma once

#include <cstdint>

class RasterFont;

// A colour with channels 0..255.
struct IRgba {
  int32_t A = 255;
  int32_t R = 0;
  int32_t G = 0;
  int32_t B = 0;

  // The drawing word A << 24 | R << 16 | G << 8 | B (channels limited to 0..255).
  uint32_t Packed() const {
    auto c = [](int32_t v) { return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return c(A) << 24 | c(R) << 16 | c(G) << 8 | c(B);
  }
};

// How a text is drawn. Controls start with "Verdana", 12 pixels, opaque
// black, centred. The cached font belongs to the font cache (ResolveFont).
struct ITextStyle {
  char name[32] = "Verdana";
  int32_t size = 12;                     // pixels
  IRgba colour = {255, 0, 0, 0};
  IRgba entryBackground = {255, 255, 255, 255};
  IRgba entryForeground = {255, 0, 0, 0};
  int32_t style = 0;                     // 0 normal, 1 bold, 2 italic
  int32_t align = 1;                     // 0 left, 1 centre, 2 right
  int32_t orientation = 0;               // degrees
  int32_t quality = 0;                   // 0 default, 1 non-antialiased, 2 antialiased, 3 ClearType
  RasterFont* font = nullptr;            // owned by the font cache
};
