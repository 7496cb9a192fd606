// The idle timer and the calls it makes to the host: on the host's UI thread
// from the host's run loop (offered through the host context, or only
// through an open view's plug frame), and from the plug-in's own thread when
// the host offers none and makes no UI-thread call. Every latency change
// reaches the host as a restart request, with the new latency readable when
// it arrives, however the threads interleave.
#include "HarnessFixture.h"

#include "pluginterfaces/gui/iplugview.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using Clock = std::chrono::steady_clock;

namespace {

constexpr ParamID kLatencyParam = 2;

bool HasLatencyRestart(const tarvo::host::ComponentHandler& h)
{
    auto restarts = h.Restarts();
    return std::any_of(restarts.begin(), restarts.end(), [](int32 f) { return (f & kLatencyChanged) != 0; });
}

bool HasPerformEdits(const tarvo::host::ComponentHandler& h, int count)
{
    auto edits = h.Edits();
    return std::count_if(edits.begin(), edits.end(), [](auto& e) { return e.kind == 'p'; }) >= count;
}

class Vst3Timer : public harness::PluginTest {
protected:
    void Prepare()
    {
        std::string error;
        ASSERT_TRUE(plug->Prepare(44100.0, 128, false, false, false, &error)) << error;
    }

    void ChangeLatencyParam(double normalized)
    {
        tarvo::host::ParameterChanges changes;
        changes.Add(kLatencyParam, normalized);
        harness::Block<float> in(2, 16), out(2, 16);
        std::vector<float*> none;
        ASSERT_EQ(plug->Process<float>(in.Pointers(), none, out.Pointers(), 16, &changes), kResultOk);
    }
};

TEST_F(Vst3Timer, TicksAndTellsTheHostOnItsThread)
{
    Open(TARVO_TEST_GAIN_BUNDLE, true);
#ifndef _WIN32
    EXPECT_EQ(plug->loop.TimerCount(), 1);  // moved onto the host's run loop
#endif
    // The first tick announces every parameter's value.
    ASSERT_TRUE(PumpUntil([&] { return HasPerformEdits(plug->handler, 4); }));
    EXPECT_EQ(plug->handler.CallsOffMainThread(), 0);
    EXPECT_EQ(plug->handler.Edits().front().kind, 'p');
    EXPECT_NEAR(plug->handler.Edits().front().value, 0.5, 1e-12);
}

TEST_F(Vst3Timer, LatencyChangeRequestsARestart)
{
    Open(TARVO_TEST_GAIN_BUNDLE, true);
    Prepare();
    EXPECT_EQ(plug->processor->getLatencySamples(), 64u);
    ChangeLatencyParam(0.5);  // 500 samples
    ASSERT_TRUE(PumpUntil([&] { return HasLatencyRestart(plug->handler); }));
    EXPECT_EQ(plug->processor->getLatencySamples(), 500u);
    EXPECT_EQ(plug->handler.CallsOffMainThread(), 0);

    // Bypass now delays by the new latency.
    tarvo::host::ParameterChanges on;
    on.Add(0x62706173, 1.0);
    harness::Block<float> in(2, 128, 1.0f), out(2, 128, -1.0f);
    std::vector<float*> none;
    for (int block = 0; block < 4; ++block)
        ASSERT_EQ(plug->Process<float>(in.Pointers(), none, out.Pointers(), 128, block == 0 ? &on : nullptr), kResultOk);
    EXPECT_EQ(out.channels[0][499 - 384], 0.0f);
    EXPECT_EQ(out.channels[0][500 - 384], 1.0f);
}

// How the host reaches the plug-in's timer.
enum class Loop {
    kContext,         // IRunLoop on the host context (Windows: the thread's message loop)
    kPlugFrameOnly,   // IRunLoop only on the frame of an open view
    kNone,            // no run loop, no UI-thread calls at all (a headless host)
    kNoneButUiCalls,  // no run loop; UI-thread parameter reads now and then
};

const char* LoopName(Loop loop)
{
    switch (loop) {
    case Loop::kContext: return "ContextRunLoop";
    case Loop::kPlugFrameOnly: return "PlugFrameRunLoopOnly";
    case Loop::kNone: return "NoRunLoopNoUiCalls";
    case Loop::kNoneButUiCalls: return "NoRunLoopSomeUiCalls";
    }
    return "?";
}

class Vst3LatencyDelivery : public Vst3Timer, public ::testing::WithParamInterface<Loop> {
protected:
    struct Heard {
        int32 flags;
        uint32 latency;  // as the host read it while handling the request
        Clock::time_point when;
    };

