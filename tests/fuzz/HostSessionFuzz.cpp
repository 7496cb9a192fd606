// Fuzzes a whole host session: the input decodes into a sequence of host
// calls (processing setups at any rate and block size, bus arrangements and
// activation, blocks of any length and sample size with parameter queues
// holding any value, bypass, sidechain on and off, state loads mid-stream,
// controller queries, editor edits and timer ticks). What must hold:
// - every output sample is finite while the input is;
// - afterwards the instance, set up again in its default settings, renders
//   a test tone as a fresh instance does.
#include "tests/fuzz/FuzzPlugin.h"

#include "vst3/host/HostObjects.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// TARVO_FUZZ_TRACE=1 prints the decoded host calls (for reproducing a find).
const bool kTrace = std::getenv("TARVO_FUZZ_TRACE") != nullptr;
#define TRACE(...) \
    do { \
        if (kTrace) \
            std::fprintf(stderr, __VA_ARGS__); \
    } while (false)

void Fail(const char* what, double detail = 0.0)
{
    std::fprintf(stderr, "host session fuzz: %s (%g)\n", what, detail);
    std::abort();
}

double AnyValue(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0: return std::numeric_limits<double>::quiet_NaN();
    case 1: return std::numeric_limits<double>::infinity();
    case 2: return -std::numeric_limits<double>::infinity();
    case 3: return -1.0;
    case 4: return 2.0;
    case 5: return 1e300;
    case 6: return 0.0;
    case 7: return 1.0;
    case 8: return in.ConsumeFloatingPoint<double>();
    default: return in.ConsumeProbability<double>();
    }
}

ParamID AnyParamId(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return IFxVST3::kBypassId;
    case 1: return IFxVST3::kPresetId;
    case 2: return in.ConsumeIntegral<ParamID>();
    default: return in.ConsumeIntegralInRange<ParamID>(0, kNumOstrandParams);
    }
}

SpeakerArrangement AnyArrangement(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 5)) {
    case 0: return SpeakerArr::kEmpty;
    case 1: return SpeakerArr::kMono;
    case 2: return SpeakerArr::k51;
    case 3: return in.ConsumeIntegral<SpeakerArrangement>();
    default: return SpeakerArr::kStereo;
    }
}

struct Session {
    Ostrand* plug = nullptr;
    int maxBlock = 0;
    bool inputFinite = true;
    double phase = 0.0;
};

void Setup(Session& s, FuzzedDataProvider& in)
{
    static const double kRates[] = {8000, 22050, 44100, 48000, 88200, 96000, 176400, 192000, 384000};
    double rate = 44100.0;
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: rate = in.ConsumeFloatingPointInRange(1.0, 1e6); break;
    case 1: rate = AnyValue(in); break;
    default: rate = kRates[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kRates) - 1)]; break;
    }
    static const int kBlocks[] = {1, 32, 64, 512, 4096, 8192};
    int block = in.ConsumeBool() ? kBlocks[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kBlocks) - 1)]
                                 : in.ConsumeIntegralInRange(-4, 70000);
    int32 sampleSize = in.ConsumeBool() ? kSample32 : in.ConsumeBool() ? kSample64 : in.ConsumeIntegral<int32>();
    ProcessSetup setup{in.ConsumeIntegralInRange(0, 2), sampleSize, block, rate};
    tresult r = s.plug->setupProcessing(setup);
    TRACE("setupProcessing rate %g block %d size %d mode %d -> %d\n", rate, block, sampleSize, setup.processMode, r);
    if (r == kResultOk)
        s.maxBlock = block;
}

