// Ostrand's audio callback: mid/side rotation, the oversampled detector and
// mix, output gain and the block meters. Allocation-free and lock-free; the
// binding holds the plug-in lock around it.
#include "engine/ostrand/Ostrand.h"

#include "engine/dsp/Denormal.h"

#include <algorithm>
#include <cmath>

namespace {

// Non-finite host input counts as silence, so one bad block cannot poison
// any filter, rotator or detector state.
inline double Sane(const double* channel, int n)
{
    if (channel == nullptr)
        return 0.0;
    double x = channel[n];
    return std::isfinite(x) ? x : 0.0;
}

// One-pole meter smoothing with separate rise and fall coefficients.
inline double Smooth(double old, double input, double rise, double fall)
{
    double a = input > old ? rise : fall;
    return FlushDenormal((1.0 - a) * old + a * input);
}

// Filter pairs; in the arrays of single filters, mid sits at 2·k, side at 2·k + 1.
enum : int { kUpAudio = 0, kUpDet, kUpSc, kDown };

// Noise pairs drawn ahead per batch (the largest factor, 12, in one go).
constexpr int kMaxNoiseBatch = 16;

// Store-only feeding of a down-sampling filter at the dropped sub-samples.
inline void PushTo(ResampleBiquad& f, double x) { f.ProcessSample(x); }
inline void PushTo(ResampleFir& f, double x) { f.Push(x); }

// Mid and side through the pair k of filters, in place.
template <class Filter>
inline void PairThrough(Filter* f, int k, double& m, double& s)
{
    m = f[2 * k].ProcessSample(m);
    s = f[2 * k + 1].ProcessSample(s);
}
inline void PairThrough(ResampleBlockFirPair* f, int k, double& m, double& s) { f[k].ProcessPair(m, s); }

// Store-only feeding of the pair k.
template <class Filter>
inline void PairPush(Filter* f, int k, double m, double s)
{
    PushTo(f[2 * k], m);
    PushTo(f[2 * k + 1], s);
}
inline void PairPush(ResampleBlockFirPair* f, int k, double m, double s) { f[k].PushPair(m, s); }

} // namespace

//------------------------------------------------------------------------
void Ostrand::RenderBlock(double** inputs, double** outputs, int nFrames)
{
    if (mPhase == 0 || outputs == nullptr || nFrames <= 0)
        return;
    if (SampleRate() != mSeenRate)
        ResetProcessing();

    mAudioRunning = true;
    mBlockRan = true;
    mSumInL = mSumInR = mSumOutL = mSumOutR = 0.0;
    mPeakL = mPeakR = mPeakMixM = mPeakMixS = 0.0;

    const double* inL = inputs != nullptr ? inputs[0] : nullptr;
    const double* inR = inputs != nullptr ? inputs[1] : nullptr;
    const double* scL = inputs != nullptr && NInputChannels() > 2 ? inputs[2] : nullptr;
    const double* scR = inputs != nullptr && NInputChannels() > 3 ? inputs[3] : nullptr;
    double* outL = outputs[0];
    double* outR = outputs[1];
    const int sleepAfter = mFrameMultiple * mFrameSize * 2;
    // Nothing else moves the glides while the block runs: when they rest at
    // its start, every glide step of the block would return at once.
    const bool gliding = !GlidesAtRest();

    for (int n = 0; n < nFrames; ++n) {
        if (gliding)
            GlideStepAll();
        const double l = Sane(inL, n);
        const double r = Sane(inR, n);
        if (std::fabs(l) + std::fabs(r) < 1e-6)
            ++mSilenceCount;
        else
            mSilenceCount = 0;
        double yl = 0.0;
        double yr = 0.0;
        if (mSilenceCount >= sleepAfter) {
            // Asleep: nothing left in the chain to hear, so the output is silence.
            mSilenceCount = sleepAfter + 1;
            mAudioRunning = false;
        } else {
            RenderSample(l, r, Sane(scL, n), Sane(scR, n), yl, yr);
        }
        if (outL != nullptr)
            outL[n] = yl;
        if (outR != nullptr)
            outR[n] = yr;
    }

    FinishBlockMeters();
    if (mConfigRequested) {
        mConfigRequested = false;
        mChangeCount.fetch_add(1, std::memory_order_relaxed);
        ConfigureStep();
    }
}

