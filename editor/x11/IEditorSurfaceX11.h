#pragma once
// The editor window on X11: a child of the window the host gives the VST 3
// view ("X11EmbedWindowID"), on a connection of its own, with its events and
// draw tick delivered on the host's UI thread by the host's run loop (see
// X11HostLoop). It turns X events into the core's mouse and key events and
// provides the platform operations: the editor-drawn text entry and popup
// menus, opening web addresses, folders. Message boxes, the colour chooser
// and the file dialog are not offered (they answer as cancelled).
//
// Bad input is survived, never fatal to the host: a null or unknown parent
// opens nothing; a parent destroyed before the window is closed, a second
// close, a broken connection or a server without shared memory all end
// without a crash, an X error reaching the host, or a leaked window,
// descriptor or timer.
#include "editor/IEditorSurface.h"
#include "editor/x11/X11HostLoop.h"

#include <xcb/xcb.h>

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

class X11Display;
class X11Presenter;
class X11TextEntry;

class IEditorSurfaceX11 : public IEditorSurface, private X11HostLoop::Client {
public:
    IEditorSurfaceX11(IFxBase* plug, int width, int height, int refreshRate);
    ~IEditorSurfaceX11() override;

    // --- IEditorLink ----------------------------------------------------------
    // parent is the host's X window id. Closes an open window first. False
    // when there is no display, no such parent, or the window fails.
    bool OpenEditorWindow(void* parent) override;
    void CloseEditorWindow() override;
    // The host's Steinberg::Linux::IRunLoop (referenced while needed); it
    // applies from the next OpenEditorWindow on, or at once when open.
    void SetHostRunLoop(void* runLoop) override;

    // --- Platform operations ----------------------------------------------
    bool PresentBounds(const IBounds& bounds) override;
    void CancelTextEntry() override;
    void ResizeEditor(int width, int height) override;
    IMenuModel* ShowPopupMenu(IMenuModel* menu, const IBounds& bounds) override;
    void OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& bounds, const char* text,
                       IFxParam* param) override;
    void GetHostExecutableFolder(std::string& out) override;
    void GetModuleFolder(std::string& out) override;
    void GetDesktopFolder(std::string& out) override;
    bool OpenWebAddress(const char* url, const char* caption, const char* confirm, const char* failure) override;
    // No file dialog: with a window open it answers as cancelled (name and
    // folder unchanged); without one the name is emptied.
    void AskForFile(std::string& fileName, int action, std::string& folder, const char* extensions) override;
    void* GetWindowHandle() override;

    // --- Driving and inspection ---------------------------------------------
    // Handles every event waiting on the connection.
    void ProcessEvents();
    // One timer tick: a committed or cancelled text entry is finished,
    // otherwise the draw cycle runs.
    void Tick();
    // What delivers events and ticks to the open window.
    X11HostLoop::Kind LoopKind() const { return mLoop.Current(); }
    bool UsesSharedMemory() const;
    bool IsTextEntryOpen() const { return mEntry != nullptr; }
    // The X window of the open text entry, 0 when none.
    uint32_t TextEntryWindow() const;
    // Turns shared-memory presenting off (or on again) for windows opened
    // later in this process, as on a display without it.
    static void AllowSharedMemory(bool allow);

private:
    enum EntryState { kEntryEditing = 1, kEntryCancel = 3, kEntryCommit = 4 };

    // X11HostLoop::Client
    void OnConnectionReadable() override;
    void OnTimer() override;

    void Dispatch(xcb_generic_event_t* ev);
    void OnButtonPress(const xcb_button_press_event_t& e);
    void OnButtonRelease(const xcb_button_release_event_t& e);
    void OnMotion(const xcb_motion_notify_event_t& e);
    void OnKey(const xcb_key_press_event_t& e, bool press);
    void ForwardKeyToHost(const xcb_key_press_event_t& e);
    void CloseTextEntry();
    // The connection broke: drop it and everything on it, keep the surface.
    void DropBrokenConnection();
    void ReleaseWindow();

    std::unique_ptr<X11Display> mDisplay;
    std::unique_ptr<X11Presenter> mPresenter;
    std::unique_ptr<X11TextEntry> mEntry;
    X11HostLoop mLoop{this};
    void* mRunLoop = nullptr;  // Steinberg::Linux::IRunLoop, referenced
    xcb_window_t mWindow = 0;
    xcb_window_t mParent = 0;
    xcb_window_t mTopLevel = 0;
    bool mWindowGone = false;  // destroyed with its parent

    // Mouse
    bool mCaptured = false;
    bool mLeaveWanted = false;
    uint32_t mLastClickTime = 0;
    int mLastClickX = 0;
    int mLastClickY = 0;
    bool mClickPending = false;  // the last left press may start a double-click
    std::bitset<256> mForwardedKeys;

    // Text entry
    IControl* mEntryControl = nullptr;
    IFxParam* mEntryParam = nullptr;
    int mEntryState = 0;

    bool mInMenu = false;
};
