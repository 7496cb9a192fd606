// The art as the editor layers it: lights drawn under keys and switches show
// through their windows, pointers point where the frame's value says, and
// nothing covers the delay readout under the fader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "ArtTestImage.h"

namespace {

struct Strip {
  ArtTestImage image;
  int frames = 1;
  int FrameHeight() const { return image.height / frames; }
  const uint8_t* Pixel(int frame, int x, int y) const { return image.Pixel(x, frame * FrameHeight() + y); }
};

//------------------------------------------------------------------------
Strip Load(int id, int frames) {
  Strip s;
  s.frames = frames;
  EXPECT_TRUE(ReadArtPng(ArtFile(id), &s.image)) << id;
  return s;
}

//------------------------------------------------------------------------
// Frame index (from 0) that the editor shows for a value.
int FrameFor(double value, int frames) {
  return static_cast<int>((frames - 1) * value + 0.5);
}

//------------------------------------------------------------------------
bool Bright(const uint8_t* p) {
  return p[3] > 200 && 0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2] > 170;
}

//------------------------------------------------------------------------
// Whether some pixel within 1 px of (x, y) is bright: pointers are
// antialiased lines.
bool BrightNear(const Strip& s, int frame, double x, double y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (Bright(s.Pixel(frame, static_cast<int>(std::lround(x)) + dx, static_cast<int>(std::lround(y)) + dy)))
        return true;
  return false;
}

constexpr int kLampX = 9, kLampY = 5, kLampW = 11, kLampH = 3;

}  // namespace

//------------------------------------------------------------------------
TEST(ArtLayering, KeysLeaveTheirLampWindowOpenAndLightsFillIt) {
  const int keys[][2] = {{123, 4}, {124, 4}, {125, 4}, {129, 4}, {126, 3}, {127, 3}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k[0]);
    const Strip key = Load(k[0], k[1]);
    for (int f = 0; f < k[1]; ++f)
      for (int y = kLampY; y < kLampY + kLampH; ++y)
        for (int x = kLampX; x < kLampX + kLampW; ++x) ASSERT_EQ(key.Pixel(f, x, y)[3], 0) << f << " " << x << "," << y;
  }
  for (int light : {146, 128, 147, 148, 145, 103}) {
    SCOPED_TRACE(light);
    const Strip lamp = Load(light, 2);
    const Strip key = Load(123, 4);
    for (int y = kLampY; y < kLampY + kLampH; ++y)
      for (int x = kLampX; x < kLampX + kLampW; ++x) EXPECT_GT(lamp.Pixel(1, x, y)[3], 200);
    // Whatever the light draws elsewhere must lie under the key's body.
    for (int y = 0; y < lamp.FrameHeight(); ++y)
      for (int x = 0; x < 29; ++x) {
        const bool inWindow = x >= kLampX && x < kLampX + kLampW && y >= kLampY && y < kLampY + kLampH;
        if (!inWindow && lamp.Pixel(1, x, y)[3] > 0) {
          EXPECT_EQ(key.Pixel(0, x, y)[3], 255) << x << "," << y;
        }
      }
  }
}

//------------------------------------------------------------------------
TEST(ArtLayering, SwitchesShowTheirLightThroughTheLens) {
  const Strip sw = Load(132, 2);
  const Strip light = Load(134, 2);
  for (int f = 0; f < 2; ++f) EXPECT_EQ(sw.Pixel(f, 11, 11)[3], 0);
  EXPECT_TRUE(Bright(light.Pixel(1, 11, 11)));
  EXPECT_FALSE(Bright(light.Pixel(0, 11, 11)));
}

//------------------------------------------------------------------------
// States of one button differ in light only: the same outline every frame.
TEST(ArtLayering, ButtonStatesKeepTheirShape) {
  const int buttons[][2] = {{123, 4}, {126, 3}, {130, 2}, {131, 2}, {132, 2}, {139, 2}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(b[0]);
    const Strip s = Load(b[0], b[1]);
    for (int f = 1; f < b[1]; ++f)
      for (int y = 0; y < s.FrameHeight(); ++y)
        for (int x = 0; x < s.image.width; ++x) {
          // Antialiased edges may shade a little differently; an outline
          // that moved changes coverage by far more.
          const int a0 = s.Pixel(0, x, y)[3], a = s.Pixel(f, x, y)[3];
          if (b[0] != 139) {
            ASSERT_LE(std::abs(a0 - a), 48) << f << " " << x << "," << y;
          }
        }
    // Yet the frames do differ.
    bool differs = false;
    for (size_t i = 0; i < static_cast<size_t>(s.image.width) * s.FrameHeight() * 4 && !differs; ++i)
      differs = s.image.rgba[i] != s.image.rgba[i + static_cast<size_t>(s.image.width) * s.FrameHeight() * 4];
    EXPECT_TRUE(differs);
  }
}

