// The editor as built: every control in its place and class, the handles the
// plug-in keeps, the bitmaps the layout loads and the start-up state.
#include "tests/ui/UiTestSupport.h"
#include "ui/OstrandWebAddresses.h"
#include "ui/controls/CustomTextControlD3.h"
#include "ui/controls/IBitmapControlBouncebackFade.h"
#include "ui/controls/IBitmapControlE.h"
#include "ui/controls/IBitmapControlSloFade.h"
#include "ui/controls/IBitmapOverlayFade.h"
#include "ui/controls/IKnobDetentControlTextMO.h"
#include "ui/controls/IKnobMultiControlHalfPrompt.h"
#include "ui/controls/IKnobMultiControlScrew.h"
#include "ui/controls/IKnobMultiControlTextTop360.h"
#include "ui/controls/ISwitchControlB.h"
#include "ui/controls/InfoContactControl.h"
#include "ui/controls/LogoURLControl.h"
#include "ui/controls/MemoryContactControl.h"
#include "ui/controls/NudgeContactControl.h"
#include "ui/controls/TextBoxPrompt.h"
#include "ui/controls/UndoContactControl.h"
#include "editor/IHotspotToggleControl.h"
#include "raster/RasterLazyPngBitmap.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <typeinfo>

using namespace ui_test;

