// Channel records and the host-buffer routing of IFxBase. The format binding
// drives these once per processing call; nothing here allocates except
// SetMaxBlockFrames.
#include "framework/IFxBase.h"

#include <algorithm>
#include <cstring>

//------------------------------------------------------------------------
void IFxBase::MarkConnected(std::vector<IChannel>& channels, int first, int count, bool connected)
{
    int end = std::min(first + std::max(count, 0), static_cast<int>(channels.size()));
    for (int i = std::max(first, 0); i < end; ++i) {
        IChannel& channel = channels[static_cast<std::size_t>(i)];
        channel.connected = connected;
        if (!connected) {
            *channel.slot = channel.scratch.empty() ? nullptr : channel.scratch.data();
            channel.hostFloatOut = nullptr;
        }
    }
}

//------------------------------------------------------------------------
void IFxBase::MarkInputsConnected(int first, int count, bool connected)
{
    MarkConnected(mInChannels, first, count, connected);
}

//------------------------------------------------------------------------
void IFxBase::MarkOutputsConnected(int first, int count, bool connected)
{
    MarkConnected(mOutChannels, first, count, connected);
}

namespace {

// Walks channels [first, first + count) and hands each connected one the
// next host buffer, or nullptr when the host gave fewer buffers than there
// are connected channels. Unconnected channels consume no host buffer.
template <typename Sample, typename Fn>
void ForEachConnected(std::vector<IChannel>& channels, int first, int count, Sample* const* buffers,
                      int nBuffers, Fn&& bind)
{
    int end = std::min(first + std::max(count, 0), static_cast<int>(channels.size()));
    int next = 0;
    for (int i = std::max(first, 0); i < end; ++i) {
        IChannel& channel = channels[static_cast<std::size_t>(i)];
        if (!channel.connected)
            continue;
        bool present = buffers != nullptr && next < nBuffers && buffers[next] != nullptr;
        bind(channel, present ? buffers[next] : nullptr);
        ++next;
    }
}

} // namespace

//------------------------------------------------------------------------
void IFxBase::BindInputBuffers(int first, int count, double* const* buffers, int nBuffers)
{
    ForEachConnected(mInChannels, first, count, buffers, nBuffers, [](IChannel& channel, double* host) {
        if (host == nullptr) // missing host buffer: read silence
            std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
        *channel.slot = host ? host : channel.scratch.data();
    });
}

//------------------------------------------------------------------------
void IFxBase::BindInputBuffers(int first, int count, float* const* buffers, int nBuffers, int nFrames)
{
    int frames = std::clamp(nFrames, 0, mBlockSize);
    ForEachConnected(mInChannels, first, count, buffers, nBuffers, [frames](IChannel& channel, float* host) {
        double* scratch = channel.scratch.data();
        if (host == nullptr)
            std::fill_n(scratch, frames, 0.0);
        else
            for (int f = 0; f < frames; ++f)
                scratch[f] = static_cast<double>(host[f]);
        *channel.slot = scratch;
    });
}

//------------------------------------------------------------------------
void IFxBase::BindOutputBuffers(int first, int count, double* const* buffers, int nBuffers)
{
    ForEachConnected(mOutChannels, first, count, buffers, nBuffers, [](IChannel& channel, double* host) {
        channel.hostFloatOut = nullptr;
        *channel.slot = host ? host : channel.scratch.data();
    });
}

//------------------------------------------------------------------------
void IFxBase::BindOutputBuffers(int first, int count, float* const* buffers, int nBuffers)
{
    ForEachConnected(mOutChannels, first, count, buffers, nBuffers, [](IChannel& channel, float* host) {
        channel.hostFloatOut = host;
        *channel.slot = channel.scratch.data();
    });
}

//------------------------------------------------------------------------
void IFxBase::SetMaxBlockFrames(int frames)
{
    frames = std::max(frames, 0);
    if (frames == mBlockSize)
        return;
    for (auto* list : {&mInChannels, &mOutChannels}) {
        for (IChannel& channel : *list) {
            bool pointedAtScratch = *channel.slot == nullptr ||
                                    (!channel.scratch.empty() && *channel.slot == channel.scratch.data());
            channel.scratch.assign(static_cast<std::size_t>(frames), 0.0);
            if (pointedAtScratch || !channel.connected)
                *channel.slot = channel.scratch.empty() ? nullptr : channel.scratch.data();
        }
    }
    mBlockSize = frames;
}

//------------------------------------------------------------------------
void IFxBase::ClearScratch()
{
    for (auto* list : {&mInChannels, &mOutChannels})
        for (IChannel& channel : *list)
            std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
}

//------------------------------------------------------------------------
void IFxBase::ConvertOutputsToFloat(int nFrames)
{
    nFrames = std::clamp(nFrames, 0, mBlockSize);
    for (IChannel& channel : mOutChannels) {
        if (!channel.connected || channel.hostFloatOut == nullptr)
            continue;
        const double* src = channel.scratch.data();
        for (int f = 0; f < nFrames; ++f)
            channel.hostFloatOut[f] = static_cast<float>(src[f]);
    }
}

//------------------------------------------------------------------------
void IFxBase::BypassBlock(int nFrames)
{
    int n = std::min(NInputChannels(), NOutputChannels());
    if (mLatency > 0 && NInputChannels() > 0)
        mBypassDelay.Process(mInPtrs.data(), mOutPtrs.data(), n, nFrames);
    else
        IFxBase::RenderBlock(mInPtrs.data(), mOutPtrs.data(), nFrames);
    ConvertOutputsToFloat(nFrames);
}

//------------------------------------------------------------------------
void IFxBase::RenderBuffers(int nFrames)
{
    RenderBlock(mInPtrs.data(), mOutPtrs.data(), nFrames);
    ConvertOutputsToFloat(nFrames);
}