//------------------------------------------------------------------------
void Ostrand::RenderSample(double inL, double inR, double scL, double scR, double& outL, double& outR)
{
    double meterL = inL;
    double meterR = inR;
    mMeterInput.ProcessSample(meterL, meterR);
    mSumInL += std::fabs(meterL);
    mSumInR += std::fabs(meterR);

    const double mid = (inL + inR) * 0.5;
    const double side = (inL - inR) * 0.5;
    double dM = mid;
    double dS = side;
    mDryDetector.ProcessSample(dM, dS);

    double aM = mid;
    double aS = side;
    mRotators[0].ProcessPair(aM, aS);
    mStage1Align.ProcessSample(aM, aS);
    if (!mSingleStage) {
        double m2 = mid, s2 = side, m3 = mid, s3 = side;
        mRotators[1].ProcessPair(m2, s2);
        mStage2Align.ProcessSample(m2, s2);
        mRotators[2].ProcessPair(m3, s3);
        aM = (aM + m2 + m3) / 3.0;
        aS = (aS + s2 + s3) / 3.0;
    }

    double cM = 0.0;
    double cS = 0.0;
    if (mExtSidechain) {
        cM = (scL + scR) * 0.5;
        cS = (scL - scR) * 0.5;
        mDrySidechain.ProcessSample(cM, cS);
    }

    OversampledCore(aM, aS, dM, dS, cM, cS);

    const double wetL = aM + aS;
    const double wetR = aM - aS;
    mSumOutL += std::fabs(wetL);
    mSumOutR += std::fabs(wetR);
    outL = wetL * mGain;
    outR = wetR * mGain;
    mPeakL = std::max(mPeakL, std::fabs(outL));
    mPeakR = std::max(mPeakR, std::fabs(outR));
}

//------------------------------------------------------------------------
void Ostrand::OversampledCore(double& aM, double& aS, double dM, double dS, double cM, double cS)
{
    // One dispatch per base-rate sample instead of one per filter call.
    switch (mFilterKind) {
    case kFilterDirect: OversampledCoreWith(mFirs, aM, aS, dM, dS, cM, cS); break;
    case kFilterBlock: OversampledCoreWith(mBlockFirPairs, aM, aS, dM, dS, cM, cS); break;
    default: OversampledCoreWith(mBiquads, aM, aS, dM, dS, cM, cS); break;
    }
}

