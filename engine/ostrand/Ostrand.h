#pragma once
// The effect: a stereo phase-rotation dynamics processor. The input is split
// into mid and side, both are turned in phase by the Angle, and a level
// detector (on the input or on the sidechain) decides sample by sample how
// much of the rotated signal is mixed into the dry one. Detection and mixing
// run oversampled by the factor "Juice" selects.
//
// Threads: RenderBlock runs on the audio thread under the plug-in lock (the
// binding holds it); ParamChanged, ResetProcessing and the serialisers take
// the lock; IdleTick runs on the timer thread and takes it too. The audio
// path never allocates or throws: every buffer is sized when the rate
// changes, and structure changes only reuse that memory.
#include "engine/dsp/EnvelopeFollowerPair.h"
#include "engine/dsp/FeedbackHistoryPair.h"
#include "engine/dsp/GlideCoefficient.h"
#include "engine/dsp/NoiseSource.h"
#include "engine/dsp/ResampleBiquadPair.h"
#include "engine/dsp/ResampleBlockFirPair.h"
#include "engine/dsp/ResampleFirPair.h"
#include "engine/dsp/SpectralRotatorPair.h"
#include "engine/dsp/StereoDelay.h"
#include "engine/dsp/TransientEnvelopePair.h"
#include "engine/ostrand/OstrandBase.h"
#include "engine/ostrand/OstrandEditorServices.h"
#include "engine/ostrand/OstrandEditorState.h"
#include "engine/ostrand/OstrandGlide.h"
#include "engine/ostrand/OstrandParams.h"
#include "engine/ostrand/OstrandReadouts.h"
#include "framework/RelaxedAtomic.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class Ostrand : public OstrandBase {
public:
    enum FilterKind : int { kFilterBiquad = 0, kFilterDirect, kFilterBlock };

    explicit Ostrand(void* instanceInfo = nullptr);
    ~Ostrand() override;

    // --- Engine hooks --------------------------------------------------------
    void ResetProcessing() override;
    void ParamChanged(int paramIdx) override;
    // Inputs 0/1 main left/right, 2/3 sidechain left/right (may be null);
    // outputs 0/1 left/right.
    void RenderBlock(double** inputs, double** outputs, int nFrames) override;
    void IdleTick() override;
    bool IdleTicksChangeNothing() const override { return mTicksChangeNothing.load(std::memory_order_relaxed); }
    bool SerializeParams(StateChunk* chunk) override;
    // The base's restore, remembering that the host restored a state.
    int UnserializeParams(StateChunk* chunk, int startPos) override;
    void PresetLoadStarting() override;
    void PresetLoadFinished() override;

    // --- Editor services -----------------------------------------------------
    // Not owned; null until an editor exists.
    void SetEditorServices(OstrandEditorServices* services)
    {
        mEditor = services;
        mChangeCount.fetch_add(1, std::memory_order_relaxed);
    }
    void SetHighlightTicks(int ticks, bool add) { mHighlightTicks = add ? mHighlightTicks + ticks : ticks; }
    void RestorePlates();
    void ResetClipLights();

    // The plug-in's own editor (ui/). BuildEditor makes the surface and its
    // controls and attaches them; builds without an editor never call it.
    // The operations below act on the controls through mHandles and are
    // defined with the editor; they run on the editor thread.
    void BuildEditor();
    void RevealReadout(double handle);
    void StoreMemorySlot();
    void RecallMemorySlot();
    void ClearMemorySlot();
    void RefreshMemoryLights();
    void Undo();
    void Redo();
    void InitUndoHistory();
    void PushUndoSnapshot();
    // Moves what the engine recorded for the editor onto the controls, so an
    // editor operation acts on the latest state (defined with the editor).
    void FlushEditorState();

    OstrandEditorHandles mHandles;
    OstrandSnapshot mMemorySlots[4] = {};  // slots A ... D, normalised values
    bool mMemorySlotFull[4] = {false, false, false, false};
    std::vector<OstrandSnapshot> mUndoHistory; // time order, at most kUndoHistoryCap
    int mUndoPosition = 0;

    // Editor state the controls change on the editor thread while parameter
    // handling on the audio thread and the timer change it too: relaxed
    // atomics, so neither side ever sees a torn or racing value.
    RelaxedAtomic<bool> mHoverActive{false};
    RelaxedAtomic<bool> mSettingsChanged{false};
    RelaxedAtomic<bool> mUserInteracting{false};
    RelaxedAtomic<bool> mGuiEdit{false};
    RelaxedAtomic<bool> mAngleDragged{false};
    RelaxedAtomic<bool> mFaderDragging{false};
    RelaxedAtomic<bool> mEvenDelayOnly{false};
    RelaxedAtomic<int> mGuiChangeCount{0};
    RelaxedAtomic<int> mRedrawTicks{0};
    RelaxedAtomic<int> mHighlightTicks{0};
    RelaxedAtomic<int> mSnapshotDelay{0};
    RelaxedAtomic<int> mLogoHoverState{0};
    RelaxedAtomic<int> mIntroTicks{200};

    // Knob gearing (mouse pixels per full turn, divided by the knob's
    // height); each knob reads its own once, when the editor is built.
    double mGearingAngle = 7.0;
    double mGearingDelay = 11.0;
    double mGearingAttack = 7.0;
    double mGearingRelease = 6.2;
    double mGearingSensitivity = 7.0;
    double mGearingBalance = 7.0;
    double mGearingStrength = 8.5;
    double mGearingOutput = 10.5;
    double mGearingTight = 4.0;
    double mGearingClassic = 4.0;
    double mGearingJuice = 2.8;

    // --- Observation (editor readouts, tests) ----------------------------------
    const char* Readout(OstrandReadout readout) const { return mReadouts[readout]; }
    // The delay the Delay readout shows, in microseconds.
    double DelayMicros() const;
    const OstrandMeters& Meters() const { return mMeters; }
    int EnginePhase() const { return mPhase; }
    int SettleCount() const { return mSettle; }
    bool FirstRunDone() const { return mFirstRunPass >= 2; }
    bool AudioRunning() const { return mAudioRunning; }
    int SilenceCount() const { return mSilenceCount; }
    int OversamplingFactor() const { return mFactor; }
    int OversamplingStyle() const { return mStyle; }
    int FrameMultiple() const { return mFrameMultiple; }
    int FrameSize() const { return mFrameSize; }
    int FilterKindInUse() const { return mFilterKind; }
    bool SimpleDetector() const { return mSimpleDetector; }
    double OutputGainFactor() const { return mGain; }
    double GlideValue(OstrandGlideId id) const { return mGlides[id].value; }
    double GlideTarget(OstrandGlideId id) const { return mGlides[id].target; }
    double GlideApplied(OstrandGlideId id) const { return mGlides[id].applied; }
    int GlideHold(OstrandGlideId id) const { return mGlides[id].hold; }
    // The glide's smoothing state, from which its next glide starts.
    double GlideState(OstrandGlideId id) const { return mGlides[id].coefficient.state; }
    double DelayShiftTarget() const { return mDelayShift; }
    double DelayShiftApplied() const { return mDelayShiftApplied; }
    int DelayHold() const { return mDelayHold; }
    int AudioDelayLength() const { return mAudioDelay.Length(); }
    // Restarts the detector noise from a fixed seed (reproducible output).
    void SeedNoise(std::uint32_t seed) { mNoise.Seed(seed); }

