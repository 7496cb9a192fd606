#include "tools/tarvo-snapshot/Snapshot.h"

#include "editor/headless/IEditorSurfaceHeadless.h"
#include "engine/ostrand/Ostrand.h"
#include "tools/pngwrite/PngWriter.h"
#include "tools/tarvo-render/DemoSignal.h"
#include "tools/tarvo-snapshot/SnapshotScript.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <strings.h>
#include <vector>

namespace {

constexpr int kEditorWidth = 674;
constexpr int kEditorHeight = 262;
constexpr int kEditorFrameRate = 30;
// Longest script read.
constexpr std::streamsize kMaxScriptBytes = 1 << 20;

//------------------------------------------------------------------------
int FindParam(Ostrand& plug, const std::string& name)
{
    for (int i = 0; i < plug.NParams(); ++i)
        if (strcasecmp(plug.GetParam(i)->DisplayName(), name.c_str()) == 0)
            return i;
    return -1;
}

//------------------------------------------------------------------------
bool ReadScript(const std::string& path, std::vector<SnapshotStep>& steps, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::string text(static_cast<std::size_t>(kMaxScriptBytes) + 1, '\0');
    in.read(text.data(), kMaxScriptBytes + 1);
    if (in.gcount() > kMaxScriptBytes) {
        error = path + " is longer than 1 MiB";
        return false;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (!ParseSnapshotScript(text, steps, error)) {
        error = path + ", " + error;
        return false;
    }
    return true;
}

// The render tool's demo signal fed through the plug-in one editor frame
// (1/30 s) at a time, looping, the way a playing host would.
class DemoFeed {
public:
    explicit DemoFeed(bool on)
    {
        if (on)
            mAudio = render::MakeDemo(44100.0);
    }
    void RenderFrame(Ostrand& plug)
    {
        const std::size_t frames = mAudio.Frames();
        if (frames == 0)
            return;
        constexpr int kBlock = 245; // six blocks per 1470-sample frame
        std::vector<double> l(kBlock), r(kBlock), silence(kBlock, 0.0), outL(kBlock), outR(kBlock);
        for (int block = 0; block < 6; ++block) {
            for (int i = 0; i < kBlock; ++i, mPos = (mPos + 1) % frames) {
                l[static_cast<std::size_t>(i)] = mAudio.left[mPos];
                r[static_cast<std::size_t>(i)] = mAudio.right[mPos];
            }
            double* in[4] = {l.data(), r.data(), silence.data(), silence.data()};
            double* out[2] = {outL.data(), outR.data()};
            std::lock_guard<std::recursive_mutex> lock(plug.PluginLock());
            plug.RenderBlock(in, out, kBlock);
        }
    }

private:
    render::StereoAudio mAudio;
    std::size_t mPos = 0;
};

} // namespace

//------------------------------------------------------------------------
IEditorSurface* EnsureSnapshotEditor(Ostrand& plug)
{
    if (auto* surface = dynamic_cast<IEditorSurface*>(plug.EditorSurface()))
        return surface;
    auto* surface = new IEditorSurfaceHeadless(&plug, kEditorWidth, kEditorHeight, kEditorFrameRate);
    surface->AddBackground(100, "background.png");
    surface->SetHandleMouseOver(true);
    plug.AttachEditor(surface);
    return surface;
}

//------------------------------------------------------------------------
bool ApplySnapshotSetting(Ostrand& plug, const SnapshotSetting& setting, std::string& error)
{
    const int idx = FindParam(plug, setting.name);
    if (idx < 0) {
        error = "no parameter named \"" + setting.name + "\"";
        return false;
    }
    IFxParam* param = plug.GetParam(idx);
    double plain = 0.0;
    int fromText = 0;
    if (param->FindValueText(setting.value.c_str(), &fromText)) {
        plain = fromText;
    } else {
        errno = 0;
        char* end = nullptr;
        plain = std::strtod(setting.value.c_str(), &end);
        if (end == setting.value.c_str() || *end != '\0' || !std::isfinite(plain)) {
            error = "\"" + setting.value + "\" is not a value of " + param->DisplayName();
            return false;
        }
    }
    // As the processing call applies a host edit: value, controls, engine.
    std::lock_guard<std::recursive_mutex> lock(plug.PluginLock());
    param->SetFromNormalized(param->ToNormalized(plain));
    if (IEditorLink* editor = plug.EditorSurface())
        editor->PushParamToControls(idx, param->ToNormalized(), true);
    plug.ParamChanged(idx);
    return true;
}

//------------------------------------------------------------------------
bool RunSnapshot(const SnapshotOptions& options, std::string& error)
{
    std::vector<SnapshotStep> steps;
    if (!options.script.empty() && !ReadScript(options.script, steps, error))
        return false;
    auto plug = std::make_unique<Ostrand>();
    plug->SetSampleRate(44100.0);
    plug->ResetProcessing();
    IEditorSurface* surface = EnsureSnapshotEditor(*plug);
    for (const SnapshotSetting& setting : options.settings)
        if (!ApplySnapshotSetting(*plug, setting, error))
            return false;

    surface->OpenEditorWindow(nullptr);
    DemoFeed demo(options.demoAudio);
    for (int tick = 0; tick < options.ticks; ++tick) {
        demo.RenderFrame(*plug);
        RunSnapshotFrame(*plug, *surface);
    }
    for (const SnapshotStep& step : steps)
        if (!RunSnapshotStep(*plug, *surface, step, error))
            return false;

    RasterSysBitmap* image = surface->GetBackBuffer();
    const std::vector<uint8_t> png = image != nullptr ? EncodeBitmapPng(*image) : std::vector<uint8_t>();
    if (png.empty()) {
        error = "the editor has no image to write";
        return false;
    }
    if (!WriteFileBytes(options.output, png)) {
        error = "cannot write " + options.output + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