    void SetUp() override
    {
        Open(TARVO_TEST_GAIN_BUNDLE, GetParam() == Loop::kContext);
        Prepare();
        plug->handler.onRestart = [this](int32 flags) {
            uint32 latency = plug->processor->getLatencySamples();
            std::lock_guard<std::mutex> lock(mHeardLock);
            mHeard.push_back({flags, latency, Clock::now()});
        };
        if (GetParam() == Loop::kPlugFrameOnly) {
            mFrame = std::make_unique<tarvo::host::PlugFrame>(&plug->loop);
            mView = plug->controller->createView("editor");
            ASSERT_NE(mView, nullptr);
            ASSERT_EQ(mView->setFrame(mFrame.get()), kResultOk);
#ifndef _WIN32
            EXPECT_EQ(plug->loop.TimerCount(), 1);  // the timer moved onto the frame's run loop
#endif
        }
    }

    void TearDown() override
    {
        plug->handler.onRestart = nullptr;
        if (mView != nullptr) {
            mView->setFrame(nullptr);
            mView->release();
        }
        Vst3Timer::TearDown();
    }

    // Waits as this kind of host does until pred() or ms pass.
    bool WaitAsHost(const std::function<bool()>& pred, std::mt19937& random, int ms)
    {
        auto end = Clock::now() + std::chrono::milliseconds(ms);
        while (!pred()) {
            if (Clock::now() > end)
                return false;
            switch (GetParam()) {
            case Loop::kContext:
            case Loop::kPlugFrameOnly: plug->loop.RunFor(2); break;
            case Loop::kNone: std::this_thread::sleep_for(std::chrono::milliseconds(2)); break;
            case Loop::kNoneButUiCalls:
                std::this_thread::sleep_for(std::chrono::milliseconds(1 + random() % 15));
                Normalized(0);  // a UI-thread entry at an arbitrary moment
                break;
            }
        }
        return true;
    }

