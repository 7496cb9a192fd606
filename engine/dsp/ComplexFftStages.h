#pragma once
// Internal to ComplexFft: the radix-4 twiddle stages, once for SSE2 (the
// x86-64 baseline) and once for AVX2 with FMA, chosen at run time.

// Runs the stages from sub-transform size m up to n on bit-reversed data.
template <bool kInverse>
void TwiddleStagesSse(double* data, int n, int m, const double* twiddles);
template <bool kInverse>
void TwiddleStagesAvx(double* data, int n, int m, const double* twiddles);

// True when the processor and the operating system support AVX2 and FMA.
bool CpuHasAvx2Fma();
