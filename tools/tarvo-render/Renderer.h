#pragma once
// Drives one Tarvo instance as a host would for an offline render: load the
// bundle, set up processing, let the plug-in settle (its timer runs the
// first run and reports the latency), apply preset, parameters and bypass,
// settle again, then process the file in blocks and remove the reported
// latency so the output lines up with the input.
#include "tools/tarvo-render/AudioFile.h"
#include "tools/tarvo-render/RenderOptions.h"
#include "vst3/host/HostModule.h"
#include "vst3/host/HostPlugin.h"

#include <cstdio>
#include <memory>
#include <string>

namespace render {

class Renderer {
public:
    bool Load(const std::string& bundle, std::string& error);
    bool Prepare(double sampleRate, int blockSize, bool use64, bool sidechain, std::string& error);
    void ListParams(std::FILE* out);
    void ListPresets(std::FILE* out);
    // Preset, --set values (clamped with a warning) and bypass.
    bool Apply(const RenderOptions& options, std::string& error);
    bool Render(const StereoAudio& input, const StereoAudio* side, StereoAudio& output, bool progress,
                std::string& error);
    int LatencySamples() const { return mLatency; }

private:
    // Ticks the plug-in's timer until it has been quiet for a while.
    void Settle(int minTicks);
    bool FindParam(const std::string& name, Steinberg::Vst::ParamID& id);
    bool FindPreset(const std::string& text, int& index, std::string& error);
    template <typename T> bool RenderAs(const StereoAudio& input, const StereoAudio* side, StereoAudio& output,
                                        bool progress, std::string& error);

    tarvo::host::HostModule mModule;
    std::unique_ptr<tarvo::host::HostPlugin> mPlug;
    double mRate = 44100.0;
    int mBlock = 512;
    bool mUse64 = false;
    int mLatency = 0;
    int mPresetCount = 1;
};

} // namespace render
