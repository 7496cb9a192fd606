// Ostrand's editor: a 674 x 262 surface at 30 frames per second with 78
// controls attached in a fixed order (the attach index is how the plug-in
// and the controls address each other), then the start-up hiding.
#include "editor/EditorSurfaceFactory.h"
#include "editor/IEditorSurface.h"
#include "editor/IHotspotToggleControl.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/OstrandEditorAccess.h"
#include "ui/OstrandEditorLink.h"
#include "ui/OstrandWebAddresses.h"
#include "ui/TarvoVersion.h"
#include "ui/controls/CustomTextControlD.h"
#include "ui/controls/CustomTextControlD3.h"
#include "ui/controls/IBitmapControlBouncebackFade.h"
#include "ui/controls/IBitmapControlE.h"
#include "ui/controls/IBitmapControlSloFade.h"
#include "ui/controls/IBitmapOverlayFade.h"
#include "ui/controls/IKnobDetentControlTextMO.h"
#include "ui/controls/IKnobMultiControlHalfPrompt.h"
#include "ui/controls/IKnobMultiControlScrew.h"
#include "ui/controls/IKnobMultiControlTextMO.h"
#include "ui/controls/IKnobMultiControlTextTop360.h"
#include "ui/controls/ISwitchControlB.h"
#include "ui/controls/InfoContactControl.h"
#include "ui/controls/LogoURLControl.h"
#include "ui/controls/MemoryContactControl.h"
#include "ui/controls/NudgeContactControl.h"
#include "ui/controls/TextBoxPrompt.h"
#include "ui/controls/UndoContactControl.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {

constexpr int kEditorWidth = 674;
constexpr int kEditorHeight = 262;
constexpr int kEditorFrameRate = 30;

ITextStyle PromptStyle(const char* font, int size)
{
    ITextStyle style;
    std::snprintf(style.name, sizeof style.name, "%s", font);
    style.size = size;
    style.colour = {255, 0, 0, 0};
    style.entryBackground = {255, 255, 255, 255};
    style.entryForeground = {255, 0, 0, 0};
    style.style = 0;
    style.align = 1;
    return style;
}

// Builds the controls in attach order, keeping the handles the plug-in needs.
class EditorBuilder {
public:
    EditorBuilder(Ostrand& plug, IEditorSurface& surface) : mPlug(plug), mSurface(surface) {}

    IBitmapStrip Strip(int id, const char* name, int frames)
    {
        return mSurface.LoadStrip(id, name, frames, false);
    }
    double Add(IControl* control) { return static_cast<double>(mSurface.AddControl(control)); }

    CustomTextControlD* Label(const IBounds& bounds, const IBitmapStrip& font, const char* text, double& handle)
    {
        auto* label = new CustomTextControlD(&mPlug, bounds, font);
        label->SetText(text);
        handle = Add(label);
        return label;
    }
    CustomTextControlD* LargeLabel(const IBounds& bounds, const IBitmapStrip& font, const char* text,
                                   double& handle)
    {
        auto* label = new CustomTextControlD3(&mPlug, bounds, font);
        label->SetText(text);
        handle = Add(label);
        return label;
    }
    double Fade(int x, int y, const IBitmapStrip& strip, double step, bool clearsClipLights = false,
                int paramIdx = -1)
    {
        if (paramIdx >= 0)
            return Add(new IBitmapControlSloFade(&mPlug, x, y, paramIdx, strip, step, clearsClipLights));
        return Add(new IBitmapControlSloFade(&mPlug, x, y, strip, step, clearsClipLights));
    }
    double Blink(int x, int y, const IBitmapStrip& strip, double step)
    {
        return Add(new IBitmapControlBouncebackFade(&mPlug, x, y, strip, step, false, kBlendSourceAlpha));
    }

    Ostrand& mPlug;
    IEditorSurface& mSurface;
};

} // namespace