void Arrange(Session& s, FuzzedDataProvider& in)
{
    SpeakerArrangement ins[3], outs[3];
    for (auto& a : ins)
        a = AnyArrangement(in);
    for (auto& a : outs)
        a = AnyArrangement(in);
    int nIns = in.ConsumeIntegralInRange(0, 3), nOuts = in.ConsumeIntegralInRange(0, 3);
    tresult r = s.plug->setBusArrangements(ins, nIns, outs, nOuts);
    TRACE("setBusArrangements %d ins (%llx %llx) %d outs (%llx) -> %d\n", nIns, (unsigned long long)ins[0],
          (unsigned long long)ins[1], nOuts, (unsigned long long)outs[0], r);
}

void Activate(Session& s, FuzzedDataProvider& in)
{
    MediaType type = in.ConsumeIntegralInRange(0, 4) == 0 ? kEvent : kAudio;
    BusDirection dir = in.ConsumeBool() ? kInput : kOutput;
    int index = in.ConsumeIntegralInRange(-1, 3);
    bool state = in.ConsumeBool();
    tresult r = s.plug->activateBus(type, dir, index, state);
    TRACE("activateBus type %d dir %d index %d %d -> %d\n", type, dir, index, state, r);
}

// One host bus: channels of samples, as floats or doubles.
struct HostBus {
    std::vector<std::vector<float>> f;
    std::vector<std::vector<double>> d;
    std::vector<float*> fp;
    std::vector<double*> dp;
};

