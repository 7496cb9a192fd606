// Per-sample glides of Ostrand's continuous parameters and of the Delay.
#include "engine/ostrand/Ostrand.h"

#include "engine/ostrand/OstrandMapping.h"

#include <cmath>
#include <numbers>

namespace {

// The parameter whose editor control shows a glided quantity.
int ParamOf(OstrandGlideId id)
{
    switch (id) {
    case kGlideAngle: return kParamAngle;
    case kGlideAttack: return kParamAttack;
    case kGlideRelease: return kParamRelease;
    case kGlideSensitivity: return kParamSensitivity;
    case kGlideBalance: return kParamBalance;
    case kGlideStrength: return kParamStrength;
    case kGlideOutput: return kParamOutput;
    case kGlideTight: return kParamTight;
    case kGlideClassic: return kParamClassic;
    default: return -1;
    }
}

} // namespace

//------------------------------------------------------------------------
void Ostrand::GlideStepAll()
{
    GlideStep(kGlideAngle);
    GlideStep(kGlideSensitivity);
    GlideStep(kGlideBalance);
    GlideStep(kGlideStrength);
    GlideStep(kGlideOutput);
    GlideStep(kGlideTight);
    GlideStep(kGlideClassic);
    GlideStepAttackRelease();
    GlideStepDelay();
}

//------------------------------------------------------------------------
void Ostrand::GlideStep(OstrandGlideId id)
{
    OstrandGlide& glide = mGlides[id];
    if (mPhase < 2 || !glide.Pending())
        return;
    double v = glide.Advance(mRate);
    if (glide.Near(v)) {
        if (glide.hold < 1) {
            v = glide.target;
            const IFxParam* param = GetParam(ParamOf(id));
            if (mEditor != nullptr && param != nullptr)
                mEditor->RefreshParamControl(ParamOf(id), param->ToNormalized());
        }
        --glide.hold;
    }
    glide.applied = v;
    ApplyGlideValue(id, v);
}

//------------------------------------------------------------------------
void Ostrand::GlideStepAttackRelease()
{
    OstrandGlide& attack = mGlides[kGlideAttack];
    OstrandGlide& release = mGlides[kGlideRelease];
    if (mPhase < 2 || (!attack.Pending() && !release.Pending() && !mForceEnvelopeRefresh))
        return;
    double a = attack.Advance(mRate);
    double r = release.Advance(mRate);
    if (attack.Near(a) && release.Near(r)) {
        if (attack.hold < 1) {
            a = attack.target;
            r = release.target;
            mForceEnvelopeRefresh = false;
            if (mEditor != nullptr) {
                mEditor->RefreshParamControl(kParamAttack, GetParam(kParamAttack)->ToNormalized());
                mEditor->RefreshParamControl(kParamRelease, GetParam(kParamRelease)->ToNormalized());
            }
        }
        --attack.hold;
    }
    attack.applied = attack.value = a;
    release.applied = release.value = r;
    ApplyEnvelopeTimes(a, r);
}

//------------------------------------------------------------------------
void Ostrand::GlideStepDelay()
{
    const int goal = RoundHalfAway(mDelayTarget);
    if (mPhase < 2 || (mDelayShift == mDelayShiftApplied && mDelaySteps == goal))
        return;
    const GlideRange& range = ostrand_range::kDelay;
    double state = mDelayGlide.Step(NormalizeGlide(range, mDelayTarget), mRate);
    mDelaySteps = RoundHalfAway(DenormalizeGlide(range, state));
    mAudioDelay.SetLength(72 + mDelaySteps);
    if (mDelaySteps == goal) {
        if (mDelayHold < 1)
            mDelayShiftApplied = mDelayShift;
        --mDelayHold;
    }
}

//------------------------------------------------------------------------
void Ostrand::ApplyGlideValue(OstrandGlideId id, double v)
{
    mGlides[id].value = v;
    switch (id) {
    case kGlideAngle: {
        double phi = -v * std::numbers::pi / 180.0;
        double c = std::cos(phi);
        double s = std::sin(phi);
        for (auto& rotator : mRotators)
            rotator.SetPhase(c, s);
        break;
    }
    case kGlideSensitivity: mSensitivity = v; break;
    case kGlideBalance: mBalance = v; break;
    case kGlideStrength: mStrength = v; break;
    case kGlideOutput: mGain = OutputGain(v); break;
    case kGlideTight: mTightWeight = v; break;
    case kGlideClassic: mClassicWeight = v; break;
    default: break;
    }
}

//------------------------------------------------------------------------
void Ostrand::ApplyEnvelopeTimes(double attackMs, double releaseMs)
{
    const int detectorRate = static_cast<int>((mFactor > 1 ? mFactor : 1) * mRate);
    // The envelopes' settings depend on these three values alone: the
    // stopped engine restarts this glide at every tick, mostly to no change.
    if (mEnvelopeTimesValid && attackMs == mEnvelopeAttackMs && releaseMs == mEnvelopeReleaseMs &&
        detectorRate == mEnvelopeRate)
        return;
    mClassic.SetTimes(attackMs, 10.0 * releaseMs, detectorRate);
    mTight.Configure(detectorRate);
    mEnvelopeTimesValid = true;
    mEnvelopeAttackMs = attackMs;
    mEnvelopeReleaseMs = releaseMs;
    mEnvelopeRate = detectorRate;
}

//------------------------------------------------------------------------
bool Ostrand::AnyGlidePending() const
{
    if (mForceEnvelopeRefresh)
        return true;
    for (const auto& glide : mGlides)
        if (glide.Pending())
            return true;
    return false;
}
