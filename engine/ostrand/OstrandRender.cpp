// Ostrand's audio callback: mid/side rotation, the oversampled detector and
// mix, output gain and the block meters. Allocation-free and lock-free; the
// binding holds the plug-in lock around it.
#include "engine/ostrand/Ostrand.h"

#include "engine/dsp/Denormal.h"
#include "engine/dsp/LanePair.h"

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

// Filter pairs, (mid, side) each.
enum : int { kUpAudio = 0, kUpDet, kUpSc, kDown };

// Noise pairs drawn ahead per batch (the largest factor, 12, in one go).
constexpr int kMaxNoiseBatch = 16;

// Mid and side (the lanes of v) through the filter pair k, in place.
inline void PairThrough(ResampleBiquadPair* f, int k, __m128d& v) { v = f[k].ProcessPair(v); }
inline void PairThrough(ResampleFirPair* f, int k, __m128d& v) { v = f[k].ProcessPair(v); }
inline void PairThrough(ResampleBlockFirPair* f, int k, __m128d& v)
{
    double m = LaneMid(v);
    double s = LaneSide(v);
    f[k].ProcessPair(m, s);
    v = LanePair(m, s);
}

// The pairs ka and kb through their filters (the direct FIRs in one loop).
template <class Filter>
inline void PairsThrough(Filter* f, int ka, __m128d& a, int kb, __m128d& b)
{
    PairThrough(f, ka, a);
    PairThrough(f, kb, b);
}
inline void PairsThrough(ResampleFirPair* f, int ka, __m128d& a, int kb, __m128d& b)
{
    ResampleFirPair::ProcessTwoPairs(f[ka], a, f[kb], b);
}

