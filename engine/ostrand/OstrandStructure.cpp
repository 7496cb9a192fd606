// Structure of Ostrand's signal chain: buffer sizes, rotator frames,
// oversampling configuration, latency and the alignment delays.
#include "engine/ostrand/Ostrand.h"

#include "engine/ostrand/OstrandMapping.h"

#include <algorithm>

namespace {

// Room for the longest latency-bound delay: two frames of the largest base
// frame plus the audio delay's offset and the longest resampler delay.
constexpr int kLatencyDelayCapacity = 2 * 4096 + 72 + 1024;
// The oversampled detector delays hold 4 ms at up to 12 times the rate.
constexpr int kMinOversampledCapacity = 2401;

} // namespace

//------------------------------------------------------------------------
void Ostrand::EnsureCapacity(double rate)
{
    if (mCapacityRate == 0.0) {
        mStage1Align.Reallocate(kLatencyDelayCapacity);
        mStage2Align.Reallocate(kLatencyDelayCapacity);
        mDryDetector.Reallocate(kLatencyDelayCapacity);
        mDrySidechain.Reallocate(kLatencyDelayCapacity);
        mMeterInput.Reallocate(kLatencyDelayCapacity);
    }
    long long need = static_cast<long long>(LookaheadSamples(std::max(rate, 0.0))) * 12 + 1;
    need = std::clamp<long long>(need, kMinOversampledCapacity, StereoDelay::kMaxCapacity);
    if (mCapacityRate == 0.0 || need > mOsDetector.Capacity()) {
        mOsDetector.Reallocate(static_cast<int>(need));
        mOsSidechain.Reallocate(static_cast<int>(need));
        if (mCapacityRate != 0.0)
            ApplyLatencyLengths();
    }
    mCapacityRate = rate;
}

//------------------------------------------------------------------------
void Ostrand::SetupStructure()
{
    mRate = SampleRate();
    if (mRate > mCapacityRate)
        EnsureCapacity(mRate);
    mDelayShift = DelayShift(GetParam(kParamDelay)->Value(), mRate);
    mFrameSize = BaseFrameSize(mRate);
    const int s = mFrameSize;
    mRotators[0].SetSize(s);
    mRotators[1].SetSize(s / 2);
    mRotators[2].SetSize(2 * s);
    if (mFrameMultiple == 2) {
        mStage1Align.SetLength(s);
        mStage2Align.SetLength(2 * s - s / 2);
    } else {
        mStage1Align.SetLength(0);
    }

    // The audio delay jumps straight to its target: the rotators restart
    // from silence anyway.
    RecomputeOversampledDelay();
    mDelaySteps = RoundHalfAway(mDelayTarget);
    mAudioDelay.SetLength(72 + mDelaySteps);
    mDelayGlide.state = NormalizeGlide(ostrand_range::kDelay, mDelayTarget);
    mDelayShiftApplied = mDelayShift;

    mNoise.SetRate(static_cast<int>(mRate));
    mLatencyRequested = true;
}

//------------------------------------------------------------------------
void Ostrand::ConfigureStep()
{
    const int juice = static_cast<int>(GetParam(kParamJuice)->Value());
    const JuiceSettings settings = JuiceFor(juice, mRate);
    const int oldMultiple = mFrameMultiple;
    mSingleStage = settings.singleStage;
    mSimpleDetector = settings.simpleDetector;
    mIntegerDelay = settings.integerDelay;
    mFrameMultiple = settings.frameMultiple;

    if (settings.factor != mFactor) {
        mFactor = settings.factor;
        ConfigureResamplers();
        mHistory.Configure(static_cast<int>(mRate), mFactor);
        SetupStructure();
        mForceEnvelopeRefresh = true;
        GlideStepAttackRelease();
    }
    if (mSettle == 4 && mStyleRequested != mStyle) {
        mStyle = mStyleRequested;
        ConfigureResamplers();
        PushStyleLight();
        SetupStructure();
    }
    if (mFrameMultiple != oldMultiple)
        SetupStructure();
}

//------------------------------------------------------------------------
void Ostrand::ConfigureResamplers()
{
    const int rate = static_cast<int>(mRate);
    if (mStyle != kClearStyle)
        mFilterKind = kFilterBiquad;
    else
        mFilterKind = mRate > 50000.0 ? kFilterDirect : kFilterBlock;
    for (int i = 0; i < 4; ++i) {
        mBiquads[i].Configure(mFactor);
        mFirs[i].Configure(rate, mFactor);
    }
    for (ResampleBlockFirPair& pair : mBlockFirPairs)
        pair.Configure(ResampleBlockFirPair::kBlockSize, rate, mFactor);
}

//------------------------------------------------------------------------
void Ostrand::LatencyStep()
{
    mLatencyRequested = false;
    mLatencySamples = LatencyFor(mRate, mFactor, mFrameMultiple, mStyle);
    ApplyLatencyLengths();
    const int detectorRate = static_cast<int>((mFactor > 1 ? mFactor : 1) * mRate);
    mTight.Configure(detectorRate);
    mEnvelopeTimesValid = mEnvelopeTimesValid && detectorRate == mEnvelopeRate;
    ChangeLatency(mLatencySamples);
}

//------------------------------------------------------------------------
void Ostrand::ApplyLatencyLengths()
{
    const int resampler = ResamplerDelay(mStyle, mRate, mFactor);
    const int lookahead = LookaheadSamples(mRate);
    mOsDetector.SetLength(lookahead * mFactor);
    mOsSidechain.SetLength(lookahead * mFactor);
    mDryDetector.SetLength(mLatencySamples - resampler - lookahead);
    mDrySidechain.SetLength(mLatencySamples - resampler - lookahead);
    mMeterInput.SetLength(mLatencySamples);
}
