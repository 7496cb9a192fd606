// A long randomized session of the product bundle, loaded as a host loads
// it, with the real-time checker watching the processing calls: every
// parameter automated (Juice and the filter style switching with the rest),
// sidechain switched on and off, bypass, state loads and reads from a second
// thread, the plug-in's own idle timer running, at three sample rates.
// Inside process nothing may allocate, free, lock anything but the plug-in
// lock or block; the waits for the plug-in lock are measured.
#include "tests/rtcheck/RtCheck.h"
#include "vst3/host/HostModule.h"
#include "vst3/host/HostPlugin.h"

#include "pluginterfaces/base/ibstream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kParams = 15;
constexpr int kBlock = 256;

// A byte stream for state calls (used off the audio thread only).
class BytesStream : public IBStream {
public:
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    tresult PLUGIN_API read(void* buffer, int32 n, int32* got) SMTG_OVERRIDE
    {
        int32 k = static_cast<int32>(std::min<std::size_t>(static_cast<std::size_t>(std::max(n, 0)), bytes.size() - pos));
        std::memcpy(buffer, bytes.data() + pos, static_cast<std::size_t>(k));
        pos += static_cast<std::size_t>(k);
        if (got)
            *got = k;
        return kResultOk;
    }
    tresult PLUGIN_API write(void* buffer, int32 n, int32* written) SMTG_OVERRIDE
    {
        auto* p = static_cast<std::uint8_t*>(buffer);
        bytes.insert(bytes.end(), p, p + n);
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

// Music-like test signal: a few partials under a beat envelope, and a
// kick-like sidechain.
double Music(long n, double rate, int channel)
{
    double t = static_cast<double>(n) / rate;
    double beat = std::fmod(t * 2.0, 1.0);
    double env = std::exp(-6.0 * beat);
    double x = 0.0;
    for (int k = 1; k <= 5; ++k)
        x += std::sin(2.0 * M_PI * (110.0 * k + channel * 0.7) * t) / (k + 1);
    return 0.45 * x * (0.4 + 0.6 * env);
}

struct SessionFigures {
    rtcheck::Counts counts;
    long blocks = 0;
    long stateLoads = 0;
    double audioSeconds = 0.0;
    bool finite = true;
    bool lockRecursive = false;
    double longestStateLoadMs = 0.0;
    std::int64_t allocationsSeenInGetState = 0;
};

// stateLoads: whether the second thread loads states (otherwise it only
// reads), so the waits the timer alone causes can be told apart.
SessionFigures RunSession(double seconds, bool stateLoads)
{
    SessionFigures figures;
    tarvo::host::HostModule module;
    EXPECT_TRUE(module.Load(TARVO_PRODUCT_BUNDLE_PATH)) << module.Error();
    tarvo::host::HostPlugin plug("rtcheck", false);  // no run loop: the timer has a thread of its own
    std::string error;
    EXPECT_TRUE(plug.Create(module.Factory(), &error)) << error;
    if (plug.processor == nullptr)
        return figures;

    std::mt19937 random(20261209);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<float> inL(kBlock), inR(kBlock), scL(kBlock), scR(kBlock), outL(kBlock), outR(kBlock);
    float* in[2] = {inL.data(), inR.data()};
    float* sc[2] = {scL.data(), scR.data()};
    float* out[2] = {outL.data(), outR.data()};
    AudioBusBuffers inputs[2] = {};
    AudioBusBuffers outputs[1] = {};
    inputs[0].numChannels = 2;
    inputs[0].channelBuffers32 = in;
    inputs[1].numChannels = 2;
    inputs[1].channelBuffers32 = sc;
    outputs[0].numChannels = 2;
    outputs[0].channelBuffers32 = out;

    // The second thread: state loads and reads, and the controller's
    // parameter reads a host's UI makes, until the audio is done.
    std::atomic<bool> done{false};
    std::atomic<long> loads{0};
    long longestLoadUs = 0;
    std::thread ui([&] {
        std::mt19937 r(7);
        std::uniform_real_distribution<double> u(0.0, 1.0);
        while (!done.load()) {
            BytesStream saved;
            plug.component->getState(&saved);
            BytesStream state;
            for (int i = 0; i < kParams; ++i) {
                double plain = plug.controller->normalizedParamToPlain(static_cast<ParamID>(i), u(r));
                state.write(&plain, 8, nullptr);
            }
            std::uint32_t bypass = u(r) < 0.1 ? 1 : 0;
            state.write(&bypass, 4, nullptr);
            if (stateLoads) {
                auto start = std::chrono::steady_clock::now();
                plug.controller->setState(&state);
                auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
                longestLoadUs = std::max<long>(longestLoadUs, static_cast<long>(us));
                loads.fetch_add(1);
            }
            for (int i = 0; i < kParams; ++i)
                plug.controller->getParamNormalized(static_cast<ParamID>(i));
            std::this_thread::sleep_for(std::chrono::microseconds(500 + static_cast<int>(u(r) * 4000)));
        }
    });

    bool sidechain = false;
    long n = 0;
    for (double rate : {44100.0, 48000.0, 96000.0}) {
        EXPECT_TRUE(plug.Prepare(rate, kBlock, false, sidechain, false, &error)) << error;
        const long blocks = static_cast<long>(seconds / 3.0 * rate / kBlock);
        for (long b = 0; b < blocks; ++b, n += kBlock) {
            // Everything the host does between blocks happens outside the
            // checked scope: queues are filled, the sidechain is switched.
            tarvo::host::ParameterChanges changes;
            for (int i = 0; i < kParams; ++i)
                if (unit(random) < 0.02)
                    changes.Add(static_cast<ParamID>(i), unit(random), static_cast<int32>(unit(random) * kBlock));
            if (unit(random) < 0.004)
                changes.Add(0x62706173, unit(random) < 0.5 ? 1.0 : 0.0);  // 'bpas'
            if (unit(random) < 0.002) {
                sidechain = !sidechain;
                plug.component->activateBus(kAudio, kInput, 1, sidechain);
            }
            for (int i = 0; i < kBlock; ++i) {
                inL[static_cast<std::size_t>(i)] = static_cast<float>(Music(n + i, rate, 0));
                inR[static_cast<std::size_t>(i)] = static_cast<float>(Music(n + i, rate, 1));
                double kick = std::sin(2.0 * M_PI * 55.0 * (n + i) / rate) * std::exp(-20.0 * std::fmod((n + i) / rate * 2.0, 1.0));
                scL[static_cast<std::size_t>(i)] = scR[static_cast<std::size_t>(i)] = static_cast<float>(kick);
            }
            ProcessData data{};
            data.processMode = kRealtime;
            data.symbolicSampleSize = kSample32;
            data.numSamples = kBlock;
            data.numInputs = 2;
            data.inputs = inputs;
            data.numOutputs = 1;
            data.outputs = outputs;
            data.inputParameterChanges = &changes;
            if (figures.blocks == 0)
                rtcheck::LearnAllowedLock();
            {
                rtcheck::AudioScope scope;
                plug.processor->process(data);
            }
            ++figures.blocks;
            for (int i = 0; i < kBlock; ++i)
                if (!std::isfinite(outL[static_cast<std::size_t>(i)]) || !std::isfinite(outR[static_cast<std::size_t>(i)]))
                    figures.finite = false;
        }
        figures.audioSeconds += static_cast<double>(blocks * kBlock) / rate;
    }
    done.store(true);
    ui.join();
    figures.counts = rtcheck::Totals();
    figures.stateLoads = loads.load();
    figures.longestStateLoadMs = longestLoadUs / 1000.0;
    EXPECT_TRUE(rtcheck::AllowedLockLearnt());
    // What was learnt is the plug-in's recursive lock, and the checker sees
    // what the bundle allocates (a state call builds its chunk on the heap).
    figures.lockRecursive = rtcheck::AllowedLockIsRecursive();
    {
        BytesStream saved;
        rtcheck::AudioScope scope;
        plug.component->getState(&saved);
    }
    figures.allocationsSeenInGetState = rtcheck::Totals().allocations - figures.counts.allocations;
    plug.Destroy();
    return figures;
}

void Report(const char* what, const SessionFigures& f)
{
    const rtcheck::Counts& c = f.counts;
    std::printf("[ rtcheck  ] %s: %ld blocks of %d frames (%.1f s of audio), %ld state loads from the second thread "
                "(longest %.3f ms)\n",
                what, f.blocks, kBlock, f.audioSeconds, f.stateLoads, f.longestStateLoadMs);
    std::printf("[ rtcheck  ] %s: plug-in lock taken %lld times, waited for %lld times, longest wait %.3f ms, "
                "all waits %.1f ms\n",
                what, static_cast<long long>(c.allowedLocks), static_cast<long long>(c.allowedWaits),
                c.longestWaitNs / 1e6, c.totalWaitNs / 1e6);
    std::printf("[ rtcheck  ] %s: longest hold of the plug-in lock by another thread %.3f ms of its CPU time "
                "(%.3f ms wall)\n",
                what, c.longestHoldCpuNs / 1e6, c.longestHoldWallNs / 1e6);
}

void ExpectClean(const SessionFigures& f)
{
    const rtcheck::Counts& c = f.counts;
    EXPECT_EQ(c.allocations, 0) << rtcheck::Violations();
    EXPECT_EQ(c.frees, 0) << rtcheck::Violations();
    EXPECT_EQ(c.locks, 0) << rtcheck::Violations();
    EXPECT_EQ(c.blocking, 0) << rtcheck::Violations();
    EXPECT_GE(c.allowedLocks, f.blocks);
    EXPECT_TRUE(f.finite);
    EXPECT_TRUE(f.lockRecursive);
    EXPECT_GT(f.allocationsSeenInGetState, 0);
}

TEST(RealtimeSafety, ProcessNeverAllocatesOrBlocksInALongRandomSession)
{
    rtcheck::Reset();
    SessionFigures f = RunSession(45.0, true);
    Report("with state loads", f);
    ExpectClean(f);
    EXPECT_GT(f.stateLoads, 10);
}

TEST(RealtimeSafety, WaitsForTheTimerAlone)
{
    rtcheck::Reset();
    SessionFigures f = RunSession(45.0, false);
    Report("timer only", f);
    ExpectClean(f);
}

// The checker itself: it must see what it is meant to catch, and only inside
// the scope.
TEST(RealtimeSafety, CheckerSeesAllocationLocksAndSleepsOnlyInsideTheScope)
{
    rtcheck::Reset();
    std::mutex other;
    {
        auto* p = new int(3);
        delete p;
        std::lock_guard<std::mutex> lock(other);
    }
    EXPECT_EQ(rtcheck::Totals().allocations, 0);
    {
        rtcheck::AudioScope scope;
        std::vector<int> grown(100);
        std::lock_guard<std::mutex> lock(other);
        std::this_thread::sleep_for(std::chrono::microseconds(10));
        (void)grown;
    }
    rtcheck::Counts c = rtcheck::Totals();
    EXPECT_GE(c.allocations, 1);
    EXPECT_GE(c.frees, 1);
    EXPECT_EQ(c.locks, 1);
    EXPECT_GE(c.blocking, 1);
    rtcheck::Reset();
}

} // namespace
