#pragma once
// The multiply-accumulate at the heart of partitioned convolution, shared by
// the single-stream and the paired block convolvers. Inline, no allocation.

// Block sizes a convolver accepts: a power of two from 16 to 16384.
inline bool IsConvolverBlockSize(int blockSize)
{
    return blockSize >= 16 && blockSize <= 16384 && (blockSize & (blockSize - 1)) == 0;
}

namespace spectrum {

typedef double Pair __attribute__((vector_size(16)));
typedef long long PairMask __attribute__((vector_size(16)));

inline Pair Load(const double* p)
{
    Pair v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

inline void Store(double* p, Pair v) { __builtin_memcpy(p, &v, sizeof v); }

// Lane shuffles (a, b) -> (b, a), (a, a), (b, b); clang spells the builtin
// differently (the fuzzing build uses clang).
#if defined(__clang__)
inline Pair Swapped(Pair v) { return __builtin_shufflevector(v, v, 1, 0); }
inline Pair Lows(Pair v) { return __builtin_shufflevector(v, v, 0, 0); }
inline Pair Highs(Pair v) { return __builtin_shufflevector(v, v, 1, 1); }
#else
inline Pair Swapped(Pair v) { return __builtin_shuffle(v, PairMask{1, 0}); }
inline Pair Lows(Pair v) { return __builtin_shuffle(v, PairMask{0, 0}); }
inline Pair Highs(Pair v) { return __builtin_shuffle(v, PairMask{1, 1}); }
#endif

// For the complex bins stored as (re, im) at doubles [from, to):
// acc (0 when start) + Σ_p x_p·h_p, partitions added in order p = 0, 1, ...
// per bin, each product formed as (xr·hr − xi·hi, xi·hr + xr·hi) in one
// two-lane vector.
inline void AccumulateComplexBins(double* acc, const double* const* x, const double* const* h,
                                  int parts, int from, int to, bool start)
{
    const Pair zero = {0.0, 0.0};
    for (int i = from; i < to; i += 2)
    {
        Pair bin = start ? zero : Load(acc + i);
        for (int p = 0; p < parts; ++p)
        {
            const Pair xv = Load(x[p] + i);
            const Pair hv = Load(h[p] + i);
            const Pair xSwapped = Swapped(xv);
            const Pair hReal = Lows(hv);
            const Pair hImag = Highs(hv) * Pair{-1.0, 1.0};
            bin += xv * hReal + xSwapped * hImag;
        }
        Store(acc + i, bin);
    }
}

} // namespace spectrum
