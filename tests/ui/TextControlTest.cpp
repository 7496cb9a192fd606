// The bitmap-font labels' glyph positions, read back from the back buffer
// (each glyph frame of the test strips is a solid colour), and the typed
// delay: its conversion and what bad input leads to.
#include "editor/IBitmapControl.h"
#include "tests/ui/SmallEditor.h"
#include "ui/controls/CustomTextControlD.h"
#include "ui/controls/CustomTextControlD3.h"
#include "ui/controls/DelayEntry.h"
#include "ui/controls/IKnobMultiControlHalfPrompt.h"
#include "ui/controls/TextBoxPrompt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace ui_test;

namespace {

// A run of one glyph frame along a row: [begin, end) and the frame.
struct GlyphRun {
    int begin;
    int end;
    int frame;
    bool operator==(const GlyphRun&) const = default;
};

std::vector<GlyphRun> RunsOnRow(const SmallEditor& e, int y)
{
    std::vector<GlyphRun> runs;
    for (int x = 0; x < 674; ++x) {
        const uint32_t p = e.Pixel(x, y);
        if ((p & 0xFFFF0000u) != 0xFF800000u)
            continue;
        const int frame = static_cast<int>((p >> 8) & 0xFF);
        if (!runs.empty() && runs.back().end == x && runs.back().frame == frame)
            ++runs.back().end;
        else
            runs.push_back({x, x + 1, frame});
    }
    return runs;
}

// The first and last rows holding any glyph pixel between columns x0 and x1.
std::pair<int, int> RowsUsed(const SmallEditor& e, int x0, int x1)
{
    int first = -1, last = -1;
    for (int y = 0; y < 262; ++y)
        for (int x = x0; x < x1; ++x)
            if ((e.Pixel(x, y) & 0xFFFF0000u) == 0xFF800000u) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

constexpr int F(char c) { return c - 31; }

template <class Label>
Label* DrawLabel(SmallEditor& e, const IBounds& bounds, int cellW, int cellH, const char* text)
{
    auto* label = e.Add(new Label(e.plug.get(), bounds, e.Strip(cellW, cellH, 95)));
    e.Attach();
    label->SetText(text);
    e.ClearBackBuffer();
    e.surface->RedrawBounds({0, 0, 674, 262});
    return label;
}

} // namespace

//------------------------------------------------------------------------
TEST(SmallFontLabel, OneLineCentresBetweenLeftAndRightAndStandsThreeRowsUp)
{
    SmallEditor e;
    DrawLabel<CustomTextControlD>(e, {2, 56, 94, 56}, 7, 7, "Tight");
    // Width 6 + 3 + 6 + 6 + 6 = 27: x = 2 + int(46 - 13.5) = 34; y = 56 + 1 - 3.
    EXPECT_EQ(RowsUsed(e, 0, 674), std::make_pair(54, 59));
    const std::vector<GlyphRun> expected{{34, 40, F('T')}, {40, 43, F('i')}, {43, 49, F('g')}, {49, 55, F('h')},
                                    {55, 61, F('t')}};
    EXPECT_EQ(RunsOnRow(e, 54), expected);
}

//------------------------------------------------------------------------
TEST(SmallFontLabel, WideLettersTakeAnExtraPixelExceptFirstAndLinesStartAtLeastAtLeft)
{
    SmallEditor e;
    DrawLabel<CustomTextControlD>(e, {100, 30, 130, 30}, 7, 7, "Mw");
    // M first (no extra) 7, then one blank pixel and w 7: width 15.
    // x = 100 + int(15 - 7.5) = 107.
    const std::vector<GlyphRun> expected{{107, 114, F('M')}, {115, 122, F('w')}};
    EXPECT_EQ(RunsOnRow(e, 28), expected);

    SmallEditor narrow;
    DrawLabel<CustomTextControlD>(narrow, {200, 100, 204, 100}, 7, 7, "Release");
    ASSERT_FALSE(RunsOnRow(narrow, 98).empty());
    EXPECT_EQ(RunsOnRow(narrow, 98).front().begin, 200);
}

//------------------------------------------------------------------------
TEST(SmallFontLabel, SecondLineStartsEightRowsLowerWithItsNewlineAsABlank)
{
    SmallEditor e;
    DrawLabel<CustomTextControlD>(e, {10, 100, 110, 100}, 7, 7, "Ab\ncd");
    // Two lines: y = 101 + int(-6) = 95, then 103. Line one is 12 wide at
    // 10 + int(50 - 6) = 54; line two 18 wide (newline, c, d) at 51.
    EXPECT_EQ(RowsUsed(e, 0, 674), std::make_pair(95, 108));
    EXPECT_EQ(RunsOnRow(e, 95), (std::vector<GlyphRun>{{54, 60, F('A')}, {60, 66, F('b')}}));
    EXPECT_EQ(RunsOnRow(e, 103), (std::vector<GlyphRun>{{51, 57, 1}, {57, 63, F('c')}, {63, 69, F('d')}}));
}

//------------------------------------------------------------------------
TEST(LargeFontLabel, CentresEachLineOnTheRightEdgeAndSpacesLinesSixteenRows)
{
    SmallEditor e;
    DrawLabel<CustomTextControlD3>(e, {158, 52, 233, 52}, 8, 14, "Angle");
    // Width 7 + 7 + 7 + 3 + 7 = 31: x = int(int(37.5 - 15.5) + 195.5) = 217; y = 53 - 7.
    EXPECT_EQ(RowsUsed(e, 0, 674), std::make_pair(46, 59));
    const std::vector<GlyphRun> expected{{217, 224, F('A')}, {224, 231, F('n')}, {231, 238, F('g')},
                                    {238, 241, F('l')}, {241, 248, F('e')}};
    EXPECT_EQ(RunsOnRow(e, 46), expected);

    SmallEditor two;
    DrawLabel<CustomTextControlD3>(two, {100, 150, 200, 150}, 8, 14, "Mw\nO");
    // Line one: M 8, extra, w 8 = 17 at int(int(50 - 8.5) + 150) = 191.
    // Line two: newline 7, extra, O 8 = 16 at 192; y 151 - 14 = 137 and 153.
    EXPECT_EQ(RunsOnRow(two, 137), (std::vector<GlyphRun>{{191, 199, F('M')}, {200, 208, F('w')}}));
    EXPECT_EQ(RunsOnRow(two, 153), (std::vector<GlyphRun>{{192, 199, 1}, {200, 208, F('O')}}));
}

//------------------------------------------------------------------------
TEST(LargeFontLabel, BytesOutsideTheFontDrawTheBlankGlyph)
{
    SmallEditor e;
    DrawLabel<CustomTextControlD3>(e, {100, 150, 200, 150}, 8, 14, "a\xC2\xB0\x7F");
    const std::vector<GlyphRun> runs = RunsOnRow(e, 144);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].frame, F('a'));
    EXPECT_EQ(runs[1].frame, 1);                      // both bytes of the UTF-8 sign
    EXPECT_EQ(runs[1].end - runs[1].begin, 7 + 7 + 7);  // and the DEL character
}

