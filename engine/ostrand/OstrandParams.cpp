// Construction of Ostrand: identity, parameters, factory presets and the
// state serialiser.
#include "engine/ostrand/Ostrand.h"

#include "framework/FxTypes.h"

#include <mutex>

namespace {
const char kDegreeLabel[] = " \xC2\xB0"; // a space, then the degree sign in UTF-8
}

//------------------------------------------------------------------------
Ostrand::Ostrand(void* instanceInfo)
    : OstrandBase(instanceInfo, kNumOstrandParams, "2-2 4-2", kNumOstrandPresets, "Tarvo", "",
                  "quenby audio", 0x00010002, FourCharCode("tArV"), FourCharCode("Qenb"), 4096,
                  false, true, false, 2)
    , mAudioDelay(250000)
    , mNoise(3, -148.5, true)
{
    InitParams();
    InitPresets();
#if defined(TARVO_OSTRAND_EDITOR)
    BuildEditor();
#endif

    mAudioDelay.SetLength(0);
    mGlides[kGlideAngle].range = ostrand_range::kAngle;
    mGlides[kGlideAttack].range = ostrand_range::kAttack;
    mGlides[kGlideRelease].range = ostrand_range::kRelease;
    mGlides[kGlideSensitivity].range = ostrand_range::kSensitivity;
    mGlides[kGlideBalance].range = ostrand_range::kBalance;
    mGlides[kGlideStrength].range = ostrand_range::kStrength;
    mGlides[kGlideOutput].range = ostrand_range::kOutput;
    mGlides[kGlideTight].range = ostrand_range::kWeight;
    mGlides[kGlideClassic].range = ostrand_range::kWeight;

    // Start every glide at rest on the default values, so that the first
    // change glides from there rather than from the bottom of its range.
    for (int i = 0; i < kNumGlides; ++i) {
        mGlides[i].Reset(TargetFor(static_cast<OstrandGlideId>(i)));
        ApplyGlideValue(static_cast<OstrandGlideId>(i), mGlides[i].value);
    }
    ReadSwitches();
    mConfigRequested = false;
    mSnapshotDelay = 0;
    mRedrawTicks = 0;
    EnsureCapacity(SampleRate());
    ApplyEnvelopeTimes(mGlides[kGlideAttack].value, mGlides[kGlideRelease].value);
    ConfigureResamplers();
    mHistory.Configure(static_cast<int>(mRate), mFactor);

    // A host need not send any parameter or state before its first block;
    // the engine takes its first parameter pass now so that it is set up
    // for processing either way.
    ParamChanged(kParamAngle);
    mLatencySamples = LatencyFor(mRate, mFactor, mFrameMultiple, mStyle);
    ApplyLatencyLengths();

    StartIdleTimer(8);
}

//------------------------------------------------------------------------
Ostrand::~Ostrand()
{
    StopIdleTimer();
}

//------------------------------------------------------------------------
void Ostrand::InitParams()
{
    // The switches are set up first, then the continuous parameters.
    GetParam(kParamInvertEnvelope)->SetupInteger("Invert Envelope", 0, 0, 1, " ");
    GetParam(kParamInvertPdr)->SetupInteger("Invert PDR", 1, 0, 1, " ");
    GetParam(kParamExtSidechain)->SetupInteger("Ext Sidechain", 0, 0, 1, " ");
    GetParam(kParamOversampleMode)->SetupInteger("Oversample Mode", 0, 0, 1, " ");

    GetParam(kParamAngle)->SetShapeExponent(1.0);
    GetParam(kParamAngle)->SetupContinuous("Angle", 180.0, -180.0, 180.0, 1e-13, kDegreeLabel);
    GetParam(kParamDelay)->SetupInteger("Delay", 0, -72, 72, "Fractional Samples");
    GetParam(kParamAttack)->SetShapeExponent(4.87);
    GetParam(kParamAttack)->SetupContinuous("Attack", 25.5, 0.01, 800.0, 1e-13, "ms");
    GetParam(kParamRelease)->SetShapeExponent(5.07);
    GetParam(kParamRelease)->SetupContinuous("Release", 50.0, 1.0, 1600.0, 1e-13, "ms");
    GetParam(kParamSensitivity)->SetShapeExponent(1.0);
    GetParam(kParamSensitivity)->SetupContinuous("Sensitivity", 0.0, -100.0, 100.0, 1e-13, "<->");
    GetParam(kParamBalance)->SetShapeExponent(1.0);
    GetParam(kParamBalance)->SetupContinuous("M/S Balance", 0.0, -100.0, 100.0, 1e-13, "<->");
    GetParam(kParamStrength)->SetShapeExponent(4.15);
    GetParam(kParamStrength)->SetupContinuous("Strength", 1.0, 0.0001, 18.0, 1e-13, "x");
    GetParam(kParamOutput)->SetShapeExponent(2.7);
    GetParam(kParamOutput)->SetupContinuous("Output", 0.0, -4.0, 22.0, 1e-13, "dB");
    GetParam(kParamTight)->SetShapeExponent(1.0);
    GetParam(kParamTight)->SetupContinuous("Tight", 50.0, 0.0, 100.0, 0.00001, "%");
    GetParam(kParamClassic)->SetShapeExponent(1.0);
    GetParam(kParamClassic)->SetupContinuous("Classic", 50.0, 0.0, 100.0, 0.00001, "%");
    GetParam(kParamJuice)->SetupInteger("Juice", 1, 0, 5, " ");
}

