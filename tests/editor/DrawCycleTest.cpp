// The draw cycle in both schemes, strip blits into the back buffer and
// bitmap loading through the cache.
#include "editor/IBitmapControl.h"
#include "raster/RasterLazyPngBitmap.h"
#include "tests/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A surface with probes; nothing is dirty when it is handed over.
struct DrawFixture : ::testing::Test {
    DrawFixture() : surface(&plug, 100, 100) { surface.CreateBackBuffer(); }

    ProbeControl* Add(const char* name, const IBounds& bounds)
    {
        auto* c = new ProbeControl(&log, name, &plug, bounds);
        surface.AddControl(c);
        c->MarkClean();
        return c;
    }
    std::vector<std::string> Painted()
    {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line.size() > 6 && line.compare(line.size() - 6, 6, " paint") == 0)
                out.push_back(line.substr(0, line.size() - 6));
        log.clear();
        return out;
    }

    EditorTestPlugin plug;
    IEditorSurfaceHeadless surface;
    std::vector<std::string> log;
};

using Names = std::vector<std::string>;

TEST_F(DrawFixture, EmptySurfaceDrawsAndPresentsNothing)
{
    IBounds dirty{1, 2, 3, 4};
    EXPECT_FALSE(surface.CollectDirtyBounds(dirty));
    EXPECT_TRUE(dirty.IsEmpty());
    EXPECT_TRUE(surface.RedrawBounds({0, 0, 100, 100}));
    EXPECT_TRUE(surface.presented.empty());
    EXPECT_FALSE(surface.TickAndRedraw());
}

TEST_F(DrawFixture, StrictDrawsWhatTouchesTheDirtyUnionAndCleansAll)
{
    Add("bg", {0, 0, 100, 100});
    ProbeControl* a = Add("a", {10, 10, 20, 20});
    Add("edge", {20, 20, 30, 30});   // touches a's right/bottom edge
    Add("far", {60, 60, 70, 70});
    ProbeControl* hidden = Add("hidden", {12, 12, 18, 18});
    hidden->mHidden = true;
    hidden->mDirty = true;

    a->mValue = 0.5;
    a->MarkDirty(false);
    IBounds dirty;
    ASSERT_TRUE(surface.DrawTick(dirty));
    EXPECT_EQ(dirty, (IBounds{10, 10, 20, 20}));
    surface.RedrawBounds(dirty);
    EXPECT_EQ(Painted(), (Names{"bg", "a", "edge"}));
    EXPECT_FALSE(hidden->IsMarkedDirty());  // hidden controls are cleaned too
    ASSERT_EQ(surface.presented.size(), 1u);
    EXPECT_EQ(surface.presented[0], dirty);
    EXPECT_FALSE(surface.TickAndRedraw());
}

TEST_F(DrawFixture, RedrawRequestDrawsOneMoreTick)
{
    Add("bg", {0, 0, 100, 100});
    ProbeControl* a = Add("a", {10, 10, 20, 20});
    a->SetValueFromHost(0.2);  // first value: default only
    a->SetValueFromHost(0.4);  // a change: dirty and a redraw request
    EXPECT_TRUE(surface.TickAndRedraw());
    EXPECT_EQ(Painted(), (Names{"bg", "a"}));
    EXPECT_TRUE(surface.TickAndRedraw());
    EXPECT_EQ(Painted(), (Names{"bg", "a"}));
    EXPECT_FALSE(surface.TickAndRedraw());
}

