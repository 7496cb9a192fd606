// A small plug-in on IFxVST3 for the host harness: stereo gain with an
// optional sidechain mix, factory presets, a switch and a latency parameter
// whose changes are reported from the idle timer, as the real plug-in does.
#include "vst3/IFxVST3.h"
#include "vst3/ModuleEntry.h"

#include <atomic>
#include <cmath>

namespace {

enum Param { kGain, kSideMix, kLatency, kMode, kNumParams };

class GainPlugin : public IFxVST3 {
public:
    GainPlugin()
        : IFxVST3(nullptr, kNumParams, "2-2 4-2", 3, "TarvoTestGain", "", "quenby audio", 0x00010002,
                  FourCharCode("tGan"), FourCharCode("Qenb"), 64, false, true, false, 2)
    {
        GetParam(kGain)->SetupContinuous("Gain", 1.0, 0.0, 4.0, 0.001, "x");
        GetParam(kGain)->SetShapeExponent(2.0);
        GetParam(kSideMix)->SetupContinuous("Side Mix", 0.0, 0.0, 1.0, 0.01);
        GetParam(kLatency)->SetupInteger("Latency", 64, 0, 1000, "smp");
        GetParam(kMode)->SetupInteger("Mode", 0, 0, 2);
        GetParam(kMode)->AddValueText(0, "Clean");
        GetParam(kMode)->AddValueText(1, "Warm");
        GetParam(kMode)->AddValueText(2, "Hot");
        DefinePreset("Unity", {1.0, 0.0, 64.0, 0.0});
        DefinePreset("Double", {2.0, 0.0, 64.0, 1.0});
        DefinePreset("Side Only", {0.0, 1.0, 128.0, 2.0});
        StartIdleTimer(8);
    }

    ~GainPlugin() override { StopIdleTimer(); }

    void ParamChanged(int /*paramIdx*/) override
    {
        mGain = GetParam(kGain)->Value();
        mSideMix = GetParam(kSideMix)->Value();
        mWantedLatency = static_cast<int>(GetParam(kLatency)->Value());
    }

    void IdleTick() override
    {
        int ticks = ++mTicks;
        if (ticks == 1) {
            // As the real plug-in does on its first tick: tell the host the
            // values it starts with.
            InformHostOfAllParamChanges();
        }
        int wanted = mWantedLatency;
        if (wanted != Latency())
            ChangeLatency(wanted);
    }

    void RenderBlock(double** inputs, double** outputs, int nFrames) override
    {
        double g = mGain, mix = mSideMix;
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < nFrames; ++i)
                outputs[c][i] = inputs[c][i] * g + inputs[c + 2][i] * mix;
    }

private:
    std::atomic<int> mTicks{0};
    std::atomic<int> mWantedLatency{64};
    double mGain = 1.0;
    double mSideMix = 0.0;
};

} // namespace

IFxVST3* tarvo::vst3::NewPluginInstance()
{
    return new GainPlugin;
}