void Process(Session& s, FuzzedDataProvider& in)
{
    const int max = std::max(s.maxBlock, 1);
    int frames = 0;
    switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0: frames = 0; break;
    case 1: frames = 1; break;
    case 2: frames = max; break;
    case 3: frames = max + 1; break;
    case 4: frames = 2 * max + 3; break;
    default: frames = in.ConsumeIntegralInRange(0, 3 * max); break;
    }
    frames = std::min(frames, 150000);
    const bool is64 = in.ConsumeBool();
    const bool bogusSize = in.ConsumeIntegralInRange(0, 15) == 0;
    const bool badSamples = in.ConsumeIntegralInRange(0, 15) == 0;
    const double level = in.ConsumeBool() ? 1.0 : in.ConsumeFloatingPointInRange(0.0, 8.0);

    auto makeBuses = [&](int count, bool input, std::vector<HostBus>& buses, std::vector<AudioBusBuffers>& out) {
        buses.resize(static_cast<std::size_t>(count));
        out.assign(static_cast<std::size_t>(count), AudioBusBuffers{});
        for (int b = 0; b < count; ++b) {
            HostBus& bus = buses[static_cast<std::size_t>(b)];
            int channels = in.ConsumeIntegralInRange(0, 3);
            bool nullBuffers = in.ConsumeIntegralInRange(0, 9) == 0;
            bus.f.assign(static_cast<std::size_t>(channels), std::vector<float>(static_cast<std::size_t>(frames)));
            bus.d.assign(static_cast<std::size_t>(channels), std::vector<double>(static_cast<std::size_t>(frames)));
            for (int c = 0; c < channels; ++c) {
                if (input) {
                    for (int i = 0; i < frames; ++i) {
                        double x = level * 0.5 * std::sin(s.phase + 0.031 * i * (c + 1)) + 0.3 * std::sin(0.0007 * i);
                        bus.f[c][static_cast<std::size_t>(i)] = static_cast<float>(x);
                        bus.d[c][static_cast<std::size_t>(i)] = x;
                    }
                    if (badSamples && frames > 0) {
                        bus.f[c][0] = std::numeric_limits<float>::quiet_NaN();
                        bus.d[c][0] = std::numeric_limits<double>::infinity();
                        s.inputFinite = false;
                    }
                }
                bus.fp.push_back(bus.f[c].data());
                bus.dp.push_back(bus.d[c].data());
            }
            AudioBusBuffers& abb = out[static_cast<std::size_t>(b)];
            abb.numChannels = channels;
            if (!nullBuffers) {
                abb.channelBuffers32 = bus.fp.data();
                if (is64)
                    abb.channelBuffers64 = bus.dp.data();
            }
        }
    };
    std::vector<HostBus> inBuses, outBuses;
    std::vector<AudioBusBuffers> inputs, outputs;
    makeBuses(in.ConsumeIntegralInRange(0, 2), true, inBuses, inputs);
    makeBuses(in.ConsumeIntegralInRange(0, 2), false, outBuses, outputs);
    s.phase += 0.031 * frames;

    tarvo::host::ParameterChanges changes;
    int queues = in.ConsumeIntegralInRange(0, 6);
    for (int q = 0; q < queues; ++q) {
        ParamID id = AnyParamId(in);
        int points = in.ConsumeIntegralInRange(0, 3);
        int32 index = 0;
        IParamValueQueue* queue = changes.addParameterData(id, index);
        for (int p = 0; p < points; ++p)
            queue->addPoint(in.ConsumeIntegralInRange(-1, frames + 1), AnyValue(in), index);
    }

    ProcessContext context{};
    context.sampleRate = AnyValue(in);
    context.tempo = AnyValue(in);
    context.projectTimeMusic = AnyValue(in);
    context.timeSigNumerator = in.ConsumeIntegral<int32>();
    context.timeSigDenominator = in.ConsumeIntegral<int32>();
    context.state = in.ConsumeIntegral<uint32>();

    ProcessData data{};
    data.processMode = in.ConsumeIntegralInRange(0, 2);
    data.symbolicSampleSize = bogusSize ? 5 : is64 ? kSample64 : kSample32;
    data.numSamples = frames;
    data.numInputs = static_cast<int32>(inputs.size());
    data.inputs = inputs.empty() ? nullptr : inputs.data();
    data.numOutputs = static_cast<int32>(outputs.size());
    data.outputs = outputs.empty() ? nullptr : outputs.data();
    data.inputParameterChanges = in.ConsumeIntegralInRange(0, 7) == 0 ? nullptr : &changes;
    data.processContext = in.ConsumeBool() ? &context : nullptr;
    tresult r = s.plug->process(data);
    TRACE("process %d frames, size %d, %d ins, %d outs, %d queues -> %d\n", frames, data.symbolicSampleSize,
          data.numInputs, data.numOutputs, queues, r);
    if (kTrace)
        for (int q = 0; q < changes.getParameterCount(); ++q) {
            IParamValueQueue* queue = changes.getParameterData(q);
            int32 offset = 0;
            ParamValue value = 0.0;
            if (queue->getPointCount() > 0 && queue->getPoint(queue->getPointCount() - 1, offset, value) == kResultOk)
                TRACE("  queue %x last %g\n", queue->getParameterId(), value);
        }

    if (!s.inputFinite)
        return;
    for (auto& bus : outBuses) {
        for (auto& ch : bus.f)
            for (float v : ch)
                if (!std::isfinite(v))
                    Fail("a 32-bit output sample is not finite", v);
        for (auto& ch : bus.d)
            for (double v : ch)
                if (!std::isfinite(v))
                    Fail("a 64-bit output sample is not finite", v);
    }
}

void LoadState(Session& s, FuzzedDataProvider& in)
{
    int which = in.ConsumeIntegralInRange(0, 2);
    std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 130));
    fuzz::PieceStream stream(bytes, in.ConsumeIntegralInRange(0, 9), in.ConsumeIntegralInRange(-1, 130));
    TRACE("setState via %d, %zu bytes\n", which, bytes.size());
    if (which == 0)
        static_cast<IComponent*>(s.plug)->setState(&stream);
    else if (which == 1)
        static_cast<IEditController*>(s.plug)->setState(&stream);
    else
        s.plug->setComponentState(&stream);
}