namespace {

struct DelayEditor : SmallEditor {
    explicit DelayEditor(double rate)
    {
        plug->SetSampleRate(rate);
        ITextStyle style;
        style.size = 15;
        fader = Add(new IKnobMultiControlHalfPrompt(plug.get(), 151, 165, kParamDelay, Strip(170, 32, 201), style, 1,
                                                    11.0));
        prompt = Add(new TextBoxPrompt(plug.get(), {175, 190, 294, 206}, style));
        Attach();
    }
    // Opens the entry with a click and commits text as the user typed it.
    void Type(const char* text)
    {
        Press(200, 200);
        Release(200, 200);
        surface->CommitTextEntry(text);
    }

    IKnobMultiControlHalfPrompt* fader;
    TextBoxPrompt* prompt;
};

} // namespace

//------------------------------------------------------------------------
TEST(DelayPrompt, MicrosecondsBecomeQuarterSamplesBelowFiftyKilohertzAndHalfSamplesAbove)
{
    EXPECT_NEAR(DelayUnitsFromMicros(250.0, 44100.0), 44.1, 1e-12);
    EXPECT_NEAR(DelayUnitsFromMicros(250.0, 96000.0), 48.0, 1e-12);

    DelayEditor e(44100.0);
    e.Type(" 250 microseconds  ");
    ASSERT_EQ(e.surface->entries.size(), 1u);
    EXPECT_EQ(e.surface->entries[0].text.rfind(" 0 microseconds", 0), 0u);
    EXPECT_EQ(e.surface->entries[0].style.size, 15);
    EXPECT_EQ(e.surface->entries[0].param, nullptr);
    EXPECT_DOUBLE_EQ(e.fader->GetValue(), (44.1 + 72.0) / 144.0);
    EXPECT_EQ(e.Plain(kParamDelay), 44.0);
    EXPECT_TRUE(e.plug->mSettingsChanged);
    EXPECT_TRUE(e.prompt->Text().empty());
    // The entry sends one complete host gesture.
    EXPECT_EQ(e.plug->begins, std::vector<int>{kParamDelay});
    EXPECT_EQ(e.plug->ends, std::vector<int>{kParamDelay});
}

