// tarvo-render: renders an audio file (or a built-in demo) through the
// Tarvo VST 3 bundle and reports the result's peak, RMS and the latency the
// plug-in reported. Exit status 0 on success, 1 on bad input, 2 on a
// plug-in failure.
#include "tools/tarvo-render/AudioFile.h"
#include "tools/tarvo-render/DemoSignal.h"
#include "tools/tarvo-render/RenderOptions.h"
#include "tools/tarvo-render/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

int Fail(int code, const std::string& message)
{
    std::fprintf(stderr, "tarvo-render: %s\n", message.c_str());
    return code;
}

// The bundle to load: the one asked for, else this build's, else the user's.
std::string FindBundle(const std::string& asked)
{
    if (!asked.empty())
        return asked;
#ifdef TARVO_BUILD_BUNDLE
    if (fs::exists(TARVO_BUILD_BUNDLE))
        return TARVO_BUILD_BUNDLE;
#endif
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.vst3/Tarvo.vst3";
}

// True when a and b name the same file (b need not exist).
bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec))
        return fs::equivalent(a, b, ec);
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

double Db(double v)
{
    return v > 0.0 ? 20.0 * std::log10(v) : -999.0;
}

} // namespace

int main(int argc, char** argv)
{
    render::RenderOptions o;
    bool help = false;
    std::string error;
    if (!render::ParseOptions(argc, argv, o, help, error))
        return Fail(1, error + "\n" + render::UsageText());
    if (help) {
        std::fputs(render::UsageText(), stdout);
        return 0;
    }
    bool listing = o.listParams || o.listPresets;

    render::StereoAudio input;
    if (!listing) {
        if (o.input.empty()) {
            input = render::MakeDemo(o.demoRate);
        } else if (!render::ReadStereo(o.input, input, error)) {
            return Fail(1, error);
        }
    }
    render::StereoAudio side;
    if (!o.sidechain.empty() && !listing) {
        if (!render::ReadStereo(o.sidechain, side, error))
            return Fail(1, error);
        if (side.sampleRate != input.sampleRate)
            return Fail(1, "the sidechain runs at " + std::to_string(static_cast<int>(side.sampleRate)) +
                               " Hz, the input at " + std::to_string(static_cast<int>(input.sampleRate)) + " Hz");
    }
    if (o.output.empty())
        o.output = o.input.empty() ? "tarvo-demo.wav" : fs::path(o.input).stem().string() + "-tarvo.wav";
    if (!listing) {
        // Neither written file may replace a file the render reads, the demo
        // render with a sidechain file included.
        const std::pair<std::string, const char*> written[] = {{o.output, "output"}, {o.dryOutput, "dry output"}};
        for (const auto& [path, what] : written) {
            if (path.empty())
                continue;
            if (!o.input.empty() && SameFile(path, o.input))
                return Fail(1, std::string("the ") + what + " would overwrite the input " + o.input);
            if (!o.sidechain.empty() && SameFile(path, o.sidechain))
                return Fail(1, std::string("the ") + what + " would overwrite the sidechain " + o.sidechain);
        }
    }

    render::Renderer renderer;
    std::string bundle = FindBundle(o.plugin);
    if (!renderer.Load(bundle, error))
        return Fail(2, error);
    double rate = listing ? 44100.0 : input.sampleRate;
    if (!renderer.Prepare(rate, o.blockSize, o.use64, !o.sidechain.empty(), error))
        return Fail(2, error);
    if (o.listParams)
        renderer.ListParams(stdout);
    if (o.listPresets)
        renderer.ListPresets(stdout);
    if (listing)
        return 0;
    if (!renderer.Apply(o, error))
        return Fail(1, error);

    bool progress = !o.quiet && isatty(STDERR_FILENO) && input.Frames() > static_cast<std::size_t>(input.sampleRate * 20);
    render::StereoAudio output;
    if (!renderer.Render(input, o.sidechain.empty() ? nullptr : &side, output, progress, error))
        return Fail(2, error);
    if (!o.dryOutput.empty() && !render::WriteStereo(o.dryOutput, input, error))
        return Fail(1, error);
    if (!render::WriteStereo(o.output, output, error))
        return Fail(1, error);

    double peak = 0.0, sum = 0.0;
    for (std::size_t i = 0; i < output.Frames(); ++i) {
        peak = std::max({peak, std::fabs(output.left[i]), std::fabs(output.right[i])});
        sum += output.left[i] * output.left[i] + output.right[i] * output.right[i];
    }
    double rms = output.Frames() ? std::sqrt(sum / (2.0 * static_cast<double>(output.Frames()))) : 0.0;
    std::printf("%s: peak %.2f dBFS, RMS %.2f dBFS, latency %d samples\n", o.output.c_str(), Db(peak), Db(rms),
                renderer.LatencySamples());
    return 0;
}