//------------------------------------------------------------------------
void Ostrand::BuildEditor()
{
    IEditorSurface* surface = NewPlatformEditorSurface(this, kEditorWidth, kEditorHeight, kEditorFrameRate);
    if (surface == nullptr)
        return;
    // A rebuilt editor replaces the old one: the engine stops telling the old
    // services anything before the old surface goes.
    SetEditorServices(nullptr);
    EditorBuilder b(*this, *surface);
    OstrandEditorHandles& h = mHandles;
    const ITextStyle knobPrompt = PromptStyle("Verdana", 14);
    const ITextStyle delayPrompt = PromptStyle("Arial", 15);

    surface->AddBackground(100, "BG_400x200.png");
    const IBitmapStrip smallFont = b.Strip(122, "font.png", 95);
    const IBitmapStrip largeFont = b.Strip(143, "font_altered_95frames.png", 95);

    // Readouts and the name plates over them.
    h.readoutLabels[kReadoutDelay] = b.LargeLabel({183, 198, 232, 198}, largeFont, "", h.delayReadout);
    h.readoutLabels[kReadoutTight] = b.Label({2, 56, 94, 56}, smallFont, "Tight", h.tightLabel);
    h.tightPlate = b.Fade(8, 48, b.Strip(113, "tight.png", 1), 0.26);
    h.anglePlate = b.Fade(195, 48, b.Strip(135, "angle.png", 1), 0.15);
    h.readoutLabels[kReadoutClassic] = b.Label({2, 125, 94, 125}, smallFont, "Classic", h.classicLabel);
    h.classicPlate = b.Fade(8, 117, b.Strip(114, "classic.png", 1), 0.26);
    h.readoutLabels[kReadoutJuice] = b.Label({-16, 228, 113, 228}, smallFont, "Juice ", h.juiceLabel);
    h.juicePlate = b.Fade(8, 220, b.Strip(115, "juice.png", 1), 0.26);
    h.readoutLabels[kReadoutAttack] = b.Label({102, 125, 196, 125}, smallFont, "Attack", h.attackLabel);
    h.attackPlate = b.Fade(112, 117, b.Strip(116, "attack.png", 1), 0.26);
    h.readoutLabels[kReadoutRelease] = b.Label({274, 125, 362, 125}, smallFont, "Release", h.releaseLabel);
    h.releasePlate = b.Fade(280, 117, b.Strip(117, "release.png", 1), 0.26);
    h.readoutLabels[kReadoutAngle] = b.LargeLabel({158, 52, 233, 52}, largeFont, "Angle", h.angleLabel);
    h.readoutLabels[kReadoutSensitivity] =
        b.Label({377, 228, 486, 228}, smallFont, "Sensitivity", h.sensitivityLabel);
    h.sensitivityPlate = b.Fade(393, 220, b.Strip(118, "sens.png", 1), 0.26);
    h.readoutLabels[kReadoutStrength] = b.Label({555, 228, 630, 228}, smallFont, "Strength", h.strengthLabel);
    h.strengthPlate = b.Fade(553, 220, b.Strip(120, "strength.png", 1), 0.26);
    h.readoutLabels[kReadoutBalance] = b.Label({461, 250, 560, 250}, smallFont, "M/S Balance", h.balanceLabel);
    h.balancePlate = b.Fade(473, 242, b.Strip(119, "bal.png", 1), 0.26);
    h.readoutLabels[kReadoutOutput] = b.Label({590, 126, 669, 126}, smallFont, "Out", h.outLabel);
    h.outPlate = b.Fade(592, 118, b.Strip(121, "out.png", 1), 0.26);
    h.envPlate = b.Fade(380, 93, b.Strip(133, "env.png", 1), 0.15);
    h.pdrPlate = b.Fade(380, 109, b.Strip(110, "pdr.png", 1), 0.15);
    h.extPlate = b.Fade(120, 147, b.Strip(142, "ext.png", 1), 0.15);

    // Angle, Attack, Release and the meters.
    b.Add(new IKnobMultiControlTextTop360(this, {200, 44, 282, 146}, kParamAngle,
                                          b.Strip(104, "large_knob_a.png", 641), knobPrompt, 0, mGearingAngle,
                                          h.anglePlate));
    const IBitmapStrip smallKnobA = b.Strip(106, "small_knob_a.png", 641);
    b.Add(new IKnobMultiControlTextMO(this, {131, 81, 166, 136}, kParamAttack, smallKnobA, knobPrompt, 0,
                                      mGearingAttack, h.attackPlate));
    const IBitmapStrip smallKnobA2 = b.Strip(151, "small_knob_a2.png", 641);
    b.Add(new IKnobMultiControlTextMO(this, {299, 81, 334, 136}, kParamRelease, smallKnobA2, knobPrompt, 0,
                                      mGearingRelease, h.releasePlate));
    h.vuLayer1 = b.Add(new IBitmapControlE(this, 466, 56, b.Strip(109, "VU-meter_sm_gr.png", 641)));
    h.vuLayer2 = b.Add(new IBitmapControlE(this, 446, 36, b.Strip(108, "VU-meter_sm_R.png", 641)));
    h.vuLayer3 = b.Add(new IBitmapControlE(this, 446, 36, b.Strip(107, "VU-meter_sm.png", 641)));

    // Screw and logo: both open the user guide, or the home page without it.
    std::string folder;
    surface->GetModuleFolder(folder);
    std::string guide = UserGuideAddress(folder);
    std::error_code missing;
    if (guide.empty() || !std::filesystem::exists(UserGuidePath(folder), missing))
        guide = kTarvoHomePage;
    h.screw = b.Add(new IKnobMultiControlScrew(this, 493, 83, -1, b.Strip(140, "screw.png", 201), guide.c_str(),
                                               kTarvoHomePage, kTarvoGuideCaption, 0, 6.0));
    h.logoPlate = b.Fade(494, 131, b.Strip(138, "qLogo.png", 1), 0.15);
    h.logoLink = b.Add(new LogoURLControl(this, {494, 131, 524, 161}, guide.c_str(), kTarvoHomePage,
                                          kTarvoGuideCaption));

    // Switches and their lights.
    const IBitmapStrip switchLight = b.Strip(134, "switchlight.png", 2);
    h.switchLight1 = b.Fade(387, 70, switchLight, 0.34);
    h.switchLight2 = b.Fade(387, 120, switchLight, 0.34);
    h.switchLight3 = b.Fade(98, 142, switchLight, 0.34);
    const IBitmapStrip switchStrip = b.Strip(132, "switch.png", 2);
    b.Add(new ISwitchControlB(this, 387, 70, kParamInvertEnvelope, switchStrip, h.envPlate, h.pdrPlate, false,
                              true));
    b.Add(new ISwitchControlB(this, 387, 120, kParamInvertPdr, switchStrip, h.pdrPlate, h.envPlate, true, false));
    b.Add(new ISwitchControlB(this, 98, 142, kParamExtSidechain, switchStrip, h.extPlate, h.envPlate, false,
                              false));

    // The small knobs.
    b.Add(new IKnobMultiControlTextMO(this, {27, 12, 62, 67}, kParamTight, b.Strip(105, "small_knob_b.png", 641),
                                      knobPrompt, 0, mGearingTight, h.tightPlate));
    b.Add(new IKnobMultiControlTextMO(this, {27, 81, 62, 136}, kParamClassic,
                                      b.Strip(150, "small_knob_b3.png", 641), knobPrompt, 0, mGearingClassic,
                                      h.classicPlate));
    b.Add(new IKnobDetentControlTextMO(this, {27, 184, 62, 239}, kParamJuice,
                                       b.Strip(149, "small_knob_b2.png", 641), knobPrompt, 0, mGearingJuice,
                                       h.juicePlate));
    b.Add(new IKnobMultiControlTextMO(this, {611, 82, 646, 137}, kParamOutput,
                                      b.Strip(144, "small_knob_a3.png", 641), knobPrompt, 0, mGearingOutput,
                                      h.outPlate));
    b.Add(new IKnobMultiControlTextMO(this, {572, 184, 607, 239}, kParamStrength, smallKnobA, knobPrompt, 0,
                                      mGearingStrength, h.strengthPlate));
    b.Add(new IKnobMultiControlTextMO(this, {412, 184, 447, 239}, kParamSensitivity,
                                      b.Strip(105, "small_knob_b.png", 641), knobPrompt, 0, mGearingSensitivity,
                                      h.sensitivityPlate));
    b.Add(new IKnobMultiControlTextMO(this, {492, 206, 527, 261}, kParamBalance, smallKnobA2, knobPrompt, 0,
                                      mGearingBalance, h.balancePlate));

    // The Delay fader, its light, the typed delay and the nudge buttons.
    h.faderLight = b.Fade(151, 165, b.Strip(136, "sliderlight.png", 201), 0.15, false, kParamDelay);
    b.Add(new IKnobMultiControlHalfPrompt(this, 151, 165, kParamDelay, b.Strip(101, "fader-cap_sm.png", 201),
                                          knobPrompt, 1, mGearingDelay));
    h.delayPromptControl = new TextBoxPrompt(this, {175, 190, 294, 206}, delayPrompt);
    h.delayPrompt = b.Add(h.delayPromptControl);
    b.Add(new NudgeContactControl(this, 132, 168, b.Strip(130, "minus.png", 2), true));
    b.Add(new NudgeContactControl(this, 303, 168, b.Strip(131, "plus.png", 2), false));

    // Memory and undo: steady lights, blinks, then the buttons over them.
    const IBitmapStrip lightA = b.Strip(146, "aLight.png", 2);
    const IBitmapStrip lightB = b.Strip(128, "bLight.png", 2);
    const IBitmapStrip lightC = b.Strip(147, "cLight.png", 2);
    const IBitmapStrip lightD = b.Strip(148, "dLight.png", 2);
    const IBitmapStrip lightU = b.Strip(145, "uLight.png", 2);
    const IBitmapStrip lightR = b.Strip(103, "rLight.png", 2);
    const IBitmapStrip lights[4] = {lightA, lightB, lightC, lightD};
    const int slotX[4] = {123, 152, 181, 210};
    for (int slot = 0; slot < 4; ++slot)
        h.memoryLight[slot] = b.Fade(slotX[slot], 222, lights[slot], 0.15);
    h.undoLight = b.Fade(289, 222, lightU, 0.15);
    h.redoLight = b.Fade(318, 222, lightR, 0.15);
    for (int slot = 0; slot < 4; ++slot)
        h.memoryBlink[slot] = b.Blink(slotX[slot], 222, lights[slot], 0.34);
    h.undoBlink = b.Blink(289, 222, lightU, 0.34);
    h.redoBlink = b.Blink(318, 222, lightR, 0.34);
    const IBitmapStrip buttons[4] = {b.Strip(123, "Abut.png", 4), b.Strip(124, "Bbut.png", 4),
                                     b.Strip(125, "Cbut.png", 4), b.Strip(129, "Dbut.png", 4)};
    for (int slot = 0; slot < 4; ++slot) {
        h.memoryButtons[slot] = new MemoryContactControl(this, slotX[slot], 222, buttons[slot], h.memoryBlink[slot]);
        h.memoryButton[slot] = b.Add(h.memoryButtons[slot]);
    }
    h.undoControl = new UndoContactControl(this, 289, 222, b.Strip(126, "Ubut.png", 3), false);
    h.undoButton = b.Add(h.undoControl);
    h.redoControl = new UndoContactControl(this, 318, 222, b.Strip(127, "Rbut.png", 3), true);
    h.redoButton = b.Add(h.redoControl);

    // Output meters and their clip lights.
    const IBitmapStrip meter = b.Strip(111, "meter.png", 641);
    h.levelMeterLeft = b.Add(new IBitmapControlE(this, 607, 63, meter));
    h.levelMeterRight = b.Add(new IBitmapControlE(this, 640, 63, meter));
    const IBitmapStrip clip = b.Strip(112, "meterClip.png", 2);
    h.clipLightLeft = b.Fade(609, 65, clip, 0.34, true);
    h.clipLightRight = b.Fade(642, 65, clip, 0.34, true);

    // The information screen and what shows only while it is open.
    h.infoButton = b.Add(new InfoContactControl(this, 91, 4, b.Strip(139, "tLogo.png", 2)));
    h.infoScreen = b.Add(new IBitmapOverlayFade(this, 0, 0, b.Strip(137, "info.png", 1), 0.26,
                                                IBounds{274, 7, 121, 29}));
    h.versionText = b.Label({44, 245, 44, 245}, smallFont, kTarvoVersionText, h.versionLabel);
    h.modeIndicator = b.Fade(482, 8, b.Strip(152, "mode.png", 3), 0.34);
    h.modeToggle = b.Add(new IHotspotToggleControl(this, {482, 8, 550, 42}, kParamOversampleMode));

    surface->SetHandleMouseOver(true);
    auto link = std::make_unique<OstrandEditorLink>(this, surface);
    surface->SetTickHook(link.get());
    AttachEditor(surface);
    SetEditorServices(link.get());
    surface->PushValueToControl(static_cast<int>(h.screw), 0.5);

    // Start-up: only the plates and the logo plate are shown.
    OstrandEditorAccess ui(*this);
    ui.Show(h.versionLabel, false);
    ui.Show(h.modeIndicator, false);
    ui.Show(h.modeToggle, false);
    ui.Show(h.clipLightLeft, false);
    ui.Show(h.clipLightRight, false);
    mRedrawTicks = 20;
    for (int slot = 0; slot < 4; ++slot) {
        ui.Show(h.memoryLight[slot], false);
        ui.Show(h.memoryBlink[slot], false);
    }
    for (double handle : {h.undoLight, h.redoLight, h.undoBlink, h.redoBlink, h.switchLight1, h.switchLight2,
                          h.switchLight3, h.faderLight})
        ui.Show(handle, false);
    mEditorLink = std::move(link);
}
