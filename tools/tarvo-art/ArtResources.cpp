#include "ArtResources.h"

#include "Layout.h"

namespace {

using namespace layout;

//------------------------------------------------------------------------
ArtResource Plate(int id, const char* name, Pos at, const char* text) {
  return {id, name, 80, 20, 1, [at, text](const ArtContext& c, ArtStrip& s) { PaintNamePlate(c, s, at.x, at.y, text); }};
}

//------------------------------------------------------------------------
ArtResource SwitchPlate(int id, const char* name, Pos at, const char* text) {
  return {id, name, 36, 11, 1,
          [at, text](const ArtContext& c, ArtStrip& s) { PaintSwitchPlate(c, s, at.x, at.y, text); }};
}

//------------------------------------------------------------------------
ArtResource Knob(int id, const char* name, bool bipolar, bool stepped) {
  return {id, name, 40, 40, 641, [bipolar, stepped](const ArtContext&, ArtStrip& s) { PaintSmallKnob(s, bipolar, stepped); }};
}

//------------------------------------------------------------------------
ArtResource Lamp(int id, const char* name) {
  return {id, name, 29, 27, 2, [](const ArtContext&, ArtStrip& s) { PaintLampLight(s); }};
}

//------------------------------------------------------------------------
ArtResource MemoryKey(int id, const char* name, char letter) {
  return {id, name, 29, 27, 4, [letter](const ArtContext& c, ArtStrip& s) { PaintMemoryButton(c, s, letter); }};
}

}  // namespace

//------------------------------------------------------------------------
const std::vector<ArtResource>& ArtResources() {
  static const std::vector<ArtResource> table = {
      {100, "BG_400x200", kEditorW, kEditorH, 1,
       [](const ArtContext& c, ArtStrip& s) {
         cairo_surface_t* surface = c.background;
         s.StoreFrame(0, surface);
       }},
      {101, "fader-cap_sm", 170, 32, 201, [](const ArtContext&, ArtStrip& s) { PaintFaderCap(s); }},
      Lamp(103, "rLight"),
      {104, "large_knob_a", 70, 74, 641, [](const ArtContext&, ArtStrip& s) { PaintAngleKnob(s); }},
      Knob(105, "small_knob_b", false, false),
      Knob(106, "small_knob_a", false, false),
      {107, "VU-meter_sm", 132, 132, 641, [](const ArtContext&, ArtStrip& s) { PaintVuNeedle(s); }},
      {108, "VU-meter_sm_R", 132, 132, 641, [](const ArtContext&, ArtStrip& s) { PaintVuBar(s, true); }},
      {109, "VU-meter_sm_gr", 92, 92, 641, [](const ArtContext&, ArtStrip& s) { PaintVuBar(s, false); }},
      SwitchPlate(110, "pdr", kPdrPlate, "PDR"),
      {111, "meter", 15, 15, 641, [](const ArtContext&, ArtStrip& s) { PaintLevelMeter(s); }},
      {112, "meterClip", 11, 11, 2, [](const ArtContext&, ArtStrip& s) { PaintClipLight(s); }},
      Plate(113, "tight", kTightPlate, "TIGHT"),
      Plate(114, "classic", kClassicPlate, "CLASSIC"),
      Plate(115, "juice", kJuicePlate, "JUICE"),
      Plate(116, "attack", kAttackPlate, "ATTACK"),
      Plate(117, "release", kReleasePlate, "RELEASE"),
      Plate(118, "sens", kSensitivityPlate, "SENSITIVITY"),
      Plate(119, "bal", kBalancePlate, "M/S BALANCE"),
      Plate(120, "strength", kStrengthPlate, "STRENGTH"),
      Plate(121, "out", kOutPlate, "OUT"),
      {122, "font", 7, 7, 95, [](const ArtContext& c, ArtStrip& s) { PaintSmallFont(c, s); }},
      MemoryKey(123, "Abut", 'A'),
      MemoryKey(124, "Bbut", 'B'),
      MemoryKey(125, "Cbut", 'C'),
      {126, "Ubut", 29, 27, 3, [](const ArtContext& c, ArtStrip& s) { PaintUndoButton(c, s, false); }},
      {127, "Rbut", 29, 27, 3, [](const ArtContext& c, ArtStrip& s) { PaintUndoButton(c, s, true); }},
      Lamp(128, "bLight"),
      MemoryKey(129, "Dbut", 'D'),
      {130, "minus", 34, 25, 2, [](const ArtContext&, ArtStrip& s) { PaintNudgeButton(s, false); }},
      {131, "plus", 34, 25, 2, [](const ArtContext&, ArtStrip& s) { PaintNudgeButton(s, true); }},
      {132, "switch", 23, 23, 2, [](const ArtContext&, ArtStrip& s) { PaintSwitch(s); }},
      SwitchPlate(133, "env", kEnvPlate, "ENV"),
      {134, "switchlight", 23, 23, 2, [](const ArtContext&, ArtStrip& s) { PaintSwitchLight(s); }},
      {135, "angle", 80, 20, 1, [](const ArtContext& c, ArtStrip& s) { PaintAnglePlate(c, s); }},
      {136, "sliderlight", 170, 32, 201, [](const ArtContext&, ArtStrip& s) { PaintFaderLight(s); }},
      {137, "info", kEditorW, kEditorH, 1, [](const ArtContext& c, ArtStrip& s) { PaintInfoScreen(c, s); }},
      {138, "qLogo", 35, 35, 1, [](const ArtContext& c, ArtStrip& s) { PaintMakerLogo(c, s); }},
      {139, "tLogo", 139, 38, 2, [](const ArtContext& c, ArtStrip& s) { PaintProductLogo(c, s); }},
      {140, "screw", 38, 42, 201, [](const ArtContext&, ArtStrip& s) { PaintScrew(s); }},
      SwitchPlate(142, "ext", kExtPlate, "EXT SC"),
      {143, "font_altered_95frames", 8, 14, 95, [](const ArtContext& c, ArtStrip& s) { PaintLargeFont(c, s); }},
      Knob(144, "small_knob_a3", true, false),
      Lamp(145, "uLight"),
      Lamp(146, "aLight"),
      Lamp(147, "cLight"),
      Lamp(148, "dLight"),
      Knob(149, "small_knob_b2", false, true),
      Knob(150, "small_knob_b3", false, false),
      Knob(151, "small_knob_a2", true, false),
      {152, "mode", 80, 34, 3, [](const ArtContext&, ArtStrip& s) { PaintModeIndicator(s); }},
  };
  return table;
}
