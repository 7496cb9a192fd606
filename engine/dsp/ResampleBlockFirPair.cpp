#include "engine/dsp/ResampleBlockFirPair.h"

#include "engine/dsp/FirTables.h"

#include <algorithm>

//------------------------------------------------------------------------------
ResampleBlockFirPair::ResampleBlockFirPair()
{
    // Sized once for the standard block and the longest table, so that later
    // configurations with that block size never allocate.
    Configure(kBlockSize, 44100, 12);
    mFactor = 1;
}

//------------------------------------------------------------------------------
bool ResampleBlockFirPair::Configure(int blockSize, int rate, int factor)
{
    const FirTable table = BlockFirTable(rate, factor);
    mFactor = factor;
    mFill = 0;
    const bool ok = mEngine.SetImpulse(blockSize, table.taps, table.length);
    mBlock = ok ? blockSize : 0;
    mLength = ok ? table.length : 0;
    const size_t blockDoubles = 2 * static_cast<size_t>(mBlock);
    mInputs.assign(2 * blockDoubles, 0.0);
    mSilence.assign(blockDoubles, 0.0);
    mIn = mInputs.data();
    mOut = mSilence.data();
    return ok;
}

//------------------------------------------------------------------------------
void ResampleBlockFirPair::NextBlock()
{
    const size_t blockDoubles = 2 * static_cast<size_t>(mBlock);
    double* previous = mIn == mInputs.data() ? mIn + blockDoubles : mInputs.data();
    mOut = mEngine.ProcessBlock(previous, mIn);
    mIn = previous; // the oldest block is overwritten next
    mFill = 0;
}
