// Cairo draws with premultiplied alpha; the resources must hold straight
// alpha, as the editor's PNG decoder and blits expect.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdio>
#include <filesystem>

#include "ArtStrip.h"
#include "ArtTestImage.h"

//------------------------------------------------------------------------
TEST(StraightAlpha, UnpremultiplyRestoresTheColour) {
  uint8_t out[4];
  // 200, 100, 50 at alpha 128, premultiplied: 100, 50, 25.
  UnpremultiplyPixel(0x80643219u, out);
  EXPECT_NEAR(out[0], 200, 1);
  EXPECT_NEAR(out[1], 100, 1);
  EXPECT_NEAR(out[2], 50, 1);
  EXPECT_EQ(out[3], 128);
  UnpremultiplyPixel(0xff102030u, out);
  EXPECT_EQ(out[0], 0x10);
  EXPECT_EQ(out[1], 0x20);
  EXPECT_EQ(out[2], 0x30);
  EXPECT_EQ(out[3], 0xff);
  UnpremultiplyPixel(0x00000000u, out);
  EXPECT_EQ(out[0] | out[1] | out[2] | out[3], 0);
  // A faint pixel keeps its colour rather than turning black.
  UnpremultiplyPixel(0x03030000u, out);
  EXPECT_EQ(out[0], 255);
  EXPECT_EQ(out[3], 3);
}

//------------------------------------------------------------------------
TEST(StraightAlpha, HalfTransparentPixelRoundTripsThroughAFile) {
  ArtStrip strip(3, 2, 2);
  strip.DrawFrames([](cairo_t* cr, int index, double) {
    if (index == 1) cairo_set_source_rgba(cr, 200 / 255.0, 100 / 255.0, 50 / 255.0, 0.5);
    else cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_rectangle(cr, 1, 0, 1, 1);
    cairo_fill(cr);
  });
  const auto& rgba = strip.Rgba();
  // Frame 2 (rows 2 and 3), column 1.
  const uint8_t* p = rgba.data() + (2 * 3 + 1) * 4;
  EXPECT_NEAR(p[0], 200, 1);
  EXPECT_NEAR(p[1], 100, 1);
  EXPECT_NEAR(p[2], 50, 1);
  EXPECT_NEAR(p[3], 128, 1);
  EXPECT_EQ(rgba[0 * 4 + 3], 0);  // untouched pixels stay clear

  const std::string path = (std::filesystem::temp_directory_path() / "tarvo-art-alpha.png").string();
  ASSERT_EQ(WriteRgbaPng(path, strip.Width(), strip.Height(), rgba.data()), "");
  ArtTestImage back;
  ASSERT_TRUE(ReadArtPng(path, &back));
  std::remove(path.c_str());
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.height, 4);
  EXPECT_EQ(back.rgba, rgba);
}

//------------------------------------------------------------------------
TEST(StraightAlpha, WritingToAMissingFolderReportsAnError) {
  const uint8_t pixel[4] = {1, 2, 3, 4};
  EXPECT_NE(WriteRgbaPng("/nonexistent-folder/x.png", 1, 1, pixel), "");
}
