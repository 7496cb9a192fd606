// Images known by their header and decoded on first use: the size read
// without decoding, one decode however many threads draw at once, and data
// that does not decode drawing nothing.
#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "raster/RasterBlit.h"
#include "raster/RasterLazyPngBitmap.h"
#include "raster/RasterPng.h"
#include "raster/RasterPngHeader.h"
#include "raster/RasterResources.h"
#include "tests/raster/RasterTestUtil.h"
#include "tools/pngwrite/PngWriter.h"

namespace {

// An RGBA image whose every pixel differs from its neighbours.
std::vector<uint8_t> RgbaImage(int w, int h) {
  PngImage s;
  s.width = w;
  s.height = h;
  s.colourType = 6;
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> row(static_cast<size_t>(w) * 4);
    for (int x = 0; x < w; ++x) {
      row[x * 4] = uint8_t(x * 7 + y);
      row[x * 4 + 1] = uint8_t(y * 3);
      row[x * 4 + 2] = uint8_t(x ^ y);
      row[x * 4 + 3] = uint8_t(128 + (x + y) % 128);
    }
    s.rows.push_back(row);
  }
  return EncodePng(s);
}

// Writes one header byte (offset into the file) and puts the IHDR checksum
// right again, so that only the value itself is wrong.
std::vector<uint8_t> WithHeaderByte(std::vector<uint8_t> png, size_t offset, uint8_t value) {
  png[offset] = value;
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), png.data() + 12, 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = uint8_t(crc >> (24 - 8 * i));
  return png;
}

int32_t SizeOf(const std::vector<uint8_t>& png, size_t bytes) {
  int32_t w = -1, h = -1;
  return ReadPngSize(png.data(), bytes, &w, &h) ? w * 1000 + h : -1;
}

std::unique_ptr<RasterBitmap> Open(const std::vector<uint8_t>& png) {
  return std::unique_ptr<RasterBitmap>(OpenPngMemory(png.data(), png.size()));
}

}  // namespace

TEST(PngHeader, SizeComesFromTheFirst33BytesAndBrokenHeadersAreRefused) {
  const std::vector<uint8_t> png = RgbaImage(5, 3);
  EXPECT_EQ(SizeOf(png, 33), 5003);
  EXPECT_EQ(SizeOf(png, 32), -1);
  std::vector<uint8_t> badCrc = png;
  badCrc[30] ^= 1;
  EXPECT_EQ(SizeOf(badCrc, png.size()), -1);
  std::vector<uint8_t> badSignature = png;
  badSignature[1] = 'p';
  EXPECT_EQ(SizeOf(badSignature, png.size()), -1);
  EXPECT_EQ(SizeOf(WithHeaderByte(png, 19, 0), 33), -1);     // width 0
  EXPECT_EQ(SizeOf(WithHeaderByte(png, 20, 0x80), 33), -1);  // height 2^31 + 3
  EXPECT_EQ(SizeOf(WithHeaderByte(png, 25, 5), 33), -1);     // no colour type 5
  EXPECT_EQ(SizeOf(WithHeaderByte(png, 24, 4), 33), -1);     // RGBA of 4 bits
  EXPECT_EQ(SizeOf(WithHeaderByte(png, 28, 2), 33), -1);     // interlace method 2
  EXPECT_EQ(SizeOf(WithHeaderByte(png, 28, 1), 33), 5003);   // Adam7 is fine
  // The helper's checksum is right: a plain change of width is accepted.
  EXPECT_EQ(SizeOf(WithHeaderByte(png, 19, 9), 33), 9003);

  // Resources: a valid one, one under a header's length, a missing one.
  std::unique_ptr<RasterBitmap> red(OpenPngResource(RasterThisModule(), 101));
  ASSERT_TRUE(red);
  EXPECT_EQ(red->GetWidth(), 2);
  EXPECT_EQ(red->GetHeight(), 1);
  EXPECT_EQ(OpenPngResource(RasterThisModule(), 103), nullptr);
  EXPECT_EQ(OpenPngResource(RasterThisModule(), 104), nullptr);
}

