// Host values pushed on one thread while the editor thread draws, edits and
// reads the same controls. Built into its own program so it can run under
// ThreadSanitizer (preset linux-tsan), where any data race fails it.
#include "editor/IBitmapControl.h"
#include "editor/ITextControl.h"
#include "tests/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

namespace {

TEST(EditorThreads, HostPushesRaceFreeWithDrawTicksAndEdits)
{
    EditorTestPlugin plug;
    auto* surface = new IEditorSurfaceHeadless(&plug, 120, 120);
    surface->AddBackground(201, "background.png");
    const IBitmapStrip strip = surface->LoadStrip(200, "strip.png", 4, false);
    for (int i = 0; i < 8; ++i)
        surface->AddControl(new IBitmapControl(&plug, (i % 4) * 10, (i / 4) * 100, i % kNumTestParams, strip));
    auto* label = new ITextControl(&plug, {0, 100, 60, 120});
    label->SetText("level");
    surface->AddControl(label);
    surface->SetHandleMouseOver(true);
    plug.AttachEditor(surface);

    constexpr int kRounds = 4000;
    constexpr int kTicks = 400;
    std::atomic<bool> done{false};
    std::atomic<int> ticks{0};

    // The processing call: under the plug-in lock, apply the host's value
    // and push it to the controls.
    std::thread audio([&] {
        for (int n = 0; n < kRounds || ticks < kTicks; ++n) {
            const int p = n % kNumTestParams;
            const double v = (n % 97) / 96.0;
            std::lock_guard<std::recursive_mutex> lock(plug.PluginLock());
            plug.GetParam(p)->SetFromNormalized(v);
            if (IEditorLink* editor = plug.EditorSurface())
                editor->PushParamToControls(p, v, true);
        }
        done = true;
    });

    // The editor thread: ticks, paints, a drag on a bound control, reads.
    double sum = 0.0;
    while (!done) {
        surface->TickAndRedraw();
        surface->SurfaceMouseDown(5, 5, {});
        surface->SurfaceMouseDrag(5 + ticks % 3, 6, {});
        surface->SurfaceMouseUp(5, 6, {});
        surface->SurfaceMouseHover(15, 15, {});
        IControl* c = surface->GetControl(1 + ticks % 8);
        c->SetValueFromUser(c->GetValue() < 0.5 ? 0.9 : 0.1);
        sum += c->GetValue() + c->mDefaultValue;
        ++ticks;
    }
    audio.join();
    EXPECT_GE(ticks, kTicks);
    EXPECT_TRUE(sum == sum);  // the reads happened and produced numbers
}

} // namespace
