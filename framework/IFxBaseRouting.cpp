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

//------------------------------------------------------------------------
void IFxBase::BindInputBuffers(int first, int count, double* const* buffers, int nBuffers)
{
    int end = std::min(first + std::max(count, 0), NInputChannels());
    int next = 0;
    for (int i = std::max(first, 0); i < end; ++i) {
        IChannel& channel = mInChannels[static_cast<std::size_t>(i)];
        if (!channel.connected)
            continue;
        if (buffers == nullptr || next >= nBuffers || buffers[next] == nullptr) {
            // The host gave fewer buffers than connected channels: read silence.
            std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
            *channel.slot = channel.scratch.data();
        } else {
            *channel.slot = buffers[next];
        }
        ++next;
    }
}

//------------------------------------------------------------------------
void IFxBase::BindInputBuffers(int first, int count, float* const* buffers, int nBuffers, int nFrames)
{
    int end = std::min(first + std::max(count, 0), NInputChannels());
    int frames = std::clamp(nFrames, 0, mBlockSize);
    int next = 0;
    for (int i = std::max(first, 0); i < end; ++i) {
        IChannel& channel = mInChannels[static_cast<std::size_t>(i)];
        if (!channel.connected)
            continue;
        double* scratch = channel.scratch.data();
        if (buffers == nullptr || next >= nBuffers || buffers[next] == nullptr) {
            std::fill_n(scratch, frames, 0.0);
        } else {
            const float* src = buffers[next];
            for (int f = 0; f < frames; ++f)
                scratch[f] = static_cast<double>(src[f]);
        }
        *channel.slot = scratch;
        ++next;
    }
}

//------------------------------------------------------------------------
void IFxBase::BindOutputBuffers(int first, int count, double* const* buffers, int nBuffers)
{
    int end = std::min(first + std::max(count, 0), NOutputChannels());
    int next = 0;
    for (int i = std::max(first, 0); i < end; ++i) {
        IChannel& channel = mOutChannels[static_cast<std::size_t>(i)];
        if (!channel.connected)
            continue;
        channel.hostFloatOut = nullptr;
        bool present = buffers != nullptr && next < nBuffers && buffers[next] != nullptr;
        *channel.slot = present ? buffers[next] : channel.scratch.data();
        ++next;
    }
}

//------------------------------------------------------------------------
void IFxBase::BindOutputBuffers(int first, int count, float* const* buffers, int nBuffers)
{
    int end = std::min(first + std::max(count, 0), NOutputChannels());
    int next = 0;
    for (int i = std::max(first, 0); i < end; ++i) {
        IChannel& channel = mOutChannels[static_cast<std::size_t>(i)];
        if (!channel.connected)
            continue;
        bool present = buffers != nullptr && next < nBuffers && buffers[next] != nullptr;
        channel.hostFloatOut = present ? buffers[next] : nullptr;
        *channel.slot = channel.scratch.data();
        ++next;
    }
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
