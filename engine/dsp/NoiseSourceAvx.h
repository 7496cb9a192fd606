#pragma once
// Internal to NoiseSource: the method-3 sums of uniforms with AVX2, two
// groups of 24 words in one 256-bit register. Call only after CpuHasAvx2().

#include <cstdint>

// For each group g of 24 words: sums[2g] = Σ u_i − 6 over words 0 ... 11,
// sums[2g + 1] the same over words 12 ... 23, with u = word·1/(2^32 − 1)
// and the terms added in order; the same doubles as the two-lane form.
void SumGroupsOfUniformsAvx2(const uint32_t* words, double* sums, int groups);
