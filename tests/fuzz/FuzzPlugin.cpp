// Shared pieces of the fuzz targets (see FuzzPlugin.h).
#include "tests/fuzz/FuzzPlugin.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace fuzz {

//------------------------------------------------------------------------
Ostrand* NewQuietPlugin()
{
    auto* plug = new Ostrand(nullptr);
    plug->StopIdleTimer();
    plug->initialize(nullptr);
    return plug;
}

//------------------------------------------------------------------------
void DestroyPlugin(Ostrand* plug)
{
    plug->setActive(false);
    plug->terminate();
    plug->release();
}

//------------------------------------------------------------------------
void Tick(Ostrand* plug, int n)
{
    for (int i = 0; i < n; ++i)
        plug->Timer().Fire();
}

//------------------------------------------------------------------------
std::vector<std::uint8_t> SavedState(Ostrand* plug)
{
    PieceStream stream({}, 0, -1);
    plug->getState(&stream);
    return stream.Bytes();
}

//------------------------------------------------------------------------
PieceStream::PieceStream(std::vector<std::uint8_t> bytes, int pieceSize, int failAfter)
    : mBytes(std::move(bytes)), mPiece(pieceSize), mFailAfter(failAfter)
{
}

//------------------------------------------------------------------------
tresult PLUGIN_API PieceStream::read(void* buffer, int32 numBytes, int32* numBytesRead)
{
    if (numBytesRead != nullptr)
        *numBytesRead = 0;
    if (numBytes < 0 || (mFailAfter >= 0 && mPos >= mFailAfter))
        return kResultFalse;
    int n = std::min<int>(numBytes, static_cast<int>(mBytes.size()) - mPos);
    if (mPiece > 0)
        n = std::min(n, mPiece);
    if (mFailAfter >= 0)
        n = std::min(n, mFailAfter - mPos);
    if (n > 0)
        std::memcpy(buffer, mBytes.data() + mPos, static_cast<std::size_t>(n));
    mPos += n;
    if (numBytesRead != nullptr)
        *numBytesRead = n;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PieceStream::write(void* buffer, int32 numBytes, int32* numBytesWritten)
{
    if (numBytes < 0)
        return kResultFalse;
    auto* p = static_cast<std::uint8_t*>(buffer);
    mBytes.insert(mBytes.end(), p, p + numBytes);
    if (numBytesWritten != nullptr)
        *numBytesWritten = numBytes;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PieceStream::seek(int64 pos, int32 mode, int64* result)
{
    int64 base = mode == kIBSeekCur ? mPos : mode == kIBSeekEnd ? static_cast<int64>(mBytes.size()) : 0;
    int64 to = std::clamp<int64>(base + pos, 0, static_cast<int64>(mBytes.size()));
    mPos = static_cast<int>(to);
    if (result != nullptr)
        *result = to;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PieceStream::tell(int64* pos)
{
    if (pos != nullptr)
        *pos = mPos;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API PieceStream::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, IBStream::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        addRef();
        *obj = this;
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

namespace {

// Stereo 32-bit host buffers for one block.
struct Block {
    explicit Block(int frames) : inL(frames), inR(frames), outL(frames), outR(frames)
    {
        inBus.numChannels = 2;
        inBus.channelBuffers32 = in;
        outBus.numChannels = 2;
        outBus.channelBuffers32 = out;
        data.processMode = kRealtime;
        data.symbolicSampleSize = kSample32;
        data.numSamples = frames;
        data.numInputs = 1;
        data.inputs = &inBus;
        data.numOutputs = 1;
        data.outputs = &outBus;
    }
    std::vector<float> inL, inR, outL, outR;
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    AudioBusBuffers inBus{};
    AudioBusBuffers outBus{};
    ProcessData data{};
};

// Stereo main bus on, sidechain off, set up at 44.1 kHz with 512 frames.
bool SetUp(Ostrand* plug)
{
    plug->setProcessing(false);
    plug->setActive(false);
    SpeakerArrangement ins[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    SpeakerArrangement outs[1] = {SpeakerArr::kStereo};
    plug->setBusArrangements(ins, 2, outs, 1);
    plug->activateBus(kAudio, kInput, 0, true);
    plug->activateBus(kAudio, kInput, 1, false);
    plug->activateBus(kAudio, kOutput, 0, true);
    ProcessSetup setup{kRealtime, kSample32, 512, 44100.0};
    if (plug->setupProcessing(setup) != kResultOk)
        return false;
    plug->setActive(true);
    plug->setProcessing(true);
    return true;
}

std::vector<std::uint8_t> DefaultState()
{
    Ostrand* fresh = NewQuietPlugin();
    std::vector<std::uint8_t> state = SavedState(fresh);
    DestroyPlugin(fresh);
    return state;
}

} // namespace

//------------------------------------------------------------------------
double ToneRms(Ostrand* plug, int ticks, int blocks)
{
    static const std::vector<std::uint8_t> defaults = DefaultState();
    constexpr int kBlock = 512;
    const int kBlocks = blocks;
    constexpr int kMeasured = 4096;

    PieceStream state(defaults, 0, -1);
    plug->setState(&state);
    if (!SetUp(plug))
        return std::nan("");
    Tick(plug, ticks);

    Block block(kBlock);
    double sum = 0.0;
    long n = 0;
    for (int b = 0; b < kBlocks; ++b) {
        for (int i = 0; i < kBlock; ++i) {
            double t = static_cast<double>(b * kBlock + i) / 44100.0;
            block.inL[static_cast<std::size_t>(i)] = block.inR[static_cast<std::size_t>(i)] =
                static_cast<float>(0.25 * std::sin(2.0 * std::numbers::pi * 1000.0 * t));
        }
        if (plug->process(block.data) != kResultOk)
            return std::nan("");
        for (int i = 0; i < kBlock; ++i) {
            double l = block.outL[static_cast<std::size_t>(i)], r = block.outR[static_cast<std::size_t>(i)];
            if (!std::isfinite(l) || !std::isfinite(r))
                return std::nan("");
            if ((b + 1) * kBlock - i <= kMeasured) {
                sum += l * l + r * r;
                n += 2;
            }
        }
        if (b % 4 == 3)
            Tick(plug, 1);
    }
    return std::sqrt(sum / static_cast<double>(n));
}

//------------------------------------------------------------------------
bool RendersSanely(Ostrand* plug, int blocks)
{
    if (!SetUp(plug))
        return false;
    Tick(plug, 260);
    Block block(512);
    const double limit = std::pow(10.0, 24.0 / 20.0);
    for (int b = 0; b < blocks; ++b) {
        for (int i = 0; i < 512; ++i) {
            double t = static_cast<double>(b * 512 + i) / 44100.0;
            double x = 0.5 * std::sin(2.0 * std::numbers::pi * 110.0 * t) + 0.49 * std::sin(2.0 * std::numbers::pi * 3500.0 * t);
            block.inL[static_cast<std::size_t>(i)] = static_cast<float>(x);
            block.inR[static_cast<std::size_t>(i)] = static_cast<float>(-x * 0.7);
        }
        if (plug->process(block.data) != kResultOk)
            return false;
        for (int i = 0; i < 512; ++i)
            for (float v : {block.outL[static_cast<std::size_t>(i)], block.outR[static_cast<std::size_t>(i)]})
                if (!std::isfinite(v) || std::fabs(v) > limit)
                    return false;
        if (b % 4 == 3)
            Tick(plug, 1);
    }
    return true;
}

} // namespace fuzz