private:
    // Construction (OstrandParams.cpp)
    void InitParams();
    void InitPresets();

    // Parameter handling (OstrandControl.cpp)
    double TargetFor(OstrandGlideId id) const;
    void ReadTargets();
    void ReadDelay();
    void ReadSwitches();
    void FirstRunPass();
    void RecomputeOversampledDelay();

    // Structure, configuration and latency (OstrandStructure.cpp)
    void EnsureCapacity(double rate);
    void SetupStructure();
    void ConfigureStep();
    void ConfigureResamplers();
    void LatencyStep();
    void ApplyLatencyLengths();

    // Glides (OstrandGlides.cpp)
    void GlideStepAll();
    void GlideStep(OstrandGlideId id);
    void GlideStepAttackRelease();
    void GlideStepDelay();
    void ApplyGlideValue(OstrandGlideId id, double v);
    void ApplyEnvelopeTimes(double attackMs, double releaseMs);
    bool AnyGlidePending() const;

    // Readouts and timer (OstrandTimer.cpp)
    void RefreshReadouts();
    void SetReadout(OstrandReadout readout);
    void EditorHousekeeping();
    void AdvanceBanner();
    // A tick with the engine at rest and nothing changed since the last full
    // tick repeats that tick's outcome: only the editor hand-over is redone.
    bool TickChangesNothing() const;
    // True when the tick left every piece of state it touches as it found
    // it, so the next quiet tick repeats it exactly.
    bool QuietTick();
    // Meters, clip lights and the redraw countdown of every tick.
    void HandOverToEditor();
    void RememberQuietInputs();
    // No glide step would change anything (the Delay included).
    bool GlidesAtRest() const;
    void ShowSwitchLights();
    void PushStyleLight();

    // Signal chain (OstrandRender.cpp)
    void RenderSample(double inL, double inR, double scL, double scR, double& outL, double& outR);
    void OversampledCore(double& aM, double& aS, double dM, double dS, double cM, double cS);
    // The core with the resampler set fixed at compile time.
    template <class Filter>
    void OversampledCoreWith(Filter* filters, double& aM, double& aS, double dM, double dS, double cM, double cS);
    void FinishBlockMeters();

    OstrandEditorServices* mEditor = nullptr;
    // The editor's services object when this build has the editor (owned).
    std::unique_ptr<OstrandEditorServices> mEditorLink;

    // Engine control
    int mPhase = 0;
    int mSettle = 0;
    int mFirstRunPass = 0;          // 0 pending, 1 controls moved, 2 done
    bool mParamsRestored = false;   // a state or preset arrived before the first run
    bool mConfigRequested = false;
    bool mLatencyRequested = false;
    bool mForceEnvelopeRefresh = false;
    bool mPresetLoading = false;
    bool mPresetLoaded = false;
    bool mRefreshWithLights = false;
    bool mBannerLightsDone = false;
    int mGuideChars = 0;
    int mBannerState = 0;           // 0 waiting, 1 running, 2 over
    bool mAudioRunning = false;
    bool mBlockRan = false;
    int mIdleTicks = 0;
    int mSilenceCount = 0;

    // Structure
    double mRate = 44100.0;      // copied from the base at every setup
    double mSeenRate = 44100.0;  // the last rate processing acted on
    double mCapacityRate = 0.0;  // the rate the delay buffers are sized for
    int mFrameSize = 2048;
    int mFrameMultiple = 2;
    int mFactor = 2;
    int mStyle = 0;
    int mStyleRequested = 0;
    int mFilterKind = 0;         // which resampler set the style and rate select
    int mLatencySamples = 4096;
    bool mSingleStage = false;
    bool mSimpleDetector = true;
    bool mIntegerDelay = true;
    bool mInvertEnvelope = false;
    bool mInvertPdr = true;
    bool mExtSidechain = false;

    // Glided quantities and the values the detector uses
    OstrandGlide mGlides[kNumGlides];
    double mStrength = 1.0;
    double mSensitivity = 0.0;
    double mBalance = 0.0;
    double mTightWeight = 0.5;
    double mClassicWeight = 0.5;
    double mGain = 1.0;
    double mDelayShift = 0.0;        // base-rate samples
    double mDelayShiftApplied = 0.0;
    double mDelayTarget = 0.0;       // oversampled samples
    bool mDelayCorrected = false;
    int mDelayHold = 0;
    int mDelaySteps = 0;             // oversampled samples the audio delay adds now
    GlideCoefficient mDelayGlide;

    // Signal-chain objects
    // Mid and side of stage 1 (S), 2 (S/2), 3 (2S), made at the sizes of the
    // 44100 Hz structure that the first setup asks for.
    SpectralRotatorPair mRotators[3] = {SpectralRotatorPair(2048), SpectralRotatorPair(1024), SpectralRotatorPair(4096)};
    StereoDelay mStage1Align;
    StereoDelay mStage2Align;
    StereoDelay mDryDetector;
    StereoDelay mDrySidechain;
    StereoDelay mOsDetector;
    StereoDelay mOsSidechain;
    StereoDelay mMeterInput;
    StereoDelay mAudioDelay;
    TransientEnvelopePair mTight; // mid and side
    EnvelopeFollowerPair mClassic; // mid and side
    NoiseSource mNoise;
    // Resamplers as (mid, side) pairs: up-sampling of audio, detector and
    // sidechain, then down-sampling, in one set per filter kind.
    ResampleBiquadPair mBiquads[4];
    ResampleFirPair mFirs[4];
    ResampleBlockFirPair mBlockFirPairs[4];
    FeedbackHistoryPair mHistory;
    // What the envelopes were last set to (ApplyEnvelopeTimes).
    bool mEnvelopeTimesValid = false;
    double mEnvelopeAttackMs = 0.0;
    double mEnvelopeReleaseMs = 0.0;
    int mEnvelopeRate = 0;
    double mDriveM = 0.0;
    double mDriveS = 0.0;

    // Meters
    double mSumInL = 0.0, mSumInR = 0.0, mSumOutL = 0.0, mSumOutR = 0.0;
    double mPeakL = 0.0, mPeakR = 0.0, mPeakMixM = 0.0, mPeakMixS = 0.0;
    OstrandMeters mMeters;
    bool mClipPending[2] = {false, false};

    ReadoutText mReadouts[kNumReadouts] = {};

    // Quiet ticks: what the last full tick saw. mChangeCount counts the calls
    // that may give a tick work (parameter changes, processing resets,
    // preset loads, state restores, configuration after a block).
    std::atomic<unsigned> mChangeCount{0};
    unsigned mQuietChangeCount = 0;
    bool mQuietValid = false;
    double mQuietRate = 0.0;
    double mQuietParams[kNumOstrandParams] = {};
    // The last tick was quiet and changed nothing (IdleTicksChangeNothing).
    std::atomic<bool> mTicksChangeNothing{false};
};
