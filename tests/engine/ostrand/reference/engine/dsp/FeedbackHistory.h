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
        double H[5] = {}; // past h values, H[1] newest (H[0] unused)
        double Q[14] = {}; // past f1 values, Q[0] newest
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
