// PNG decoding: every colour type the transforms handle, damaged input, targets
// and files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "raster/RasterPng.h"
#include "raster/RasterSysBitmap.h"
#include "tools/pngwrite/PngWriter.h"
#include "tests/raster/RasterTestUtil.h"

namespace {

std::unique_ptr<RasterBitmap> Decode(const std::vector<uint8_t>& bytes) {
  return std::unique_ptr<RasterBitmap>(DecodePngMemory(bytes.data(), bytes.size(), nullptr));
}

std::vector<uint8_t> RgbImage(int w, int h, bool interlaced = false) {
  PngImage s;
  s.width = w;
  s.height = h;
  s.interlaced = interlaced;
  for (int y = 0; y < h; ++y) {
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int x = 0; x < w; ++x) {
      row[x * 3] = uint8_t(x * 10);
      row[x * 3 + 1] = uint8_t(y * 10);
      row[x * 3 + 2] = uint8_t(x + y);
    }
    s.rows.push_back(row);
  }
  return EncodePng(s);
}

class FlippedBitmap : public RasterMemBitmap {
public:
  using RasterMemBitmap::RasterMemBitmap;
  bool IsFlipped() const override { return true; }
};

// A target that refuses every size.
class FixedBitmap : public RasterMemBitmap {
public:
  FixedBitmap() : RasterMemBitmap(1, 1, 4) {}
  bool Resize(int32_t, int32_t) override { return false; }
};

}  // namespace

TEST(PngDecode, ColourTypesBecomeStraightArgb) {
  PngImage palette;  // 2-bit palette with per-entry alpha
  palette.width = 3;
  palette.depth = 2;
  palette.colourType = 3;
  palette.palette = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90};
  palette.paletteAlpha = {0x00, 0x80};
  palette.rows = {{0x18}};  // indices 0, 1, 2
  auto b = Decode(EncodePng(palette));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 0, 0), 0x00102030u);
  EXPECT_EQ(Px(*b, 1, 0), 0x80405060u);
  EXPECT_EQ(Px(*b, 2, 0), 0xFF708090u);

  PngImage rgb16;  // high byte of each sample, opaque
  rgb16.depth = 16;
  rgb16.rows = {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}};
  b = Decode(EncodePng(rgb16));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 0, 0), 0xFF12ABFFu);

  PngImage grey1;  // 1-bit grey expands to 0 and 255
  grey1.width = 2;
  grey1.depth = 1;
  grey1.colourType = 0;
  grey1.rows = {{0x80}};
  b = Decode(EncodePng(grey1));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(Px(*b, 1, 0), 0xFF000000u);

  PngImage grey4;
  grey4.depth = 4;
  grey4.colourType = 0;
  grey4.rows = {{0x50}};
  b = Decode(EncodePng(grey4));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 0, 0), 0xFF555555u);

  PngImage greyAlpha;
  greyAlpha.colourType = 4;
  greyAlpha.rows = {{0x40, 0x80}};
  b = Decode(EncodePng(greyAlpha));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 0, 0), 0x80404040u);

  PngImage rgb;
  rgb.rows = {{0x11, 0x22, 0x33}};
  b = Decode(EncodePng(rgb));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 0, 0), 0xFF112233u);

  PngImage rgba;
  rgba.colourType = 6;
  rgba.rows = {{1, 2, 3, 4}};
  b = Decode(EncodePng(rgba));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 0, 0), 0x04010203u);
}

TEST(PngDecode, InterlacedMatchesProgressive) {
  auto plain = Decode(RgbImage(7, 5));
  auto interlaced = Decode(RgbImage(7, 5, true));
  ASSERT_TRUE(plain && interlaced);
  EXPECT_EQ(plain->GetRowSpan(), 8);  // rows aligned to 4 pixels
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) {
      EXPECT_EQ(Px(*interlaced, x, y), Px(*plain, x, y));
      EXPECT_EQ(Px(*plain, x, y), 0xFF000000u | uint32_t(x * 10) << 16 | uint32_t(y * 10) << 8 | uint32_t(x + y));
    }
  }
}

