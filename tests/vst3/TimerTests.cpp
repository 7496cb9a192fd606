// The idle timer and the calls it makes to the host: they arrive on the
// host's UI thread, from the host's run loop where it offers one and from
// the plug-in's own fallback where it does not; latency changes reach the
// component handler as restart requests.
#include "HarnessFixture.h"

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr ParamID kLatencyParam = 2;

bool HasLatencyRestart(const tarvo::host::ComponentHandler& h)
{
    return std::any_of(h.restarts.begin(), h.restarts.end(), [](int32 f) { return (f & kLatencyChanged) != 0; });
}

bool HasPerformEdits(const tarvo::host::ComponentHandler& h, int count)
{
    return std::count_if(h.edits.begin(), h.edits.end(), [](auto& e) { return e.kind == 'p'; }) >= count;
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
    EXPECT_EQ(plug->handler.callsOffMainThread, 0);
    EXPECT_EQ(plug->handler.edits.front().kind, 'p');
    EXPECT_NEAR(plug->handler.edits.front().value, 0.5, 1e-12);
}

TEST_F(Vst3Timer, LatencyChangeRequestsARestart)
{
    Open(TARVO_TEST_GAIN_BUNDLE, true);
    Prepare();
    EXPECT_EQ(plug->processor->getLatencySamples(), 64u);
    ChangeLatencyParam(0.5);  // 500 samples
    ASSERT_TRUE(PumpUntil([&] { return HasLatencyRestart(plug->handler); }));
    EXPECT_EQ(plug->processor->getLatencySamples(), 500u);
    EXPECT_EQ(plug->handler.callsOffMainThread, 0);

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

#ifndef _WIN32
TEST_F(Vst3Timer, WithoutARunLoopTheFallbackStillTicks)
{
    Open(TARVO_TEST_GAIN_BUNDLE, false);
    Prepare();
    EXPECT_EQ(plug->loop.TimerCount(), 0);
    ChangeLatencyParam(0.25);  // 250 samples
    // The plug-in's own thread ticks; what it has for the host waits for the
    // host's next call on the UI thread.
    auto start = std::chrono::steady_clock::now();
    while (plug->processor->getLatencySamples() != 250u &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(plug->processor->getLatencySamples(), 250u);
    EXPECT_FALSE(HasLatencyRestart(plug->handler));
    Normalized(0);  // a UI-thread entry
    EXPECT_TRUE(HasLatencyRestart(plug->handler));
    EXPECT_TRUE(HasPerformEdits(plug->handler, 4));
    EXPECT_EQ(plug->handler.callsOffMainThread, 0);
}
#endif

} // namespace
