// The bitmap fonts: every glyph fits the advance its label gives it, the
// strips hold glyph c at frame c - 31, and '^' and '$' are micro and degree.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "ArtTestImage.h"
#include "PixelFont.h"

namespace {

// Advances of the large-font labels.
int LargeAdvance(char c) {
  switch (c) {
  case 'w': case 'm': case 'M': case 'W': case 'O': case 'G': return 8;
  case 'l': case 'i': return 3;
  case 'r': return 5;
  case ' ': case '1': case '(': case ',': case 'I': case '^': case 'a': case '-': case 'f': case 't': return 6;
  case ')': return 7;
  case '.': return 4;
  default: return 7;
  }
}

//------------------------------------------------------------------------
// Rightmost and lowest inked pixel of frame index of a glyph strip.
void InkExtent(const ArtTestImage& strip, int cellH, int index, int rows, int* right, int* bottom, int* top) {
  *right = -1;
  *bottom = -1;
  *top = cellH;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < strip.width; ++x)
      if (strip.Pixel(x, index * cellH + y)[3] > 60) {
        *right = std::max(*right, x);
        *bottom = std::max(*bottom, y);
        *top = std::min(*top, y);
      }
}

}  // namespace

//------------------------------------------------------------------------
TEST(PixelFont, LoadsEveryGlyphAndRejectsBrokenFiles) {
  PixelFont font;
  ASSERT_EQ(font.Load(TARVO_SMALL_FONT), "");
  EXPECT_EQ(font.Glyph('A').size(), 5u);

  const std::string path = ::testing::TempDir() + "broken-font.txt";
  {
    std::ofstream out(path);
    out << "= A\n#x#\n";
  }
  EXPECT_NE(PixelFont().Load(path), "");
  {
    std::ofstream out(path);
    out << "= A\n#\n= A\n#\n";
  }
  EXPECT_NE(PixelFont().Load(path), "");
  {
    std::ofstream out(path);
    out << "= A\n#\n";  // every other glyph missing
  }
  EXPECT_NE(PixelFont().Load(path), "");
  EXPECT_NE(PixelFont().Load(path + ".missing"), "");
}

//------------------------------------------------------------------------
TEST(PixelFont, LabelWidthsFollowTheAdvanceTable) {
  EXPECT_EQ(PixelFont::TextWidth("250 ^s"), 6 + 6 + 6 + 4 + 6 + 6);
  EXPECT_EQ(PixelFont::TextWidth("mm"), 7 + 1 + 7);  // extra pixel, not before the first
  EXPECT_EQ(PixelFont::TextWidth("li.1"), 5 + 3 + 2 + 4);
}

//------------------------------------------------------------------------
// Small font: glyphs leave the last column of their advance free, within
// the 6 rows a label shows, and the strip holds exactly the designed glyphs.
TEST(PixelFont, SmallStripMatchesTheDesignAndFitsTheAdvances) {
  PixelFont font;
  ASSERT_EQ(font.Load(TARVO_SMALL_FONT), "");
  ArtTestImage strip;
  ASSERT_TRUE(ReadArtPng(ArtFile(122), &strip));
  for (int c = 32; c < 127; ++c) {
    SCOPED_TRACE(static_cast<char>(c));
    const int index = c - 32;
    const auto& rows = font.Glyph(static_cast<char>(c));
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 7; ++x) {
        const bool ink = y < static_cast<int>(rows.size()) && x < static_cast<int>(rows[y].size()) && rows[y][x] == '#';
        ASSERT_EQ(strip.Pixel(x, index * 7 + y)[3], ink ? 255 : 0) << x << "," << y;
      }
    int right, bottom, top;
    InkExtent(strip, 7, index, 7, &right, &bottom, &top);
    EXPECT_LE(right, PixelFont::Advance(static_cast<char>(c)) - 2);
    EXPECT_LE(bottom, 5);
  }
  int right, bottom, top;
  InkExtent(strip, 7, 0, 7, &right, &bottom, &top);
  EXPECT_EQ(right, -1);  // space is frame 1, and empty
}

//------------------------------------------------------------------------
TEST(PixelFont, LargeStripFitsTheAdvancesAndDrawsMicroAndDegree) {
  ArtTestImage strip;
  ASSERT_TRUE(ReadArtPng(ArtFile(143), &strip));
  for (int c = 33; c < 127; ++c) {
    SCOPED_TRACE(static_cast<char>(c));
    int right, bottom, top;
    InkExtent(strip, 14, c - 32, 14, &right, &bottom, &top);
    EXPECT_GE(right, 0);  // every printable glyph draws something
    EXPECT_LE(right, LargeAdvance(static_cast<char>(c)) - 2);
  }
  int right, bottom, top;
  // Digits stand on the baseline and fill most of the cap height.
  InkExtent(strip, 14, '8' - 32, 14, &right, &bottom, &top);
  EXPECT_EQ(bottom, 10);
  EXPECT_LE(top, 3);
  // '^' is the micro sign: it descends below the baseline.
  InkExtent(strip, 14, '^' - 32, 14, &right, &bottom, &top);
  EXPECT_GE(bottom, 12);
  // '$' is the degree sign: a small ring high in the cell.
  InkExtent(strip, 14, '$' - 32, 14, &right, &bottom, &top);
  EXPECT_LE(bottom, 6);
  EXPECT_LE(top, 3);
  InkExtent(strip, 14, 0, 14, &right, &bottom, &top);
  EXPECT_EQ(right, -1);
}
