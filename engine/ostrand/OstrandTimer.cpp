// Ostrand's timer tick, value readouts and the editor-side housekeeping.
#include "engine/ostrand/Ostrand.h"

#include "engine/ostrand/OstrandMapping.h"

#include <mutex>

//------------------------------------------------------------------------
void Ostrand::IdleTick()
{
    // The tick changes the same glide and structure state as a block of
    // audio, so it runs under the plug-in lock rather than racing it.
    std::lock_guard<std::recursive_mutex> lock(PluginLock());

    if (TickChangesNothing()) {
        mTicksChangeNothing.store(QuietTick(), std::memory_order_relaxed);
        return;
    }
    mTicksChangeNothing.store(false, std::memory_order_relaxed);

    if (mPhase == 1) {
        mPhase = 2;
        InformHostOfAllParamChanges();
        ResetProcessing();
        RefreshReadouts();
        for (int i = 0; i < NParams(); ++i)
            ParamChanged(i);
    }

    if (mPhase > 0 && mSettle == 0) {
        if (AnyGlidePending()) {
            GlideStepAll();
            // Only lifts a fresh engine: dropping phase 3 back to 2 would
            // hold back the latency step below.
            if (mPhase < 2)
                mPhase = 2;
        } else {
            mSettle = 1;
        }
    }

    if (!mAudioRunning || mBlockRan) {
        mBlockRan = false;
        mIdleTicks = 0;
        GlideStepAll();
    } else if (++mIdleTicks >= 10) {
        mAudioRunning = false;
    }

    if (FirstRunDone() && (mSettingsChanged || mPresetLoaded) && mSnapshotDelay >= 1) {
        if (mSnapshotDelay == 1) {
            if (mEditor != nullptr)
                mEditor->PushUndoSnapshot();
            mPresetLoaded = false;
        }
        --mSnapshotDelay;
    } else {
        if (mSettle < 4) {
            mSnapshotDelay = 0;
            ++mSettle;
        }
        mSettingsChanged = false;
    }

    if (mLatencyRequested && mPhase > 2)
        LatencyStep();

    EditorHousekeeping();

    if (!mAudioRunning) {
        // Parameter changes take effect while the host is stopped too.
        mForceEnvelopeRefresh = true;
        if (mPhase > 2)
            ConfigureStep();
        for (int i = 0; i < 500; ++i) {
            GlideStepAll();
            int juice = static_cast<int>(GetParam(kParamJuice)->Value());
            if (mFactor != JuiceFor(juice, mRate).factor)
                ConfigureStep();
            // Once every glide rests and the factor is the requested one,
            // the remaining steps would change nothing.
            else if (GlidesAtRest())
                break;
        }
        RememberQuietInputs();
    } else {
        mQuietValid = false;
    }
}

//------------------------------------------------------------------------
bool Ostrand::GlidesAtRest() const
{
    return mPhase < 2 ||
           (!AnyGlidePending() && mDelayShift == mDelayShiftApplied && mDelaySteps == RoundHalfAway(mDelayTarget));
}

//------------------------------------------------------------------------
void Ostrand::RememberQuietInputs()
{
    mQuietValid = true;
    mQuietChangeCount = mChangeCount.load(std::memory_order_relaxed);
    mQuietRate = SampleRate();
    for (int i = 0; i < kNumOstrandParams; ++i)
        if (const IFxParam* param = GetParam(i))
            mQuietParams[i] = param->Value();
}