    bool HeardLatency(uint32 latency, Clock::time_point after, Clock::time_point* when)
    {
        std::lock_guard<std::mutex> lock(mHeardLock);
        for (const Heard& h : mHeard) {
            if ((h.flags & kLatencyChanged) != 0 && h.latency == latency && h.when >= after) {
                *when = h.when;
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<tarvo::host::PlugFrame> mFrame;
    IPlugView* mView = nullptr;
    std::mutex mHeardLock;
    std::vector<Heard> mHeard;
};

// A host whose audio thread keeps processing while the latency parameter
// changes at irregular moments; each change must reach the host's handler,
// with the new latency readable from inside the request.
TEST_P(Vst3LatencyDelivery, EveryLatencyChangeReachesTheHost)
{
    std::atomic<int> wanted{64};
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::mt19937 random(7);
        harness::Block<float> in(2, 64), out(2, 64);
        std::vector<float*> none;
        int applied = 64;
        while (running) {
            tarvo::host::ParameterChanges changes;
            int want = wanted.load();
            if (want != applied) {
                changes.Add(kLatencyParam, want / 1000.0);
                applied = want;
            }
            plug->Process<float>(in.Pointers(), none, out.Pointers(), 64, &changes);
            std::this_thread::sleep_for(std::chrono::microseconds(200 + random() % 3000));
        }
    });

    std::mt19937 random(static_cast<unsigned>(GetParam()) * 31 + 5);
    std::vector<double> delaysMs;
    const int kChanges = 40;
    for (int i = 0; i < kChanges; ++i) {
        int latency = 100 + (i * 137) % 800;
        if (latency == wanted.load())
            latency += 1;
        // Irregular spacing: right after the last delivery, or a while later.
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        Clock::time_point start = Clock::now(), heard;
        wanted.store(latency);
        bool ok = WaitAsHost([&] { return HeardLatency(static_cast<uint32>(latency), start, &heard); }, random, 2000);
        ASSERT_TRUE(ok) << "change " << i << " to " << latency << " never reached the host";
        delaysMs.push_back(std::chrono::duration<double, std::milli>(heard - start).count());
    }
    running = false;
    audio.join();

    std::sort(delaysMs.begin(), delaysMs.end());
    // Printed so the delay a host sees can be read off a test run.
    std::cout << "[ delay    ] " << LoopName(GetParam()) << ": " << kChanges << " latency changes, median "
              << delaysMs[delaysMs.size() / 2] << " ms, max " << delaysMs.back() << " ms\n";
    if (GetParam() == Loop::kContext || GetParam() == Loop::kPlugFrameOnly) {
        EXPECT_EQ(plug->handler.CallsOffMainThread(), 0);
    }
}

#ifdef _WIN32
// The Windows timer always ticks on the thread's message loop.
INSTANTIATE_TEST_SUITE_P(Hosts, Vst3LatencyDelivery, ::testing::Values(Loop::kContext),
                         [](const ::testing::TestParamInfo<Loop>& p) { return std::string(LoopName(p.param)); });
#else
INSTANTIATE_TEST_SUITE_P(Hosts, Vst3LatencyDelivery,
                         ::testing::Values(Loop::kContext, Loop::kPlugFrameOnly, Loop::kNone, Loop::kNoneButUiCalls),
                         [](const ::testing::TestParamInfo<Loop>& p) { return std::string(LoopName(p.param)); });

TEST_F(Vst3Timer, WithoutARunLoopTheTimerItselfTellsTheHost)
{
    Open(TARVO_TEST_GAIN_BUNDLE, false);
    Prepare();
    EXPECT_EQ(plug->loop.TimerCount(), 0);
    auto start = Clock::now();
    ChangeLatencyParam(0.25);  // 250 samples
    // No UI-thread call at all: the plug-in's own thread delivers once the
    // short wait for one has passed.
    while (!HasLatencyRestart(plug->handler) && Clock::now() - start < std::chrono::seconds(2))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(HasLatencyRestart(plug->handler));
    EXPECT_EQ(plug->processor->getLatencySamples(), 250u);
    EXPECT_TRUE(HasPerformEdits(plug->handler, 4));
}

TEST_F(Vst3Timer, WithoutARunLoopARestartKeptForAHandlerFollowsIt)
{
    // The latency changes while the host has taken its handler away; the
    // request waits for the next one and then reaches it from the timer's
    // own thread, with no UI-thread call.
    Open(TARVO_TEST_GAIN_BUNDLE, false);
    Prepare();
    ASSERT_EQ(plug->controller->setComponentHandler(nullptr), kResultOk);
    ChangeLatencyParam(0.25);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_FALSE(HasLatencyRestart(plug->handler));
    ASSERT_EQ(plug->controller->setComponentHandler(&plug->handler), kResultOk);
    auto start = Clock::now();
    while (!HasLatencyRestart(plug->handler) && Clock::now() - start < std::chrono::seconds(2))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(HasLatencyRestart(plug->handler));
}

TEST_F(Vst3Timer, PlugFrameRunLoopCarriesTheTimerWhileTheViewIsOpen)
{
    Open(TARVO_TEST_GAIN_BUNDLE, false);
    tarvo::host::PlugFrame frame(&plug->loop);
    IPlugView* view = plug->controller->createView("editor");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->setFrame(&frame), kResultOk);
    EXPECT_EQ(plug->loop.TimerCount(), 1);
    ASSERT_TRUE(PumpUntil([&] { return HasPerformEdits(plug->handler, 4); }));
    EXPECT_EQ(plug->handler.CallsOffMainThread(), 0);
    // Closing the view hands the ticks back to the plug-in's own thread.
    ASSERT_EQ(view->setFrame(nullptr), kResultOk);
    EXPECT_EQ(plug->loop.TimerCount(), 0);
    view->release();
}
#endif

} // namespace
