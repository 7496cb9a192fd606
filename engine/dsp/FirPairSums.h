#pragma once
// Internal to ResampleFirPair: the filter sum of a (mid, side) history
// against a tap table stored twice per tap, for processors with AVX. Per lane
// it adds the products in the order of the SSE2 loop (even taps into one
// sum, odd taps into another, then the two), so both give the same bits.

// history: `length` (mid, side) pairs, newest first; taps: each tap twice.
// Writes the mid and side results to out[0] and out[1].
void FirPairSumsAvx(const double* taps, const double* history, int length, double* out);
// The same for two histories against one table in one interleaved loop
// (two independent chains of additions instead of one): results of a in
// outA, of b in outB.
void FirPairSumsTwoAvx(const double* taps, const double* a, const double* b, int length, double* outA,
                       double* outB);

