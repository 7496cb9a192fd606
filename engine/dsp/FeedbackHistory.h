#pragma once
// Carries the detector's fed-back values from one oversampled sub-sample to
// the next. With oversampling, every term is a smoothed mix of past values
// whose weights sum to one, so a constant input gives a constant output.
//
// Real-time: allocation-free and never throws.

class FeedbackHistory
{
public:
    struct Channel
    {
        double h = 0.0;  // fed-back value
        double f1 = 0.0, f2 = 0.0, f3 = 0.0; // history terms
        // Past h values (four) and past f1 values (fourteen), each kept
        // twice in a ring so that the newest-first list is always the
        // contiguous run from its head: H1 ... H4 and Q0 ... Q13.
        double pastH[8] = {};
        double pastQ[28] = {};
        int headH = 0;
        int headQ = 0;
    };

    // Mode and weight for the base rate and F; zeroes h, f1, f2, f3 of both
    // channels and keeps the lists of past values.
    void Configure(int rate, int factor);

    // One sub-sample: x is the sidechain value when ext is on, else the
    // output value; T the tight envelope.
    void Update(bool ext, double scM, double scS, double outM, double outS,
                double tightM, double tightS);

    const Channel& Mid() const { return mMid; }
    const Channel& Side() const { return mSide; }
    int Mode() const { return mMode; }
    double Weight() const { return mWeight; }

private:
    void UpdateChannel(Channel& c, double x, double t) const;

    Channel mMid;
    Channel mSide;
    int mMode = 2;
    double mWeight = 0.0;
};
