// Surface construction, building the editor, values in, and access.
#include "editor/IEditorSurface.h"

#include "editor/IBitmapControl.h"
#include "framework/IFxBase.h"
#include "raster/RasterBitmapCache.h"
#include "raster/RasterResources.h"

#include <cctype>
#include <cstring>
#include <mutex>
#include <new>

namespace {

// Takes the plug-in lock for a change of the control list, so a value push
// from the audio thread never walks a list being changed.
std::unique_lock<std::recursive_mutex> LockPlug(IFxBase* plug)
{
    return plug != nullptr ? std::unique_lock<std::recursive_mutex>(plug->PluginLock())
                           : std::unique_lock<std::recursive_mutex>();
}

//------------------------------------------------------------------------
bool HasPngExtension(const char* fileName)
{
    if (fileName == nullptr)
        return false;
    const char* dot = std::strrchr(fileName, '.');
    if (dot == nullptr || std::strlen(dot + 1) != 3)
        return false;
    return std::tolower(static_cast<unsigned char>(dot[1])) == 'p' &&
           std::tolower(static_cast<unsigned char>(dot[2])) == 'n' &&
           std::tolower(static_cast<unsigned char>(dot[3])) == 'g';
}

// What the bitmap cache's decoder needs to reach the surface.
struct StripRequest {
    IEditorSurface* surface;
    const char* fileName;
};

//------------------------------------------------------------------------
RasterBitmap* DecodeForCache(int32_t id, void* context)
{
    auto* request = static_cast<StripRequest*>(context);
    return request->surface->LoadPlatformBitmap(id, request->fileName);
}

} // namespace

//------------------------------------------------------------------------
IEditorSurface::IEditorSurface(IFxBase* plug, int width, int height, int refreshRate)
    : mPlug(plug), mWidth(width > 0 ? width : 0), mHeight(height > 0 ? height : 0),
      mRefreshRate(refreshRate > 0 ? refreshRate : 30)
{
    mControls.reserve(128);
}

//------------------------------------------------------------------------
IEditorSurface::~IEditorSurface()
{
    delete mKeyCatcher;
    mKeyCatcher = nullptr;
    DestroyControls();
}

//------------------------------------------------------------------------
void IEditorSurface::DestroyControls()
{
    auto lock = LockPlug(mPlug);
    while (!mControls.empty()) {
        delete mControls.back();
        mControls.pop_back();
    }
}

//------------------------------------------------------------------------
bool IEditorSurface::PresentBounds(const IBounds&)
{
    return true;
}

//------------------------------------------------------------------------
RasterBitmap* IEditorSurface::LoadPlatformBitmap(int resourceId, const char* fileName)
{
    if (!HasPngExtension(fileName))
        return nullptr;
    return OpenPngResource(RasterThisModule(), resourceId);
}

//------------------------------------------------------------------------
void IEditorSurface::ResizeEditor(int width, int height)
{
    mWidth = width > 0 ? width : 0;
    mHeight = height > 0 ? height : 0;
    mCaptureIndex = -1;
    mLastMouseX = -1;
    mLastMouseY = -1;
    EndGesture();
    DestroyControls();
    mBackBuffer.reset();
    mScratchBitmap.reset();
    CreateBackBuffer();
    if (mPlug != nullptr)
        mPlug->RequestEditorResize(mWidth, mHeight);
}

//------------------------------------------------------------------------
void IEditorSurface::CreateBackBuffer()
{
    mBackBuffer.reset(new (std::nothrow) RasterSysBitmap(mWidth, mHeight));
    mScratchBitmap.reset(new (std::nothrow) RasterMemBitmap(0, 0, 4));
}

//------------------------------------------------------------------------
void IEditorSurface::PushParamToControls(int paramIdx, double value, bool isNormalized)
{
    if (paramIdx < 0)
        return;  // -1 marks unbound controls; it is no parameter
    if (!isNormalized) {
        const IFxParam* param = mPlug != nullptr ? mPlug->GetParam(paramIdx) : nullptr;
        if (param == nullptr)
            return;
        value = param->ToNormalized(value);
    }
    for (IControl* control : mControls)
        if (control->mParamIdx == paramIdx)
            control->SetValueFromHost(value);
}

//------------------------------------------------------------------------
int IEditorSurface::AddControl(IControl* control)
{
    if (control == nullptr)
        return -1;
    auto lock = LockPlug(mPlug);
    try {
        mControls.push_back(control);
    } catch (const std::bad_alloc&) {
        delete control;
        return -1;
    }
    control->mSurface = this;
    return NControls() - 1;
}

//------------------------------------------------------------------------
int IEditorSurface::AddBackground(int resourceId, const char* fileName)
{
    const IBitmapStrip strip = LoadStrip(resourceId, fileName, 1, false);
    const IBounds bounds{0, 0, strip.width, strip.height / strip.frames};
    auto* background = new (std::nothrow) IBitmapControl(mPlug, bounds, -1, strip, kBlendCopy);
    if (background == nullptr)
        return -1;
    auto lock = LockPlug(mPlug);
    try {
        mControls.insert(mControls.begin(), background);
    } catch (const std::bad_alloc&) {
        delete background;
        return -1;
    }
    background->mSurface = this;
    return 0;
}

//------------------------------------------------------------------------
IBitmapStrip IEditorSurface::LoadStrip(int resourceId, const char* fileName, int frames, bool horizontal)
{
    IBitmapStrip strip;
    strip.frames = frames < 1 ? 1 : frames;
    strip.horizontal = horizontal;
    StripRequest request{this, fileName};
    RasterBitmap* bitmap = RasterGlobalBitmapCache().Load(resourceId, DecodeForCache, &request);
    if (bitmap == nullptr)
        return strip;  // missing or broken resource: 0 x 0, draws nothing
    strip.bitmap = bitmap;
    strip.width = bitmap->GetWidth();
    strip.height = bitmap->GetHeight();
    return strip;
}

//------------------------------------------------------------------------
void IEditorSurface::PushValueToControl(int controlIdx, double normalizedValue)
{
    if (IControl* control = GetControl(controlIdx))
        control->SetValueFromHost(normalizedValue);
}

//------------------------------------------------------------------------
void IEditorSurface::SetParameterFromEditor(int paramIdx, double normalizedValue)
{
    if (paramIdx < 0)
        return;
    const bool bracket = !InGesture(paramIdx) && mPlug != nullptr;
    if (bracket) {
        mPlug->BeginInformHostOfParamChange(paramIdx);
        mEditParam = paramIdx;
    }
    for (IControl* control : mControls)
        if (control->mParamIdx == paramIdx)
            control->SetValueFromUser(normalizedValue);
    if (bracket) {
        mEditParam = -1;
        mPlug->EndInformHostOfParamChange(paramIdx);
    }
}

//------------------------------------------------------------------------
void IEditorSurface::MarkAllControlsDirty()
{
    for (IControl* control : mControls)
        control->MarkDirty(false);
}

//------------------------------------------------------------------------
IControl* IEditorSurface::GetControl(int index) const
{
    return index >= 0 && index < NControls() ? mControls[static_cast<std::size_t>(index)] : nullptr;
}

//------------------------------------------------------------------------
void IEditorSurface::SetKeyCatcher(IControl* control)
{
    if (control == mKeyCatcher)
        return;
    delete mKeyCatcher;
    mKeyCatcher = control;
    if (mKeyCatcher != nullptr)
        mKeyCatcher->mSurface = this;
}