namespace {

// One row per control in attach order: class code, full rectangle (with the
// art's frame sizes), parameter. Codes: t small label, T large label,
// s fade, b blink, e meter image, o overlay, k small knob, j detent knob,
// a endless knob, f fader, w screw, l logo link, x switch, m memory, u undo,
// n nudge, p delay prompt, i info button, h hotspot.
struct Row {
    char kind;
    IBounds rect;
    int param;
};

const Row kRows[] = {
    {'T', {183, 198, 232, 198}, -1}, {'t', {2, 56, 94, 56}, -1},     {'s', {8, 48, 88, 68}, -1},
    {'s', {195, 48, 275, 68}, -1},   {'t', {2, 125, 94, 125}, -1},   {'s', {8, 117, 88, 137}, -1},
    {'t', {-16, 228, 113, 228}, -1}, {'s', {8, 220, 88, 240}, -1},   {'t', {102, 125, 196, 125}, -1},
    {'s', {112, 117, 192, 137}, -1}, {'t', {274, 125, 362, 125}, -1}, {'s', {280, 117, 360, 137}, -1},
    {'T', {158, 52, 233, 52}, -1},   {'t', {377, 228, 486, 228}, -1}, {'s', {393, 220, 473, 240}, -1},
    {'t', {555, 228, 630, 228}, -1}, {'s', {553, 220, 633, 240}, -1}, {'t', {461, 250, 560, 250}, -1},
    {'s', {473, 242, 553, 262}, -1}, {'t', {590, 126, 669, 126}, -1}, {'s', {592, 118, 672, 138}, -1},
    {'s', {380, 93, 416, 104}, -1},  {'s', {380, 109, 416, 120}, -1}, {'s', {120, 147, 156, 158}, -1},
    {'a', {200, 44, 282, 146}, 0},   {'k', {131, 81, 166, 136}, 2},   {'k', {299, 81, 334, 136}, 3},
    {'e', {466, 56, 558, 148}, -1},  {'e', {446, 36, 578, 168}, -1},  {'e', {446, 36, 578, 168}, -1},
    {'w', {493, 83, 531, 125}, -1},  {'s', {494, 131, 529, 166}, -1}, {'l', {494, 131, 524, 161}, -1},
    {'s', {387, 70, 410, 93}, -1},   {'s', {387, 120, 410, 143}, -1}, {'s', {98, 142, 121, 165}, -1},
    {'x', {387, 70, 410, 93}, 11},   {'x', {387, 120, 410, 143}, 12}, {'x', {98, 142, 121, 165}, 13},
    {'k', {27, 12, 62, 67}, 8},      {'k', {27, 81, 62, 136}, 9},     {'j', {27, 184, 62, 239}, 10},
    {'k', {611, 82, 646, 137}, 7},   {'k', {572, 184, 607, 239}, 6},  {'k', {412, 184, 447, 239}, 4},
    {'k', {492, 206, 527, 261}, 5},  {'s', {151, 165, 321, 197}, 1},  {'f', {151, 165, 321, 197}, 1},
    {'p', {175, 190, 294, 206}, -1}, {'n', {132, 168, 166, 193}, -1}, {'n', {303, 168, 337, 193}, -1},
    {'s', {123, 222, 152, 249}, -1}, {'s', {152, 222, 181, 249}, -1}, {'s', {181, 222, 210, 249}, -1},
    {'s', {210, 222, 239, 249}, -1}, {'s', {289, 222, 318, 249}, -1}, {'s', {318, 222, 347, 249}, -1},
    {'b', {123, 222, 152, 249}, -1}, {'b', {152, 222, 181, 249}, -1}, {'b', {181, 222, 210, 249}, -1},
    {'b', {210, 222, 239, 249}, -1}, {'b', {289, 222, 318, 249}, -1}, {'b', {318, 222, 347, 249}, -1},
    {'m', {123, 222, 152, 249}, -1}, {'m', {152, 222, 181, 249}, -1}, {'m', {181, 222, 210, 249}, -1},
    {'m', {210, 222, 239, 249}, -1}, {'u', {289, 222, 318, 249}, -1}, {'u', {318, 222, 347, 249}, -1},
    {'e', {607, 63, 622, 78}, -1},   {'e', {640, 63, 655, 78}, -1},   {'s', {609, 65, 620, 76}, -1},
    {'s', {642, 65, 653, 76}, -1},   {'i', {91, 4, 230, 42}, -1},     {'o', {0, 0, 674, 262}, -1},
    {'t', {44, 245, 44, 245}, -1},   {'s', {482, 8, 562, 42}, -1},    {'h', {482, 8, 550, 42}, 14},
};

bool IsKind(IControl* c, char kind)
{
    const std::type_info& t = typeid(*c);
    switch (kind) {
    case 't': return t == typeid(CustomTextControlD);
    case 'T': return t == typeid(CustomTextControlD3);
    case 's': return t == typeid(IBitmapControlSloFade);
    case 'b': return t == typeid(IBitmapControlBouncebackFade);
    case 'e': return t == typeid(IBitmapControlE);
    case 'o': return t == typeid(IBitmapOverlayFade);
    case 'k': return t == typeid(IKnobMultiControlTextMO);
    case 'j': return t == typeid(IKnobDetentControlTextMO);
    case 'a': return t == typeid(IKnobMultiControlTextTop360);
    case 'f': return t == typeid(IKnobMultiControlHalfPrompt);
    case 'w': return t == typeid(IKnobMultiControlScrew);
    case 'l': return t == typeid(LogoURLControl);
    case 'x': return t == typeid(ISwitchControlB);
    case 'm': return t == typeid(MemoryContactControl);
    case 'u': return t == typeid(UndoContactControl);
    case 'n': return t == typeid(NudgeContactControl);
    case 'p': return t == typeid(TextBoxPrompt);
    case 'i': return t == typeid(InfoContactControl);
    case 'h': return t == typeid(IHotspotToggleControl);
    default: return false;
    }
}

} // namespace

