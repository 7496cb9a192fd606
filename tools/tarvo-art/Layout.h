// Where the editor places each piece of art (editor pixels, top-left origin)
// and the geometry that the background and the control art must share:
// lamp windows, lenses, the VU centre, the fader's travel.
#pragma once

namespace layout {

constexpr int kEditorW = 674;
constexpr int kEditorH = 262;

struct Pos {
  int x, y;
};

// Round knobs: top-left corner of their 40 x 40 frames, and of the Angle
// knob's 70 x 74 frame (20 px below its control's top).
constexpr Pos kTight{27, 12}, kClassic{27, 81}, kJuice{27, 184};
constexpr Pos kAttack{131, 81}, kRelease{299, 81};
constexpr Pos kSensitivity{412, 184}, kBalance{492, 206}, kStrength{572, 184}, kOutput{611, 82};
constexpr Pos kAngle{200, 64};
// Centre of a small knob inside its frame, and its scale.
constexpr double kKnobCx = 20.0, kKnobCy = 19.0;
constexpr double kKnobSweep = 135.0;  // degrees either side of straight up
constexpr double kAngleCx = 35.0, kAngleCy = 38.0;

// Name plates (80 x 20) and switch plates (36 x 11).
constexpr Pos kTightPlate{8, 48}, kClassicPlate{8, 117}, kJuicePlate{8, 220};
constexpr Pos kAttackPlate{112, 117}, kReleasePlate{280, 117}, kAnglePlate{195, 48};
constexpr Pos kSensitivityPlate{393, 220}, kStrengthPlate{553, 220}, kBalancePlate{473, 242};
constexpr Pos kOutPlate{592, 118};
constexpr Pos kEnvPlate{380, 93}, kPdrPlate{380, 109}, kExtPlate{120, 147};

// Switches (23 x 23) and the lens in their middle where the light shows.
constexpr Pos kEnvSwitch{387, 70}, kPdrSwitch{387, 120}, kExtSwitch{98, 142};
constexpr double kSwitchCx = 11.5, kSwitchCy = 11.5, kSwitchLensR = 4.0;

// Delay fader frame (170 x 32), its nudge buttons (34 x 25), and the cap's
// travel: centre column kFaderLeft + round(value x kFaderTravel) in the frame.
constexpr Pos kFader{151, 165};
constexpr Pos kMinus{132, 168}, kPlus{303, 168};
constexpr int kFaderLeft = 23, kFaderTravel = 120;
constexpr int kFaderTrackY = 12;  // first of the track's 3 rows, frame rows
constexpr int kFaderCapTop = 3, kFaderCapH = 21, kFaderCapW = 13;

// Memory, undo and redo keys (29 x 27) and the lamp window in each.
constexpr Pos kMemA{123, 222}, kMemB{152, 222}, kMemC{181, 222}, kMemD{210, 222};
constexpr Pos kUndo{289, 222}, kRedo{318, 222};
constexpr int kLampX = 9, kLampY = 5, kLampW = 11, kLampH = 3;

// VU meter: layers 2 and 3 (132 x 132) and layer 1 (92 x 92) share a centre.
constexpr Pos kVuOuter{446, 36}, kVuInner{466, 56};
constexpr double kVuCx = 512.0, kVuCy = 102.0;
constexpr double kVuSweep = 120.0;  // degrees either side of straight up
constexpr double kVuFaceR = 66.0;
constexpr double kVuMidR0 = 59.0, kVuMidR1 = 63.0;     // outer bar: mid mix
constexpr double kVuSideR0 = 30.5, kVuSideR1 = 34.0;   // inner bar: side mix
constexpr double kVuTickR0 = 50.0, kVuTickR1 = 56.0;   // needle scale
constexpr double kVuNumberR = 42.5;                    // its numbers
constexpr double kVuNeedleR0 = 14.0, kVuNeedleR1 = 57.0;

// Screw (38 x 42) at the VU's centre, logo plate (35 x 35) under it.
constexpr Pos kScrew{493, 83};
constexpr double kScrewCx = 19.0, kScrewCy = 19.0, kScrewR = 12.5;
constexpr Pos kLogoPlate{494, 131};

// Level meters (15 x 15) with their clip lights (11 x 11) on top.
constexpr Pos kMeterL{607, 63}, kMeterR{640, 63};
constexpr Pos kClipL{609, 65}, kClipR{642, 65};

// Product logo (the information button) and the mode indicator.
constexpr Pos kProductLogo{91, 4};
constexpr Pos kModeIndicator{482, 8};
constexpr int kModeToggleR = 550, kModeToggleB = 42;

// Value readouts: no marking may lie under them. Small-font labels draw rows
// T - 2 .. T + 3 between L and R; large-font ones rows T - 6 .. T + 7.
constexpr Pos kVersionLabel{44, 245};

}  // namespace layout
