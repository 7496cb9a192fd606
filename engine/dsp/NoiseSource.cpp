#include "engine/dsp/NoiseSource.h"

#include "engine/dsp/CpuWideVectors.h"
#include "engine/dsp/NoiseSourceAvx.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <numbers>
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double kDbPerNeper = 8.685889638065037;

struct PeakingDesign
{
    double frequency;
    double octaves;
    double gainDb;
};

// The colouring: seven peaking filters in series.
constexpr PeakingDesign kColouring[7] = {
    {51.65, 2.3266, 1.772}, {1.0, 6.4, -2.0},    {0.5, 0.7, -6.0},    {575.0, 2.59, -1.16},
    {1600.0, 4.01, -0.26},  {111.0, 2.25, 0.118}, {462.5, 4.68, -0.1},
};

uint32_t ClockSeed()
{
    uint64_t ticks;
#if defined(__x86_64__) || defined(__i386__)
    ticks = __rdtsc();
#else
    ticks = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
    const uint64_t seconds = static_cast<uint64_t>(std::time(nullptr));
    // Mix both through a 64-bit finaliser so nearby seeds differ everywhere.
    uint64_t z = seconds * 0x9e3779b97f4a7c15ull ^ ticks;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return static_cast<uint32_t>(z ^ (z >> 32));
}

} // namespace

//------------------------------------------------------------------------------
inline NoiseSource::Pair NoiseSource::Peaking::Process(Pair x)
{
    const Pair y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y + kFeedbackOffset;
    return y;
}

//------------------------------------------------------------------------------
double InverseNormal(double p)
{
    static constexpr double a[6] = {-3.969683028665376e+01, 2.209460984245205e+02,
                                    -2.759285104469687e+02, 1.383577518672690e+02,
                                    -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[5] = {-5.447609879822406e+01, 1.615858368580409e+02,
                                    -1.556989798598866e+02, 6.680131188771972e+01,
                                    -1.328068155288572e+01};
    static constexpr double c[6] = {-7.784894002430293e-03, -3.223964580411365e-01,
                                    -2.400758277161838e+00, -2.549732539343734e+00,
                                    4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[4] = {7.784695709041462e-03, 3.224671290700398e-01,
                                    2.445134137142996e+00, 3.754408661907416e+00};
    constexpr double kLow = 0.02425;
    constexpr double kHigh = 1.0 - kLow;

    // A uniform of exactly 0 or 1 would give an infinite value.
    p = std::clamp(p, 1e-300, 1.0 - 1e-16);
    if (p < kLow)
    {
        const double q = std::sqrt(-2.0 * std::log(p));
        return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
    }
    if (p > kHigh)
    {
        const double q = std::sqrt(-2.0 * std::log(1.0 - p));
        return -(((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1.0);
    }
    const double q = p - 0.5;
    const double r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1.0);
}

//------------------------------------------------------------------------------
NoiseSource::NoiseSource(int method, double levelDb, bool colouring)
    : mGenerator(ClockSeed()),
      mWide(CpuHasAvx2()),
      mLevel(std::exp(levelDb / kDbPerNeper)),
      mMethod(std::clamp(method, 1, 3)),
      mColouring(colouring)
{
    SetRate(44100);
}

//------------------------------------------------------------------------------
void NoiseSource::SetRate(int rate)
{
    const double fs = std::max(rate, 4000);
    for (int i = 0; i < kFilters; ++i)
    {
        const PeakingDesign& p = kColouring[i];
        const double amp = std::pow(10.0, p.gainDb / 40.0);
        const double w0 = 2.0 * std::numbers::pi * p.frequency / fs;
        const double sinW = std::sin(w0);
        const double cosW = std::cos(w0);
        const double alpha = sinW * std::sinh(std::log(2.0) / 2.0 * p.octaves * w0 / sinW);
        const double a0 = 1.0 + alpha / amp;
        Peaking& f = mFilters[i];
        const auto both = [](double c) { return Pair{c, c}; };
        f.b0 = both((1.0 + alpha * amp) / a0);
        f.b1 = both(-2.0 * cosW / a0);
        f.b2 = both((1.0 - alpha * amp) / a0);
        f.a1 = both(-2.0 * cosW / a0);
        f.a2 = both((1.0 - alpha / amp) / a0);
    }
}

//------------------------------------------------------------------------------
void NoiseSource::RawPair(double& a, double& b)
{
    switch (mMethod)
    {
    case 1:
        a = InverseNormal(Uniform());
        b = InverseNormal(Uniform());
        break;
    case 2:
    {
        double u, v, s;
        do
        {
            u = 2.0 * Uniform() - 1.0;
            v = 2.0 * Uniform() - 1.0;
            s = u * u + v * v;
        } while (s >= 1.0 || s <= 0.0);
        const double scale = std::sqrt(-2.0 * std::log(s) / s);
        a = u * scale;
        b = v * scale;
        break;
    }
    default:
    {
        const Pair sums = SumOfUniformsPair();
        a = sums[0];
        b = sums[1];
        break;
    }
    }
}

//------------------------------------------------------------------------------
NoiseSource::Pair NoiseSource::SumOfUniformsPair()
{
    double sa = 0.0;
    double sb = 0.0;
    for (int i = 0; i < kTerms; ++i)
        sa += Uniform();
    for (int i = 0; i < kTerms; ++i)
        sb += Uniform();
    return Pair{sa - 0.5 * kTerms, sb - 0.5 * kTerms};
}

//------------------------------------------------------------------------------
// Method 3 for `count` pairs: channel a of a pair sums the next 12 words as
// uniforms, channel b the 12 after them, each in draw order from 0, exactly
// as the sequential sums would.
void NoiseSource::SumsOfUniforms(Pair* sums, int count)
{
    for (int j = 0; j < count;)
    {
        if (mNextWord >= kWords)
            RefillWords();
        if (mNextWord % kGroup != 0)
        {
            // Single draws before left the twist out of step with the groups.
            sums[j++] = SumOfUniformsPair();
            continue;
        }
        const int groups = std::min(count - j, (kWords - mNextWord) / kGroup);
        if (mWide)
            SumGroupsOfUniformsAvx2(mWordSource + mNextWord, reinterpret_cast<double*>(sums + j), groups);
        else
            SumGroupsOfUniforms(mWordSource + mNextWord, sums + j, groups);
        mNextWord += kGroup * groups;
        j += groups;
    }
}

//------------------------------------------------------------------------------
// (Σ u_i − 6, Σ u_(12+i) − 6) for each group of 24 words, terms added in
// order i = 0 ... 11 in one two-lane vector. A word w becomes the uniform
// w·scale by way of the signed value of w with its sign bit flipped, plus
// 2^31 (all exact, so the same double as converting w directly).
void NoiseSource::SumGroupsOfUniforms(const uint32_t* w, Pair* sums, int groups)
{
#if defined(__SSE2__)
    const __m128i flip = _mm_set1_epi32(static_cast<int>(0x80000000u));
    const __m128d offset = _mm_set1_pd(2147483648.0);
    const __m128d scale = _mm_set1_pd(kUniformScale);
    const auto uniforms = [&](__m128i words) { return _mm_mul_pd(_mm_add_pd(_mm_cvtepi32_pd(words), offset), scale); };
    for (int g = 0; g < groups; ++g, w += kGroup)
    {
        __m128d s = _mm_setzero_pd();
        for (int i = 0; i < kTerms; i += 4)
        {
            // Terms i ... i+3 of a and of b, interleaved as (a, b) pairs.
            const __m128i a = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(w + i)), flip);
            const __m128i b = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(w + kTerms + i)), flip);
            const __m128i low = _mm_unpacklo_epi32(a, b);
            const __m128i high = _mm_unpackhi_epi32(a, b);
            s = i == 0 ? uniforms(low) : _mm_add_pd(s, uniforms(low));
            s = _mm_add_pd(s, uniforms(_mm_shuffle_epi32(low, 0x0e)));
            s = _mm_add_pd(s, uniforms(high));
            s = _mm_add_pd(s, uniforms(_mm_shuffle_epi32(high, 0x0e)));
        }
        _mm_storeu_pd(reinterpret_cast<double*>(sums + g), _mm_sub_pd(s, _mm_set1_pd(0.5 * kTerms)));
    }