TEST_F(DrawFixture, NonStrictRedrawsEachDirtyControlWithItsNeighbours)
{
    surface.SetStrictDrawing(false);
    Add("bg", {0, 0, 100, 100});
    ProbeControl* a = Add("a", {10, 10, 20, 20});
    Add("over", {15, 15, 25, 25});
    Add("far", {60, 60, 70, 70});
    ProbeControl* b = Add("b", {80, 80, 90, 90});
    a->MarkDirty(false);
    b->MarkDirty(false);
    IBounds dirty;
    ASSERT_TRUE(surface.CollectDirtyBounds(dirty));
    EXPECT_EQ(dirty, (IBounds{10, 10, 90, 90}));
    surface.RedrawBounds(dirty);
    // a with the background and its overlap, then b with the background;
    // "far" lies inside the union but touches neither.
    EXPECT_EQ(Painted(), (Names{"bg", "a", "over", "bg", "b"}));
    EXPECT_FALSE(a->IsMarkedDirty());
    EXPECT_FALSE(b->IsMarkedDirty());
    EXPECT_EQ(surface.DrawBounds(), b->GetBounds());
}

TEST_F(DrawFixture, NonStrictDirtyBackgroundDrawsEverythingShown)
{
    surface.SetStrictDrawing(false);
    ProbeControl* bg = Add("bg", {0, 0, 100, 100});
    Add("a", {10, 10, 20, 20});
    ProbeControl* hidden = Add("hidden", {30, 30, 40, 40});
    hidden->mHidden = true;
    bg->mHidden = true;  // the background is drawn even when hidden
    bg->MarkDirty(false);
    surface.TickAndRedraw();
    EXPECT_EQ(Painted(), (Names{"bg", "a"}));
    EXPECT_EQ(surface.DrawBounds(), bg->GetBounds());
}

// Pixel of the back buffer as 0xAARRGGBB.
uint32_t Pixel(IEditorSurface& s, int x, int y)
{
    RasterSysBitmap* b = s.GetBackBuffer();
    return b->GetBits()[y * b->GetRowSpan() + x];
}

TEST_F(DrawFixture, StripFramesBlitFromTheRightOffset)
{
    const IBitmapStrip strip = surface.LoadStrip(200, "strip.png", 4, false);
    ASSERT_NE(strip.bitmap, nullptr);
    EXPECT_EQ(strip.width, 8);
    EXPECT_EQ(strip.height, 400);
    EXPECT_EQ(IEditorSurface::StripFrameOffset(strip, 3), 200);
    EXPECT_EQ(IEditorSurface::StripFrameOffset(strip, 1), 0);
    EXPECT_EQ(IEditorSurface::StripFrameOffset(strip, 0), 0);
    IBitmapStrip odd = strip;
    odd.frames = 3;
    odd.height = 100;
    EXPECT_EQ(IEditorSurface::StripFrameOffset(odd, 2), 33);   // 33.33 + 0.5
    EXPECT_EQ(IEditorSurface::StripFrameOffset(odd, 3), 67);   // 66.67 + 0.5
    odd.horizontal = true;
    odd.width = 50;
    EXPECT_EQ(IEditorSurface::StripFrameOffset(odd, 2), 17);
    odd.frames = 1;
    EXPECT_EQ(IEditorSurface::StripFrameOffset(odd, 2), 0);

    // Value 0.7 of four frames shows frame trunc(3 * 0.7 + 0.5) + 1 = 3 (blue).
    auto* knob = new IBitmapControl(&plug, 10, 10, -1, strip);
    EXPECT_EQ(knob->GetBounds(), (IBounds{10, 10, 18, 110}));
    knob->mValue = 0.7;
    surface.AddControl(knob);
    surface.TickAndRedraw();
    EXPECT_EQ(Pixel(surface, 10, 10), 0xff0000ffu);
    EXPECT_EQ(Pixel(surface, 17, 99), 0xff0000ffu);
    knob->SetValueFromUser(1.0);
    surface.TickAndRedraw();
    EXPECT_EQ(Pixel(surface, 12, 50), 0xffffffffu);
}