//------------------------------------------------------------------------
TEST(DelayPrompt, TextWithoutANumberIsZeroAndHugeOrNonFiniteValuesLandOnTheRangesEnds)
{
    struct Case {
        const char* text;
        double plain;
    };
    const Case cases[] = {
        {"abc", 0.0},      {"", 0.0},        {"1e308", 72.0},  {"1e400", 72.0},  {"-1e400", -72.0},
        {"inf", 72.0},     {"-infinity", -72.0}, {"nan", -72.0}, {"1e-400", 0.0}, {"99999999", 72.0},
        {"-250", -44.0},   {"+-5", 0.0},     {"113.4us", 20.0},
    };
    for (const Case& c : cases) {
        DelayEditor e(44100.0);
        e.Type(c.text);
        const double v = e.fader->GetValue();
        EXPECT_TRUE(std::isfinite(v)) << c.text;
        EXPECT_GE(v, 0.0) << c.text;
        EXPECT_LE(v, 1.0) << c.text;
        EXPECT_EQ(e.Plain(kParamDelay), c.plain) << c.text;
        for (const auto& edit : e.plug->edits)
            EXPECT_TRUE(std::isfinite(edit.second) && edit.second >= 0.0 && edit.second <= 1.0) << c.text;
    }
}

//------------------------------------------------------------------------
TEST(DelayPrompt, NumbersAreReadTheSameWayInEveryLocale)
{
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("  -12.5abc"), -12.5);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("+7 microseconds"), 7.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("2,5"), 2.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber("0x10"), 0.0);
    EXPECT_DOUBLE_EQ(ReadLeadingNumber(nullptr), 0.0);
    EXPECT_EQ(ReadLeadingNumber("12345678901234567890e300"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLeadingNumber("0.00001e-320"), 0.0);
    EXPECT_TRUE(std::isnan(ReadLeadingNumber("nan")));
}

//------------------------------------------------------------------------
TEST(SmallFontLabel, TextBeyondTenLinesIsLeftOut)
{
    SmallEditor e;
    auto* label = DrawLabel<CustomTextControlD>(e, {100, 130, 200, 130}, 7, 7, "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\nA\nB");
    const CustomTextControlD::LineLayout layout = label->Layout(label->GetText());
    ASSERT_EQ(layout.count, 10);
    // Ten lines from y = 131 + int(-30) = 101, 8 apart; nothing below the last.
    EXPECT_EQ(RowsUsed(e, 0, 674), std::make_pair(101, 101 + 9 * 8 + 5));
    EXPECT_EQ(RunsOnRow(e, 101 + 9 * 8).back().frame, F('9'));
}

