#pragma once
// In-place complex FFT for every power-of-two size 2 ... 32768.
//
// Data are n interleaved (real, imaginary) double pairs. Forward uses the
// kernel e^(-j2πnk/N), Inverse e^(+j2πnk/N); neither scales, so
// Inverse(Forward(x)) = N·x. Output is in natural frequency order.
//
// The twiddle stages use AVX2 with FMA when the processor has them (checked
// at run time) and SSE2, the x86-64 baseline, otherwise.
//
// Real-time: SetSize allocates the tables; Forward and Inverse never
// allocate, never lock and never throw.

#include <vector>

class ComplexFft
{
public:
    static constexpr int kMinSize = 2;
    static constexpr int kMaxSize = 32768;

    ComplexFft() = default;
    explicit ComplexFft(int n) { SetSize(n); }

    // Prepares for n points; returns false (and keeps the old size) when n is
    // not a power of two within kMinSize ... kMaxSize.
    bool SetSize(int n);
    int Size() const { return mSize; }

    // Allows (default) or forbids the AVX2 path; forbidding it runs the
    // baseline path on any processor, for comparison.
    void AllowWideVectors(bool allow);

    void Forward(double* data) const;
    void Inverse(double* data) const;

    // The same transforms without the bit-reversal permutation, for callers
    // that only multiply bins in between: ForwardToBitReversed leaves bin k
    // at position bitreverse(k), InverseFromBitReversed takes bins in that
    // order and returns the signal in natural order. Equal to Forward and
    // Inverse up to rounding.
    void ForwardToBitReversed(double* data) const;
    void InverseFromBitReversed(double* data) const;

private:
    template <bool kInverse> void Transform(double* data) const;
    template <bool kInverse> void TransformFromBitReversed(double* data) const;
    template <bool kInverse> void TransformToBitReversed(double* data) const;

    int mSize = 0;
    std::vector<int> mSwaps;        // bit-reversal exchange pairs (i, j), i < j
    std::vector<double> mTwiddles;  // radix-4 stage twiddles, see ComplexFft.cpp
    bool mUseAvx = false;           // AVX2 and FMA present and allowed
    bool mAllowAvx = true;
};
