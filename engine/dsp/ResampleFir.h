#pragma once
// "Clear" oversampling filter computed directly (base rates above 50000 Hz,
// tables of at most 152 taps).
//
// Real-time: the constructor allocates for the longest table; Configure,
// ProcessSample and Push never allocate, lock or throw.

#include <vector>

class ResampleFir
{
public:
    ResampleFir();

    // Chooses the table for the rate and F and clears the history; does
    // nothing for F < 2.
    void Configure(int rate, int factor);

    // Stores x and returns the filtered value.
    double ProcessSample(double x);
    // Stores x only (a down-sampling filter at sub-samples that are dropped).
    void Push(double x);

    int Length() const { return mLength; }

private:
    const double* mTaps = nullptr;
    std::vector<double> mHistory; // twice the length, each value stored twice
    int mLength = 0;
    int mIndex = 0;
};
