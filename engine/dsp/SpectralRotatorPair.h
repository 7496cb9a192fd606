#pragma once
// Two SpectralRotators with one configuration (mid and side of one stage),
// run as one complex signal: mid is the real part, side the imaginary part.
//
// The rotation multiplies the bins 1 ... N/2-1 by e^(jφ), the bins above N/2
// by e^(-jφ) and DC and Nyquist by cos φ. Those gains are conjugate-symmetric,
// so the rotation is a real filter, applied alike to the real and the
// imaginary part: one complex transform of N points each way rotates both
// signals, and they come out separated again. Each lane equals a single
// rotator of the same size and phase up to rounding; frames, window, output
// gains, latency (N samples) and the SetSize rules are the same.
//
// The bins are multiplied in the bit-reversed order the transform leaves
// them in (bin k at position bitreverse(k)): position 0 holds DC, position 1
// Nyquist, the other even positions the bins below N/2 and the odd ones
// those above, so no permutation is needed either way.
//
// Real-time: SetSize allocates when N changes; SetPhase and ProcessPair
// never allocate, lock or throw.

#include "engine/dsp/ComplexFft.h"

#include <cstdint>
#include <emmintrin.h>
#include <vector>

class SpectralRotatorPair
{
public:
    static constexpr int kMinSize = 8;
    static constexpr int kMaxSize = 32768;

    // A new pair has N = n (4096 when n is no valid size) and phase (1, 0).
    explicit SpectralRotatorPair(int n = 4096);

    // The frame pointers point into the pair's own memory: a copy would
    // share them, a move takes the memory along.
    SpectralRotatorPair(const SpectralRotatorPair&) = delete;
    SpectralRotatorPair& operator=(const SpectralRotatorPair&) = delete;
    SpectralRotatorPair(SpectralRotatorPair&&) = default;
    SpectralRotatorPair& operator=(SpectralRotatorPair&&) = default;

    // As SpectralRotator::SetSize, for both lanes.
    bool SetSize(int n);
    int Size() const { return mSize; }

    // cos φ and sin φ of the rotation of both lanes.
    void SetPhase(double cosPhi, double sinPhi);

    // Allows (default) or forbids AVX2 in the transforms and the bin pass,
    // as ComplexFft::AllowWideVectors.
    void AllowWideVectors(bool allow);

    // Consumes one (mid, side) input pair and replaces it by the output pair.
    void ProcessPair(double& mid, double& side)
    {
        if (mPosition >= (mSize >> 1))
            FinishBlock();
        const int k = mPosition;
        const int half = mSize >> 1;
        double* a = mFrameA + 2 * k;
        double* b = mFrameB + 2 * (half + k);
        // Overlap-add of the two frames, divided by N and by the sum of the
        // two window halves.
        const __m128d out = _mm_mul_pd(_mm_add_pd(_mm_loadu_pd(a), _mm_loadu_pd(b)), _mm_set1_pd(mGain[k]));
        // Two scalar loads: one 16-byte load of two values just stored one
        // by one would stall on store forwarding.
        const __m128d x = _mm_loadh_pd(_mm_load_sd(&mid), &side);
        _mm_storeu_pd(a, _mm_mul_pd(_mm_set1_pd(mWindow[k]), x));
        _mm_storeu_pd(b, _mm_mul_pd(_mm_set1_pd(mWindow[half - 1 - k]), x));
        ++mPosition;
        _mm_store_sd(&mid, out);
        _mm_storeh_pd(&side, out);
    }

private:
    void FinishBlock();
    void ClearFrames();

    std::vector<double> mMemory; // window | frameA | frameB | gains
    double* mWindow = nullptr;   // N/2 rising half of the Blackman window
    double* mFrameA = nullptr;   // N complex values (mid, side)
    double* mFrameB = nullptr;   // the same for the other frame
    double* mGain = nullptr;     // 1 / (N·(w[k] + w[N/2-1-k])), k < N/2
    bool mTouched = false;       // a frame finished since the frames were cleared
    double mCosPhi = 1.0;
    double mSinPhi = 0.0;
    int32_t mPosition = 0;       // pairs taken in this block
    int32_t mSize = 0;
    bool mUseAvx = false;        // the bin pass on AVX2 with FMA
    ComplexFft mFft;             // N points
};
