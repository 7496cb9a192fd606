#pragma once
// Low-level Gaussian-like noise added to the detector and the output.
//
// Method 1: Acklam's inverse-normal approximation of a uniform; method 2:
// Marsaglia's polar method; method 3: the sum of 12 uniforms minus 6. With
// colouring on, each channel runs through seven peaking filters that tilt
// the spectrum. The generator is seeded from the time and the processor
// clock.
//
// The two channels run side by side in two-lane vectors (one lane each,
// the same operations in the same order as one channel alone).
//
// Real-time: construction and SetRate compute coefficients only; nothing
// here allocates, locks or throws.

#include "engine/dsp/Mt19937.h"

#include <cstdint>

class NoiseSource
{
public:
    NoiseSource(int method, double levelDb, bool colouring);
    // Holds a pointer into its own buffers, so it is not copied.
    NoiseSource(const NoiseSource&) = delete;
    NoiseSource& operator=(const NoiseSource&) = delete;

    // Redesigns the colouring filters for the sample rate and keeps their
    // state. Rates below 4000 Hz count as 4000 Hz, so every filter centre
    // stays below the Nyquist frequency.
    void SetRate(int rate);
    // Restarts the generator from a fixed seed (for reproducible output).
    void Seed(uint32_t seed)
    {
        mGenerator.Seed(seed);
        mNextWord = kWords;
    }

    // Adds one scaled noise value to each of a and b.
    void NextPair(double& a, double& b);
    // The next `count` pairs at once, written (not added) to a[] and b[]:
    // the same values as `count` calls of NextPair on zeros, computed with
    // the pairs' independent work interleaved.
    void NextPairs(double* a, double* b, int count);

    // The raw unit-variance values of one pair before colouring and level.
    void RawPair(double& a, double& b);

    // Next uniform value in [0, 1] (the next generator word times 1/(2^32 - 1)).
    double Uniform()
    {
        if (mNextWord >= kWords)
            RefillWords();
        return static_cast<double>(mWordSource[mNextWord++]) * kUniformScale;
    }

    // Lets the generator and the sums use AVX2 where present (the default;
    // the same values) or keeps them to SSE2, for tests that compare the two.
    void AllowWideVectors(bool allow);

    double Level() const { return mLevel; }
    int Method() const { return mMethod; }

private:
    // Two lanes of doubles: channel a in lane 0, channel b in lane 1.
    typedef double Pair __attribute__((vector_size(16)));

    // Added to every fed-back output value of the colouring filters so their
    // state never decays into subnormal numbers.
    static constexpr double kFeedbackOffset = 1.0000000195414814e-25;

    // One peaking filter for both channels (direct form I). The past outputs
    // are kept with the offset already added (once per output instead of at
    // both of its uses; the same sums), so they start at the offset.
    struct Peaking
    {
        // Normalised by a0, each in both lanes (one load per use).
        Pair b0 = {1, 1}, b1 = {}, b2 = {}, a1 = {}, a2 = {};
        Pair x1 = {}, x2 = {};
        Pair y1 = {kFeedbackOffset, kFeedbackOffset}; // last output + offset
        Pair y2 = {kFeedbackOffset, kFeedbackOffset}; // the one before + offset
        Pair Process(Pair x);
    };
    static constexpr int kFilters = 7;

    // Unscaled, uncoloured method-3 values of up to kBatch pairs.
    void SumsOfUniforms(Pair* sums, int count);
    // One method-3 pair drawn word by word: channel a sums the next 12
    // uniforms, channel b the 12 after them.
    Pair SumOfUniformsPair();
    static void SumGroupsOfUniforms(const uint32_t* words, Pair* sums, int groups);
    static constexpr int kBatch = 16;
    static constexpr int kTerms = 12; // uniforms summed per method-3 value

    // The generator's words are drawn a twist at a time; every draw takes the
    // next one, so the sequence is the generator's own. A method-3 pair
    // takes a group of 24 words, the first 12 for a, the next 12 for b, and
    // a twist holds exactly 26 groups; whole groups are converted and summed
    // in vectors straight from the words.
    static constexpr int kWords = Mt19937::kWords;
    static constexpr int kGroup = 2 * kTerms;
    static_assert(kWords % kGroup == 0);
    static constexpr double kUniformScale = 2.3283064370807974e-10; // 1 / (2^32 - 1)
    void RefillWords();

    Mt19937 mGenerator;
    const uint32_t* mWordSource = mWords; // the generator's twist, or mWords
    uint32_t mWords[kWords];              // the words when drawn by Fill
    int mNextWord = kWords;
    bool mWide = false; // AVX2 sums
    Peaking mFilters[kFilters];
    double mLevel;
    int mMethod;
    bool mColouring;
};

// Acklam's rational approximation of the inverse standard normal
// distribution; p is held inside (0, 1) so the result is always finite.
double InverseNormal(double p);
