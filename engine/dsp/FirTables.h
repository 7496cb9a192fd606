#pragma once
// The linear-phase low-pass tables of the "Clear" oversampling style.
// Direct tables serve base rates above 50000 Hz, block tables rates up to
// 50000 Hz. Each is symmetric with unity gain at DC.

struct FirTable
{
    const double* taps;
    int length;
};

// Table for direct convolution: F = 2, 4, or 6 (6 also serves every other
// F); separate tables for a base rate of exactly 88200 Hz.
FirTable DirectFirTable(int rate, int factor);

// Table for block convolution: F = 2, 4, 8 or 12 (12 also serves every other
// F); separate tables for a base rate of exactly 48000 Hz.
FirTable BlockFirTable(int rate, int factor);

// The longest table of either kind.
constexpr int kMaxDirectFirLength = 152;
constexpr int kMaxBlockFirLength = 1774;
