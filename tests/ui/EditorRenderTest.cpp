// The whole editor drawn into its back buffer: properties that a fault in
// the layout, the start-up hiding or the value hand-over would break.
#include "tests/ui/UiTestSupport.h"
#include "editor/IBitmapControl.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace ui_test;

namespace {

std::uint32_t PixelOf(RasterBitmap* bitmap, int x, int y)
{
    const int row = bitmap->IsFlipped() ? bitmap->GetHeight() - 1 - y : y;
    return bitmap->GetBits()[static_cast<std::ptrdiff_t>(row) * bitmap->GetRowSpan() + x];
}

std::uint32_t Pixel(const EditorHarness& ed, int x, int y)
{
    return PixelOf(ed.surface->GetBackBuffer(), x, y);
}

// The background image's own pixel (drawn as a plain copy).
std::uint32_t BackgroundPixel(const EditorHarness& ed, int x, int y)
{
    return PixelOf(static_cast<IBitmapControl*>(ed.surface->GetControl(0))->mStrip.bitmap, x, y);
}

// How many pixels of a rectangle differ between two captures.
int Changed(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int w, const IBounds& r)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += a[static_cast<std::size_t>(y * w + x)] != b[static_cast<std::size_t>(y * w + x)] ? 1 : 0;
    return n;
}

std::vector<std::uint32_t> Capture(const EditorHarness& ed)
{
    const int w = ed.surface->Width(), h = ed.surface->Height();
    std::vector<std::uint32_t> px(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[static_cast<std::size_t>(y * w + x)] = Pixel(ed, x, y);
    return px;
}

} // namespace

TEST(EditorRender, AKnobsPixelsFollowItsParameterAndNothingElseMoves)
{
    EditorHarness ed;
    ed.Ticks(60); // the start-up fades are over
    const auto before = Capture(ed);
    ed.HostSets(kParamRelease, 0.9);
    ed.Ticks(3);
    const auto after = Capture(ed);
    const int w = ed.surface->Width();
    const IBounds releaseKnob{299, 81, 339, 121};
    EXPECT_GT(Changed(before, after, w, releaseKnob), 100);
    // The rest of the upper half (meters excepted: idle, they stay) is untouched.
    EXPECT_EQ(Changed(before, after, w, {0, 0, 290, 80}), 0);
    EXPECT_EQ(Changed(before, after, w, {340, 0, 440, 80}), 0);
}

TEST(EditorRender, HiddenControlsLeaveTheBackgroundAndShownOnesCoverIt)
{
    EditorHarness ed;
    ed.Ticks(60);
    const OstrandEditorHandles& h = ed.plug->mHandles;
    ASSERT_NE(ed.surface->GetControl(0), nullptr);
    ASSERT_EQ(ed.surface->GetBackBuffer()->GetWidth(), 674);
    ASSERT_EQ(ed.surface->GetBackBuffer()->GetHeight(), 262);
    // Where nothing lies, and where the hidden mode indicator and a faded-out
    // memory light lie, the background shows.
    for (auto [x, y] : {std::pair{360, 5}, {552, 30}, {10, 2}, {673, 261}})
        EXPECT_EQ(Pixel(ed, x, y), BackgroundPixel(ed, x, y)) << x << "," << y;
    // A shown name plate covers it.
    EXPECT_NE(Pixel(ed, 48, 58), BackgroundPixel(ed, 48, 58));
    // The fader light is hidden; hovering the fader does not show it, but
    // the information screen covers everything once open.
    ed.Click(150, 20);
    ed.Ticks(8);
    ASSERT_TRUE(ed.Shown(h.versionLabel));
    EXPECT_NE(Pixel(ed, 360, 5), BackgroundPixel(ed, 360, 5));
    // Closed again, the spot is background once more.
    ed.Click(300, 100);
    ed.Ticks(10);
    EXPECT_EQ(Pixel(ed, 360, 5), BackgroundPixel(ed, 360, 5));
}
