#pragma once
// "Tight" transient detector: three level windows of 1.75, 2.5 and 4 ms
// watch the signal in dB; a window triples its output while its running
// average level stands more than a threshold above the average one window
// earlier. The shorter windows are delayed so all three end at the same
// sample. An optional release follower smooths the blended result.
//
// Real-time: the constructor allocates everything for rates up to kMaxRate;
// Configure, ProcessSample and ProcessSampleSimple never allocate, lock or
// throw.

#include "engine/dsp/LevelDelay.h"

#include <vector>

class TransientEnvelope
{
public:
    static constexpr int kMaxRate = 12 * 384000; // highest detector rate served
    static constexpr double kLevelScale = 8.685889638065037; // dB per neper

    TransientEnvelope();

    // Window lengths, decay rates, thresholds and the release follower for
    // the detector rate r in Hz (held to 1 ... kMaxRate). A new rate
    // restarts the levels from 0 dB (past entries that still fit are kept);
    // the same rate again keeps the detector history, so calling it at every
    // glide step is harmless.
    void Configure(int rate);

    // Full detector: drive and strength shape the release (see
    // EnvelopeFollower); `release` enables the release follower.
    void ProcessSample(double& x, double drive, double strength, bool release);
    // Simple detector: plain release with the follower's coefficient.
    void ProcessSampleSimple(double& x, bool release);

    int WindowLength(int j) const { return mWindows[j].length; }   // j = 0, 1, 2
    double WindowLevel(int j) const { return mWindows[j].level; }  // current dB
    int DelayLength(int j) const { return mDelays[j].Length(); }   // j = 0, 1
    double ReleaseCoefficient() const { return mReleaseCoefficient; }
    double State() const { return mState; }

private:
    struct Window
    {
        int length = 110;
        double decay = 0.0;     // largest fall in dB per sample
        double threshold = 0.2; // dB rise of the average that marks a transient
        double floor = -96.0;   // dB level of silence
        double level = 0.0;     // current dB level
        double sum = 0.0;       // running sum of the last `length` levels
        int index = 109;
        double* levels = nullptr;   // `length` past levels (circular)
        double* averages = nullptr; // `length` past averages (circular)
    };

    double Blend(double v);
    // One window step on v, whose unfloored dB level is `level`.
    static double WindowStep(Window& w, double v, double level);
    static void Resize(Window& w, int length);

    std::vector<double> mStorage; // levels and averages of all windows
    Window mWindows[3];
    LevelDelay mDelays[2]; // v with its level, for windows 1 and 2
    double mState = 0.0;
    double mReleaseCoefficient = 0.0;
    int mRate = 0;
};