//------------------------------------------------------------------------
TEST(SmallFontLabel, AChangedTextAloneIsRedrawnInFullAndTheOldTextErased)
{
    // The layout gives labels a rectangle of no height: a text change on
    // its own must still reach the screen, and a shorter text must not
    // leave the end of the longer one behind.
    SmallEditor e;
    auto paper = std::make_unique<RasterMemBitmap>(674, 262);
    for (int y = 0; y < 262; ++y)
        for (int x = 0; x < 674; ++x)
            paper->GetBits()[y * paper->GetRowSpan() + x] = 0xFF102030u;
    e.Add(new IBitmapControl(e.plug.get(), 0, 0, -1, IBitmapStrip{paper.get(), 674, 262, 1, false}, kBlendCopy));
    e.bitmaps.push_back(std::move(paper));
    auto* label = DrawLabel<CustomTextControlD>(e, {2, 56, 94, 56}, 7, 7, "Tight");
    auto tick = [&] {
        IBounds dirty;
        if (e.surface->CollectDirtyBounds(dirty))
            e.surface->RedrawBounds(dirty);
    };
    tick();

    label->SetText("100.0 %");
    tick();
    const auto wide = RunsOnRow(e, 54);
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide.back().end - wide.front().begin, 4 + 6 + 6 + 2 + 6 + 4 + 6);

    label->SetText("1 %");
    tick();
    const auto narrow = RunsOnRow(e, 54);
    ASSERT_FALSE(narrow.empty());
    EXPECT_EQ(narrow.back().end - narrow.front().begin, 4 + 4 + 6);
    for (int x = wide.front().begin; x < wide.back().end; ++x) {
        if (x < narrow.front().begin || x >= narrow.back().end) {
            EXPECT_EQ(e.Pixel(x, 54), 0xFF102030u) << "x " << x;
        }
    }
}

//------------------------------------------------------------------------
TEST(LargeFontLabel, ATextSetAsAPlainTextControlIsRedrawnInFull)
{
    // The editor link hands the engine's readout texts to the labels as
    // plain text controls. Set that way, a label at the Delay readout's
    // place must still be redrawn over its old and new text: redrawn within
    // its line of no height, the new text never showed and the old stayed.
    SmallEditor e;
    auto paper = std::make_unique<RasterMemBitmap>(674, 262);
    for (int y = 0; y < 262; ++y)
        for (int x = 0; x < 674; ++x)
            paper->GetBits()[y * paper->GetRowSpan() + x] = 0xFF102030u;
    e.Add(new IBitmapControl(e.plug.get(), 0, 0, -1, IBitmapStrip{paper.get(), 674, 262, 1, false}, kBlendCopy));
    e.bitmaps.push_back(std::move(paper));
    // Made empty, as the layout makes the readout.
    ITextControl* label = DrawLabel<CustomTextControlD3>(e, {183, 198, 232, 198}, 7, 14, "");
    auto picture = [&] {
        std::vector<uint32_t> out;
        for (int y = 180; y < 220; ++y)
            for (int x = 100; x < 320; ++x)
                out.push_back(e.Pixel(x, y));
        return out;
    };
    for (const char* text : {"Welcome to Tarvo", "     v1.0.2     ", " 250 ^s  Delay  ", ""}) {
        label->SetText(text);
        IBounds dirty;
        ASSERT_TRUE(e.surface->CollectDirtyBounds(dirty)) << text;
        e.surface->RedrawBounds(dirty);
        const std::vector<uint32_t> changed = picture();
        e.ClearBackBuffer();
        e.surface->RedrawBounds({0, 0, 674, 262});
        EXPECT_EQ(changed, picture()) << '"' << text << '"';
    }
}