// Store-only feeding of the down-sampling pair k at the dropped sub-samples.
inline void PairPush(ResampleBiquadPair* f, int k, __m128d v) { f[k].ProcessPair(v); }
inline void PairPush(ResampleFirPair* f, int k, __m128d v) { f[k].PushPair(v); }
inline void PairPush(ResampleBlockFirPair* f, int k, __m128d v) { f[k].PushPair(LaneMid(v), LaneSide(v)); }

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
    // Mid and side run as lane 0 and lane 1 of one vector through every
    // step; per lane the operations and their order are those of the
    // scalar formulas in the comments, so each lane's result is exact.
    const int factor = mFactor > 1 ? mFactor : 1;
    const bool ext = mExtSidechain;
    const double c = mClassicWeight;
    const double t = mTightWeight;
    const double r = (1.0 - c + 1.0 - t) * 0.5;
    const double u = r * 0.25;
    const double k = mStrength;
    const double balance = k > 1.0 ? k * mBalance : mBalance;
    const bool fullDetector = !mSimpleDetector;

    const __m128d half = _mm_set1_pd(0.5);
    const __m128d cw = _mm_set1_pd(c);
    const __m128d tw = _mm_set1_pd(t);
    const __m128d rw = _mm_set1_pd(r);
    const __m128d uw = _mm_set1_pd(u);
    const __m128d kw = _mm_set1_pd(k);
    // The balance adds to mid and subtracts from side.
    const __m128d balances = LanePair(balance, -balance);
    const __m128d sensitivity = _mm_set1_pd(mSensitivity);
    const __m128d noiseGain = _mm_set1_pd(1.0015625);
    // Sign flip of the drive when Invert PDR is on (x ^ -0.0 == -x).
    const __m128d pdrSign = mInvertPdr ? _mm_set1_pd(-0.0) : _mm_setzero_pd();

    // The noise of all sub-samples is drawn up front (the same values in the
    // same order), which lets the generator and the colouring filters work
    // on several pairs at once.
    double noiseM[kMaxNoiseBatch];
    double noiseS[kMaxNoiseBatch];
    const bool withNoise = fullDetector && mSilenceCount == 0;

    const __m128d audioIn = LanePair(aM, aS);
    const __m128d detIn = LanePair(dM, dS);
    const __m128d scIn = LanePair(cM, cS);
    __m128d drive = LanePair(mDriveM, mDriveS);
    __m128d peakMix = LanePair(mPeakMixM, mPeakMixS);
    __m128d result = audioIn;
    for (int i = 0; i < factor; ++i) {
        if (withNoise && i % kMaxNoiseBatch == 0)
            mNoise.NextPairs(noiseM, noiseS, std::min(kMaxNoiseBatch, factor - i));
        __m128d audio = audioIn, det = detIn, sc = scIn;
        if (factor > 1) {
            PairsThrough(filters, kUpAudio, audio, kUpDet, det);
            if (ext)
                PairThrough(filters, kUpSc, sc);
        }
        mAudioDelay.ProcessPair(audio);
        __m128d x = ext ? sc : det;
        if (ext)
            mOsSidechain.ProcessPair(sc);
        mOsDetector.ProcessPair(det);
        const __m128d level = LaneAbs(ext ? sc : det);

        // Noise floor on the detector input (full detector only).
        __m128d noise = _mm_setzero_pd();
        if (withNoise) {
            noise = LanePair(noiseM[i % kMaxNoiseBatch], noiseS[i % kMaxNoiseBatch]);
            x = _mm_add_pd(x, _mm_mul_pd(noise, noiseGain));
        }

        // "Tight" transient envelopes on the look-ahead signal, fed the
        // previous sub-sample's drive.
        double tightM = LaneMid(x);
        double tightS = LaneSide(x);
        if (fullDetector) {
            const __m128d fed = _mm_xor_pd(drive, pdrSign);
            mTight.ProcessPair(tightM, tightS, LaneMid(fed), LaneSide(fed), k, mInvertEnvelope);
        } else {
            mTight.ProcessPairSimple(tightM, tightS, mInvertEnvelope);
        }
        // Two 8-byte loads: the detector has just stored the two values one
        // by one, and a 16-byte load of them would stall on the store buffer.
        const __m128d tight = _mm_loadh_pd(_mm_load_sd(&tightM), &tightS);

        // Blend of the fed-back, transient and rectified levels:
        // u·(c·e·0.5) + c·e·0.5 + u·(t·T·0.5) + t·T·0.5 + r·level·0.5.
        const __m128d e = LaneAbs(mHistory.H());
        const __m128d ce = _mm_mul_pd(_mm_mul_pd(cw, e), half);
        const __m128d tT = _mm_mul_pd(_mm_mul_pd(tw, tight), half);
        const __m128d blend =
            LaneSum(_mm_mul_pd(uw, ce), ce, _mm_mul_pd(uw, tT), tT, _mm_mul_pd(_mm_mul_pd(rw, level), half));

        // (2·T − 2·n·1.0015625 + e + f1 + level + f2 + f3) · 100/7, negated
        // when Invert PDR is on.
        const __m128d twice = _mm_set1_pd(2.0);
        const __m128d lead = _mm_sub_pd(_mm_mul_pd(twice, tight), _mm_mul_pd(_mm_mul_pd(twice, noise), noiseGain));
        const __m128d sum = LaneSum(lead, e, mHistory.F1(), level, mHistory.F2(), mHistory.F3());
        drive = _mm_xor_pd(_mm_mul_pd(sum, _mm_set1_pd(14.285714285714286)), pdrSign);

        // "Classic" followers, then the mix amounts
        // clamp(±balance + env·k + sensitivity, 0, 0.5).
        __m128d env = _mm_mul_pd(mClassic.ProcessPair(blend, drive, k), half);
        if (mInvertEnvelope)
            env = _mm_sub_pd(half, env);
        const __m128d mix = LaneClamp(_mm_add_pd(_mm_add_pd(_mm_mul_pd(env, kw), balances), sensitivity),
                                      _mm_setzero_pd(), half);

        // mix·audio + n + (1 − mix)·det
        const __m128d mixed = _mm_add_pd(_mm_add_pd(_mm_mul_pd(mix, audio), noise),
                                         _mm_mul_pd(_mm_sub_pd(_mm_set1_pd(1.0), mix), det));

        mHistory.Update(ext ? sc : mixed, tight);
        peakMix = LaneMax(peakMix, _mm_mul_pd(_mm_set1_pd(2.0), mix));

        if (factor == 1) {
            result = mixed;
        } else if (i < factor - 1) {
            PairPush(filters, kDown, mixed);
        } else {
            result = mixed;
            PairThrough(filters, kDown, result);
        }
    }
    mDriveM = LaneMid(drive);
    mDriveS = LaneSide(drive);
    mPeakMixM = LaneMid(peakMix);
    mPeakMixS = LaneSide(peakMix);
    aM = LaneMid(result);
    aS = LaneSide(result);
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