TEST(EditorLayout, SeventyEightControlsInTheirClassPlaceAndParameter)
{
    EditorHarness ed(false);
    ASSERT_EQ(ed.surface->NControls(), 79);
    EXPECT_EQ(ed.surface->Width(), 674);
    EXPECT_EQ(ed.surface->Height(), 262);
    EXPECT_EQ(ed.surface->RefreshRate(), 30);
    EXPECT_TRUE(ed.surface->HandleMouseOver());
    const bool art = ArtPresent();
    for (int i = 1; i <= 78; ++i) {
        SCOPED_TRACE(i);
        IControl* c = ed.surface->GetControl(i);
        const Row& row = kRows[i - 1];
        EXPECT_TRUE(IsKind(c, row.kind)) << typeid(*c).name();
        EXPECT_EQ(c->ParamIdx(), row.param);
        // Labels are laid out on a text line; their drawing bounds follow the text.
        const auto* label = dynamic_cast<CustomTextControlD*>(c);
        const IBounds placed = label != nullptr ? label->LineRect() : c->GetBounds();
        EXPECT_EQ(placed.left, row.rect.left);
        EXPECT_EQ(placed.top, row.rect.top);
        // Bitmap controls take their size from the art.
        if (art || row.kind == 't' || row.kind == 'T' || row.kind == 'k' || row.kind == 'j' ||
            row.kind == 'a' || row.kind == 'l' || row.kind == 'p' || row.kind == 'h') {
            EXPECT_EQ(placed, row.rect);
        }
    }
}

TEST(EditorLayout, HandlesAddressTheNamedControls)
{
    EditorHarness ed(false);
    const OstrandEditorHandles& h = ed.plug->mHandles;
    const std::pair<double, int> named[] = {
        {h.delayReadout, 1},     {h.tightLabel, 2},      {h.tightPlate, 3},     {h.anglePlate, 4},
        {h.juiceLabel, 7},       {h.angleLabel, 13},     {h.outPlate, 21},      {h.extPlate, 24},
        {h.vuLayer1, 28},        {h.vuLayer2, 29},       {h.vuLayer3, 30},      {h.screw, 31},
        {h.logoPlate, 32},       {h.logoLink, 33},       {h.switchLight3, 36},  {h.faderLight, 47},
        {h.delayPrompt, 49},     {h.memoryLight[0], 52}, {h.redoLight, 57},     {h.memoryBlink[3], 61},
        {h.undoBlink, 62},       {h.memoryButton[1], 65}, {h.undoButton, 68},   {h.redoButton, 69},
        {h.levelMeterLeft, 70},  {h.clipLightRight, 73}, {h.infoButton, 74},    {h.infoScreen, 75},
        {h.versionLabel, 76},    {h.modeIndicator, 77},  {h.modeToggle, 78},
    };
    for (const auto& [handle, index] : named)
        EXPECT_EQ(static_cast<int>(handle), index);
    EXPECT_EQ(h.readoutLabels[kReadoutDelay], ed.surface->GetControl(1));
    EXPECT_EQ(h.readoutLabels[kReadoutOutput], ed.surface->GetControl(20));
    EXPECT_EQ(h.memoryButtons[3], ed.surface->GetControl(67));
    EXPECT_EQ(h.redoControl, ed.surface->GetControl(69));
    EXPECT_EQ(h.delayPromptControl, ed.surface->GetControl(49));
}

TEST(EditorLayout, StartsWithPlatesShownAndEverythingElseAway)
{
    EditorHarness ed(false);
    const OstrandEditorHandles& h = ed.plug->mHandles;
    for (double hidden : {h.versionLabel, h.modeIndicator, h.modeToggle, h.clipLightLeft, h.clipLightRight,
                          h.memoryLight[0], h.memoryLight[3], h.undoLight, h.redoLight, h.memoryBlink[2],
                          h.undoBlink, h.redoBlink, h.switchLight1, h.switchLight3,
                          h.faderLight}) {
        // Fades still at full weight fade out over the first frames.
        ed.Ticks(12);
        EXPECT_TRUE(ed.Control(hidden)->IsHidden()) << hidden;
    }
    // Invert PDR is on by default: the opening banner lights its light.
    EXPECT_FALSE(ed.Control(h.switchLight2)->IsHidden());
    for (double plate : {h.tightPlate, h.anglePlate, h.juicePlate, h.outPlate, h.envPlate, h.logoPlate})
        EXPECT_FALSE(ed.Control(plate)->IsHidden());
    EXPECT_EQ(ed.Control(h.screw)->GetValue(), 0.5);
    EXPECT_EQ(ed.Control(h.infoScreen)->GetValue(), 0.0);
    EXPECT_STREQ(h.versionText->GetText(), "1.0.2");
}

