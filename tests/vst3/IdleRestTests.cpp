// The product bundle in a host that offers no run loop: once idle, its
// instance rests and the shared timer thread sleeps; a value set by the
// host, a block with a parameter change and a state load each wake it at
// once, and the latency change they cause reaches the host as promptly as
// with the timer running all along.
#include "HarnessFixture.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr ParamID kJuice = 10;

// How often the plug-in's idle timer threads went to sleep so far (each
// wake-up ends in one), from /proc.
long IdleThreadSleeps()
{
    long total = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (!std::getline(comm, name) || name != "tarvo idle")
            continue;
        std::ifstream status(task.path() / "status");
        const std::string key = "voluntary_ctxt_switches:";
        for (std::string line; std::getline(status, line);)
            if (line.rfind(key, 0) == 0)
                total += std::stol(line.substr(key.size()));
    }
    return total;
}

class TarvoIdleRest : public harness::PluginTest {
protected:
    int LatencyRestarts()
    {
        auto restarts = plug->handler.Restarts();
        return static_cast<int>(
            std::count_if(restarts.begin(), restarts.end(), [](int32 f) { return (f & kLatencyChanged) != 0; }));
    }

    // Waits until the timer thread stays asleep for a quarter second.
    bool WaitForSleep()
    {
        const auto end = Clock::now() + 8s;
        while (Clock::now() < end) {
            const long before = IdleThreadSleeps();
            std::this_thread::sleep_for(250ms);
            if (IdleThreadSleeps() - before <= 1)
                return true;
        }
        return false;
    }
};

TEST_F(TarvoIdleRest, ChangesWakeTheRestingTimerAtOnce)
{
    Open(TARVO_PRODUCT_BUNDLE, false);
    std::string error;
    ASSERT_TRUE(plug->Prepare(44100.0, 512, false, false, false, &error)) << error;
    ASSERT_TRUE(PumpUntil([&] { return LatencyRestarts() > 0; }, 5000));
    const double defaultJuice = Normalized(kJuice);
    const uint32 defaultLatency = plug->processor->getLatencySamples();
    std::vector<std::uint8_t> mostJuice;

    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"value set by the host", [&] { plug->controller->setParamNormalized(kJuice, 1.0); }},
        {"block with a parameter change",
         [&] {
             // The state with the most Juice, for the state load below.
             mostJuice = GetState();
             tarvo::host::ParameterChanges changes;
             changes.Add(kJuice, defaultJuice);
             harness::Block<float> in(2, 512), out(2, 512);
             std::vector<float*> none;
             ASSERT_EQ(plug->Process<float>(in.Pointers(), none, out.Pointers(), 512, &changes), kResultOk);
         }},
        {"state load", [&] { ASSERT_EQ(SetState(mostJuice), kResultOk); }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WaitForSleep()) << c.what << ": the idle instance never let the timer sleep";
        const int restarts = LatencyRestarts();
        const long sleeps = IdleThreadSleeps();
        const auto start = Clock::now();
        c.change();
        // Ticking again within a few intervals, not at the next rest check
        // up to a second away.
        std::this_thread::sleep_for(40ms);
        EXPECT_GE(IdleThreadSleeps() - sleeps, 2) << c.what;
        // The engine's latency step and the 40 ms grace for a UI-thread
        // call, then the timer's own thread tells the host.
        ASSERT_TRUE(PumpUntil([&] { return LatencyRestarts() > restarts; }, 3000)) << c.what;
        EXPECT_LT(Clock::now() - start, 400ms) << c.what;
    }
    EXPECT_NE(plug->processor->getLatencySamples(), defaultLatency);
}

} // namespace
