// The engine hands editor state over while the editor draws on another
// thread: one thread automates parameters and renders audio the way a host's
// processing thread does (under the plug-in lock), the other runs the timer
// and the draw cycle with gestures in between. Run under ThreadSanitizer
// (preset linux-tsan) this must report nothing; natively it checks that the
// editor ends showing the engine's final state.
#include "tests/ui/UiTestSupport.h"
#include "ui/controls/CustomTextControlD.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

using namespace ui_test;

TEST(EditorThreads, AutomationAndAudioWhileTheEditorTicks)
{
    EditorHarness ed;
    Ostrand& plug = *ed.plug;
    std::atomic<bool> stop{false};
    std::atomic<int> blocks{0};

    std::thread audio([&] {
        std::vector<double> l(256), r(256), sc(256, 0.0), outL(256), outR(256);
        for (int n = 0; !stop.load(); ++n) {
            for (int i = 0; i < 256; ++i) {
                l[static_cast<std::size_t>(i)] = 0.8 * std::sin(0.03 * (n * 256 + i));
                r[static_cast<std::size_t>(i)] = 0.5 * std::sin(0.07 * (n * 256 + i));
            }
            std::lock_guard<std::recursive_mutex> lock(plug.PluginLock());
            // Host automation of a knob, a switch and the delay, as the
            // binding applies it: value, controls, engine.
            const int idx = n % 3 == 0 ? kParamAttack : (n % 3 == 1 ? kParamInvertEnvelope : kParamDelay);
            const double v = idx == kParamInvertEnvelope ? (n / 3) % 2 : 0.5 + 0.4 * std::sin(0.01 * n);
            plug.GetParam(idx)->SetFromNormalized(v);
            ed.surface->PushParamToControls(idx, v, true);
            plug.ParamChanged(idx);
            double* in[4] = {l.data(), r.data(), sc.data(), sc.data()};
            double* out[2] = {outL.data(), outR.data()};
            plug.RenderBlock(in, out, 256);
            blocks.fetch_add(1);
        }
    });

    // The editor thread: timer and draw ticks, a hover, a drag and a memory
    // store now and then.
    for (int tick = 0; tick < 400; ++tick) {
        ed.Tick();
        if (tick % 50 == 10)
            ed.Hover(316, 100);
        if (tick % 50 == 20)
            ed.DragBy(148, 100, 0, -5);
        if (tick % 100 == 30)
            ed.Click(166, 235, Right());
    }
    stop = true;
    audio.join();
    ASSERT_GT(blocks.load(), 0);

    ed.Ticks(3);
    const OstrandEditorHandles& h = plug.mHandles;
    EXPECT_STREQ(h.readoutLabels[kReadoutAttack]->GetText(), plug.Readout(kReadoutAttack));
    EXPECT_EQ(ed.Control(h.levelMeterLeft)->GetValue(), std::min(plug.Meters().outputLeft, 1.0));
    // The knob holds the normalised value it was given; the parameter's own
    // normalised value has been through plain and back (shape 4.87).
    EXPECT_NEAR(ed.surface->GetControl(26)->GetValue(), ed.Param(kParamAttack), 1e-9);
    EXPECT_TRUE(plug.mMemorySlotFull[1]);
}
