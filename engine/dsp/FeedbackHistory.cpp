#include "engine/dsp/FeedbackHistory.h"

#include "engine/dsp/FeedbackHistoryMode.h"

namespace {

// Puts v first in a doubled ring of kCount entries (every entry moves one
// place older) and returns the newest-first list.
template <int kCount>
const double* PushFront(double (&ring)[2 * kCount], int& head, double v)
{
    head = head == 0 ? kCount - 1 : head - 1;
    ring[head] = v;
    ring[head + kCount] = v;
    return ring + head;
}

} // namespace

//------------------------------------------------------------------------------
void FeedbackHistory::Configure(int rate, int factor)
{
    mMode = FeedbackHistoryMode(rate, factor);
    mWeight = FeedbackHistoryWeight(mMode);

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
    const double* H = nullptr; // H[0] is the newest past h (H1)
    const double* Q = nullptr; // Q[0] is the newest past f1
    switch (mMode)
    {
    case 4:
        c.h = w * (x + c.h);
        Q = PushFront<14>(c.pastQ, c.headQ, oldF1);
        c.f3 = w * (Q[0] + Q[1]);
        c.f2 = w * (c.f3 + oldF2);
        c.f1 = w * (t + oldF1);
        break;
    case 8:
        H = PushFront<4>(c.pastH, c.headH, c.h);
        c.h = w * (x + H[0] + H[0] + H[1]); // H1 + H1 + H2
        Q = PushFront<14>(c.pastQ, c.headQ, oldF1);
        c.f3 = w * (Q[4] + Q[5] + Q[6] + Q[7]);
        c.f2 = w * (Q[0] + Q[1] + Q[2] + Q[3]);
        c.f1 = w * (t + oldF1 + c.f2 + c.f3);
        break;
    case 12:
        H = PushFront<4>(c.pastH, c.headH, c.h);
        c.h = w * (x + H[0] + H[0] + H[1] + H[2] + H[3]); // H1 + H1 + ... + H4
        Q = PushFront<14>(c.pastQ, c.headQ, oldF1);
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
