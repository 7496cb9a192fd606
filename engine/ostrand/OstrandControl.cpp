// Parameter handling of Ostrand: processing resets, parameter changes and
// the first run.
#include "engine/ostrand/Ostrand.h"

#include "engine/ostrand/OstrandMapping.h"

#include <mutex>

namespace {

int HoldSteps(double rate, double perRate)
{
    return static_cast<int>(rate / 44100.0 * perRate);
}

} // namespace

//------------------------------------------------------------------------
void Ostrand::ResetProcessing()
{
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    mChangeCount.fetch_add(1, std::memory_order_relaxed);
    EnsureCapacity(SampleRate());
    if (mPhase > 1) {
        double rate = SampleRate();
        if (rate != mSeenRate && mSettle == 4) {
            mFactor = 0; // no real factor: the next configuration step rebuilds everything
            mSeenRate = rate;
        }
        mRate = rate;
        mForceEnvelopeRefresh = true;
        GlideStepAll();
        ConfigureStep();
        mDelayShift = DelayShift(GetParam(kParamDelay)->Value(), mRate);
        RecomputeOversampledDelay();
        RefreshReadouts();
        if (mPhase == 2) {
            RestorePlates();
            if (mEditor != nullptr)
                mEditor->SetClipLightValues(1.0);
            mPhase = 3;
        }
    }
    mPeakL = mMeters.outputLeft;
    mPeakR = mMeters.outputRight;
    mPeakMixM = mMeters.mixMid;
    mPeakMixS = mMeters.mixSide;
}

//------------------------------------------------------------------------
void Ostrand::ParamChanged(int /*paramIdx*/)
{
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    mChangeCount.fetch_add(1, std::memory_order_relaxed);
    if (mPhase == 0) {
        mPhase = 1;
        SetupStructure();
    } else {
        if (mPhase >= 2 && mFirstRunPass < 2) {
            bool passEnds = mFirstRunPass == 0;
            FirstRunPass();
            if (passEnds)
                return;
        }
        if (mGuiChangeCount == 0 && !mPresetLoading && !mGuiEdit && mIntroTicks <= 0)
            mSettingsChanged = false;
        mRate = SampleRate();
        ReadTargets();
    }
    ReadDelay();
    ReadSwitches();
    mConfigRequested = true;
    if (mGuiEdit) {
        mGuiEdit = false;
        mSettingsChanged = true;
        mGuiChangeCount = 1;
    }
    if (mFirstRunPass >= 1)
        RefreshReadouts();
    if (mGuiChangeCount > 0)
        --mGuiChangeCount;
}

//------------------------------------------------------------------------
double Ostrand::TargetFor(OstrandGlideId id) const
{
    switch (id) {
    case kGlideAngle: return GetParam(kParamAngle)->Value();
    case kGlideAttack: return GetParam(kParamAttack)->Value();
    case kGlideRelease: return GetParam(kParamRelease)->Value();
    case kGlideSensitivity: return SensitivityOffset(GetParam(kParamSensitivity)->Value());
    case kGlideBalance: return BalanceOffset(GetParam(kParamBalance)->Value());
    case kGlideStrength: return GetParam(kParamStrength)->Value();
    case kGlideOutput: return GetParam(kParamOutput)->Value();
    case kGlideTight: return GetParam(kParamTight)->Value() / 100.0;
    case kGlideClassic: return GetParam(kParamClassic)->Value() / 100.0;
    default: return 0.0;
    }
}

//------------------------------------------------------------------------
void Ostrand::ReadTargets()
{
    const int hold = HoldSteps(mRate, 1000.0);
    for (int i = 0; i < kNumGlides; ++i) {
        OstrandGlide& glide = mGlides[i];
        glide.target = TargetFor(static_cast<OstrandGlideId>(i));
        if (Round14(glide.target) != Round14(glide.applied)) {
            // Attack and Release share the Attack counter.
            mGlides[i == kGlideRelease ? kGlideAttack : i].hold = hold;
            mSnapshotDelay = 10;
        }
    }
}

//------------------------------------------------------------------------
void Ostrand::ReadDelay()
{
    double shift = DelayShift(GetParam(kParamDelay)->Value(), mRate);
    if (Round14(shift) != Round14(mDelayShiftApplied) || Round14(shift) != Round14(mDelayShift)) {
        mDelayShift = shift;
        if (mEditor != nullptr)
            mEditor->SetDelayFader(GetParam(kParamDelay)->ToNormalized());
        RecomputeOversampledDelay();
        mDelayHold = HoldSteps(mRate, 100.0);
        mSnapshotDelay = 10;
    }
}

//------------------------------------------------------------------------
void Ostrand::ReadSwitches()
{
    auto on = [this](int idx) { return GetParam(idx)->Value() >= 0.5; };
    auto changed = [this](OstrandLight light, bool value) {
        mSnapshotDelay = 10;
        mRedrawTicks = 25;
        if (mEditor != nullptr)
            mEditor->SetSwitchLight(light, value);
    };
    if (on(kParamInvertPdr) != mInvertPdr) {
        mInvertPdr = !mInvertPdr;
        changed(kLightInvertPdr, mInvertPdr);
    }
    if (on(kParamInvertEnvelope) != mInvertEnvelope) {
        mInvertEnvelope = !mInvertEnvelope;
        changed(kLightInvertEnvelope, mInvertEnvelope);
    }
    if (on(kParamExtSidechain) != mExtSidechain) {
        mExtSidechain = !mExtSidechain;
        changed(kLightExtSidechain, mExtSidechain);
        if (mExtSidechain)
            mDrySidechain.Clear();
    }
    int style = on(kParamOversampleMode) ? kClearStyle : kRegularStyle;
    if (style != mStyleRequested) {
        mStyleRequested = style;
        mSnapshotDelay = 10;
        mRedrawTicks = 25;
        if (mEditor != nullptr)
            mEditor->SetStyleLight(style == kClearStyle ? 1.0 : 0.34);
    }
}

//------------------------------------------------------------------------
void Ostrand::FirstRunPass()
{
    if (mFirstRunPass == 0) {
        mFirstRunPass = 1;
        // A fresh instance opens on the welcome sound; one whose state the
        // host restored keeps what it was given.
        if (mParamsRestored)
            return;
        double angle = GetParam(kParamAngle)->ToNormalized(kFirstRunAngle);
        double output = GetParam(kParamOutput)->ToNormalized(kFirstRunOutput);
        if (mEditor != nullptr) {
            mEditor->MoveParamControl(kParamAngle, angle);
            mEditor->MoveParamControl(kParamOutput, output);
        } else {
            SetParameterFromGUI(kParamAngle, angle);
            SetParameterFromGUI(kParamOutput, output);
        }
        return;
    }
    ApplyGlideValue(kGlideAngle, mGlides[kGlideAngle].value);
    ApplyGlideValue(kGlideOutput, mGlides[kGlideOutput].value);
    ApplyEnvelopeTimes(mGlides[kGlideAttack].value, mGlides[kGlideRelease].value);
    for (auto& glide : mGlides)
        glide.applied = 1e8;
    mDelayShiftApplied = 1e8;
    mFirstRunPass = 2;
}

//------------------------------------------------------------------------
void Ostrand::RecomputeOversampledDelay()
{
    mDelayTarget = OversampledDelay(mDelayShift, mFactor, mIntegerDelay, &mDelayCorrected);
}
