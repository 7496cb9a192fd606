#pragma once
// Natural logarithm for the transient detectors, as one scalar and one
// two-lane SSE2 form that perform the same operations in the same order,
// so a lane of the pair is bit-identical to the scalar form.
//
// Method: x = 2^k · m with m in [√2/2, √2), f = m − 1, s = f / (2 + f);
// log(1 + f) = f − (f²/2 − s·(f²/2 + R(s²))) with a minimax polynomial R,
// and k·ln 2 added in two parts (a high part with trailing zeros, so k times
// it is exact, and the small rest). The result is within 1 ulp of the
// correctly rounded logarithm. Zero, subnormal, infinite and NaN inputs
// (rare here) take std::log.
//
// Inline and allocation-free.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <emmintrin.h>

namespace logarithm_detail {

constexpr double kLn2High = 6.93147180369123816490e-01; // 0x3fe62e42fee00000
constexpr double kLn2Low = 1.90821492927058770002e-10;  // 0x3dea39ef35793c76
constexpr double kLg1 = 6.666666666666735130e-01;
constexpr double kLg2 = 3.999999999940941908e-01;
constexpr double kLg3 = 2.857142874366239149e-01;
constexpr double kLg4 = 2.222219843214978396e-01;
constexpr double kLg5 = 1.818357216161805012e-01;
constexpr double kLg6 = 1.531383769920937332e-01;
constexpr double kLg7 = 1.479819860511658591e-01;
// Adding this to the top 20 mantissa bits carries into bit 20 exactly when
// the mantissa is at least √2; such values are halved and k raised by 1.
constexpr uint32_t kSqrt2Carry = 0x95f64;
constexpr double kSmallest = 2.2250738585072014e-308; // least normal double
constexpr double kLargest = 1.7976931348623157e+308;

} // namespace logarithm_detail

// log(x), within 1 ulp of the exact value.
inline double Logarithm(double x)
{
    using namespace logarithm_detail;
    if (!(x >= kSmallest && x <= kLargest))
        return std::log(x);
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const uint32_t high = static_cast<uint32_t>(bits >> 32);
    const uint32_t mantissa = high & 0x000fffffu;
    const uint32_t carry = (mantissa + kSqrt2Carry) & 0x00100000u;
    const int k = static_cast<int>(high >> 20) - 1023 + static_cast<int>(carry >> 20);
    bits = (static_cast<uint64_t>(mantissa | (carry ^ 0x3ff00000u)) << 32) | (bits & 0xffffffffu);
    double m;
    std::memcpy(&m, &bits, sizeof m);

    const double f = m - 1.0;
    const double dk = static_cast<double>(k);
    const double hfsq = 0.5 * f * f;
    const double s = f / (2.0 + f);
    const double z = s * s;
    const double w = z * z;
    const double t1 = w * (kLg2 + w * (kLg4 + w * kLg6));
    const double t2 = z * (kLg1 + w * (kLg3 + w * (kLg5 + w * kLg7)));
    const double r = t2 + t1;
    return dk * kLn2High - ((hfsq - (s * (hfsq + r) + dk * kLn2Low)) - f);
}

// Logarithm of both lanes. When either lane is outside the normal range,
// both take the scalar form, so the other lane's bits do not change.
inline __m128d LogarithmPair(__m128d x)
{
    using namespace logarithm_detail;
    const __m128d normal = _mm_and_pd(_mm_cmpge_pd(x, _mm_set1_pd(kSmallest)), _mm_cmple_pd(x, _mm_set1_pd(kLargest)));
    if (_mm_movemask_pd(normal) != 3)
        return _mm_set_pd(Logarithm(_mm_cvtsd_f64(_mm_unpackhi_pd(x, x))), Logarithm(_mm_cvtsd_f64(x)));

    // The upper 32 bits of each lane, in the lower half of the lane.
    const __m128i bits = _mm_castpd_si128(x);
    const __m128i high = _mm_srli_epi64(bits, 32);
    const __m128i mantissa = _mm_and_si128(high, _mm_set1_epi32(0x000fffff));
    const __m128i carry = _mm_and_si128(_mm_add_epi32(mantissa, _mm_set1_epi32(kSqrt2Carry)), _mm_set1_epi32(0x00100000));
    const __m128i k = _mm_add_epi32(_mm_sub_epi32(_mm_srli_epi32(high, 20), _mm_set1_epi32(1023)), _mm_srli_epi32(carry, 20));
    const __m128i newHigh = _mm_or_si128(mantissa, _mm_xor_si128(carry, _mm_set1_epi32(0x3ff00000)));
    const __m128i low = _mm_and_si128(bits, _mm_set_epi32(0, -1, 0, -1));
    const __m128d m = _mm_castsi128_pd(_mm_or_si128(_mm_slli_epi64(newHigh, 32), low));
    // k sits in 32-bit elements 0 and 2; convert those two.
    const __m128d dk = _mm_cvtepi32_pd(_mm_shuffle_epi32(k, _MM_SHUFFLE(3, 1, 2, 0)));

    const __m128d f = _mm_sub_pd(m, _mm_set1_pd(1.0));
    const __m128d hfsq = _mm_mul_pd(_mm_mul_pd(_mm_set1_pd(0.5), f), f);
    const __m128d s = _mm_div_pd(f, _mm_add_pd(_mm_set1_pd(2.0), f));
    const __m128d z = _mm_mul_pd(s, s);
    const __m128d w = _mm_mul_pd(z, z);
    const auto step = [](__m128d c, __m128d v, __m128d t) { return _mm_add_pd(c, _mm_mul_pd(v, t)); };
    const __m128d t1 = _mm_mul_pd(
        w, step(_mm_set1_pd(kLg2), w, step(_mm_set1_pd(kLg4), w, _mm_set1_pd(kLg6))));
    const __m128d t2 = _mm_mul_pd(
        z, step(_mm_set1_pd(kLg1), w, step(_mm_set1_pd(kLg3), w, step(_mm_set1_pd(kLg5), w, _mm_set1_pd(kLg7)))));
    const __m128d r = _mm_add_pd(t2, t1);
    const __m128d inner = _mm_add_pd(_mm_mul_pd(s, _mm_add_pd(hfsq, r)), _mm_mul_pd(dk, _mm_set1_pd(kLn2Low)));
    return _mm_sub_pd(_mm_mul_pd(dk, _mm_set1_pd(kLn2High)), _mm_sub_pd(_mm_sub_pd(hfsq, inner), f));
}
