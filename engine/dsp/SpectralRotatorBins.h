#pragma once
// Internal to SpectralRotatorPair: the bin pass on bit-reversed bins, once
// for SSE2 (the x86-64 baseline) and once for AVX2 with FMA, chosen at run
// time. Positions 0 and 1 (DC and Nyquist) are scaled by c, each further
// even position turned by e^(jφ) and each odd one by e^(-jφ), where
// c = cos φ and s = sin φ; z holds n complex values.
void RotateBitReversedBinsSse(double* z, int n, double c, double s);
void RotateBitReversedBinsAvx(double* z, int n, double c, double s);
