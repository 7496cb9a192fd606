#include "framework/IFxBase.h"

#include "framework/HostTable.h"
#include "framework/IEditorLink.h"
#include "framework/TextField.h"

#include <algorithm>
#include <cstring>

//------------------------------------------------------------------------
IFxBase::IFxBase(int nParams, const char* channelIOString, int nPresets, const char* effectName,
                 const char* productName, const char* makerName, int version, int uniqueID,
                 int makerID, int latency, bool /*doesMidi*/, bool doesStateChunks,
                 bool isInstrument, int api)
    : mChannelConfig(fx::ChannelConfig::Parse(channelIOString))
    , mParams(static_cast<std::size_t>(std::max(nParams, 0)))
    , mUniqueID(uniqueID)
    , mMakerID(makerID)
    , mVersion(version)
    , mApi(api)
    , mDoesStateChunks(doesStateChunks)
    , mIsInstrument(isInstrument)
    , mLatency(std::max(latency, 0))
    , mPresets(static_cast<std::size_t>(std::max(nPresets, 0)))
{
    fx::CopyText(mEffectName, effectName);
    fx::CopyText(mProductName, productName);
    fx::CopyText(mMakerName, makerName);

    mInPtrs.assign(static_cast<std::size_t>(mChannelConfig.maxInputs), nullptr);
    mOutPtrs.assign(static_cast<std::size_t>(mChannelConfig.maxOutputs), nullptr);
    mInChannels.resize(mInPtrs.size());
    mOutChannels.resize(mOutPtrs.size());
    for (std::size_t i = 0; i < mInChannels.size(); ++i)
        mInChannels[i].slot = &mInPtrs[i];
    for (std::size_t i = 0; i < mOutChannels.size(); ++i)
        mOutChannels[i].slot = &mOutPtrs[i];
    MarkInputsConnected(0, NInputChannels(), false);
    MarkOutputsConnected(0, NOutputChannels(), false);
    if (NInputChannels() > 0)
        mBypassDelay.Resize(NInputChannels(), mLatency);
}

//------------------------------------------------------------------------
IFxBase::~IFxBase()
{
    delete mEditor;
}

namespace {

// Input i to output i (in place is fine); outputs without an input are zeroed.
template <typename Sample>
void PassThrough(Sample** inputs, Sample** outputs, int nIn, int nOut, int nFrames)
{
    for (int i = 0; i < nOut; ++i) {
        if (outputs[i] == nullptr)
            continue;
        if (i < nIn && inputs[i] != nullptr) {
            if (inputs[i] != outputs[i])
                std::memmove(outputs[i], inputs[i], sizeof(Sample) * static_cast<std::size_t>(nFrames));
        } else {
            std::fill_n(outputs[i], nFrames, Sample(0));
        }
    }
}

} // namespace

//------------------------------------------------------------------------
void IFxBase::RenderBlock(double** inputs, double** outputs, int nFrames)
{
    PassThrough(inputs, outputs, NInputChannels(), NOutputChannels(), nFrames);
}

//------------------------------------------------------------------------
void IFxBase::RenderBlockFloat(float** inputs, float** outputs, int nFrames)
{
    PassThrough(inputs, outputs, NInputChannels(), NOutputChannels(), nFrames);
}

//------------------------------------------------------------------------
void IFxBase::TransportTimeSig(int* numerator, int* denominator)
{
    if (numerator)
        *numerator = mTransport.timeSigNumerator;
    if (denominator)
        *denominator = mTransport.timeSigDenominator;
}

//------------------------------------------------------------------------
void IFxBase::SetHost(const char* hostName, int version)
{
    mHost = fx::HostCodeForName(hostName);
    mHostVersion = version;
}

//------------------------------------------------------------------------
void IFxBase::SetParameterFromGUI(int paramIdx, double normalized)
{
    IFxParam* param = GetParam(paramIdx);
    if (param == nullptr)
        return;
    std::lock_guard<std::recursive_mutex> lock(mLock);
    param->SetFromNormalized(normalized);
    InformHostOfParamChange(paramIdx, normalized);
    ParamChanged(paramIdx);
}

//------------------------------------------------------------------------
void IFxBase::InformHostOfAllParamChanges()
{
    std::lock_guard<std::recursive_mutex> lock(mLock);
    for (int i = 0; i < NParams(); ++i)
        InformHostOfParamChange(i, mParams[static_cast<std::size_t>(i)].ToNormalized());
}

//------------------------------------------------------------------------
void IFxBase::AttachEditor(IEditorLink* surface)
{
    std::lock_guard<std::recursive_mutex> lock(mLock);
    if (surface == mEditor)
        return;
    delete mEditor;
    mEditor = surface;
    if (mEditor != nullptr) {
        mEditor->CreateBackBuffer();
        RefreshEditorParams();
    }
}

//------------------------------------------------------------------------
void IFxBase::RefreshEditorParams()
{
    if (mEditor == nullptr)
        return;
    for (int i = 0; i < NParams(); ++i)
        mEditor->PushParamToControls(i, mParams[static_cast<std::size_t>(i)].ToNormalized(), true);
}

//------------------------------------------------------------------------
void IFxBase::ChangeLatency(int samples)
{
    mLatency = std::max(samples, 0);
    if (NInputChannels() > 0)
        mBypassDelay.Resize(NInputChannels(), mLatency);
}