//------------------------------------------------------------------------
template <class Filter>
void Ostrand::OversampledCoreWith(Filter* filters, double& aM, double& aS, double dM, double dS, double cM, double cS)
{
    const int factor = mFactor > 1 ? mFactor : 1;
    const bool ext = mExtSidechain;
    const double c = mClassicWeight;
    const double t = mTightWeight;
    const double r = (1.0 - c + 1.0 - t) * 0.5;
    const double u = r * 0.25;
    const double k = mStrength;
    const double balance = k > 1.0 ? k * mBalance : mBalance;
    const bool fullDetector = !mSimpleDetector;

    // The noise of all sub-samples is drawn up front (the same values in the
    // same order), which lets the generator and the colouring filters work
    // on several pairs at once.
    double noiseM[kMaxNoiseBatch];
    double noiseS[kMaxNoiseBatch];
    const bool withNoise = fullDetector && mSilenceCount == 0;

    double resultM = aM;
    double resultS = aS;
    for (int i = 0; i < factor; ++i) {
        if (withNoise && i % kMaxNoiseBatch == 0)
            mNoise.NextPairs(noiseM, noiseS, std::min(kMaxNoiseBatch, factor - i));
        double audioM = aM, audioS = aS, detM = dM, detS = dS, scM = cM, scS = cS;
        if (factor > 1) {
            PairThrough(filters, kUpAudio, audioM, audioS);
            PairThrough(filters, kUpDet, detM, detS);
            if (ext)
                PairThrough(filters, kUpSc, scM, scS);
        }
        mAudioDelay.ProcessSample(audioM, audioS);
        double xM = ext ? scM : detM;
        double xS = ext ? scS : detS;
        if (ext)
            mOsSidechain.ProcessSample(scM, scS);
        mOsDetector.ProcessSample(detM, detS);
        const double levelM = std::fabs(ext ? scM : detM);
        const double levelS = std::fabs(ext ? scS : detS);

        // Noise floor on the detector input (full detector only).
        double nM = 0.0;
        double nS = 0.0;
        if (withNoise) {
            nM = noiseM[i % kMaxNoiseBatch];
            nS = noiseS[i % kMaxNoiseBatch];
            xM += nM * 1.0015625;
            xS += nS * 1.0015625;
        }

        // "Tight" transient envelopes on the look-ahead signal.
        double tightM = xM;
        double tightS = xS;
        if (fullDetector) {
            const double driveM = mInvertPdr ? -mDriveM : mDriveM;
            const double driveS = mInvertPdr ? -mDriveS : mDriveS;
            mTight.ProcessPair(tightM, tightS, driveM, driveS, k, mInvertEnvelope);
        } else {
            mTight.ProcessPairSimple(tightM, tightS, mInvertEnvelope);
        }

        // Blend of the fed-back, transient and rectified levels.
        const FeedbackHistory::Channel& hM = mHistory.Mid();
        const FeedbackHistory::Channel& hS = mHistory.Side();
        const double eM = std::fabs(hM.h);
        const double eS = std::fabs(hS.h);
        const double blendM = u * (c * eM * 0.5) + c * eM * 0.5 + u * (t * tightM * 0.5) + t * tightM * 0.5 + r * levelM * 0.5;
        const double blendS = u * (c * eS * 0.5) + c * eS * 0.5 + u * (t * tightS * 0.5) + t * tightS * 0.5 + r * levelS * 0.5;

        double driveM = (2.0 * tightM - 2.0 * nM * 1.0015625 + eM + hM.f1 + levelM + hM.f2 + hM.f3) * 14.285714285714286;
        double driveS = (2.0 * tightS - 2.0 * nS * 1.0015625 + eS + hS.f1 + levelS + hS.f2 + hS.f3) * 14.285714285714286;
        if (mInvertPdr) {
            driveM = -driveM;
            driveS = -driveS;
        }

        // "Classic" followers, then the mix amounts.
        double envM = mClassic[0].ProcessSample(blendM, driveM, k) * 0.5;
        double envS = mClassic[1].ProcessSample(blendS, driveS, k) * 0.5;
        if (mInvertEnvelope) {
            envM = 0.5 - envM;
            envS = 0.5 - envS;
        }
        const double mixM = std::clamp(balance + envM * k + mSensitivity, 0.0, 0.5);
        const double mixS = std::clamp(envS * k - balance + mSensitivity, 0.0, 0.5);

        const double mixedM = mixM * audioM + nM + (1.0 - mixM) * detM;
        const double mixedS = mixS * audioS + nS + (1.0 - mixS) * detS;

        mHistory.Update(ext, scM, scS, mixedM, mixedS, tightM, tightS);
        mDriveM = driveM;
        mDriveS = driveS;
        mPeakMixM = std::max(mPeakMixM, 2.0 * mixM);
        mPeakMixS = std::max(mPeakMixS, 2.0 * mixS);

        if (factor == 1) {
            resultM = mixedM;
            resultS = mixedS;
        } else if (i < factor - 1) {
            PairPush(filters, kDown, mixedM, mixedS);
        } else {
            resultM = mixedM;
            resultS = mixedS;
            PairThrough(filters, kDown, resultM, resultS);
        }
    }
    aM = resultM;
    aS = resultS;
}

//------------------------------------------------------------------------
void Ostrand::FinishBlockMeters()
{
    const double termR = std::fabs(1.0 - (mSumOutR + 1e-14) / (mSumInR + 1e-14));
    const double termL = std::fabs(1.0 - (mSumOutL + 1e-14) / (mSumInL + 1e-14));
    double difference = std::min(std::max(termR, termL), 1.0);
    if (mPeakL + mPeakR < 2.5e-5 && termR + termL < 2.5e-5)
        difference = 0.0;
    mMeters.difference = Smooth(mMeters.difference, difference, 0.6, 0.015);
    mMeters.mixMid = Smooth(mMeters.mixMid, mPeakMixM, 0.5, 0.025);
    mMeters.mixSide = Smooth(mMeters.mixSide, mPeakMixS, 0.5, 0.025);
    mMeters.outputLeft = Smooth(mMeters.outputLeft, mPeakL, 0.6, 0.1);
    mMeters.outputRight = Smooth(mMeters.outputRight, mPeakR, 0.6, 0.1);
    if (mPeakL > 1.0) {
        mClipPending[0] = true;
        mRedrawTicks = 20;
    }
    if (mPeakR > 1.0) {
        mClipPending[1] = true;
        mRedrawTicks = 20;
    }
}
