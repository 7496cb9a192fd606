#pragma once
// The host's window onto the plug-in's editor (IPlugView). It owns no
// drawing: it reports the editor surface's size, opens the surface's window
// inside the host's parent window and closes it again: Windows window
// handles ("HWND") on Windows, X11 window ids ("X11EmbedWindowID") on Linux;
// without an editor surface every size and attach request is refused. On
// Linux the host frame's run loop is handed to the surface. All calls arrive
// on the host's UI thread and take no plug-in lock.
#include "public.sdk/source/common/pluginview.h"

class IFxVST3;

class IFxVST3View : public Steinberg::CPluginView {
public:
    // Takes a reference on the plug-in for the view's lifetime.
    explicit IFxVST3View(IFxVST3* plug);
    ~IFxVST3View() override;

    Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API removed() SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) SMTG_OVERRIDE;

    // Asks the host's plug frame to resize the view; the host answers with
    // onSize, which then runs the plug-in's resize hook.
    bool RequestResize(int width, int height);
    bool ExpectingResize() const { return mExpectingResize; }
    // The plug-in no longer lists this view (terminate).
    void Detach() { mListed = false; }

private:
    Steinberg::tresult SetFrame(Steinberg::IPlugFrame* frame);

    IFxVST3* mPlug;
    bool mListed = true;
    bool mExpectingResize = false;
    bool mTimerOnFrame = false;
};