TEST(LazyPng, KnowsItsSizeUndecodedAndDecodesOnceOnFirstUse) {
  const std::vector<uint8_t> png = RgbaImage(9, 6);
  std::unique_ptr<RasterBitmap> expected(DecodePngMemory(png.data(), png.size(), nullptr));
  ASSERT_TRUE(expected);

  const uint64_t before = RasterLazyPngBitmap::DecodesSoFar();
  auto lazy = Open(png);
  ASSERT_TRUE(lazy);
  auto* state = static_cast<RasterLazyPngBitmap*>(lazy.get());
  EXPECT_EQ(lazy->GetWidth(), 9);
  EXPECT_EQ(lazy->GetHeight(), 6);
  EXPECT_FALSE(lazy->IsFlipped());
  EXPECT_FALSE(state->IsDecoded());
  EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before);

  // Asking for the row span decodes too: it describes the pixels.
  EXPECT_EQ(lazy->GetRowSpan(), expected->GetRowSpan());
  EXPECT_TRUE(state->IsDecoded());
  EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before + 1);
  uint32_t* bits = lazy->GetBits();
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(lazy->GetBits(), bits);
  EXPECT_EQ(CountNot(*lazy, 0), CountNot(*expected, 0));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x) ASSERT_EQ(Px(*lazy, x, y), Px(*expected, x, y)) << x << "," << y;
  EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before + 1);

  // Shared art keeps the image's size.
  EXPECT_FALSE(lazy->Resize(3, 3));
  EXPECT_EQ(lazy->GetWidth(), 9);

  EXPECT_EQ(Open(std::vector<uint8_t>(png.begin(), png.begin() + 32)), nullptr);
}

TEST(LazyPng, DataThatDoesNotDecodeDrawsNothingAndIsTriedOnce) {
  std::vector<uint8_t> broken = RgbaImage(16, 16);
  broken.resize(33);                      // the header and nothing after it
  std::vector<uint8_t> garbled = RgbaImage(16, 16);
  for (size_t i = 45; i < garbled.size() - 12; ++i) garbled[i] ^= 0x5a;  // image data and its checksum

  for (const std::vector<uint8_t>* png : {&broken, &garbled}) {
    const uint64_t before = RasterLazyPngBitmap::DecodesSoFar();
    auto lazy = Open(*png);
    ASSERT_TRUE(lazy);
    EXPECT_EQ(lazy->GetWidth(), 16);  // a header is all building needs
    auto dest = MakeFilled(20, 20, 0xFF123456u);
    RasterBlit(dest.get(), lazy.get(), 0, 0, nullptr, 1.0f, kRasterCopy | kRasterUseSourceAlpha);
    RasterBlit(dest.get(), lazy.get(), 2, 2, nullptr, 1.0f, kRasterCopy);
    EXPECT_EQ(CountNot(*dest, 0xFF123456u), 0);
    EXPECT_EQ(lazy->GetBits(), nullptr);
    EXPECT_EQ(lazy->GetWidth(), 0);
    EXPECT_EQ(lazy->GetHeight(), 0);
    EXPECT_EQ(lazy->GetRowSpan(), 0);
    EXPECT_FALSE(static_cast<RasterLazyPngBitmap*>(lazy.get())->IsDecoded());
    EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before + 1);
  }
}

// Instances drawing the same shared strip from several threads at once: one
// decode, one set of pixels, every copy right. Run under ThreadSanitizer too.
TEST(LazyPng, ThreadsDrawingAtOnceShareOneDecode) {
  const std::vector<uint8_t> png = RgbaImage(256, 4096);
  std::unique_ptr<RasterBitmap> expected(DecodePngMemory(png.data(), png.size(), nullptr));
  ASSERT_TRUE(expected);
  constexpr int kThreads = 8;
  for (int round = 0; round < 4; ++round) {
    const uint64_t before = RasterLazyPngBitmap::DecodesSoFar();
    auto lazy = Open(png);
    ASSERT_TRUE(lazy);
    std::atomic<int> ready{0};
    std::vector<uint32_t*> seen(kThreads, nullptr);
    std::vector<std::unique_ptr<RasterMemBitmap>> copies;
    for (int t = 0; t < kThreads; ++t) copies.push_back(MakeFilled(256, 4096, 0));
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&, t] {
        ready.fetch_add(1);
        while (ready.load() < kThreads) std::this_thread::yield();
        RasterBlit(copies[t].get(), lazy.get(), 0, 0, nullptr, 1.0f, kRasterCopy);
        seen[t] = lazy->GetBits();
      });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before + 1);
    for (int t = 0; t < kThreads; ++t) {
      EXPECT_EQ(seen[t], seen[0]);
      EXPECT_EQ(CountNot(*copies[t], 0), CountNot(*expected, 0)) << t;
      EXPECT_EQ(Px(*copies[t], 255, 4095), Px(*expected, 255, 4095)) << t;
      EXPECT_EQ(Px(*copies[t], 17, 500), Px(*expected, 17, 500)) << t;
    }
  }
}
