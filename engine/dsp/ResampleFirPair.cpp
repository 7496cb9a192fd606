#include "engine/dsp/ResampleFirPair.h"

#include "engine/dsp/CpuWideVectors.h"
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
    mTable = table.taps;
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
void ResampleFirPair::ProcessTwoPairs(ResampleFirPair& a, __m128d& xa, ResampleFirPair& b, __m128d& xb)
{
    const int length = a.mLength;
    if (length == 0 || b.mLength != length || a.mTable != b.mTable || a.mUseAvx != b.mUseAvx)
    {
        xa = a.ProcessPair(xa);
        xb = b.ProcessPair(xb);
        return;
    }
    const double* ha = a.mHistory.data() + 2 * static_cast<size_t>(a.mIndex);
    const double* hb = b.mHistory.data() + 2 * static_cast<size_t>(b.mIndex);
    const double* taps = a.mTaps.data();
    a.PushPair(xa);
    b.PushPair(xb);
    if (a.mUseAvx)
    {
        alignas(16) double outA[2];
        alignas(16) double outB[2];
        FirPairSumsTwoAvx(taps, ha, hb, length, outA, outB);
        xa = _mm_load_pd(outA);
        xb = _mm_load_pd(outB);
        return;
    }
    // Per filter the two sums of ProcessPair; the filters' chains interleave.
    __m128d s0a = _mm_setzero_pd(), s1a = _mm_setzero_pd();
    __m128d s0b = _mm_setzero_pd(), s1b = _mm_setzero_pd();
    int j = 0;
    for (; j + 1 < length; j += 2)
    {
        const __m128d t0 = _mm_loadu_pd(taps + 2 * j);
        const __m128d t1 = _mm_loadu_pd(taps + 2 * j + 2);
        s0a = _mm_add_pd(s0a, _mm_mul_pd(t0, _mm_loadu_pd(ha + 2 * j)));
        s1a = _mm_add_pd(s1a, _mm_mul_pd(t1, _mm_loadu_pd(ha + 2 * j + 2)));
        s0b = _mm_add_pd(s0b, _mm_mul_pd(t0, _mm_loadu_pd(hb + 2 * j)));
        s1b = _mm_add_pd(s1b, _mm_mul_pd(t1, _mm_loadu_pd(hb + 2 * j + 2)));
    }
    if (j < length)
    {
        const __m128d t0 = _mm_loadu_pd(taps + 2 * j);
        s0a = _mm_add_pd(s0a, _mm_mul_pd(t0, _mm_loadu_pd(ha + 2 * j)));
        s0b = _mm_add_pd(s0b, _mm_mul_pd(t0, _mm_loadu_pd(hb + 2 * j)));
    }
    xa = _mm_add_pd(s0a, s1a);
    xb = _mm_add_pd(s0b, s1b);
}
