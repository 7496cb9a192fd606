// Storage rules of the memory and system bitmaps.
#include <gtest/gtest.h>

#include <cstdint>

#include "raster/RasterBlit.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterSysBitmap.h"

TEST(MemBitmap, RowAlignmentAndPixelAlignment) {
  struct Case {
    int32_t alignment, width, span;
  } cases[] = {{0, 5, 5}, {1, 5, 5}, {4, 5, 8}, {4, 8, 8}, {6, 5, 6}, {64, 17, 32}, {16, 1, 16}};
  for (const Case& c : cases) {
    RasterMemBitmap b(c.width, 3, c.alignment);
    EXPECT_EQ(b.GetRowSpan(), c.span) << c.alignment << " " << c.width;
    ASSERT_NE(b.GetBits(), nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b.GetBits()) % 64, 0u);
  }
}

TEST(MemBitmap, GrowsByAQuarterAndNeverShrinks) {
  RasterMemBitmap b(10, 10, 1);
  EXPECT_EQ(b.GetAllocatedSize(), 400);
  EXPECT_FALSE(b.Resize(10, 10));
  EXPECT_TRUE(b.Resize(11, 10));
  EXPECT_EQ(b.GetAllocatedSize(), 550);
  EXPECT_TRUE(b.Resize(12, 10));
  EXPECT_EQ(b.GetAllocatedSize(), 550);
  EXPECT_TRUE(b.Resize(2, 2));
  EXPECT_EQ(b.GetAllocatedSize(), 550);
  EXPECT_EQ(b.GetWidth(), 2);
  EXPECT_TRUE(b.Resize(0, 7));
  EXPECT_EQ(b.GetAllocatedSize(), 0);
  EXPECT_EQ(b.GetBits(), nullptr);
  EXPECT_EQ(b.GetWidth(), 0);
  EXPECT_EQ(b.GetHeight(), 0);
}

TEST(MemBitmap, AbsurdSizesLeaveAnEmptyBitmap) {
  for (auto [w, h] : {std::pair{100000, 100000}, std::pair{-5, 3}, std::pair{-5, -3}, std::pair{0x7fffffff, 2}}) {
    RasterMemBitmap b(4, 4, 4);
    b.Resize(w, h);
    EXPECT_EQ(b.GetBits(), nullptr) << w << "x" << h;
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.GetHeight(), 0);
    RasterMemBitmap src(2, 2, 4);
    RasterBlit(&b, &src, 0, 0, nullptr, 1.0f, kRasterCopy);  // must not touch memory
  }
}

TEST(SysBitmap, KeepsItsSurfaceWhenShrunk) {
  RasterSysBitmap b(10, 10);
  ASSERT_NE(b.GetBits(), nullptr);
  EXPECT_EQ(b.GetRowSpan(), 12);
  uint32_t* bits = b.GetBits();
  bits[0] = 0x12345678;
  EXPECT_TRUE(b.Resize(5, 5));
  EXPECT_EQ(b.GetBits(), bits);
  EXPECT_EQ(b.GetRowSpan(), 12);
  EXPECT_EQ(b.GetWidth(), 5);
  EXPECT_EQ(b.GetBits()[0], 0x12345678u);
  EXPECT_FALSE(b.Resize(5, 5));
  EXPECT_TRUE(b.Resize(20, 5));
  EXPECT_EQ(b.GetRowSpan(), 20);
  ASSERT_NE(b.GetBits(), nullptr);
  b.GetBits()[20 * 5 - 1] = 1;  // the whole new surface is writable
  EXPECT_FALSE(b.Resize(0, 5));
  EXPECT_EQ(b.GetBits(), nullptr);
#ifdef _WIN32
  EXPECT_NE(b.GetDrawingContext(), nullptr);
#else
  EXPECT_EQ(b.GetDrawingContext(), nullptr);
#endif
}

TEST(SysBitmap, AbsurdSizesLeaveAnEmptyBitmap) {
  for (auto [w, h] : {std::pair{0x7fffffff, 2}, std::pair{0x7ffffffd, 1}, std::pair{100000, 100000}}) {
    RasterSysBitmap b(4, 4);
    b.Resize(w, h);
    EXPECT_EQ(b.GetBits(), nullptr) << w << "x" << h;
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.GetHeight(), 0);
    RasterSysBitmap src(2, 2);
    RasterBlit(&b, &src, 0, 0, nullptr, 1.0f, kRasterCopy);  // must not touch memory
    // A sensible size afterwards gets a surface again.
    EXPECT_TRUE(b.Resize(3, 3));
    ASSERT_NE(b.GetBits(), nullptr);
    EXPECT_EQ(b.GetRowSpan(), 4);
  }
}
