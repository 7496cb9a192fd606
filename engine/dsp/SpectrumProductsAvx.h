#pragma once
// AVX form of spectrum::AccumulateComplexBins: two complex bins per 256-bit
// register, each lane with the same operations in the same order as the
// two-lane form, so the sums are bit-identical. Call only after
// CpuHasAvx2(); `from` and `to` must be multiples of 4 and `parts`
// 1 ... 8.

void AccumulateComplexBinsAvx(double* acc, const double* const* x, const double* const* h, int parts, int from,
                              int to, bool start);
