#include "engine/dsp/Mt19937.h"

#include "engine/dsp/CpuWideVectors.h"
#include "engine/dsp/Mt19937Avx.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kN = Mt19937::kWords;
constexpr int kM = 397;
constexpr uint32_t kMatrix = 0x9908b0dfu;
constexpr uint32_t kUpper = 0x80000000u;
constexpr uint32_t kLower = 0x7fffffffu;

inline uint32_t Mix(uint32_t current, uint32_t next, uint32_t far)
{
    const uint32_t y = (current & kUpper) | (next & kLower);
    return far ^ (y >> 1) ^ ((0u - (y & 1u)) & kMatrix);
}

[[maybe_unused]] inline uint32_t Temper(uint32_t y)
{
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    y ^= y >> 18;
    return y;
}

#if defined(__SSE2__)
// Mix of four consecutive words at s[i]: partners s[i + 1] and s[far].
inline void Mix4(uint32_t* s, int i, int far)
{
    const __m128i cur = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 1));
    const __m128i farv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + far));
    const __m128i y = _mm_or_si128(_mm_and_si128(cur, _mm_set1_epi32(static_cast<int>(kUpper))),
                                   _mm_and_si128(next, _mm_set1_epi32(static_cast<int>(kLower))));
    const __m128i odd = _mm_sub_epi32(_mm_setzero_si128(), _mm_and_si128(y, _mm_set1_epi32(1)));
    const __m128i mag = _mm_and_si128(odd, _mm_set1_epi32(static_cast<int>(kMatrix)));
    const __m128i r = _mm_xor_si128(_mm_xor_si128(farv, _mm_srli_epi32(y, 1)), mag);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(s + i), r);
}

inline __m128i Temper4(__m128i y)
{
    y = _mm_xor_si128(y, _mm_srli_epi32(y, 11));
    y = _mm_xor_si128(y, _mm_and_si128(_mm_slli_epi32(y, 7), _mm_set1_epi32(static_cast<int>(0x9d2c5680u))));
    y = _mm_xor_si128(y, _mm_and_si128(_mm_slli_epi32(y, 15), _mm_set1_epi32(static_cast<int>(0xefc60000u))));
    return _mm_xor_si128(y, _mm_srli_epi32(y, 18));
}
#endif

} // namespace

//------------------------------------------------------------------------------
Mt19937::Mt19937(uint32_t seed)
    : mWide(CpuHasAvx2())
{
    Seed(seed);
}

//------------------------------------------------------------------------------
void Mt19937::AllowWideVectors(bool allow)
{
    mWide = allow && CpuHasAvx2();
}

//------------------------------------------------------------------------------
void Mt19937::Seed(uint32_t seed)
{
    mState[0] = seed;
    for (int i = 1; i < kN; ++i)
        mState[i] = 1812433253u * (mState[i - 1] ^ (mState[i - 1] >> 30)) + static_cast<uint32_t>(i);
    mIndex = kN;
}

//------------------------------------------------------------------------------
void Mt19937::Refill()
{
    // The twist in three runs so that no index needs wrapping: words whose
    // partner M places on is still old (0 ... 226), words whose partner is
    // already new (227 ... 622; 227 places back, so four at a time never
    // read a word of their own group), and the last word, whose successor
    // is the new word 0.
    uint32_t* s = mState;
    if (mWide)
    {
        Mt19937TwistAvx2(s, mOut);
        mIndex = 0;
        return;
    }
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= kN - kM; i += 4)
        Mix4(s, i, i + kM);
#endif
    for (; i < kN - kM; ++i)
        s[i] = Mix(s[i], s[i + 1], s[i + kM]);
#if defined(__SSE2__)
    for (; i + 4 <= kN - 1; i += 4)
        Mix4(s, i, i + kM - kN);
#endif
    for (; i < kN - 1; ++i)
        s[i] = Mix(s[i], s[i + 1], s[i + kM - kN]);
    s[kN - 1] = Mix(s[kN - 1], s[0], s[kM - 1]);

#if defined(__SSE2__)
    for (int j = 0; j < kN; j += 4)
    {
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + j));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(mOut + j), Temper4(y));
    }
#else
    for (int j = 0; j < kN; ++j)
        mOut[j] = Temper(s[j]);
#endif
    mIndex = 0;
}

//------------------------------------------------------------------------------
void Mt19937::Fill(uint32_t* out, int n)
{
    while (n > 0)
    {
        if (mIndex >= kN)
            Refill();
        const int run = n < kN - mIndex ? n : kN - mIndex;
        std::memcpy(out, mOut + mIndex, sizeof(uint32_t) * static_cast<size_t>(run));
        mIndex += run;
        out += run;
        n -= run;
    }
}
