// The product bundle's editor in an X window, loaded as a host loads it:
// it embeds, draws, takes a drag on a knob (which reaches the host as an
// edit between begin and end) and closes cleanly, again and again.
#include "X11TestHost.h"

#include "tools/pngwrite/PngWriter.h"
#include "vst3/host/HostModule.h"
#include "vst3/host/HostPlugin.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Steinberg;

namespace {

// Saves what the window shows, for people to look at.
void SavePicture(const std::vector<uint32_t>& pixels, int width, int height, const std::string& path)
{
    PngImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y) {
        std::vector<uint8_t> row;
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[static_cast<size_t>(y * width + x)];
            row.insert(row.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
        }
        image.rows.push_back(row);
    }
    WriteFileBytes(path, EncodePng(image));
}

TEST(X11ProductEditor, EmbedsDrawsTakesAKnobDragAndClosesRepeatedly)
{
    TestDisplay d;
    ASSERT_TRUE(d.Ok());
    d.MoveTo(1000, 700);
    tarvo::host::HostModule module;
    ASSERT_TRUE(module.Load(TARVO_PRODUCT_BUNDLE_PATH)) << module.Error();
    tarvo::host::HostPlugin plug("X11 test host", true);
    std::string error;
    ASSERT_TRUE(plug.Create(module.Factory(), &error)) << error;
    IPlugView* view = plug.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    FakeFrame frame;
    view->setFrame(&frame);
    ASSERT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultOk);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    const int w = size.getWidth(), h = size.getHeight();
    xcb_window_t parent = d.MakeParent(w + 40, h + 40);
    void* parentId = reinterpret_cast<void*>(uintptr_t{parent});

    ASSERT_EQ(view->attached(parentId, kPlatformTypeX11EmbedWindowID), kResultOk);
    frame.RunFor(400);
    auto children = d.Children(parent);
    ASSERT_EQ(children.size(), 1u);
    auto pixels = d.ReadPixels(children[0], w, h);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(w * h));
    SavePicture(pixels, w, h, TARVO_X11_PICTURE_DIR "/product-editor.png");

    // Drag the Angle knob (parameter 0) upwards from its middle.
    const double before = plug.controller->getParamNormalized(0);
    d.MoveTo(241, 110);
    d.Press(1);
    frame.RunFor(50);
    for (int y = 105; y >= 60; y -= 5) {
        d.MoveTo(241, y);
        frame.RunFor(20);
    }
    d.Release(1);
    frame.RunFor(100);
    EXPECT_NE(plug.controller->getParamNormalized(0), before);
    // The gesture: begin, edits, end, all for the knob's parameter.
    std::string gesture;
    for (const auto& edit : plug.handler.edits)
        if (edit.id == 0 && (gesture.empty() ? edit.kind == 'b' : gesture.back() != 'e'))
            gesture += edit.kind;
    EXPECT_GE(gesture.size(), 3u);
    EXPECT_EQ(gesture.front(), 'b');
    EXPECT_EQ(gesture.back(), 'e');
    EXPECT_EQ(gesture.find_first_not_of('p', 1), gesture.size() - 1) << gesture;
    EXPECT_EQ(plug.handler.callsOffMainThread, 0);

    EXPECT_EQ(view->removed(), kResultOk);
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(view->attached(parentId, kPlatformTypeX11EmbedWindowID), kResultOk);
        frame.RunFor(30);
        ASSERT_EQ(view->removed(), kResultOk);
    }
    for (int i = 0; i < 100 && !d.Children(parent).empty(); ++i)
        usleep(10000);
    EXPECT_TRUE(d.Children(parent).empty());
    EXPECT_EQ(frame.EventHandlers(), 0u);
    view->setFrame(nullptr);
    view->release();
    plug.Destroy();
    d.Destroy(parent);
}

} // namespace
