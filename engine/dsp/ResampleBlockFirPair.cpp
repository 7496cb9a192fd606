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
    if (!mEngine.SetImpulse(blockSize, table.taps, table.length))
    {
        mBlock = 0;
        mLength = 0;
        std::fill(mOut.begin(), mOut.end(), 0.0);
        return false;
    }
    mBlock = blockSize;
    mLength = table.length;
    mIn.assign(2 * static_cast<size_t>(blockSize), 0.0);
    mOut.assign(2 * static_cast<size_t>(blockSize), 0.0);
    return true;
}

//------------------------------------------------------------------------------
void ResampleBlockFirPair::NextBlock()
{
    mEngine.ProcessBlock(mIn.data(), mOut.data());
    mFill = 0;
}
