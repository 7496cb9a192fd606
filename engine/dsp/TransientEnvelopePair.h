#pragma once
// Mid and side "Tight" transient detectors in one: the same three dB level
// windows, delays and release follower as TransientEnvelope, with both
// channels' state interleaved so each window step runs once for the two as
// a two-lane SSE2 vector. Per lane the arithmetic and its order are those
// of TransientEnvelope (its floor and limited-fall choices become maxima,
// which choose the same values), so each lane's output is bit-identical to
// a single detector fed the same samples.
//
// Real-time: the constructor allocates everything for rates up to
// TransientEnvelope::kMaxRate; Configure, ProcessPair and ProcessPairSimple
// never allocate, lock or throw.

#include "engine/dsp/ZeroedBuffer.h"

#include <emmintrin.h>

class TransientEnvelopePair
{
public:
    TransientEnvelopePair();

    // As TransientEnvelope::Configure, for both channels.
    void Configure(int rate);

    // Full detector on (m, s): drives per channel, one strength; `release`
    // enables the release followers.
    void ProcessPair(double& m, double& s, double driveM, double driveS, double strength, bool release);
    // Simple detector: plain release with the follower's coefficient.
    void ProcessPairSimple(double& m, double& s, bool release);

    int WindowLength(int j) const { return mWindows[j].length; } // j = 0, 1, 2
    double State(int lane) const { return mState[lane]; }        // 0 mid, 1 side

private:
    struct Window
    {
        int length = 110;
        int index = 109;
        __m128d decay;      // largest fall in dB per sample
        __m128d threshold;  // dB rise of the average that marks a transient
        __m128d floor;      // dB level of silence
        __m128d level;      // current dB levels (mid, side)
        __m128d sum;        // running sums of the last `length` levels
        __m128d divisor;    // `length` in both lanes
        double* levels = nullptr;   // `length` past (mid, side) levels, circular
        double* averages = nullptr; // `length` past (mid, side) averages, circular
    };

    // Whole-sample delay of (value, level) for both lanes: slots of
    // (value m, value s, level m, level s). Length 0 passes through.
    struct Delay
    {
        double* slots = nullptr;
        int capacity = 1;
        int length = 0;
        int position = 0;
        int silentUpTo = 0; // slots below hold silence or delayed values
    };

    __m128d Blend(__m128d v);
    static __m128d WindowStep(Window& w, __m128d v, __m128d level);
    static void DelayStep(Delay& d, __m128d& v, __m128d& level);
    static void Resize(Window& w, int length);
    static void MakeSilent(Delay& d);

    ZeroedBuffer mStorage; // window entries and delay slots
    Window mWindows[3];
    Delay mDelays[2]; // for windows 1 and 2
    double mState[2] = {0.0, 0.0};
    double mReleaseCoefficient = 0.0;
    int mRate = 0;
};
