#include "engine/dsp/ResampleFirPair.h"

#include "engine/dsp/FirPairSums.h"
#include "engine/dsp/FirTables.h"

#include <algorithm>

//------------------------------------------------------------------------------
ResampleFirPair::ResampleFirPair()
    : mTaps(2 * static_cast<size_t>(kMaxDirectFirLength), 0.0)
    , mHistory(4 * static_cast<size_t>(kMaxDirectFirLength), 0.0)
    , mUseAvx(CpuHasAvx())
{
}

//------------------------------------------------------------------------------
void ResampleFirPair::AllowAvx(bool allow)
{
    mUseAvx = allow && CpuHasAvx();
}

//------------------------------------------------------------------------------
void ResampleFirPair::Configure(int rate, int factor)
{
    if (factor < 2)
        return;
    const FirTable table = DirectFirTable(rate, factor);
    mLength = std::min(table.length, kMaxDirectFirLength);
    for (int j = 0; j < mLength; ++j)
        mTaps[2 * static_cast<size_t>(j)] = mTaps[2 * static_cast<size_t>(j) + 1] = table.taps[j];
    std::fill(mHistory.begin(), mHistory.end(), 0.0);
    mIndex = mLength - 1;
}

//------------------------------------------------------------------------------
void ResampleFirPair::PushPair(__m128d x)
{
    if (mLength == 0)
        return;
    // Each pair is stored twice, `length` apart, so the newest `length`
    // pairs always lie contiguously from the write index on.
    _mm_storeu_pd(mHistory.data() + 2 * static_cast<size_t>(mIndex), x);
    _mm_storeu_pd(mHistory.data() + 2 * static_cast<size_t>(mIndex + mLength), x);
    mIndex = mIndex == 0 ? mLength - 1 : mIndex - 1;
}

//------------------------------------------------------------------------------
__m128d ResampleFirPair::ProcessPair(__m128d x)
{
    if (mLength == 0)
        return x;
    const double* h = mHistory.data() + 2 * static_cast<size_t>(mIndex);
    const double* taps = mTaps.data();
    PushPair(x);
    if (mUseAvx)
    {
        alignas(16) double out[2];
        FirPairSumsAvx(taps, h, mLength, out);
        return _mm_load_pd(out);
    }
    __m128d s0 = _mm_setzero_pd();
    __m128d s1 = _mm_setzero_pd();
    int j = 0;
    for (; j + 1 < mLength; j += 2)
    {
        s0 = _mm_add_pd(s0, _mm_mul_pd(_mm_loadu_pd(taps + 2 * j), _mm_loadu_pd(h + 2 * j)));
        s1 = _mm_add_pd(s1, _mm_mul_pd(_mm_loadu_pd(taps + 2 * j + 2), _mm_loadu_pd(h + 2 * j + 2)));
    }
    if (j < mLength)
        s0 = _mm_add_pd(s0, _mm_mul_pd(_mm_loadu_pd(taps + 2 * j), _mm_loadu_pd(h + 2 * j)));
    return _mm_add_pd(s0, s1);
}

//------------------------------------------------------------------------------
bool CpuHasAvx()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
}
