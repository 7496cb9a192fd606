#pragma once
#include "engine/dsp/CpuWideVectors.h"
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

// The twiddle-free stage and the first twiddled one (m = 2 for odd powers
// of two, m = 4 for even ones) in one pass over bit-reversed data, with the
// same arithmetic as running them apart; n >= 8 (odd) or n >= 16 (even).
// FirstStages leaves the sub-transforms of size 4m for TwiddleStagesAvx,
// LastStages finishes what SplitStagesAvx left at size 4m.
template <bool kInverse>
void FirstStagesAvx(double* data, int n, bool odd, const double* twiddles);
template <bool kInverse>
void LastStagesAvx(double* data, int n, bool odd, const double* twiddles);
