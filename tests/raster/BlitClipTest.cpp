// Clipping of blits at every edge of both bitmaps, and bottom-up bitmaps.
#include <gtest/gtest.h>

#include "raster/RasterBlit.h"
#include "tests/raster/RasterTestUtil.h"

namespace {

// Source pixel (x, y) is opaque with x in green and y in blue.
uint32_t SrcAt(int32_t x, int32_t y) {
  return 0xFF000000u | static_cast<uint32_t>(x + 1) << 8 | static_cast<uint32_t>(y + 1);
}

std::unique_ptr<RasterMemBitmap> MakeSource() {
  auto s = std::make_unique<RasterMemBitmap>(4, 4, 4);
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) Px(*s, x, y) = SrcAt(x, y);
  }
  return s;
}

class FlippedBitmap : public RasterMemBitmap {
public:
  using RasterMemBitmap::RasterMemBitmap;
  bool IsFlipped() const override { return true; }
};

}  // namespace

TEST(BlitClip, DestinationEdges) {
  auto src = MakeSource();
  for (int32_t mode : {kRasterCopy, kRasterUseSourceAlpha}) {
    auto d = MakeFilled(6, 6, 0);
    RasterBlit(d.get(), src.get(), -1, -2, nullptr, 1.0f, mode);  // left and top
    EXPECT_EQ(CountNot(*d, 0), 3 * 2);
    EXPECT_EQ(Px(*d, 0, 0), SrcAt(1, 2));
    EXPECT_EQ(Px(*d, 2, 1), SrcAt(3, 3));

    d = MakeFilled(6, 6, 0);
    RasterBlit(d.get(), src.get(), 4, 5, nullptr, 1.0f, mode);  // right and bottom
    EXPECT_EQ(CountNot(*d, 0), 2);
    EXPECT_EQ(Px(*d, 4, 5), SrcAt(0, 0));
    EXPECT_EQ(Px(*d, 5, 5), SrcAt(1, 0));

    d = MakeFilled(6, 6, 0);
    RasterBlit(d.get(), src.get(), 6, 0, nullptr, 1.0f, mode);
    RasterBlit(d.get(), src.get(), 0, -4, nullptr, 1.0f, mode);
    RasterBlit(d.get(), src.get(), 0x7ffffff0, 0x7ffffff0, nullptr, 1.0f, mode);
    RasterBlit(d.get(), src.get(), -0x7ffffff0, 0, nullptr, 1.0f, mode);
    EXPECT_EQ(CountNot(*d, 0), 0);
  }
}

TEST(BlitClip, SourceRectangles) {
  auto src = MakeSource();
  auto d = MakeFilled(6, 6, 0);
  // Reaching left of and above the source moves the destination along.
  RasterRect r{-1, -1, 2, 2};
  RasterBlit(d.get(), src.get(), 0, 0, &r, 1.0f, kRasterCopy);
  EXPECT_EQ(CountNot(*d, 0), 4);
  EXPECT_EQ(Px(*d, 0, 0), 0u);
  EXPECT_EQ(Px(*d, 1, 1), SrcAt(0, 0));
  EXPECT_EQ(Px(*d, 2, 2), SrcAt(1, 1));

  // Reaching past the right and bottom is cut at the source's edge.
  d = MakeFilled(6, 6, 0);
  r = {2, 2, 10, 10};
  RasterBlit(d.get(), src.get(), 0, 0, &r, 1.0f, kRasterCopy);
  EXPECT_EQ(CountNot(*d, 0), 4);
  EXPECT_EQ(Px(*d, 0, 0), SrcAt(2, 2));
  EXPECT_EQ(Px(*d, 1, 1), SrcAt(3, 3));

  // Entirely outside, or inverted: nothing.
  d = MakeFilled(6, 6, 0);
  for (RasterRect outside : {RasterRect{5, 5, 8, 8}, RasterRect{-5, 0, -1, 4}, RasterRect{3, 3, 1, 1}}) {
    RasterBlit(d.get(), src.get(), 0, 0, &outside, 1.0f, kRasterCopy);
  }
  EXPECT_EQ(CountNot(*d, 0), 0);
}

TEST(BlitClip, MissingBitmapsOrPixels) {
  auto src = MakeSource();
  auto d = MakeFilled(2, 2, 0);
  RasterMemBitmap empty;
  RasterBlit(d.get(), nullptr, 0, 0, nullptr, 1.0f, kRasterCopy);
  RasterBlit(nullptr, src.get(), 0, 0, nullptr, 1.0f, kRasterCopy);
  RasterBlit(d.get(), &empty, 0, 0, nullptr, 1.0f, kRasterCopy);
  RasterBlit(&empty, src.get(), 0, 0, nullptr, 1.0f, kRasterCopy);
  EXPECT_EQ(CountNot(*d, 0), 0);
}

TEST(BlitClip, BottomUpBitmapsWalkRowsUpwards) {
  // Memory row 0 of a flipped bitmap is its bottom row.
  FlippedBitmap src(2, 2, 1);
  src.GetBits()[0] = 0xFF000001;                      // bottom-left
  src.GetBits()[src.GetRowSpan()] = 0xFF000002;       // top-left
  auto d = MakeFilled(2, 2, 0);
  RasterBlit(d.get(), &src, 0, 0, nullptr, 1.0f, kRasterCopy);
  EXPECT_EQ(Px(*d, 0, 0), 0xFF000002u);
  EXPECT_EQ(Px(*d, 0, 1), 0xFF000001u);

  FlippedBitmap dest(2, 2, 1);
  auto s = MakeFilled(1, 1, 0xFF00FF00);
  dest.GetBits()[0] = 0;
  RasterBlit(&dest, s.get(), 0, 1, nullptr, 1.0f, kRasterUseSourceAlpha);
  EXPECT_EQ(dest.GetBits()[0], 0xFF00FF00u);
}