//------------------------------------------------------------------------
bool Ostrand::TickChangesNothing() const
{
    // Every condition under which a full tick would change state or call
    // the editor differently from the last one: an engine still settling,
    // audio playing, glides or a latency update pending, undo, banner,
    // highlight or hint animations running, or any input of the readouts
    // and of the configuration step moved (a host may set parameter values
    // without a change call).
    if (!mQuietValid || mChangeCount.load(std::memory_order_relaxed) != mQuietChangeCount)
        return false;
    if (mPhase != 3 || mSettle != 4 || !FirstRunDone() || mBannerState != 2 || mAudioRunning)
        return false;
    if (!GlidesAtRest() || mLatencyRequested || mStyle != mStyleRequested)
        return false;
    // (A snapshot delay left from a host change waits for an editor edit.)
    if (mSettingsChanged || (mPresetLoaded && mSnapshotDelay >= 1) || mHighlightTicks > 0 || mLogoHoverState == 1 ||
        mGuideChars > 0 || mRefreshWithLights || mUserInteracting)
        return false;
    if (SampleRate() != mQuietRate)
        return false;
    for (int i = 0; i < kNumOstrandParams; ++i) {
        const IFxParam* param = GetParam(i);
        if (param != nullptr && param->Value() != mQuietParams[i])
            return false;
    }
    return true;
}

//------------------------------------------------------------------------
bool Ostrand::QuietTick()
{
    // What a full tick at rest still changes: it forgets the block mark,
    // hands the meters over and has the editor redraw, and its restart of the
    // attack/release glide moves the two glide states one step closer to
    // their targets. That step lands on the targets again, so the envelope
    // times, the Attack and Release controls (already showing these
    // parameter values), the readout texts and the configuration would all
    // come out as they are; every other glide step would return at once.
    mBlockRan = false;
    mIdleTicks = 0;
    mRedrawTicks = 1;
    HandOverToEditor();
    // The glide step is a rounding one-pole that ends on a fixed point of
    // its own arithmetic: once a step leaves both states as they were, every
    // later one does too. Until then (or with a redraw the editor asked for)
    // later ticks still change something.
    const double attack = mGlides[kGlideAttack].coefficient.state;
    const double release = mGlides[kGlideRelease].coefficient.state;
    mGlides[kGlideAttack].Advance(mRate);
    mGlides[kGlideRelease].Advance(mRate);
    return mGlides[kGlideAttack].coefficient.state == attack && mGlides[kGlideRelease].coefficient.state == release &&
           mRedrawTicks == 0;
}

//------------------------------------------------------------------------
void Ostrand::EditorHousekeeping()
{
    if (mHighlightTicks == 1 || mHighlightTicks == 2) {
        RestorePlates();
        mHighlightTicks = -1;
    } else if (mHighlightTicks > 0) {
        --mHighlightTicks;
    }

    AdvanceBanner();

    // The user guide hint types itself in while the logo is hovered and
    // backs out afterwards.
    if (mLogoHoverState == 1 || mGuideChars > 0) {
        mGuideChars += mLogoHoverState == 1 ? (mGuideChars < kGuideHintLength ? 1 : 0) : -1;
        if (mGuideChars > 0 || mLogoHoverState == 1) {
            FormatGuideHint(mGuideChars, mReadouts[kReadoutDelay]);
            if (mEditor != nullptr)
                mEditor->SetReadoutText(kReadoutDelay, mReadouts[kReadoutDelay]);
        } else {
            RefreshReadouts();
        }
    }

    if (mRefreshWithLights) {
        mRefreshWithLights = false;
        RefreshReadouts();
        ShowSwitchLights();
        PushStyleLight();
    }
    if (!mAudioRunning) {
        RefreshReadouts();
        mRedrawTicks = 1;
    }
    HandOverToEditor();
}

//------------------------------------------------------------------------
void Ostrand::HandOverToEditor()
{
    if (mEditor != nullptr) {
        mEditor->SetMeters(mMeters);
        for (int side = 0; side < 2; ++side)
            if (mClipPending[side])
                mEditor->ShowClipLight(side == 1);
    }
    mClipPending[0] = mClipPending[1] = false;

    if (mRedrawTicks > 0) {
        if (mEditor != nullptr)
            mEditor->MarkAllControlsDirty();
        --mRedrawTicks;
    }
}