TEST(EditorLayout, KnobsReadTheirGearingAndShareBitmaps)
{
    EditorHarness ed(false);
    auto knob = [&](int i) { return static_cast<IKnobControl*>(ed.surface->GetControl(i)); };
    EXPECT_EQ(knob(25)->mGearing, 7.0);
    EXPECT_EQ(knob(27)->mGearing, 6.2);
    EXPECT_EQ(knob(42)->mGearing, 2.8);
    EXPECT_EQ(knob(43)->mGearing, 10.5);
    EXPECT_EQ(knob(44)->mGearing, 8.5);
    EXPECT_EQ(knob(48)->mGearing, 11.0);
    EXPECT_EQ(knob(31)->mGearing, 6.0);
    if (!ArtPresent())
        GTEST_SKIP() << "the editor's art is not compiled into this program";
    // Attack and Strength draw the same strip; a light and its blink too.
    EXPECT_EQ(static_cast<IKnobMultiControlTextMO*>(knob(26))->mStrip.bitmap,
              static_cast<IKnobMultiControlTextMO*>(knob(44))->mStrip.bitmap);
    EXPECT_EQ(static_cast<IBitmapControl*>(ed.surface->GetControl(52))->mStrip.bitmap,
              static_cast<IBitmapControl*>(ed.surface->GetControl(58))->mStrip.bitmap);
}

TEST(EditorLayout, EveryResourceHasItsSizeAndFrames)
{
    if (!ArtPresent())
        GTEST_SKIP() << "the editor's art is not compiled into this program";
    struct Res {
        int id;
        const char* name;
        int w, h, frames;
    };
    const Res table[] = {
        {100, "BG_400x200", 674, 262, 1},    {101, "fader-cap_sm", 170, 6432, 201}, {103, "rLight", 29, 54, 2},
        {104, "large_knob_a", 70, 47434, 641}, {105, "small_knob_b", 40, 25640, 641},
        {106, "small_knob_a", 40, 25640, 641}, {107, "VU-meter_sm", 132, 84612, 641},
        {108, "VU-meter_sm_R", 132, 84612, 641}, {109, "VU-meter_sm_gr", 92, 58972, 641},
        {110, "pdr", 36, 11, 1},             {111, "meter", 15, 9615, 641},     {112, "meterClip", 11, 22, 2},
        {113, "tight", 80, 20, 1},           {114, "classic", 80, 20, 1},       {115, "juice", 80, 20, 1},
        {116, "attack", 80, 20, 1},          {117, "release", 80, 20, 1},       {118, "sens", 80, 20, 1},
        {119, "bal", 80, 20, 1},             {120, "strength", 80, 20, 1},      {121, "out", 80, 20, 1},
        {122, "font", 7, 665, 95},           {123, "Abut", 29, 108, 4},         {124, "Bbut", 29, 108, 4},
        {125, "Cbut", 29, 108, 4},           {126, "Ubut", 29, 81, 3},          {127, "Rbut", 29, 81, 3},
        {128, "bLight", 29, 54, 2},          {129, "Dbut", 29, 108, 4},         {130, "minus", 34, 50, 2},
        {131, "plus", 34, 50, 2},            {132, "switch", 23, 46, 2},        {133, "env", 36, 11, 1},
        {134, "switchlight", 23, 46, 2},     {135, "angle", 80, 20, 1},         {136, "sliderlight", 170, 6432, 201},
        {137, "info", 674, 262, 1},          {138, "qLogo", 35, 35, 1},         {139, "tLogo", 139, 76, 2},
        {140, "screw", 38, 8442, 201},       {142, "ext", 36, 11, 1},
        {143, "font_altered_95frames", 8, 1330, 95}, {144, "small_knob_a3", 40, 25640, 641},
        {145, "uLight", 29, 54, 2},          {146, "aLight", 29, 54, 2},        {147, "cLight", 29, 54, 2},
        {148, "dLight", 29, 54, 2},          {149, "small_knob_b2", 40, 25640, 641},
        {150, "small_knob_b3", 40, 25640, 641}, {151, "small_knob_a2", 40, 25640, 641}, {152, "mode", 80, 102, 3},
    };
    EditorHarness ed(false);
    for (const Res& r : table) {
        SCOPED_TRACE(r.id);
        std::string file = std::string(r.name) + ".png";
        IBitmapStrip strip = ed.surface->LoadStrip(r.id, file.c_str(), r.frames, false);
        ASSERT_NE(strip.bitmap, nullptr);
        EXPECT_EQ(strip.width, r.w);
        EXPECT_EQ(strip.height, r.h);
        EXPECT_EQ(strip.FrameHeight() * r.frames, r.h);
    }
}