void Controller(Session& s, FuzzedDataProvider& in)
{
    ParamID id = AnyParamId(in);
    double value = AnyValue(in);
    String128 text{};
    int what = in.ConsumeIntegralInRange(0, 5);
    TRACE("controller call %d id %x value %g\n", what, id, value);
    switch (what) {
    case 0:
        s.plug->setParamNormalized(id, value);
        break;
    case 1:
        s.plug->getParamStringByValue(id, value, text);
        break;
    case 2: {
        // Host text of any length: terminated within its buffer, or a full
        // 128 units or more, of which the plug-in reads at most 128.
        std::vector<TChar> chars(static_cast<std::size_t>(in.ConsumeIntegralInRange(1, 200)));
        for (auto& c : chars)
            c = static_cast<TChar>(in.ConsumeIntegral<std::uint16_t>());
        if (chars.size() < 128 || in.ConsumeBool())
            chars.back() = 0;
        ParamValue out = 0.0;
        if (s.plug->getParamValueByString(id, chars.data(), out) == kResultOk && !std::isfinite(out))
            Fail("a text gave a value that is not finite");
        break;
    }
    case 3:
        s.plug->normalizedParamToPlain(id, value);
        s.plug->plainParamToNormalized(id, value);
        break;
    case 4: {
        int32 index = in.ConsumeIntegralInRange(-2, 13);
        s.plug->getProgramName(in.ConsumeBool() ? IFxVST3::kPresetId : in.ConsumeIntegral<int32>(), index, text);
        ParameterInfo info{};
        s.plug->getParameterInfo(index, info);
        UnitInfo unit{};
        s.plug->getUnitInfo(index, unit);
        break;
    }
    default:
        s.plug->SetParameterFromGUI(static_cast<int>(id), value);
        s.plug->DeliverHostCalls();
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first render after other audio still carries some of the engine's
    // history; the second is the instance's settled answer.
    static const double reference = [] {
        Ostrand* fresh = fuzz::NewQuietPlugin();
        fuzz::ToneRms(fresh, 260, 40);
        double rms = fuzz::ToneRms(fresh, 20, 40);
        fuzz::DestroyPlugin(fresh);
        return rms;
    }();

    FuzzedDataProvider in(data, size);
    Session s;
    s.plug = fuzz::NewQuietPlugin();
    tarvo::host::ComponentHandler handler;
    if (in.ConsumeBool())
        s.plug->setComponentHandler(&handler);
    for (int op = 0; op < 48 && in.remaining_bytes() > 0; ++op) {
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0: Setup(s, in); break;
        case 1: Arrange(s, in); break;
        case 2: Activate(s, in); break;
        case 3: {
            bool on = in.ConsumeBool();
            TRACE("setActive %d\n", on);
            s.plug->setActive(on);
            break;
        }
        case 4: {
            bool on = in.ConsumeBool();
            TRACE("setProcessing %d\n", on);
            s.plug->setProcessing(on);
            break;
        }
        case 5: LoadState(s, in); break;
        case 6: {
            int ticks = in.ConsumeIntegralInRange(1, 40);
            TRACE("%d ticks\n", ticks);
            fuzz::Tick(s.plug, ticks);
            break;
        }
        case 7: Controller(s, in); break;
        default: Process(s, in); break;
        }
    }

    double rms = fuzz::ToneRms(s.plug, 260, 40);
    if (std::isfinite(rms))
        rms = fuzz::ToneRms(s.plug, 20, 40);
    if (kTrace)
        for (int i = 0; i < 4; ++i)
            TRACE("again: %g (Juice factor %d, frame %d, style %d)\n", fuzz::ToneRms(s.plug, 20, 40),
                  s.plug->OversamplingFactor(), s.plug->FrameSize(), s.plug->OversamplingStyle());
    if (!(std::fabs(20.0 * std::log10(rms / reference)) < 1.0))
    {
        std::fprintf(stderr, "tone rms %g, fresh instance %g\n", rms, reference);
        Fail("the test tone renders wrongly after the session (dB off)", 20.0 * std::log10(rms / reference));
    }
    s.plug->setComponentHandler(nullptr);
    fuzz::DestroyPlugin(s.plug);
    return 0;
}
