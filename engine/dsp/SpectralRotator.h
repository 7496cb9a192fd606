#pragma once
// Short-time Fourier all-pass phase rotator for one mono signal.
//
// Every frequency component between DC and Nyquist is turned in phase by
// φ and keeps its magnitude; DC and Nyquist are scaled by cos φ. Frames of N
// samples overlap by one half, carry a Blackman window, and two frame
// buffers swap roles at every half-frame boundary so no separate overlap-add
// buffer is needed. The output lags the input by exactly N samples.
//
// Real-time: SetSize allocates (one zero-filled block of 3N doubles plus the
// FFT tables) when N changes; with N unchanged it only clears the frames.
// SetPhase and ProcessSample never allocate, lock or throw.

#include "engine/dsp/ComplexFft.h"

#include <cstdint>
#include <vector>

class SpectralRotator
{
public:
    static constexpr int kMinSize = 8;
    static constexpr int kMaxSize = 32768;

    // A new rotator has N = n (4096 when n is no valid size) and phase (1, 0).
    explicit SpectralRotator(int n = 4096);

    // The frame pointers point into the rotator's own memory: a copy would
    // share them, a move takes the memory along.
    SpectralRotator(const SpectralRotator&) = delete;
    SpectralRotator& operator=(const SpectralRotator&) = delete;
    SpectralRotator(SpectralRotator&&) = default;
    SpectralRotator& operator=(SpectralRotator&&) = default;

    // Frame length N (a power of two, kMinSize ... kMaxSize). Always discards
    // the buffered audio, so the next N outputs are silence. Returns false and
    // changes nothing for any other n.
    bool SetSize(int n);
    int Size() const { return mSize; }

    // cos φ and sin φ of the rotation; the engine passes φ = -Angle·π/180.
    void SetPhase(double cosPhi, double sinPhi);

    // Consumes one input sample and replaces it by one output sample.
    void ProcessSample(double& x)
    {
        if (mPosition >= mSize)
            FinishBlock();
        const int k = mPosition >> 1;
        const int half = mSize >> 1;
        double* a = mFrameA + k;
        double* b = mFrameB + half + k;
        // Overlap-add of the two frames, divided by N and by the sum of the
        // two window halves, which is not constant for a Blackman window.
        // A frame value stands for the complex pair (v, v): the sum of real
        // and imaginary parts is 2v, and the 2 sits in the gain.
        const double out = (a[0] + b[0]) * mGain[k];
        a[0] = mWindow[k] * x;
        b[0] = mWindow[half - 1 - k] * x;
        mPosition += 2;
        x = out;
    }

private:
    void FinishBlock();
    void ClearFrames();

    std::vector<double> mMemory; // window | frameA | frameB | gains
    double* mWindow = nullptr;   // N/2 rising half of the Blackman window
    double* mFrameA = nullptr;   // N complex values (v, v), kept as their N reals v
    double* mFrameB = nullptr;   // the same for the other frame
    double* mGain = nullptr;     // 2 · 0.5 / (N·(w[k] + w[N/2-1-k])), k < N/2
    bool mTouched = false;       // a frame finished since the frames were cleared
    double mCosPhi = 1.0;
    double mSinPhi = 0.0;
    int32_t mPosition = 0;       // twice the samples taken in this block
    int32_t mSize = 0;
    ComplexFft mHalfFft;         // N/2 points: the real frame as complex pairs
    std::vector<double> mTwiddles; // e^(-j2πk/N), k = 0 ... N/4, (cos, sin)
    std::vector<int32_t> mBins;  // where bins k and N/2-k sit, k = 1 ... N/4, in doubles
};