//------------------------------------------------------------------------
void Ostrand::InitPresets()
{
    // Angle, Delay, Attack, Release, Sensitivity, M/S Balance, Strength,
    // Output, Tight, Classic, Juice, Invert Envelope, Invert PDR,
    // Ext Sidechain, Oversample Mode. Attack values below the range are
    // stored as they are and clamped when recalled.
    DefinePreset("Welcome to Tarvo", {152.560976, 0, 25.5, 50.0, 0.0, 0.0, 1.0, 5.2, 50.0, 50.0, 1, 0, 1, 0, 0});
    DefinePreset("Drum Love", {-63.718795, 47, 8.82185e-05, 7.77035, 37.662338, -17.853057, 1.656161, 0.0,
                               48.18182, 100.0, 3, 0, 0, 0, 0});
    DefinePreset("Pumpy Phaselove", {-45.89957, -38, 0.0020614318, 27.42914, 43.376623, -17.853057, 6.91811,
                                     0.0, 100.0, 68.63636, 3, 0, 0, 0, 0});
    DefinePreset("Silky Rotation", {15.322812, 52, 1.78375e-05, 1329.63069, 37.662338, -17.853057, 1.656161,
                                    0.0, 82.72727, 100.0, 3, 0, 0, 0, 0});
    DefinePreset("Vocal Press", {178.678008, 2, 21.794608, 8.634795, 0.0, -41.818182, 8.391209, 10.749162,
                                 50.45455, 50.0, 3, 0, 1, 0, 0});
    DefinePreset("Big Yellow", {-114.893421, 9, 0.004645, 1.609375, -11.948052, -35.324676, 5.222594, 1.881419,
                                21.36364, 56.36364, 3, 0, 0, 0, 0});
    DefinePreset("Gluon Expander", {114.893421, -9, 0.15, 135.981863, -22.181818, 32.415584, 2.930438, 0.0,
                                    14.09091, 77.72728, 3, 1, 1, 0, 0});
    DefinePreset("Some Velvet Gate", {168.292683, 0, 25.295937, 6.145136, -44.792208, 17.766234, 9.226804,
                                      -0.111232, 50.0, 50.0, 4, 1, 1, 0, 0});
    DefinePreset("DJVoltaic Bass", {-7.984218, 26, 25.5, 50.0, 41.558442, -32.987013, 1.092116, 0.0, 84.09091,
                                    80.45455, 4, 0, 1, 0, 0});
    DefinePreset("BigWheel Jump", {129.388831, -62, 800.0, 1.049555, 100.0, -100.0, 17.36942, 1.575703,
                                   87.95013, 27.771, 3, 1, 1, 0, 0});
    DefinePreset("KickerKing", {-31.38348, 72, 340.188678, 1.0, -66.233766, 69.350649, 1.151025, 0.0,
                                62.27273, 100.0, 1, 0, 0, 0, 1});
}

//------------------------------------------------------------------------
bool Ostrand::SerializeParams(StateChunk* chunk)
{
    if (chunk == nullptr)
        return false;
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    bool ok = true;
    for (int i = 0; i < NParams() && ok; ++i) {
        int before = chunk->ByteCount();
        ok = chunk->Append(GetParam(i)->Value()) > before;
    }
    return ok;
}

//------------------------------------------------------------------------
int Ostrand::UnserializeParams(StateChunk* chunk, int startPos)
{
    std::lock_guard<std::recursive_mutex> lock(PluginLock());
    if (chunk != nullptr && mFirstRunPass < 2)
        mParamsRestored = true;
    mChangeCount.fetch_add(1, std::memory_order_relaxed);
    return OstrandBase::UnserializeParams(chunk, startPos);
}

//------------------------------------------------------------------------
void Ostrand::PresetLoadStarting()
{
    mPresetLoading = true;
    mFaderDragging = false;
    mChangeCount.fetch_add(1, std::memory_order_relaxed);
}

//------------------------------------------------------------------------
void Ostrand::PresetLoadFinished()
{
    // The load is over whatever the banner does; leaving the mark set would
    // make every later host change look like a preset recall.
    mPresetLoading = false;
    mChangeCount.fetch_add(1, std::memory_order_relaxed);
    if (mIntroTicks > 190)
        return;
    mPresetLoaded = true;
    mSnapshotDelay = 10;
    mRedrawTicks = 50;
    mRefreshWithLights = true;
}
