#include "tools/tarvo-render/Renderer.h"

#include "tools/tarvo-render/TextColumns.h"

#include "pluginterfaces/vst/ivstunits.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace render {

namespace {

constexpr ParamID kBypassId = 0x62706173;
constexpr ParamID kPresetId = 0x70727374;

std::string Narrow(const char16* text)
{
    // UTF-8 for the terminal (units such as the degree sign).
    std::u16string wide;
    for (; text != nullptr && *text != 0; ++text)
        wide += static_cast<char16_t>(*text);
    return Utf16ToUtf8(wide.c_str());
}

// Labels as a table cell: the plug-in may pad units for its own display.
std::string Trimmed(std::string s)
{
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

} // namespace

//------------------------------------------------------------------------
bool Renderer::Load(const std::string& bundle, std::string& error)
{
    if (!mModule.Load(bundle)) {
        error = mModule.Error();
        return false;
    }
    mPlug = std::make_unique<tarvo::host::HostPlugin>("tarvo-render", true);
    return mPlug->Create(mModule.Factory(), &error);
}

//------------------------------------------------------------------------
bool Renderer::Prepare(double sampleRate, int blockSize, bool use64, bool sidechain, std::string& error)
{
    mRate = sampleRate;
    mBlock = blockSize;
    mUse64 = use64;
    if (!mPlug->Prepare(sampleRate, blockSize, use64, sidechain, true, &error))
        return false;
    Settle(260);
    return true;
}

//------------------------------------------------------------------------
void Renderer::Settle(int minTicks)
{
    // The plug-in's timer runs in virtual time: one tick stands for 8 ms.
    // Its first run and its latency report come within the first few hundred
    // ticks; after that it is settled once nothing new reaches the host.
    const int quietTicks = 40, maxTicks = 4000;
    std::size_t seen = mPlug->handler.edits.size() + mPlug->handler.restarts.size();
    int lastChange = 0;
    for (int tick = 1; tick <= maxTicks; ++tick) {
        mPlug->loop.Tick();
        std::size_t now = mPlug->handler.edits.size() + mPlug->handler.restarts.size();
        if (now != seen) {
            seen = now;
            lastChange = tick;
        }
        if (tick >= minTicks && tick - lastChange >= quietTicks)
            break;
    }
    mLatency = static_cast<int>(mPlug->processor->getLatencySamples());
}

//------------------------------------------------------------------------
bool Renderer::FindParam(const std::string& name, ParamID& id)
{
    int32 count = mPlug->controller->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        if (mPlug->controller->getParameterInfo(i, info) != kResultOk || info.id == kBypassId || info.id == kPresetId)
            continue;
        if (Lower(Narrow(info.title)) == Lower(name)) {
            id = info.id;
            return true;
        }
    }
    return false;
}

//------------------------------------------------------------------------
void Renderer::ListParams(std::FILE* out)
{
    auto* c = mPlug->controller;
    std::vector<std::vector<std::string>> rows{{"Parameter", "From", "", "To", "Unit", "Now"}};
    int32 count = c->getParameterCount();
    for (int32 i = 0; i < count; ++i) {
        ParameterInfo info{};
        if (c->getParameterInfo(i, info) != kResultOk || info.id == kBypassId || info.id == kPresetId)
            continue;
        String128 now{};
        c->getParamStringByValue(info.id, c->getParamNormalized(info.id), now);
        rows.push_back({Trimmed(Narrow(info.title)), Number(c->normalizedParamToPlain(info.id, 0.0)), "..",
                        Number(c->normalizedParamToPlain(info.id, 1.0)), Trimmed(Narrow(info.units)),
                        Trimmed(Narrow(now))});
    }
    std::fputs(FormatColumns(rows, {Align::kLeft, Align::kRight, Align::kLeft, Align::kRight, Align::kLeft,
                                    Align::kLeft})
                   .c_str(),
               out);
}

//------------------------------------------------------------------------
void Renderer::ListPresets(std::FILE* out)
{
    IUnitInfo* units = nullptr;
    if (mPlug->component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)) != kResultOk)
        return;
    ProgramListInfo list{};
    if (units->getProgramListInfo(0, list) == kResultOk) {
        for (int32 i = 0; i < list.programCount; ++i) {
            String128 name{};
            units->getProgramName(list.id, i, name);
            std::fprintf(out, "%2d  %s\n", i, Narrow(name).c_str());
        }
    }
    units->release();
}

//------------------------------------------------------------------------
bool Renderer::FindPreset(const std::string& text, int& index, std::string& error)
{
    IUnitInfo* units = nullptr;
    if (mPlug->component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)) != kResultOk) {
        error = "the plug-in has no presets";
        return false;
    }
    ProgramListInfo list{};
    bool found = false;
    if (units->getProgramListInfo(0, list) == kResultOk) {
        char* end = nullptr;
        long n = std::strtol(text.c_str(), &end, 10);
        if (!text.empty() && *end == '\0') {
            found = n >= 0 && n < list.programCount;
            index = static_cast<int>(n);
        }
        for (int32 i = 0; i < list.programCount && !found; ++i) {
            String128 name{};
            units->getProgramName(list.id, i, name);
            if (Lower(Narrow(name)) == Lower(text)) {
                index = i;
                found = true;
            }
        }
    }
    units->release();
    if (!found)
        error = "no factory preset '" + text + "' (see --list-presets)";
    mPresetCount = list.programCount;
    return found;
}

