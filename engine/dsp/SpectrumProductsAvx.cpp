// This file alone is compiled for AVX2 (without FMA, so that no product is
// fused into a sum) and includes no shared inline code the linker could pick
// for other files; it is only called after CpuHasAvx2().
#include "engine/dsp/SpectrumProductsAvx.h"

#include <immintrin.h>

namespace {

// The partition count as a template argument, so the loop over partitions
// unrolls and every pointer stays in a register.
template <int kParts>
void Accumulate(double* acc, const double* const* x, const double* const* h, int from, int to, bool start)
{
    // Per bin: (xr·hr − xi·hi, xi·hr + xr·hi) as x·(hr, hr) + (xi, xr)·(−hi, hi);
    // the sign is flipped by the sign bit, as exact as the product by −1.
    const __m256d sign = _mm256_set_pd(0.0, -0.0, 0.0, -0.0);
    const double* xp[kParts];
    const double* hp[kParts];
    for (int p = 0; p < kParts; ++p)
    {
        xp[p] = x[p];
        hp[p] = h[p];
    }
    for (int i = from; i < to; i += 4)
    {
        __m256d bin = start ? _mm256_setzero_pd() : _mm256_loadu_pd(acc + i);
        for (int p = 0; p < kParts; ++p)
        {
            const __m256d xv = _mm256_loadu_pd(xp[p] + i);
            const __m256d hv = _mm256_loadu_pd(hp[p] + i);
            const __m256d xSwapped = _mm256_permute_pd(xv, 0x5);
            const __m256d hReal = _mm256_movedup_pd(hv);
            const __m256d hImag = _mm256_xor_pd(_mm256_permute_pd(hv, 0xf), sign);
            bin = _mm256_add_pd(bin, _mm256_add_pd(_mm256_mul_pd(xv, hReal), _mm256_mul_pd(xSwapped, hImag)));
        }
        _mm256_storeu_pd(acc + i, bin);
    }
}

} // namespace

//------------------------------------------------------------------------------
void AccumulateComplexBinsAvx(double* acc, const double* const* x, const double* const* h, int parts, int from,
                              int to, bool start)
{
    switch (parts)
    {
    case 1: Accumulate<1>(acc, x, h, from, to, start); break;
    case 2: Accumulate<2>(acc, x, h, from, to, start); break;
    case 3: Accumulate<3>(acc, x, h, from, to, start); break;
    case 4: Accumulate<4>(acc, x, h, from, to, start); break;
    case 5: Accumulate<5>(acc, x, h, from, to, start); break;
    case 6: Accumulate<6>(acc, x, h, from, to, start); break;
    case 7: Accumulate<7>(acc, x, h, from, to, start); break;
    default: Accumulate<8>(acc, x, h, from, to, start); break;
    }
}