//------------------------------------------------------------------------
void Ostrand::AdvanceBanner()
{
    if (mBannerState == 0 && FirstRunDone())
        mBannerState = 1;
    if (mBannerState != 1)
        return;
    if (mIntroTicks > 0)
        --mIntroTicks;
    if (mIntroTicks <= 192 && !mBannerLightsDone) {
        mBannerLightsDone = true;
        ShowSwitchLights();
        PushStyleLight();
        mSnapshotDelay = 0;
        if (mEditor != nullptr)
            mEditor->InitUndoHistory();
    }
    if (mIntroTicks <= 0) {
        mBannerState = 2;
        RefreshReadouts();
        ResetProcessing();
        LatencyStep();
        return;
    }
    FormatBannerText(200 - mIntroTicks, mReadouts[kReadoutDelay]);
    if (mEditor != nullptr)
        mEditor->SetReadoutText(kReadoutDelay, mReadouts[kReadoutDelay]);
}

//------------------------------------------------------------------------
void Ostrand::RefreshReadouts()
{
    if (mPhase < 2)
        return;
    if (mUserInteracting) {
        ResetClipLights();
        mUserInteracting = false;
    }
    const bool delayBusy = mBannerState == 1 || mGuideChars > 0 || mLogoHoverState == 1;
    for (int i = 0; i < kNumReadouts; ++i) {
        if (i == kReadoutDelay && delayBusy)
            continue;
        SetReadout(static_cast<OstrandReadout>(i));
    }
}

//------------------------------------------------------------------------
void Ostrand::SetReadout(OstrandReadout readout)
{
    char* out = mReadouts[readout];
    switch (readout) {
    case kReadoutDelay: FormatDelayReadout(DelayMicros(), out); break;
    case kReadoutJuice:
        FormatJuiceReadout(static_cast<int>(GetParam(kParamJuice)->Value()),
                           GetParam(kParamOversampleMode)->Value() >= 0.5, out);
        break;
    case kReadoutTight: FormatWeightReadout(mGlides[kGlideTight].target, out); break;
    case kReadoutClassic: FormatWeightReadout(mGlides[kGlideClassic].target, out); break;
    case kReadoutAttack: FormatAttackReadout(mGlides[kGlideAttack].target, out); break;
    case kReadoutRelease: FormatReleaseReadout(mGlides[kGlideRelease].target, out); break;
    case kReadoutAngle: FormatAngleReadout(mGlides[kGlideAngle].target, out); break;
    case kReadoutSensitivity: FormatSensitivityReadout(mGlides[kGlideSensitivity].target, out); break;
    case kReadoutBalance: FormatBalanceReadout(mGlides[kGlideBalance].target, out); break;
    case kReadoutStrength: FormatStrengthReadout(mGlides[kGlideStrength].target, out); break;
    case kReadoutOutput: FormatOutputReadout(mGlides[kGlideOutput].target, out); break;
    default: return;
    }
    if (mEditor != nullptr)
        mEditor->SetReadoutText(readout, out);
}

//------------------------------------------------------------------------
double Ostrand::DelayMicros() const
{
    return DelayReadoutMicros(mDelayShift, mDelayCorrected, mRate);
}

//------------------------------------------------------------------------
void Ostrand::ShowSwitchLights()
{
    if (mEditor == nullptr)
        return;
    mEditor->SetSwitchLight(kLightInvertEnvelope, mInvertEnvelope);
    mEditor->SetSwitchLight(kLightInvertPdr, mInvertPdr);
    mEditor->SetSwitchLight(kLightExtSidechain, mExtSidechain);
}

//------------------------------------------------------------------------
void Ostrand::PushStyleLight()
{
    if (mEditor != nullptr)
        mEditor->SetStyleLight(mStyle == kClearStyle ? 1.0 : 0.34);
}

//------------------------------------------------------------------------
void Ostrand::RestorePlates()
{
    if (mEditor != nullptr)
        mEditor->ShowPlates();
    mRedrawTicks = 50;
    mHoverActive = false;
    if (mLogoHoverState == 1)
        mLogoHoverState = 2;
}

//------------------------------------------------------------------------
void Ostrand::ResetClipLights()
{
    if (mEditor != nullptr)
        mEditor->HideClipLights();
    mRedrawTicks = 20;
}