//------------------------------------------------------------------------
bool Renderer::Apply(const RenderOptions& o, std::string& error)
{
    tarvo::host::ParameterChanges changes;
    if (!o.preset.empty()) {
        int index = 0;
        if (!FindPreset(o.preset, index, error))
            return false;
        changes.Add(kPresetId, (index + 0.5) / mPresetCount);
    }
    auto* c = mPlug->controller;
    for (const auto& [name, text] : o.sets) {
        ParamID id = 0;
        if (!FindParam(name, id)) {
            error = "no parameter '" + name + "' (see --list-params)";
            return false;
        }
        double lo = c->normalizedParamToPlain(id, 0.0), hi = c->normalizedParamToPlain(id, 1.0);
        char* end = nullptr;
        double plain = std::strtod(text.c_str(), &end);
        ParamValue normalized = 0.0;
        if (end != text.c_str() && *end == '\0' && std::isfinite(plain)) {
            if (plain < lo || plain > hi) {
                double clamped = std::clamp(plain, lo, hi);
                std::fprintf(stderr, "tarvo-render: warning: %s=%g is outside %g .. %g; using %g\n", name.c_str(),
                             plain, lo, hi, clamped);
                plain = clamped;
            }
            normalized = c->plainParamToNormalized(id, plain);
        } else {
            String128 wide{};
            for (std::size_t i = 0; i < text.size() && i < 127; ++i)
                wide[i] = static_cast<char16>(static_cast<unsigned char>(text[i]));
            if (c->getParamValueByString(id, wide, normalized) != kResultOk) {
                error = "'" + text + "' is not a value of " + name;
                return false;
            }
        }
        changes.Add(id, normalized);
    }
    if (o.bypass)
        changes.Add(kBypassId, 1.0);
    if (changes.Empty())
        return true;
    // A block of no frames carries the changes, as hosts flush parameters.
    std::vector<float*> none;
    std::vector<double*> noneWide;
    tresult r = mUse64 ? mPlug->Process<double>(noneWide, noneWide, noneWide, 0, &changes)
                       : mPlug->Process<float>(none, none, none, 0, &changes);
    if (r != kResultOk) {
        error = "the plug-in refused the settings";
        return false;
    }
    Settle(40);
    return true;
}

//------------------------------------------------------------------------
template <typename T>
bool Renderer::RenderAs(const StereoAudio& input, const StereoAudio* side, StereoAudio& output, bool progress,
                        std::string& error)
{
    const std::size_t total = input.Frames() + static_cast<std::size_t>(mLatency);
    const auto block = static_cast<std::size_t>(mBlock);
    const auto tickEvery = static_cast<std::size_t>(std::max(1.0, std::round(mRate * 0.008)));
    std::vector<std::vector<T>> in(2, std::vector<T>(block)), sc(2, std::vector<T>(block)), out(2, std::vector<T>(block));
    std::vector<T*> inPtr{in[0].data(), in[1].data()}, outPtr{out[0].data(), out[1].data()};
    std::vector<T*> scPtr;
    if (side != nullptr)
        scPtr = {sc[0].data(), sc[1].data()};

    output.sampleRate = input.sampleRate;
    output.left.assign(input.Frames(), 0.0);
    output.right.assign(input.Frames(), 0.0);
    std::size_t sinceTick = 0;
    int shownPercent = -1;
    for (std::size_t pos = 0; pos < total; pos += block) {
        std::size_t n = std::min(block, total - pos);
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t f = pos + i;
            bool inside = f < input.Frames();
            in[0][i] = static_cast<T>(inside ? input.left[f] : 0.0);
            in[1][i] = static_cast<T>(inside ? input.right[f] : 0.0);
            if (side != nullptr) {
                bool sideInside = f < side->Frames();
                sc[0][i] = static_cast<T>(sideInside ? side->left[f] : 0.0);
                sc[1][i] = static_cast<T>(sideInside ? side->right[f] : 0.0);
            }
        }
        if (mPlug->Process<T>(inPtr, scPtr, outPtr, static_cast<int>(n), nullptr) != kResultOk) {
            error = "the plug-in failed to process a block";
            return false;
        }
        // The first latency frames are the plug-in's delay: drop them.
        for (std::size_t i = 0; i < n; ++i) {
            std::size_t f = pos + i;
            if (f < static_cast<std::size_t>(mLatency))
                continue;
            std::size_t o = f - static_cast<std::size_t>(mLatency);
            output.left[o] = static_cast<double>(out[0][i]);
            output.right[o] = static_cast<double>(out[1][i]);
        }
        // The plug-in's timer keeps ticking while audio runs.
        for (sinceTick += n; sinceTick >= tickEvery; sinceTick -= tickEvery)
            mPlug->loop.Tick();
        if (progress) {
            int percent = static_cast<int>(100.0 * static_cast<double>(pos + n) / static_cast<double>(total));
            if (percent != shownPercent) {
                shownPercent = percent;
                int bar = percent * 40 / 100;
                std::fprintf(stderr, "\r[%-40s] %3d%%", std::string(static_cast<std::size_t>(bar), '#').c_str(), percent);
                std::fflush(stderr);
            }
        }
    }
    if (progress)
        std::fprintf(stderr, "\n");
    return true;
}

//------------------------------------------------------------------------
bool Renderer::Render(const StereoAudio& input, const StereoAudio* side, StereoAudio& output, bool progress,
                      std::string& error)
{
    return mUse64 ? RenderAs<double>(input, side, output, progress, error)
                  : RenderAs<float>(input, side, output, progress, error);
}

} // namespace render
