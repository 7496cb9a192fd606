#include "engine/dsp/ResampleFir.h"

#include "engine/dsp/FirTables.h"

#include <algorithm>

//------------------------------------------------------------------------------
ResampleFir::ResampleFir()
    : mHistory(2 * static_cast<size_t>(kMaxDirectFirLength), 0.0)
{
}

//------------------------------------------------------------------------------
void ResampleFir::Configure(int rate, int factor)
{
    if (factor < 2)
        return;
    const FirTable table = DirectFirTable(rate, factor);
    mTaps = table.taps;
    mLength = std::min(table.length, kMaxDirectFirLength);
    std::fill(mHistory.begin(), mHistory.end(), 0.0);
    mIndex = mLength - 1;
}

//------------------------------------------------------------------------------
void ResampleFir::Push(double x)
{
    if (mLength == 0)
        return;
    // Each value is stored twice, `length` apart, so the newest `length`
    // values always lie contiguously from the write index on.
    mHistory[static_cast<size_t>(mIndex)] = x;
    mHistory[static_cast<size_t>(mIndex + mLength)] = x;
    mIndex = mIndex == 0 ? mLength - 1 : mIndex - 1;
}

//------------------------------------------------------------------------------
double ResampleFir::ProcessSample(double x)
{
    if (mLength == 0)
        return x;
    const double* h = mHistory.data() + mIndex;
    Push(x);
    double s0 = 0.0, s1 = 0.0;
    int j = 0;
    for (; j + 1 < mLength; j += 2)
    {
        s0 += mTaps[j] * h[j];
        s1 += mTaps[j + 1] * h[j + 1];
    }
    if (j < mLength)
        s0 += mTaps[j] * h[j];
    return s0 + s1;
}
