#include "engine/dsp/FeedbackHistory.h"

namespace {

// Shifts every entry one place older and puts v first.
template <int kCount>
void PushFront(double (&list)[kCount], int first, double v)
{
    for (int i = kCount - 1; i > first; --i)
        list[i] = list[i - 1];
    list[first] = v;
}

} // namespace

//------------------------------------------------------------------------------
void FeedbackHistory::Configure(int rate, int factor)
{
    // Above 50 kHz the history follows F = 2, 4, 6...; below it F = 4, 8, 12.
    const bool high = rate > 49999;
    if (factor < (high ? 2 : 3))
        mMode = 2;
    else if (factor == (high ? 2 : 4))
        mMode = 4;
    else if (factor == (high ? 4 : 8))
        mMode = 8;
    else
        mMode = 12;
    mWeight = mMode == 2 ? 0.0 : mMode == 4 ? 0.5 : mMode == 8 ? 0.25 : 1.0 / 6.0;

    mMid.h = mMid.f1 = mMid.f2 = mMid.f3 = 0.0;
    mSide.h = mSide.f1 = mSide.f2 = mSide.f3 = 0.0;
}

//------------------------------------------------------------------------------
void FeedbackHistory::Update(bool ext, double scM, double scS, double outM, double outS,
                             double tightM, double tightS)
{
    UpdateChannel(mMid, ext ? scM : outM, tightM);
    UpdateChannel(mSide, ext ? scS : outS, tightS);
}

//------------------------------------------------------------------------------
// The list Q records past values of f1, the term that takes the tight
// envelope in; f2 and f3 are averages over older stretches of it, the
// oversampled counterpart of the three-step shift register of mode 2.
void FeedbackHistory::UpdateChannel(Channel& c, double x, double t) const
{
    const double w = mWeight;
    const double oldF1 = c.f1;
    const double oldF2 = c.f2;
    const double* H = c.H;
    const double* Q = c.Q;
    switch (mMode)
    {
    case 4:
        c.h = w * (x + c.h);
        PushFront(c.Q, 0, oldF1);
        c.f3 = w * (Q[0] + Q[1]);
        c.f2 = w * (c.f3 + oldF2);
        c.f1 = w * (t + oldF1);
        break;
    case 8:
        PushFront(c.H, 1, c.h);
        c.h = w * (x + H[1] + H[1] + H[2]);
        PushFront(c.Q, 0, oldF1);
        c.f3 = w * (Q[4] + Q[5] + Q[6] + Q[7]);
        c.f2 = w * (Q[0] + Q[1] + Q[2] + Q[3]);
        c.f1 = w * (t + oldF1 + c.f2 + c.f3);
        break;
    case 12:
        PushFront(c.H, 1, c.h);
        c.h = w * (x + H[1] + H[1] + H[2] + H[3] + H[4]);
        PushFront(c.Q, 0, oldF1);
        c.f3 = w * (Q[8] + Q[9] + Q[10] + Q[11] + Q[12] + Q[13]);
        c.f2 = w * (Q[2] + Q[3] + Q[4] + Q[5] + Q[6] + Q[7]);
        c.f1 = w * (t + oldF1 + c.f2 + c.f3 + Q[0] + Q[1]);
        break;
    default: // mode 2: a plain shift register of the tight envelope
        c.h = x;
        c.f3 = oldF2;
        c.f2 = oldF1;
        c.f1 = t;
        break;
    }
}