TEST(PngDecode, DamagedInputYieldsNothing) {
  std::vector<uint8_t> good = RgbImage(32, 32);
  ASSERT_TRUE(Decode(good));
  for (size_t cut : {size_t{7}, size_t{8}, size_t{20}, size_t{40}, good.size() / 2, good.size() - 13}) {
    std::vector<uint8_t> shortened(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
    EXPECT_FALSE(Decode(shortened)) << cut;
  }
  std::vector<uint8_t> badSignature = good;
  badSignature[1] = 'Q';
  EXPECT_FALSE(Decode(badSignature));
  std::vector<uint8_t> badCrc = good;
  badCrc[40] ^= 0xff;
  EXPECT_FALSE(Decode(badCrc));
  EXPECT_EQ(DecodePngMemory(nullptr, 100, nullptr), nullptr);
}

TEST(PngDecode, ChunkClaimingFarMoreThanTheDataFails) {
  // A text chunk after the header whose length claims almost 2 GB, and the
  // data ends right after its first bytes: the decoder must give up rather
  // than read the claimed bytes as zeros.
  std::vector<uint8_t> good = RgbImage(3, 3);
  std::vector<uint8_t> damaged(good.begin(), good.begin() + 33);  // signature and IHDR
  const uint8_t chunk[] = {0x71, 0x42, 0x4e, 0x25, 't', 'E', 'X', 't', 'd', 'a', 't', 'e'};
  damaged.insert(damaged.end(), std::begin(chunk), std::end(chunk));
  EXPECT_FALSE(Decode(damaged));
  // A file that only lacks its end chunk reads a few zeros and decodes as
  // it did before.
  std::vector<uint8_t> noEnd(good.begin(), good.end() - 12);
  EXPECT_EQ(Decode(noEnd) != nullptr, Decode(good) != nullptr);
}

TEST(PngDecode, FailuresAndWarningsStaySilent) {
  // Inside a host nothing may be printed: not for a damaged image, nor for a
  // damaged ancillary chunk, which libpng only warns about and skips.
  std::vector<uint8_t> good = RgbImage(4, 4);
  std::vector<uint8_t> badCrc = good;
  badCrc[40] ^= 0xff;
  std::vector<uint8_t> noisyText = good;
  const uint8_t text[] = {0, 0, 0, 1, 't', 'E', 'X', 't', 'a', 1, 2, 3, 4};  // wrong CRC
  noisyText.insert(noisyText.begin() + 33, std::begin(text), std::end(text));  // after the header
  testing::internal::CaptureStderr();
  const bool failed = Decode(badCrc) == nullptr;
  auto warned = Decode(noisyText);
  const std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(failed);
  ASSERT_TRUE(warned);
  EXPECT_EQ(Px(*warned, 3, 2), 0xFF1E1405u);
  EXPECT_EQ(printed, "");
}

TEST(PngDecode, IntoGivenTargets) {
  std::vector<uint8_t> image = RgbImage(3, 2);
  RasterSysBitmap sys(1, 1);
  EXPECT_EQ(DecodePngMemory(image.data(), image.size(), &sys), &sys);
  EXPECT_EQ(sys.GetWidth(), 3);
  EXPECT_EQ(sys.GetHeight(), 2);
  EXPECT_EQ(Px(sys, 2, 1), 0xFF140A03u);

  FlippedBitmap flipped(0, 0, 4);  // bottom-up: the last image row comes first in memory
  ASSERT_EQ(DecodePngMemory(image.data(), image.size(), &flipped), &flipped);
  EXPECT_EQ(flipped.GetBits()[0], 0xFF000A01u);

  FixedBitmap fixed;
  EXPECT_EQ(DecodePngMemory(image.data(), image.size(), &fixed), nullptr);
}

TEST(PngDecode, Files) {
  const std::vector<uint8_t> image = RgbImage(2, 2);
  const auto dir = std::filesystem::temp_directory_path() / "tarvo_raster_png_test";
  std::filesystem::create_directories(dir);
  const auto upper = dir / "Image.PNG";
  const auto unicode = dir / std::filesystem::path(u8"bild_\u00e4.png");
  const auto other = dir / "image.png.bak";
  for (const auto& p : {upper, unicode, other}) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }
  auto utf8 = [](const std::filesystem::path& p) {
    const auto s = p.u8string();
    return std::string(s.begin(), s.end());
  };
  std::unique_ptr<RasterBitmap> b(DecodePngFile(utf8(upper).c_str(), nullptr, true));
  ASSERT_TRUE(b);
  EXPECT_EQ(Px(*b, 1, 1), 0xFF0A0A02u);
  b.reset(DecodePngFile(utf8(unicode).c_str(), nullptr, true));
  EXPECT_TRUE(b);
  b.reset(DecodePngFile(utf8(other).c_str(), nullptr, true));
  EXPECT_FALSE(b);
  b.reset(DecodePngFile(utf8(other).c_str(), nullptr, false));
  EXPECT_TRUE(b);
  b.reset(DecodePngFile(utf8(dir / "missing.png").c_str(), nullptr, true));
  EXPECT_FALSE(b);
  std::filesystem::remove_all(dir);
}
