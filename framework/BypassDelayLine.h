#pragma once
// Latency-compensated bypass: delays each channel by exactly the plug-in's
// latency so that switching bypass keeps the track aligned with the host's
// delay compensation. Resize() allocates; Process() and Clear() never do.
#include <vector>

class BypassDelayLine {
public:
    // Sets the channel count and delay (frames) and clears the stored audio.
    void Resize(int channels, int frames);
    void Clear();
    int Frames() const { return mFrames; }

    // For each frame and each of the first nChannels channels: output the
    // stored sample, store the input. In-place buffers are fine.
    void Process(double* const* inputs, double* const* outputs, int nChannels, int nFrames);

private:
    int mChannels = 0;
    int mFrames = 0;
    int mWritePos = 0;
    std::vector<double> mStore; // frame-major: mStore[frame * mChannels + channel]
};
