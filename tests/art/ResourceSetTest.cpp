// The generated folder holds exactly the editor's resources, each with the
// size and frame count the editor loads it with, as 8-bit RGBA.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "ArtTestImage.h"

namespace {

struct Expected {
  int id;
  const char* name;
  int width;
  int height;
  int frames;
};

// The editor's table, written out independently of the generator's.
const Expected kResources[] = {
    {100, "BG_400x200", 674, 262, 1},        {101, "fader-cap_sm", 170, 6432, 201},
    {103, "rLight", 29, 54, 2},              {104, "large_knob_a", 70, 47434, 641},
    {105, "small_knob_b", 40, 25640, 641},   {106, "small_knob_a", 40, 25640, 641},
    {107, "VU-meter_sm", 132, 84612, 641},   {108, "VU-meter_sm_R", 132, 84612, 641},
    {109, "VU-meter_sm_gr", 92, 58972, 641}, {110, "pdr", 36, 11, 1},
    {111, "meter", 15, 9615, 641},           {112, "meterClip", 11, 22, 2},
    {113, "tight", 80, 20, 1},               {114, "classic", 80, 20, 1},
    {115, "juice", 80, 20, 1},               {116, "attack", 80, 20, 1},
    {117, "release", 80, 20, 1},             {118, "sens", 80, 20, 1},
    {119, "bal", 80, 20, 1},                 {120, "strength", 80, 20, 1},
    {121, "out", 80, 20, 1},                 {122, "font", 7, 665, 95},
    {123, "Abut", 29, 108, 4},               {124, "Bbut", 29, 108, 4},
    {125, "Cbut", 29, 108, 4},               {126, "Ubut", 29, 81, 3},
    {127, "Rbut", 29, 81, 3},                {128, "bLight", 29, 54, 2},
    {129, "Dbut", 29, 108, 4},               {130, "minus", 34, 50, 2},
    {131, "plus", 34, 50, 2},                {132, "switch", 23, 46, 2},
    {133, "env", 36, 11, 1},                 {134, "switchlight", 23, 46, 2},
    {135, "angle", 80, 20, 1},               {136, "sliderlight", 170, 6432, 201},
    {137, "info", 674, 262, 1},              {138, "qLogo", 35, 35, 1},
    {139, "tLogo", 139, 76, 2},              {140, "screw", 38, 8442, 201},
    {142, "ext", 36, 11, 1},                 {143, "font_altered_95frames", 8, 1330, 95},
    {144, "small_knob_a3", 40, 25640, 641},  {145, "uLight", 29, 54, 2},
    {146, "aLight", 29, 54, 2},              {147, "cLight", 29, 54, 2},
    {148, "dLight", 29, 54, 2},              {149, "small_knob_b2", 40, 25640, 641},
    {150, "small_knob_b3", 40, 25640, 641},  {151, "small_knob_a2", 40, 25640, 641},
    {152, "mode", 80, 102, 3},
};

//------------------------------------------------------------------------
double Luminance(const uint8_t* p) {
  return 0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2];
}

}  // namespace

//------------------------------------------------------------------------
TEST(ArtResourceSet, FolderHoldsExactlyTheEditorsResources) {
  std::set<std::string> expected, found;
  for (const Expected& e : kResources) expected.insert(std::to_string(e.id) + "_" + e.name + ".png");
  for (const auto& entry : std::filesystem::directory_iterator(TARVO_ART_DIR))
    if (entry.path().extension() == ".png") found.insert(entry.path().filename().string());
  EXPECT_EQ(found, expected);
}

//------------------------------------------------------------------------
TEST(ArtResourceSet, EveryResourceHasItsSizeAndWholeFrames) {
  for (const Expected& e : kResources) {
    SCOPED_TRACE(e.id);
    ArtTestImage image;
    ASSERT_TRUE(ReadArtPng(std::string(TARVO_ART_DIR) + "/" + std::to_string(e.id) + "_" + e.name + ".png", &image));
    EXPECT_EQ(image.width, e.width);
    EXPECT_EQ(image.height, e.height);
    EXPECT_EQ(image.height % e.frames, 0);
    EXPECT_EQ(image.bitDepth, 8);
    EXPECT_EQ(image.colourType, PNG_COLOR_TYPE_RGB_ALPHA);
  }
}

//------------------------------------------------------------------------
// The background is drawn without alpha; plates must hide the readout
// beneath them completely.
TEST(ArtResourceSet, BackgroundAndPlatesAreOpaque) {
  for (int id : {100, 110, 113, 114, 115, 116, 117, 118, 119, 120, 121, 133, 135, 138, 142}) {
    SCOPED_TRACE(id);
    ArtTestImage image;
    ASSERT_TRUE(ReadArtPng(ArtFile(id), &image));
    int translucent = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) translucent += image.Pixel(x, y)[3] != 255;
    EXPECT_EQ(translucent, 0);
  }
}

//------------------------------------------------------------------------
// Where a readout draws its text the background is plain panel: only the
// fine texture varies there, no marking.
TEST(ArtResourceSet, BackgroundLeavesReadoutRowsPlain) {
  ArtTestImage bg;
  ASSERT_TRUE(ReadArtPng(ArtFile(100), &bg));
  struct Area {
    const char* name;
    int x0, x1, y0, y1;  // inclusive
  };
  // Small-font readouts: rows T - 2 .. T + 3 around their centre; large-font
  // ones rows T - 6 .. T + 7.
  const Area areas[] = {
      {"Tight", 26, 70, 54, 59},        {"Classic", 26, 70, 123, 128},   {"Juice", 20, 77, 226, 231},
      {"Attack", 124, 174, 123, 128},   {"Release", 293, 343, 123, 128}, {"Sensitivity", 408, 455, 226, 231},
      {"Strength", 569, 616, 226, 231}, {"Balance", 488, 533, 248, 253}, {"Out", 606, 653, 124, 129},
      {"Angle", 203, 263, 46, 59},      {"Delay", 176, 290, 192, 205},
  };
  for (const Area& a : areas) {
    SCOPED_TRACE(a.name);
    double lo = 255, hi = 0;
    for (int y = a.y0; y <= a.y1; ++y)
      for (int x = a.x0; x <= a.x1; ++x) {
        const double l = Luminance(bg.Pixel(x, y));
        lo = std::min(lo, l);
        hi = std::max(hi, l);
      }
    EXPECT_LT(hi - lo, 12.0);
  }
}