#else
    for (int g = 0; g < groups; ++g, w += kGroup)
    {
        double sa = 0.0;
        double sb = 0.0;
        for (int i = 0; i < kTerms; ++i)
        {
            sa += static_cast<double>(w[i]) * kUniformScale;
            sb += static_cast<double>(w[kTerms + i]) * kUniformScale;
        }
        sums[g] = Pair{sa - 0.5 * kTerms, sb - 0.5 * kTerms};
    }
#endif
}

//------------------------------------------------------------------------------
void NoiseSource::RefillWords()
{
    // Only this source draws from its generator, a whole twist at a time,
    // so the twist can be read where the generator left it.
    mWordSource = mGenerator.NextTwist();
    if (mWordSource == nullptr)
    {
        mGenerator.Fill(mWords, kWords);
        mWordSource = mWords;
    }
    mNextWord = 0;
}

//------------------------------------------------------------------------------
void NoiseSource::AllowWideVectors(bool allow)
{
    mGenerator.AllowWideVectors(allow);
    mWide = allow && CpuHasAvx2();
}

//------------------------------------------------------------------------------
void NoiseSource::NextPairs(double* a, double* b, int count)
{
    if (mMethod != 3)
    {
        for (int j = 0; j < count; ++j)
        {
            a[j] = b[j] = 0.0;
            NextPair(a[j], b[j]);
        }
        return;
    }
    Pair n[kBatch];
    for (int first = 0; first < count; first += kBatch)
    {
        const int chunk = std::min(kBatch, count - first);
        SumsOfUniforms(n, chunk);
        if (mColouring)
        {
            // In diagonal order: at step t filter k takes pair t - k, which
            // filter k - 1 finished at step t - 1. Each filter still sees the
            // pairs in order, but the filters of one step are independent,
            // so their chains overlap instead of waiting for each other.
            for (int t = 0; t < chunk + kFilters - 1; ++t)
                for (int k = 0; k < kFilters; ++k)
                {
                    const int j = t - k;
                    if (j >= 0 && j < chunk)
                        n[j] = mFilters[k].Process(n[j]);
                }
        }
        for (int j = 0; j < chunk; ++j)
        {
            // 0 + level·n, as NextPair gives on zeros.
            a[first + j] = 0.0 + mLevel * n[j][0];
            b[first + j] = 0.0 + mLevel * n[j][1];
        }
    }
}

//------------------------------------------------------------------------------
void NoiseSource::NextPair(double& a, double& b)
{
    Pair n;
    if (mMethod == 3)
    {
        SumsOfUniforms(&n, 1);
    }
    else
    {
        double na, nb;
        RawPair(na, nb);
        n = Pair{na, nb};
    }
    if (mColouring)
        for (Peaking& f : mFilters)
            n = f.Process(n);
    a += mLevel * n[0];
    b += mLevel * n[1];
}
