// The product bundle with every thread a host brings at once: an audio
// thread processing with automation and bypass, a UI thread editing,
// querying, saving and loading state and opening and closing views, and the
// plug-in's own idle timer. Run under ThreadSanitizer (preset linux-tsan) it
// must report no data race; anywhere it must neither crash nor produce a
// sample that is not finite.
#include "vst3/host/HostModule.h"
#include "vst3/host/HostPlugin.h"

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kParams = 15;
constexpr int kBlock = 128;

class Bytes : public IBStream {
public:
    std::vector<std::uint8_t> data;
    std::size_t pos = 0;
    tresult PLUGIN_API read(void* buffer, int32 n, int32* got) SMTG_OVERRIDE
    {
        auto k = std::min<std::size_t>(static_cast<std::size_t>(std::max(n, 0)), data.size() - pos);
        std::memcpy(buffer, data.data() + pos, k);
        pos += k;
        if (got)
            *got = static_cast<int32>(k);
        return kResultOk;
    }
    tresult PLUGIN_API write(void* buffer, int32 n, int32* written) SMTG_OVERRIDE
    {
        auto* p = static_cast<std::uint8_t*>(buffer);
        data.insert(data.end(), p, p + std::max(n, 0));
        if (written)
            *written = n;
        return kResultOk;
    }
    tresult PLUGIN_API seek(int64, int32, int64*) SMTG_OVERRIDE { return kNotImplemented; }
    tresult PLUGIN_API tell(int64* p) SMTG_OVERRIDE
    {
        if (p)
            *p = static_cast<int64>(pos);
        return kResultOk;
    }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) SMTG_OVERRIDE
    {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }
};

TEST(ThreadStress, AudioUiAndTimerThreadsTogether)
{
    tarvo::host::HostModule module;
    ASSERT_TRUE(module.Load(TARVO_PRODUCT_BUNDLE_PATH)) << module.Error();
    tarvo::host::HostPlugin plug("stress", false);  // the timer ticks on a thread of its own
    std::string error;
    ASSERT_TRUE(plug.Create(module.Factory(), &error)) << error;
    plug.controller->setComponentHandler(&plug.handler);
    ASSERT_TRUE(plug.Prepare(48000.0, kBlock, false, true, false, &error)) << error;

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::atomic<bool> finite{true};
    std::thread audio([&] {
        std::mt19937 random(1);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        std::vector<float> l(kBlock), r(kBlock), sl(kBlock), sr(kBlock), ol(kBlock), orr(kBlock);
        std::vector<float*> in{l.data(), r.data()}, side{sl.data(), sr.data()}, out{ol.data(), orr.data()};
        long n = 0;
        while (!done.load()) {
            for (int i = 0; i < kBlock; ++i, ++n) {
                l[static_cast<std::size_t>(i)] = static_cast<float>(0.5 * std::sin(0.05 * n));
                r[static_cast<std::size_t>(i)] = static_cast<float>(0.4 * std::sin(0.031 * n));
                sl[static_cast<std::size_t>(i)] = sr[static_cast<std::size_t>(i)] = static_cast<float>(std::sin(0.01 * n));
            }
            tarvo::host::ParameterChanges changes;
            for (int p = 0; p < kParams; ++p)
                if (unit(random) < 0.05)
                    changes.Add(static_cast<ParamID>(p), unit(random));
            if (unit(random) < 0.01)
                changes.Add(0x62706173, unit(random) < 0.5 ? 1.0 : 0.0);
            plug.Process<float>(in, side, out, kBlock, &changes);
            for (int i = 0; i < kBlock; ++i)
                if (!std::isfinite(ol[static_cast<std::size_t>(i)]) || !std::isfinite(orr[static_cast<std::size_t>(i)]))
                    finite.store(false);
            ++blocks;
        }
    });

    // The UI thread: this one.
    std::mt19937 random(2);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2500);
    long rounds = 0;
    while (std::chrono::steady_clock::now() < until || blocks.load() < 200) {
        ParamID id = static_cast<ParamID>(random() % kParams);
        double value = unit(random);
        plug.controller->setParamNormalized(id, value);
        plug.controller->getParamNormalized(id);
        String128 text{};
        plug.controller->getParamStringByValue(id, value, text);
        if (rounds % 5 == 0) {
            Bytes saved;
            plug.component->getState(&saved);
            saved.pos = 0;
            plug.controller->setState(&saved);
        }
        if (rounds % 7 == 0) {
            if (IPlugView* view = plug.controller->createView(ViewType::kEditor)) {
                ViewRect size{};
                view->getSize(&size);
                view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID);
                // A window type this system has none of: no window, but the
                // editor's open and close hooks run.
                view->attached(nullptr, "HWND");
                view->removed();
                view->release();
            }
        }
        ++rounds;
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    done.store(true);
    audio.join();
    plug.controller->setComponentHandler(nullptr);
    plug.Destroy();
    EXPECT_TRUE(finite.load());
    EXPECT_GT(rounds, 100);
}

TEST(ThreadStress, RestingTimerWokenFromTheAudioAndUiThreads)
{
    // Idle pauses long enough for the instance to rest and the timer thread
    // to sleep, each ended from another thread: blocks with automation from
    // an audio thread, or values and state from the UI thread, while a
    // second UI-side thread keeps reading values.
    tarvo::host::HostModule module;
    ASSERT_TRUE(module.Load(TARVO_PRODUCT_BUNDLE_PATH)) << module.Error();
    tarvo::host::HostPlugin plug("rest", false);
    std::string error;
    ASSERT_TRUE(plug.Create(module.Factory(), &error)) << error;
    plug.controller->setComponentHandler(&plug.handler);
    ASSERT_TRUE(plug.Prepare(48000.0, kBlock, false, false, false, &error)) << error;
    std::this_thread::sleep_for(std::chrono::milliseconds(2600));  // the opening banner

    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done.load()) {
            plug.controller->getParamNormalized(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
    std::mt19937 random(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<float> silence(kBlock), ol(kBlock), orr(kBlock);
    std::vector<float*> in{silence.data(), silence.data()}, none, out{ol.data(), orr.data()};
    for (int round = 0; round < 10; ++round) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const double value = unit(random);
        if (round % 2 == 0) {
            std::thread audio([&] {
                for (int b = 0; b < 20; ++b) {
                    tarvo::host::ParameterChanges changes;
                    if (b == 0)
                        changes.Add(0, value);  // Angle, which glides
                    plug.Process<float>(in, none, out, kBlock, &changes);
                }
            });
            audio.join();
        } else {
            plug.controller->setParamNormalized(0, value);
            Bytes saved;
            plug.component->getState(&saved);
            saved.pos = 0;
            plug.controller->setState(&saved);
        }
    }
    done.store(true);
    reader.join();
    plug.controller->setComponentHandler(nullptr);
    plug.Destroy();
}

} // namespace
