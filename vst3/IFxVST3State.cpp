// The state stream of IFxVST3: the plug-in's parameters as little-endian
// doubles followed by the bypass flag as a little-endian 32-bit integer.
// Hosts save and restore a single-component plug-in through IComponent and
// through IEditController alike, so both reach these methods.
#include "vst3/IFxVST3.h"

#include "vst3/InterfaceGuard.h"

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <cstring>

using namespace Steinberg;
using tarvo::vst3::Guarded;

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::getState(IBStream* stream)
{
    if (stream == nullptr)
        return kInvalidArgument;
    return Guarded(kInternalError, [&] { return WriteState(stream); });
}

//------------------------------------------------------------------------
tresult IFxVST3::WriteState(IBStream* stream)
{
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    StateChunk chunk;
    if (!SaveState(&chunk))
        return kResultFalse;
    int32 written = 0;
    if (chunk.ByteCount() > 0)
        stream->write(chunk.Data(), chunk.ByteCount(), &written);
    std::uint32_t flag = IsBypassed() ? 1u : 0u;
    unsigned char bytes[4] = {static_cast<unsigned char>(flag), static_cast<unsigned char>(flag >> 8),
                              static_cast<unsigned char>(flag >> 16), static_cast<unsigned char>(flag >> 24)};
    stream->write(bytes, 4, &written);
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3::setState(IBStream* stream)
{
    if (stream == nullptr)
        return kInvalidArgument;
    tresult result = Guarded(kInternalError, [&] { return ReadState(stream); });
    WakeTimer();
    return result;
}

//------------------------------------------------------------------------
tresult IFxVST3::ReadState(IBStream* stream)
{
    std::lock_guard<std::recursive_mutex> lock(PluginLock());

    // The current state fills in whatever the stream does not deliver.
    StateChunk chunk;
    SaveState(&chunk);
    const int size = chunk.ByteCount();
    if (size <= 0)
        return kResultFalse;
    const StateChunk current = chunk;
    // A stream may hand out its bytes in pieces: read until it has no more.
    int got = 0;
    while (got < size) {
        int32 read = 0;
        if (stream->read(chunk.Data() + got, size - got, &read) != kResultOk || read <= 0)
            break;
        got += read;
    }
    // A value the stream cut off part-way keeps its current bytes: half old
    // and half new bytes make a number nobody saved.
    const int whole = got - got % static_cast<int>(sizeof(double));
    if (whole < got)
        std::memcpy(chunk.Data() + whole, current.Data() + whole, static_cast<std::size_t>(got - whole));
    LoadState(&chunk, 0);

    unsigned char bytes[4] = {};
    int gotFlag = 0;
    while (gotFlag < 4) {
        int32 read = 0;
        if (stream->read(bytes + gotFlag, 4 - gotFlag, &read) != kResultOk || read <= 0)
            break;
        gotFlag += read;
    }
    if (gotFlag < 4)
        return kResultFalse;
    std::uint32_t flag = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                         (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    SetBypassed(flag != 0);
    RefreshEditorParams();
    return kResultOk;
}
