// Editor view of IFxVST3.
#include "vst3/IFxVST3View.h"

#include "vst3/IFxVST3.h"
#include "vst3/InterfaceGuard.h"

#include "framework/IEditorLink.h"

#include "pluginterfaces/gui/iplugview.h"

#include <cstring>

using namespace Steinberg;
using tarvo::vst3::Guarded;

namespace {

// The window type a host hands to attached: Windows builds open their
// editor in a host's HWND, Linux builds in a host's X11 window.
bool IsEditorWindowType(FIDString type)
{
#if defined(_WIN32)
    return type != nullptr && std::strcmp(type, kPlatformTypeHWND) == 0;
#else
    return type != nullptr && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0;
#endif
}

// Hands the frame's run loop (Linux) to the editor surface, which drives its
// window's events and ticks with it; a null frame takes it back.
void PassRunLoop(IEditorLink* surface, [[maybe_unused]] IPlugFrame* frame)
{
#if !defined(_WIN32)
    if (surface == nullptr)
        return;
    Linux::IRunLoop* loop = nullptr;
    if (frame == nullptr || frame->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)) != kResultOk)
        loop = nullptr;
    surface->SetHostRunLoop(loop);
    if (loop != nullptr)
        loop->release();  // the surface holds its own reference
#else
    (void)surface;
#endif
}

} // namespace

//------------------------------------------------------------------------
IFxVST3View::IFxVST3View(IFxVST3* plug)
    : mPlug(plug)
{
    mPlug->addRef();
}

//------------------------------------------------------------------------
IFxVST3View::~IFxVST3View()
{
    if (mTimerOnFrame)
        mPlug->Timer().UseRunLoop(nullptr);
    if (plugFrame != nullptr)
        PassRunLoop(mPlug->EditorSurface(), nullptr);
    if (mListed)
        mPlug->ForgetView(this);
    mPlug->release();
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3View::isPlatformTypeSupported(FIDString type)
{
    if (mPlug->EditorSurface() == nullptr)
        return kResultFalse;
    return IsEditorWindowType(type) ? kResultOk : kResultFalse;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3View::attached(void* parent, FIDString type)
{
    IEditorLink* surface = mPlug->EditorSurface();
    if (surface == nullptr)
        return kResultFalse;
    return Guarded(kInternalError, [&]() -> tresult {
        // A parent that is not a window (or a window that could not be made)
        // is refused, rather than reported as an open editor.
        if (IsEditorWindowType(type) && !surface->OpenEditorWindow(parent))
            return kResultFalse;
        systemWindow = parent;
        mPlug->EditorOpened();
        return kResultOk;
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3View::removed()
{
    return Guarded(kInternalError, [&] {
        if (IEditorLink* surface = mPlug->EditorSurface()) {
            mPlug->EditorClosing();
            surface->CloseEditorWindow();
        }
        return CPluginView::removed();
    });
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3View::getSize(ViewRect* size)
{
    IEditorLink* surface = mPlug->EditorSurface();
    if (surface == nullptr || size == nullptr)
        return kResultFalse;
    *size = ViewRect(0, 0, surface->EditorWidth(), surface->EditorHeight());
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3View::onSize(ViewRect* newSize)
{
    if (newSize == nullptr)
        return kResultOk;
    rect = *newSize;
    if (mExpectingResize) {
        mExpectingResize = false;
        Guarded([&] { mPlug->EditorResized(); });
    }
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API IFxVST3View::setFrame(IPlugFrame* frame)
{
    return Guarded(kInternalError, [&] { return SetFrame(frame); });
}

//------------------------------------------------------------------------
tresult IFxVST3View::SetFrame(IPlugFrame* frame)
{
    tresult result = CPluginView::setFrame(frame);
    PassRunLoop(mPlug->EditorSurface(), frame);
    // Linux hosts often offer their run loop only through the plug frame:
    // tick there while the frame exists, unless the timer already does.
    if (frame != nullptr && !mPlug->Timer().TicksOnUiThread()) {
        mPlug->Timer().UseRunLoop(frame);
        mTimerOnFrame = mPlug->Timer().TicksOnUiThread();
    } else if (frame == nullptr && mTimerOnFrame) {
        mPlug->Timer().UseRunLoop(nullptr);
        mTimerOnFrame = false;
    }
    return result;
}

//------------------------------------------------------------------------
bool IFxVST3View::RequestResize(int width, int height)
{
    mExpectingResize = true;
    if (plugFrame == nullptr)
        return false;
    ViewRect wanted(0, 0, width, height);
    return plugFrame->resizeView(this, &wanted) == kResultOk;
}
