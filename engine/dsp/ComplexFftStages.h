#pragma once
// Internal to ComplexFft: the radix-4 twiddle stages, once for SSE2 (the
// x86-64 baseline) and once for AVX2 with FMA, chosen at run time.

// Runs the stages from sub-transform size m up to n on bit-reversed data.
template <bool kInverse>
void TwiddleStagesSse(double* data, int n, int m, const double* twiddles);
template <bool kInverse>
void TwiddleStagesAvx(double* data, int n, int m, const double* twiddles);

// The transposed stages (decimation in frequency) on natural-order data,
// from sub-transform size n/4 down to m; twiddlesEnd points just past the
// table of the n/4 stage. The result stays in bit-reversed order.
template <bool kInverse>
void SplitStagesSse(double* data, int n, int m, const double* twiddlesEnd);
template <bool kInverse>
void SplitStagesAvx(double* data, int n, int m, const double* twiddlesEnd);

// True when the processor and the operating system support AVX2 and FMA.
bool CpuHasAvx2Fma();