TEST_F(DrawFixture, BlitsAreClippedToTheDrawBoundsAndFollowTheBlend)
{
    const IBitmapStrip strip = surface.LoadStrip(200, "strip.png", 4, false);
    const IBitmapStrip clear = surface.LoadStrip(202, "clear.PNG", 1, false);
    ASSERT_NE(clear.bitmap, nullptr);
    RasterSysBitmap* back = surface.GetBackBuffer();
    std::fill(back->GetBits(), back->GetBits() + back->GetRowSpan() * back->GetHeight(), 0xff101010u);

    // Only the part inside the draw bounds changes, taken from the matching
    // part of the source.
    auto* c = new IBitmapControl(&plug, 0, 0, -1, strip);
    surface.AddControl(c);
    c->MarkClean();
    surface.RedrawBounds({4, 50, 30, 60});
    EXPECT_EQ(Pixel(surface, 3, 55), 0xff101010u);
    EXPECT_EQ(Pixel(surface, 4, 55), 0xffff0000u);
    EXPECT_EQ(Pixel(surface, 4, 60), 0xff101010u);

    // A fully transparent source: source-alpha blends leave the target,
    // a copy blend replaces it, alpha and all.
    IBlend alpha{kBlendSourceAlpha, 1.0f};
    IBlend copy{kBlendCopy, 1.0f};
    surface.RedrawBounds({0, 0, 100, 100});
    surface.BlitBitmap(clear, {40, 40, 44, 44}, 0, 0, &alpha);
    EXPECT_EQ(Pixel(surface, 41, 41), 0xff101010u);
    surface.BlitBitmap(clear, {40, 40, 44, 44}, 0, 0, nullptr);
    EXPECT_EQ(Pixel(surface, 41, 41), 0xff101010u);
    surface.BlitBitmap(clear, {40, 40, 44, 44}, 0, 0, &copy);
    EXPECT_EQ(Pixel(surface, 41, 41), 0x00ff0000u);
}

TEST_F(DrawFixture, MissingBitmapGivesAnEmptyStripAndTheRestStillDraws)
{
    const IBitmapStrip missing = surface.LoadStrip(4242, "missing.png", 0, false);
    EXPECT_EQ(missing.bitmap, nullptr);
    EXPECT_EQ(missing.width, 0);
    EXPECT_EQ(missing.height, 0);
    EXPECT_EQ(missing.frames, 1);
    EXPECT_EQ(surface.LoadPlatformBitmap(201, "background.bmp"), nullptr);  // not a png name
    EXPECT_EQ(surface.LoadPlatformBitmap(201, "png"), nullptr);

    EXPECT_EQ(surface.AddBackground(4242, "missing.png"), 0);
    auto* ghost = new IBitmapControl(&plug, 5, 5, -1, missing);
    surface.AddControl(ghost);
    const IBitmapStrip strip = surface.LoadStrip(200, "strip.png", 4, false);
    surface.AddControl(new IBitmapControl(&plug, 20, 0, -1, strip));
    EXPECT_TRUE(surface.TickAndRedraw());
    EXPECT_EQ(Pixel(surface, 20, 0), 0xffff0000u);
    EXPECT_EQ(surface.GetControl(0)->GetBounds(), (IBounds{}));
}

TEST_F(DrawFixture, BackgroundGoesFirstAndBitmapsAreLoadedOnce)
{
    ProbeControl* first = Add("first", {0, 0, 5, 5});
    EXPECT_EQ(surface.AddBackground(201, "background.png"), 0);
    EXPECT_EQ(surface.GetControl(1), first);
    IControl* bg = surface.GetControl(0);
    EXPECT_EQ(bg->GetBounds(), (IBounds{0, 0, 64, 48}));
    EXPECT_EQ(bg->ParamIdx(), -1);
    EXPECT_EQ(bg->mBlend.method, kBlendCopy);
    EXPECT_EQ(bg->Surface(), &surface);

    const size_t requests = surface.bitmapRequests.size();
    surface.LoadStrip(201, "background.png", 1, false);
    EXPECT_EQ(surface.bitmapRequests.size(), requests);  // served by the cache
}

