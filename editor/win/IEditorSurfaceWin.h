#pragma once
// The editor surface inside a Win32 child window of the host's parent
// window. The window's timer drives the draw cycle, its messages become the
// core's mouse and key events, and the platform operations (text entry,
// popup menus, dialogs, message boxes, web addresses, folders, pointer
// hiding, bitmap resources) are provided with USER32, GDI32, COMDLG32,
// SHELL32 and WININET.
//
// Threads: everything here runs on the thread that owns the editor window
// (the host's UI thread). The process-wide count of open windows is not
// locked for that reason.
//
// Lifetime: the surface outlives its windows. A window may die without
// CloseEditorWindow (the host destroys its parent first); the surface then
// forgets the handle at once, and the window class registration it holds is
// given back by the next CloseEditorWindow, OpenEditorWindow or the
// destructor, so the class never leaks and no timer outlives its window.
#include "editor/IEditorSurface.h"

#include <windows.h>

#include <string>

class IEditorSurfaceWin : public IEditorSurface {
public:
    static constexpr const char* kWindowClassName = "IFxWndClass";
    static constexpr const char* kWindowTitle = "IFx";
    static constexpr UINT_PTR kDrawTimerId = 2;
    static constexpr int kEntryChildId = 99;

    // Text-entry states: idle, editing (the entry has the focus), drawn
    // around by a tick, to be cancelled, to be applied.
    enum EntryState : int { kEntryIdle = 0, kEntryEditing = 1, kEntryDrawn = 2, kEntryCancel = 3, kEntryCommit = 4 };

    // The module that owns the window class and the PNG resources starts as
    // the module holding this code; SetModuleInstance may change it.
    IEditorSurfaceWin(IFxBase* plug, int width, int height, int refreshRate);
    // Closes the window (and text entry) before the core frees the controls.
    ~IEditorSurfaceWin() override;

    void SetModuleInstance(HMODULE module) { mModuleInstance = module; }
    HMODULE ModuleInstance() const { return mModuleInstance; }

    // --- Platform operations --------------------------------------------------
    // Copies bounds of the back buffer to the same place in the window.
    bool PresentBounds(const IBounds& bounds) override;
    void CancelTextEntry() override;
    // The core's resize, then the window grows or shrinks by the same amount,
    // and so do its parent and grandparent unless the host is one that sizes
    // them itself (host codes 1 and 3).
    void ResizeEditor(int width, int height) override;
    // A message box owned by the host's top-level window.
    int ShowMessage(const char* text, const char* caption, int type) override;
    IMenuModel* ShowPopupMenu(IMenuModel* menu, const IBounds& bounds) override;
    void OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& bounds, const char* text,
                       IFxParam* param) override;
    void GetHostExecutableFolder(std::string& out) override;
    void GetModuleFolder(std::string& out) override;
    void GetDesktopFolder(std::string& out) override;
    void AskForFile(std::string& fileName, int action, std::string& folder, const char* extensions) override;
    bool AskForColour(IRgba& colour, const char* prompt) override;
    // Only http, https and mailto addresses are handed to the shell.
    bool OpenWebAddress(const char* url, const char* caption, const char* confirm, const char* failure) override;
    // Opens the window as a visible child of parent (an HWND), closing an
    // open one first. False when parent is not a window or creation failed.
    bool OpenEditorWindow(void* parent) override;
    void CloseEditorWindow() override;
    void* GetWindowHandle() override { return mWindow; }
    void HideCursor() override;
    void RestoreCursor() override;
    // The module's "PNG" resource of that id, when fileName ends in "png".
    RasterBitmap* LoadPlatformBitmap(int resourceId, const char* fileName) override;

    // --- Queries (tests and diagnostics) ---------------------------------------
    HWND Window() const { return mWindow; }
    HWND EntryWindow() const { return mEntryWindow; }
    IControl* EntryControl() const { return mEntryControl; }
    int GetEntryState() const { return mEntryState; }
    // Number of editor windows open in the process; the window class is
    // registered exactly while it is above zero.
    static int OpenWindowCount();
    // trunc(1000 / rate) milliseconds, at least 1.
    static UINT TimerPeriodMs(int refreshRate);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK EntryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Window lifetime.
    bool RegisterWindowClass();
    void ReleaseWindowClass();
    void OnCreate(HWND hwnd);
    void OnWindowGone();

    // Messages (IEditorSurfaceWinMessages.cpp).
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnDrawTimer();
    bool OnKeyDown(WPARAM virtualKey, LPARAM keyData);
    void OnButtonDown(int x, int y, const IMouseState& mouse);
    IMouseState MouseStateFrom(WPARAM flags) const;

    // Text entry (IEditorSurfaceWinEntry.cpp).
    LRESULT HandleEntryMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEntryColour(HDC dc);
    // Restores the entry's procedure, destroys it and clears every entry
    // field; with apply, the text read just before goes to the control.
    void CloseTextEntry(bool apply);

    // Dialogs (IEditorSurfaceWinDialogs.cpp).
    HWND MainWindow();

    HMODULE mModuleInstance = nullptr;
    HWND mWindow = nullptr;
    HWND mEntryWindow = nullptr;
    IControl* mEntryControl = nullptr;
    IFxParam* mEntryParam = nullptr;
    WNDPROC mEntryOldProc = nullptr;
    int mEntryState = kEntryIdle;
    HFONT mEntryFont = nullptr;          // made for the entry, deleted with it
    COLORREF* mCustomColours = nullptr;  // 16 entries, made on first use
    DWORD mProcessId = 0;
    HWND mParentWindow = nullptr;
    HWND mMainWindow = nullptr;
    std::string mMainWindowClass;
    bool mHoldsClass = false;            // this surface counts in the open-window count
    bool mInPaint = false;               // PresentBounds runs inside WM_PAINT
    bool mForwardingKey = false;         // a key is being passed to the top-level window
};
