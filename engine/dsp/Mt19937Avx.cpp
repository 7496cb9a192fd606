// AVX2 twist of the Mersenne Twister. This file alone is compiled for AVX2
// (and includes no shared inline code the linker could pick for other
// files); it is only called after CpuHasAvx2().
#include "engine/dsp/Mt19937Avx.h"

#include <immintrin.h>

namespace {

constexpr int kN = 624;
constexpr int kM = 397;

inline __m256i Load8(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void Store8(uint32_t* p, __m256i v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }

// Mix of eight consecutive words at s[i]: partners s[i + 1] and s[far].
inline void Mix8(uint32_t* s, int i, int far)
{
    const __m256i y = _mm256_or_si256(_mm256_and_si256(Load8(s + i), _mm256_set1_epi32(static_cast<int>(0x80000000u))),
                                      _mm256_and_si256(Load8(s + i + 1), _mm256_set1_epi32(0x7fffffff)));
    const __m256i odd = _mm256_sub_epi32(_mm256_setzero_si256(), _mm256_and_si256(y, _mm256_set1_epi32(1)));
    const __m256i mag = _mm256_and_si256(odd, _mm256_set1_epi32(static_cast<int>(0x9908b0dfu)));
    Store8(s + i, _mm256_xor_si256(_mm256_xor_si256(Load8(s + far), _mm256_srli_epi32(y, 1)), mag));
}

inline uint32_t Mix(uint32_t current, uint32_t next, uint32_t far)
{
    const uint32_t y = (current & 0x80000000u) | (next & 0x7fffffffu);
    return far ^ (y >> 1) ^ ((0u - (y & 1u)) & 0x9908b0dfu);
}

inline __m256i Temper8(__m256i y)
{
    y = _mm256_xor_si256(y, _mm256_srli_epi32(y, 11));
    y = _mm256_xor_si256(y, _mm256_and_si256(_mm256_slli_epi32(y, 7), _mm256_set1_epi32(static_cast<int>(0x9d2c5680u))));
    y = _mm256_xor_si256(y, _mm256_and_si256(_mm256_slli_epi32(y, 15), _mm256_set1_epi32(static_cast<int>(0xefc60000u))));
    return _mm256_xor_si256(y, _mm256_srli_epi32(y, 18));
}

} // namespace

//------------------------------------------------------------------------------
void Mt19937TwistAvx2(uint32_t* s, uint32_t* tempered)
{
    // The same three wrap-free runs as the scalar twist; the partner M places
    // back in the second run is 227 words away, so eight at a time never
    // read a word of their own group.
    int i = 0;
    for (; i + 8 <= kN - kM; i += 8)
        Mix8(s, i, i + kM);
    for (; i < kN - kM; ++i)
        s[i] = Mix(s[i], s[i + 1], s[i + kM]);
    for (; i + 8 <= kN - 1; i += 8)
        Mix8(s, i, i + kM - kN);
    for (; i < kN - 1; ++i)
        s[i] = Mix(s[i], s[i + 1], s[i + kM - kN]);
    s[kN - 1] = Mix(s[kN - 1], s[0], s[kM - 1]);

    for (int j = 0; j < kN; j += 8)
        Store8(tempered + j, Temper8(Load8(s + j)));
}