TEST(EditorLayout, BuildingTheEditorDecodesNoArtAndTheFirstDrawDecodesWhatItShows)
{
    if (!ArtPresent())
        GTEST_SKIP() << "the editor's art is not compiled into this program";
    const uint64_t before = RasterLazyPngBitmap::DecodesSoFar();
    EditorHarness ed(false);
    EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before);
    auto* background = static_cast<IBitmapControl*>(ed.surface->GetControl(0));
    EXPECT_EQ(background->GetBounds(), (IBounds{0, 0, 674, 262}));
    auto* art = dynamic_cast<RasterLazyPngBitmap*>(background->mStrip.bitmap);
    ASSERT_NE(art, nullptr);

    // Other tests of this program may have drawn already; then nothing new
    // is decoded here, and otherwise the background is among what is.
    ed.Tick();
    EXPECT_TRUE(art->IsDecoded());
    const uint64_t afterFirstDraw = RasterLazyPngBitmap::DecodesSoFar();
    EditorHarness second(false);
    second.Tick();
    EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), afterFirstDraw);
    EXPECT_EQ(static_cast<IBitmapControl*>(second.surface->GetControl(0))->mStrip.bitmap, art);
    // The background really reached the back buffer: its top-left pixel.
    RasterBitmap* back = second.surface->GetBackBuffer();
    ASSERT_NE(back->GetBits(), nullptr);
    const int row = back->IsFlipped() ? back->GetHeight() - 1 : 0;
    EXPECT_EQ(back->GetBits()[static_cast<std::ptrdiff_t>(row) * back->GetRowSpan()], art->GetBits()[0]);
}

TEST(EditorLayout, GuideAddressesPointIntoTheBundle)
{
    EXPECT_EQ(UserGuideAddress("/home/u/.vst3/Tarvo.vst3/Contents/x86_64-linux/"),
              "file:///home/u/.vst3/Tarvo.vst3/Contents/Resources/TarvoUserGuide.html");
    EXPECT_EQ(UserGuideAddress("C:\\Program Files\\Common Files\\VST3\\Tarvo.vst3\\Contents\\x86_64-win\\"),
              "file:///C:/Program%20Files/Common%20Files/VST3/Tarvo.vst3/Contents/Resources/TarvoUserGuide.html");
    EXPECT_EQ(UserGuideAddress(""), "");
    // Without a module folder (the headless surface) both fall back to the home page.
    EditorHarness ed(false);
    auto* screw = static_cast<IKnobMultiControlScrew*>(ed.Control(ed.plug->mHandles.screw));
    EXPECT_STREQ(screw->mFirstAddress, kTarvoHomePage);
    EXPECT_STREQ(screw->mSecondAddress, kTarvoHomePage);
    auto* logo = static_cast<LogoURLControl*>(ed.Control(ed.plug->mHandles.logoLink));
    EXPECT_STREQ(logo->mSecondAddress, "https://quenby-audio.example.org");
}
