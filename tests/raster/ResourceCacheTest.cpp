// PNG resources compiled into this program, and the bitmap cache.
#include <gtest/gtest.h>

#include <memory>

#include "raster/RasterBitmapCache.h"
#include "raster/RasterResources.h"
#include "tests/raster/RasterTestUtil.h"

TEST(PngResources, FoundByTheLow16BitsOfTheirId) {
  for (int32_t id : {101, 101 + 65536, 101 + 3 * 65536}) {
    std::unique_ptr<RasterBitmap> b(DecodePngResource(RasterThisModule(), id, nullptr));
    ASSERT_TRUE(b) << id;
    EXPECT_EQ(b->GetWidth(), 2);
    EXPECT_EQ(b->GetHeight(), 1);
    EXPECT_EQ(Px(*b, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Px(*b, 1, 0), 0x800000FFu);
  }
  std::unique_ptr<RasterBitmap> grey(DecodePngResource(RasterThisModule(), 102, nullptr));
  ASSERT_TRUE(grey);
  EXPECT_EQ(Px(*grey, 0, 0), 0xFF404040u);
  const void* data = nullptr;
  size_t size = 0;
  EXPECT_TRUE(FindPngResource(RasterThisModule(), 103, &data, &size));
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(DecodePngResource(RasterThisModule(), 103, nullptr), nullptr);  // under 8 bytes
  EXPECT_EQ(DecodePngResource(RasterThisModule(), 104, nullptr), nullptr);
  EXPECT_FALSE(FindPngResource(RasterThisModule(), 0, &data, &size));
}

namespace {

int gDecodes = 0;

RasterBitmap* CountingDecoder(int32_t id, void*) {
  ++gDecodes;
  return id > 0 ? new RasterMemBitmap(id, 1, 4) : nullptr;
}

}  // namespace

TEST(BitmapCache, DecodesEachIdOnce) {
  RasterBitmapCache cache;
  gDecodes = 0;
  RasterBitmap* first = cache.Load(5, CountingDecoder, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.Load(5, CountingDecoder, nullptr), first);
  EXPECT_EQ(cache.Find(5), first);
  EXPECT_EQ(gDecodes, 1);
  EXPECT_NE(cache.Load(6, CountingDecoder, nullptr), first);
  EXPECT_EQ(gDecodes, 2);
  // Failures are not cached: the next load tries again.
  EXPECT_EQ(cache.Load(-1, CountingDecoder, nullptr), nullptr);
  EXPECT_EQ(cache.Load(-1, CountingDecoder, nullptr), nullptr);
  EXPECT_EQ(gDecodes, 4);
  EXPECT_EQ(cache.Find(-1), nullptr);

  RasterBitmap* resource = LoadCachedPngResource(101);
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(LoadCachedPngResource(101), resource);
  EXPECT_EQ(Px(*resource, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(LoadCachedPngResource(104), nullptr);
}
