#pragma once
// How many sub-samples the feedback history follows at a rate and
// oversampling factor, and the weight of its averaged terms; shared by the
// single and the paired history so both pick the same mode.

// Above 50 kHz the history follows F = 2, 4, 6...; below it F = 4, 8, 12.
inline int FeedbackHistoryMode(int rate, int factor)
{
    const bool high = rate > 49999;
    if (factor < (high ? 2 : 3))
        return 2;
    if (factor == (high ? 2 : 4))
        return 4;
    if (factor == (high ? 4 : 8))
        return 8;
    return 12;
}

// The weight of the averaged history terms in a mode.
inline double FeedbackHistoryWeight(int mode)
{
    return mode == 2 ? 0.0 : mode == 4 ? 0.5 : mode == 8 ? 0.25 : 1.0 / 6.0;
}