TEST_F(DrawFixture, StripsAreDecodedByTheirFirstBlitOncePerProcess)
{
    // Resources are found by the low 16 bits of an id while the cache keys on
    // the whole id, so this id is a cache miss whatever ran before.
    const int id = 200 + 7 * 65536;
    const uint64_t before = RasterLazyPngBitmap::DecodesSoFar();
    const IBitmapStrip strip = surface.LoadStrip(id, "strip.png", 4, false);
    ASSERT_NE(strip.bitmap, nullptr);
    EXPECT_EQ(strip.width, 8);
    EXPECT_EQ(strip.height, 400);
    auto* lazy = dynamic_cast<RasterLazyPngBitmap*>(strip.bitmap);
    ASSERT_NE(lazy, nullptr);
    auto* knob = new IBitmapControl(&plug, 10, 10, -1, strip);
    knob->mHidden = true;
    surface.AddControl(knob);
    surface.TickAndRedraw();  // a hidden control blits nothing
    EXPECT_FALSE(lazy->IsDecoded());
    EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before);

    knob->mHidden = false;
    knob->mValue = 0.7;  // frame 3, blue
    knob->MarkDirty(false);
    surface.TickAndRedraw();
    EXPECT_TRUE(lazy->IsDecoded());
    EXPECT_EQ(Pixel(surface, 10, 10), 0xff0000ffu);

    // Another editor of the process gets the same pixels without decoding.
    EditorTestPlugin otherPlug;
    IEditorSurfaceHeadless other(&otherPlug, 100, 100);
    other.CreateBackBuffer();
    const IBitmapStrip shared = other.LoadStrip(id, "strip.png", 4, false);
    EXPECT_EQ(shared.bitmap, strip.bitmap);
    other.AddControl(new IBitmapControl(&otherPlug, 0, 0, -1, shared));
    other.TickAndRedraw();
    EXPECT_EQ(Pixel(other, 0, 0), 0xffff0000u);
    EXPECT_EQ(RasterLazyPngBitmap::DecodesSoFar(), before + 1);
}

} // namespace

namespace {

TEST_F(DrawFixture, TextIsMeasuredByAlignmentAndDrawnInsideItsBounds)
{
    ITextStyle style;
    style.size = 14;
    IBounds measured[3];
    for (int align = 0; align < 3; ++align) {
        style.align = align;
        measured[align] = {10, 20, 61, 40};
        ASSERT_TRUE(surface.DrawTextInBounds(style, "Tarvo", measured[align], true));
    }
    const int w = measured[0].W();
    const int h = measured[0].H();
    ASSERT_GT(w, 10);
    ASSERT_GT(h, 5);
    EXPECT_EQ(measured[0], (IBounds{10, 20, 10 + w, 20 + h}));
    EXPECT_EQ(measured[2], (IBounds{61 - w, 20, 61, 20 + h}));
    // Centre trunc((10 + 61) * 0.5) = 35, less half the width.
    EXPECT_EQ(measured[1], (IBounds{35 - w / 2, 20, 35 - w / 2 + w, 20 + h}));

    IBounds untouched{1, 2, 3, 4};
    EXPECT_TRUE(surface.DrawTextInBounds(style, "", untouched, true));
    EXPECT_EQ(untouched, (IBounds{1, 2, 3, 4}));

    // Drawing: white text on black lands inside the box and nowhere else.
    RasterSysBitmap* back = surface.GetBackBuffer();
    std::fill(back->GetBits(), back->GetBits() + back->GetRowSpan() * back->GetHeight(), 0xff000000u);
    style.align = 0;
    style.colour = {255, 255, 255, 255};
    IBounds box{10, 20, 90, 50};
    ASSERT_TRUE(surface.DrawTextInBounds(style, "Tarvo", box, false));
    int lit = 0, outside = 0;
    for (int y = 0; y < back->GetHeight(); ++y)
        for (int x = 0; x < back->GetWidth(); ++x)
            if ((Pixel(surface, x, y) & 0xffffffu) != 0)
                (measured[0].Contains(x, y) ? lit : outside)++;
    EXPECT_GT(lit, 20);
    EXPECT_EQ(outside, 0);
}

} // namespace
