// What the window shows equals, pixel for pixel, what the headless editor
// draws for the same state: after the first frame, after partial redraws,
// after an expose, with and without shared memory.
#include "X11TestHost.h"

#include <gtest/gtest.h>

namespace {

// The headless editor's picture of a plug-in state, as 0x00RRGGBB words.
std::vector<uint32_t> HeadlessPicture(double level, int recPresses)
{
    X11TestPlugin reference(true);
    reference.GetParam(kLevel)->SetFromNormalized(level);
    reference.Surface()->PushParamToControls(kLevel, level, true);
    reference.rec->mPresses = recPresses;
    reference.Surface()->OpenEditorWindow(reinterpret_cast<void*>(1));
    reference.Surface()->TickAndRedraw();
    RasterBitmap* back = reference.Surface()->GetBackBuffer();
    std::vector<uint32_t> out;
    for (int y = 0; y < kEditorHeight; ++y)
        for (int x = 0; x < kEditorWidth; ++x)
            out.push_back(back->GetBits()[y * back->GetRowSpan() + x] & 0xffffffu);
    return out;
}

bool ServerHasSharedMemory(TestDisplay& d)
{
    const char name[] = "MIT-SHM";
    auto* r = xcb_query_extension_reply(d.C(), xcb_query_extension(d.C(), sizeof name - 1, name), nullptr);
    bool present = r != nullptr && r->present;
    std::free(r);
    return present;
}

// Where two pictures first differ, for the failure message.
std::string FirstDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    if (a.size() != b.size())
        return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return "at " + std::to_string(i % kEditorWidth) + "," + std::to_string(i / kEditorWidth);
    return "none";
}

class X11Pixels : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(display.Ok());
        display.MoveTo(kEditorWidth + 250, kEditorHeight + 80);
        IEditorSurfaceX11::AllowSharedMemory(GetParam());
        editor = std::make_unique<OpenEditor>(display);
        ASSERT_EQ(editor->attachResult, Steinberg::kResultOk);
        editor->Run(80);
    }
    void TearDown() override { IEditorSurfaceX11::AllowSharedMemory(true); }
    std::vector<uint32_t> Window() { return display.ReadPixels(editor->EditorWindow(), kEditorWidth, kEditorHeight); }

    TestDisplay display;
    std::unique_ptr<OpenEditor> editor;
};

TEST_P(X11Pixels, FirstFramePartialRedrawsAndExposeMatchTheHeadlessEditor)
{
    // Shared memory where allowed and the server has it; plain uploads else.
    EXPECT_EQ(editor->plug->X11()->UsesSharedMemory(), GetParam() && ServerHasSharedMemory(display));
    auto first = HeadlessPicture(0.25, 0);
    auto shown = Window();
    EXPECT_TRUE(shown == first) << FirstDifference(shown, first);

    // A press and a drag change one control: only its bounds are redrawn
    // and presented, and the whole window still matches.
    display.MoveTo(kRecBounds.left + 10, kRecBounds.top + 10);
    display.Press(1);
    editor->Run();
    display.MoveTo(kRecBounds.left + 40, kRecBounds.top + 10);
    editor->Run();
    display.Release(1);
    editor->Run(80);
    const double level = editor->plug->rec->GetValue();
    EXPECT_NEAR(level, 0.55, 1e-9);
    auto after = HeadlessPicture(level, 1);
    EXPECT_FALSE(after == first);
    shown = Window();
    EXPECT_TRUE(shown == after) << FirstDifference(shown, after);

    // Covering and uncovering the editor: the exposed part comes back from
    // the back buffer.
    xcb_window_t cover = display.MakeParent(kEditorWidth / 2, kEditorHeight / 2);
    display.Destroy(cover);
    editor->Run(80);
    shown = Window();
    EXPECT_TRUE(shown == after) << FirstDifference(shown, after);
}

INSTANTIATE_TEST_SUITE_P(SharedMemory, X11Pixels, ::testing::Values(true, false),
                         [](const auto& p) { return p.param ? "Shared" : "Plain"; });

} // namespace