//------------------------------------------------------------------------
TEST(ArtLayering, KnobPointersFollowTheFrameValue) {
  // Small knobs: 0.5 points straight up, 0 and 1 at 135 degrees either side.
  for (int id : {105, 106, 144, 149, 150, 151}) {
    SCOPED_TRACE(id);
    const Strip k = Load(id, 641);
    EXPECT_TRUE(BrightNear(k, FrameFor(0.5, 641), 20, 19 - 7));
    EXPECT_FALSE(BrightNear(k, FrameFor(0.5, 641), 20, 19 + 7));
    const double r = 7, s = std::sqrt(0.5);
    EXPECT_TRUE(BrightNear(k, 0, 20 - r * s, 19 + r * s));
    EXPECT_TRUE(BrightNear(k, 640, 20 + r * s, 19 + r * s));
  }
  // Angle: 0.5 is 0 degrees (up), 0 and 1 are -180 and +180 (down), 0.75
  // is +90 (right).
  const Strip angle = Load(104, 641);
  EXPECT_TRUE(BrightNear(angle, FrameFor(0.5, 641), 35, 38 - 12));
  EXPECT_TRUE(BrightNear(angle, 0, 35, 38 + 12));
  EXPECT_TRUE(BrightNear(angle, 640, 35, 38 + 12));
  EXPECT_TRUE(BrightNear(angle, FrameFor(0.75, 641), 35 + 12, 38));
  EXPECT_FALSE(BrightNear(angle, FrameFor(0.75, 641), 35 - 12, 38));
}

//------------------------------------------------------------------------
TEST(ArtLayering, VuNeedleSweepsAcrossTheScale) {
  const Strip needle = Load(107, 641);
  const double c = 66, r = 40;
  EXPECT_TRUE(BrightNear(needle, FrameFor(0.5, 641), c, c - r));
  const double a = 120 * M_PI / 180;
  EXPECT_TRUE(BrightNear(needle, 0, c - r * std::sin(a), c - r * std::cos(a)));
  EXPECT_TRUE(BrightNear(needle, 640, c + r * std::sin(a), c - r * std::cos(a)));
}

//------------------------------------------------------------------------
// Meters and bars: nothing at zero, and more lit the higher the value.
TEST(ArtLayering, MetersGrowWithTheirValue) {
  const int meters[][2] = {{108, 641}, {109, 641}, {111, 641}};
  for (const auto& m : meters) {
    SCOPED_TRACE(m[0]);
    const Strip s = Load(m[0], m[1]);
    double previous = -1;
    for (int f = 0; f < m[1]; f += 16) {
      double sum = 0;
      for (int y = 0; y < s.FrameHeight(); ++y)
        for (int x = 0; x < s.image.width; ++x) sum += s.Pixel(f, x, y)[3];
      if (f == 0) {
        EXPECT_EQ(sum, 0);
      }
      EXPECT_GE(sum, previous);
      previous = sum;
    }
    EXPECT_GT(previous, 0);
  }
}

//------------------------------------------------------------------------
// The fader cap moves left to right with the value, and its frame leaves
// free the rows the delay readout is drawn in (from frame row 27 down).
TEST(ArtLayering, FaderCapTravelsAndKeepsTheReadoutClear) {
  const Strip cap = Load(101, 201), light = Load(136, 201);
  auto capCentre = [&](int f) {
    double sum = 0, n = 0;
    for (int x = 0; x < 170; ++x)
      if (cap.Pixel(f, x, 13)[3] > 200) {
        sum += x;
        n += 1;
      }
    return n > 0 ? sum / n : -1.0;
  };
  const double left = capCentre(0), mid = capCentre(100), right = capCentre(200);
  EXPECT_GT(left, 15);
  EXPECT_LT(left, mid);
  EXPECT_LT(mid, right);
  EXPECT_LT(right, 155);
  EXPECT_NEAR(mid, 85, 3);
  for (const Strip* s : {&cap, &light})
    for (int f = 0; f < 201; ++f)
      for (int y = 27; y < 32; ++y)
        for (int x = 0; x < 170; ++x) ASSERT_EQ(s->Pixel(f, x, y)[3], 0) << f << " " << x << "," << y;
}

//------------------------------------------------------------------------
TEST(ArtLayering, InfoScreenHidesTheEditorAndClipLightsAreRed) {
  const Strip info = Load(137, 1);
  int faint = 0;
  for (int y = 0; y < 262; ++y)
    for (int x = 0; x < 674; ++x) faint += info.Pixel(0, x, y)[3] < 230;
  EXPECT_EQ(faint, 0);
  // Clip lights: the lit frame reads red, unlike the amber of every other light.
  const Strip clip = Load(112, 2);
  double r = 0, g = 0, b = 0;
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 11; ++x) {
      const uint8_t* p = clip.Pixel(1, x, y);
      r += p[0] * p[3];
      g += p[1] * p[3];
      b += p[2] * p[3];
    }
  EXPECT_GT(r, 2.5 * g);
  EXPECT_GT(r, 2.5 * b);
  EXPECT_EQ(clip.Pixel(1, 5, 5)[3], 255);
}
