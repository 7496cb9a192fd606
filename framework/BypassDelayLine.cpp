#include "framework/BypassDelayLine.h"

#include <algorithm>

//------------------------------------------------------------------------
void BypassDelayLine::Resize(int channels, int frames)
{
    mChannels = std::max(channels, 0);
    mFrames = std::max(frames, 0);
    mStore.assign(static_cast<std::size_t>(mChannels) * static_cast<std::size_t>(mFrames), 0.0);
    mWritePos = 0;
}

//------------------------------------------------------------------------
void BypassDelayLine::Clear()
{
    std::fill(mStore.begin(), mStore.end(), 0.0);
    mWritePos = 0;
}

//------------------------------------------------------------------------
void BypassDelayLine::Process(double* const* inputs, double* const* outputs, int nChannels,
                              int nFrames)
{
    if (mFrames <= 0)
        return;
    nChannels = std::min(nChannels, mChannels);
    for (int i = 0; i < nFrames; ++i) {
        double* slot = mStore.data() + static_cast<std::size_t>(mWritePos) * mChannels;
        for (int c = 0; c < nChannels; ++c) {
            double in = inputs[c][i];
            outputs[c][i] = slot[c];
            slot[c] = in;
        }
        if (++mWritePos == mFrames)
            mWritePos = 0;
    }
}
