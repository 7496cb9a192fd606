// Parameter state, preset slots and preset banks of IFxBase.
#include "framework/IFxBase.h"

#include "framework/TextField.h"

#include <cmath>
#include <cstdio>
#include <cstring>

//------------------------------------------------------------------------
bool IFxBase::SerializeParams(StateChunk* chunk)
{
    if (chunk == nullptr)
        return false;
    std::lock_guard<std::recursive_mutex> lock(mLock);
    bool ok = true;
    for (int i = 0; i < NParams() && ok; ++i) {
        double value = mParams[static_cast<std::size_t>(i)].Value();
        ok = chunk->Append(value) > 0;
    }
    return ok;
}

//------------------------------------------------------------------------
int IFxBase::UnserializeParams(StateChunk* chunk, int startPos)
{
    if (chunk == nullptr)
        return -1;
    std::lock_guard<std::recursive_mutex> lock(mLock);
    int pos = startPos;
    for (int i = 0; i < NParams() && pos >= 0; ++i) {
        double value = 0.0;
        pos = chunk->Read(&value, pos);
        if (pos < 0)
            value = 0.0;
        mParams[static_cast<std::size_t>(i)].SetPlain(value);
    }
    for (int i = 0; i < NParams(); ++i)
        ParamChanged(i);
    return pos;
}

//------------------------------------------------------------------------
bool IFxBase::SaveState(StateChunk* chunk)
{
    std::lock_guard<std::recursive_mutex> lock(mLock);
    return SerializeParams(chunk);
}

//------------------------------------------------------------------------
int IFxBase::LoadState(StateChunk* chunk, int startPos)
{
    std::lock_guard<std::recursive_mutex> lock(mLock);
    return UnserializeParams(chunk, startPos);
}

//------------------------------------------------------------------------
bool IFxBase::StateEquals(const StateChunk* chunk, int startPos)
{
    if (chunk == nullptr)
        return false;
    std::lock_guard<std::recursive_mutex> lock(mLock);
    int pos = startPos;
    for (int i = 0; i < NParams(); ++i) {
        double stored = 0.0;
        pos = chunk->Read(&stored, pos);
        if (pos < 0)
            return false;
        auto current = static_cast<float>(mParams[static_cast<std::size_t>(i)].Value());
        if (!(std::fabs(current - static_cast<float>(stored)) <= 1e-5f))
            return false;
    }
    return true;
}

//------------------------------------------------------------------------
const IFxPreset* IFxBase::GetPreset(int idx) const
{
    if (idx < 0 || idx >= NPresets())
        return nullptr;
    return &mPresets[static_cast<std::size_t>(idx)];
}

//------------------------------------------------------------------------
bool IFxBase::DefinePreset(const char* name, std::initializer_list<double> values)
{
    if (static_cast<int>(values.size()) != NParams())
        return false;
    for (auto& preset : mPresets) {
        if (preset.initialized)
            continue;
        preset.initialized = true;
        fx::CopyText(preset.name, name);
        preset.chunk.Clear();
        for (double value : values)
            preset.chunk.Append(value);
        return true;
    }
    return false;
}

//------------------------------------------------------------------------
void IFxBase::NextUserPresetName(const std::vector<IFxPreset>& presets, char* out, int outSize)
{
    static const char* const kUserPreset = "user preset";
    int count = 0;
    for (const auto& preset : presets)
        if (std::strstr(preset.name, kUserPreset) != nullptr)
            ++count;
    std::snprintf(out, static_cast<std::size_t>(outSize), "%s %d", kUserPreset, count + 1);
}

//------------------------------------------------------------------------
bool IFxBase::LoadPreset(int idx)
{
    if (idx < 0 || idx >= NPresets())
        return false;
    IFxPreset& preset = mPresets[static_cast<std::size_t>(idx)];
    bool ok;
    if (preset.initialized) {
        // A slot that cannot hold every value is refused before anything
        // changes, so the plug-in never sees a load start that never finishes.
        if (preset.chunk.ByteCount() < NParams() * static_cast<int>(sizeof(double)))
            return false;
        PresetLoadStarting();
        ok = UnserializeParams(&preset.chunk, 0) > 0;
    } else {
        NextUserPresetName(mPresets, preset.name, IFxPreset::kNameSize);
        preset.initialized = true;
        preset.chunk.Clear();
        ok = SerializeParams(&preset.chunk);
    }
    if (ok) {
        mCurrentPreset = idx;
        ++mPresetLoads;
        PresetLoadFinished();
        RefreshEditorParams();
    }
    return ok;
}

//------------------------------------------------------------------------
const char* IFxBase::PresetName(int idx) const
{
    const IFxPreset* preset = GetPreset(idx);
    return preset ? preset->name : "";
}

//------------------------------------------------------------------------
bool IFxBase::SerializePresets(StateChunk* chunk)
{
    if (chunk == nullptr)
        return false;
    bool ok = true;
    for (std::size_t i = 0; i < mPresets.size() && ok; ++i) {
        const IFxPreset& preset = mPresets[i];
        chunk->AppendText(preset.name);
        std::uint8_t flag = preset.initialized ? 1 : 0;
        chunk->Append(flag);
        if (preset.initialized)
            chunk->AppendBytes(preset.chunk.Data(), preset.chunk.ByteCount());
        ok = chunk->ByteCount() > 0;
    }
    return ok;
}

//------------------------------------------------------------------------
int IFxBase::UnserializePresets(StateChunk* chunk, int startPos)
{
    if (chunk == nullptr)
        return -1;
    int pos = startPos;
    char name[IFxPreset::kNameSize] = {};
    for (std::size_t i = 0; i < mPresets.size() && pos >= 0; ++i) {
        IFxPreset& preset = mPresets[i];
        pos = chunk->ReadTextAt(name, sizeof(name), pos);
        fx::CopyText(preset.name, name);
        std::uint8_t flag = 0;
        pos = chunk->Read(&flag, pos);
        if (pos < 0)
            break;
        bool wasInitialized = preset.initialized;
        preset.initialized = flag != 0;
        if (preset.initialized) {
            pos = UnserializeParams(chunk, pos);
            if (pos > 0) {
                preset.chunk.Clear();
                SerializeParams(&preset.chunk);
            } else {
                // The bank ended inside this preset's values: the slot keeps
                // what it held rather than claiming a state it never received.
                preset.initialized = wasInitialized;
            }
        }
    }
    LoadPreset(mCurrentPreset);
    return pos;
}
