#pragma once
// The platform-independent editor: owns the controls (index 0 is the
// background, later controls lie on top), draws them into a back buffer,
// routes mouse and key events to them, and carries values both ways between
// the controls and the plug-in. Everything that needs a window system is a
// virtual operation a platform window overrides (editor/win, editor/x11);
// the defaults here do nothing harmful, so the core runs without any window
// (editor/headless).
//
// One surface per plug-in instance; it outlives its windows. The plug-in's
// constructor creates it, adds controls and hands it to AttachEditor, which
// makes the back buffer and pushes every parameter to the controls.
//
// Threads: everything runs on the editor thread except PushParamToControls,
// which the processing call runs on the audio thread under the plug-in lock.
// It only stores control values and dirty flags (relaxed atomics, see
// IControl.h); it never allocates, locks or throws. Changes to the control
// list (AddControl, AddBackground, ResizeEditor) take the plug-in lock so
// that such a push never walks a list being changed.
//
// A platform window's timer calls DrawTick at RefreshRate() per second;
// when it reports dirty bounds the window invalidates them and its paint
// handler calls RedrawBounds with the area to paint, which ends by calling
// PresentBounds to copy the back buffer to the screen.
#include "editor/EditorTypes.h"
#include "editor/IControl.h"
#include "editor/IMenuModel.h"
#include "framework/IEditorLink.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterSysBitmap.h"
#include "raster/TextStyle.h"

#include <memory>
#include <string>
#include <vector>

class IFxBase;
class IFxParam;

// ShowMessage types and answers (the common message-box values).
enum IMessageType : int { kMessageOk = 0, kMessageOkCancel = 1, kMessageYesNo = 4 };
enum IMessageAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

// AskForFile actions.
enum IFileAction : int { kFileOpen = 0, kFileSave = 1 };

// Work a surface's owner wants done on the editor thread at the start of
// every draw tick, such as moving state that other threads recorded onto the
// controls. Not owned by the surface.
class IEditorTickHook {
public:
    virtual void BeforeDrawTick() = 0;

protected:
    ~IEditorTickHook() = default;
};

class IEditorSurface : public IEditorLink {
public:
    // refreshRate 0 or negative means 30; a negative size counts as 0.
    // Nothing is drawn and no bitmap exists until CreateBackBuffer.
    IEditorSurface(IFxBase* plug, int width, int height, int refreshRate);
    // Frees the key catcher, every control (last first) and the bitmaps.
    ~IEditorSurface() override;

    IEditorSurface(const IEditorSurface&) = delete;
    IEditorSurface& operator=(const IEditorSurface&) = delete;

    // --- Platform operations (virtual, harmless defaults) --------------------
    // Copies bounds of the back buffer to the screen; true.
    virtual bool PresentBounds(const IBounds& bounds);
    // Closes an open text entry without applying it.
    virtual void CancelTextEntry() {}
    // Replaces the editor's size: drops capture, destroys every control and
    // the bitmaps, makes a new back buffer and tells the plug-in. The caller
    // adds its controls again. A platform override also resizes its window.
    virtual void ResizeEditor(int width, int height);
    // True when GetWindowHandle gives a window.
    virtual bool IsWindowOpen() { return GetWindowHandle() != nullptr; }
    virtual const char* GetEmptyName() { return ""; }
    // A message box; returns the answer (IMessageAnswer), 0 when none shown.
    virtual int ShowMessage(const char* /*text*/, const char* /*caption*/, int /*type*/) { return 0; }
    // Shows menu with its top-left corner at (bounds.left, bounds.bottom).
    // On a choice sets chosenIndex of the menu the item belongs to and returns
    // that menu; null when nothing was chosen. The caller owns menu.
    virtual IMenuModel* ShowPopupMenu(IMenuModel* /*menu*/, const IBounds& /*bounds*/) { return nullptr; }
    // Opens a one-line text entry over bounds with the initial text. The
    // result arrives later: the window calls ApplyTextEntry on commit.
    virtual void OpenTextEntry(IControl* /*control*/, const ITextStyle& /*style*/, const IBounds& /*bounds*/,
                               const char* /*text*/, IFxParam* /*param*/) {}
    // Folders end with the platform's separator; empty when unknown.
    virtual void GetHostExecutableFolder(std::string& out) { out.clear(); }
    virtual void GetModuleFolder(std::string& out) { out.clear(); }
    virtual void GetDesktopFolder(std::string& out) { out.clear(); }
    // File dialog: action kFileSave or kFileOpen; extensions is a
    // space-separated list ("png txt"). On OK fileName and folder are set;
    // on cancel both stay. Without a window fileName is emptied.
    virtual void AskForFile(std::string& fileName, int /*action*/, std::string& /*folder*/,
                            const char* /*extensions*/) { fileName.clear(); }
    // Colour chooser: on OK writes R, G, B (alpha kept) and returns true.
    virtual bool AskForColour(IRgba& /*colour*/, const char* /*prompt*/) { return false; }
    // Opens url in the system's browser, after a Yes/No confirmation when
    // confirm is given; shows failure (when given) and returns false if that
    // did not work.
    virtual bool OpenWebAddress(const char* /*url*/, const char* /*caption*/, const char* /*confirm*/,
                                const char* /*failure*/) { return false; }
    virtual void* Query14() { return nullptr; }
    // OpenEditorWindow(parent) and CloseEditorWindow() come from IEditorLink:
    // a platform surface opens its window as a child of parent (closing an
    // open one first), marks every control dirty and returns whether a window
    // exists; the core has no window and returns false.
    virtual void Hook16() {}
    virtual void Hook17() {}
    // The platform's window (HWND, X11 Window cast to a pointer), or null.
    virtual void* GetWindowHandle() { return nullptr; }
    // Hide the pointer during a drag and put it back where it was.
    virtual void HideCursor() {}
    virtual void RestoreCursor() {}
    // Opens a bitmap resource: when fileName ends in "png" (any case), the
    // module's PNG resource with that id, of the size its header gives, its
    // pixels decoded on first use (an image whose pixels then do not decode
    // becomes 0 x 0 and draws nothing); otherwise, or when the resource is
    // missing or its header broken, null. Works on every platform, so
    // windows need not override it.
    virtual RasterBitmap* LoadPlatformBitmap(int resourceId, const char* fileName);

    // --- IEditorLink ----------------------------------------------------------
    int EditorWidth() const override { return mWidth; }
    int EditorHeight() const override { return mHeight; }
    // Makes the back buffer (width x height) and a 0 x 0 scratch bitmap.
    void CreateBackBuffer() override;
    // Converts a plain value with the parameter's ToNormalized when needed,
    // then SetValueFromHost on every control bound to paramIdx. Audio-thread
    // safe: no allocation, no lock, no exception.
    void PushParamToControls(int paramIdx, double value, bool isNormalized) override;

    // --- Building the editor ------------------------------------------------
    // Appends a control and takes ownership; returns its index (stable: the
    // list only grows, until ResizeEditor). Null or out of memory: -1 (the
    // control is freed).
    int AddControl(IControl* control);
    // Loads a one-frame background bitmap and inserts it at index 0 as a
    // copy-blended bitmap control of the bitmap's size. Call it first.
    int AddBackground(int resourceId, const char* fileName);
    // A strip from the process-wide bitmap cache, loading it with
    // LoadPlatformBitmap on a miss. Only the image's size is read here; its
    // pixels are decoded by the first blit, once per process. A resource that
    // cannot be loaded gives a 0 x 0 strip without bitmap that draws nothing.
    // frames < 1 counts as 1.
    IBitmapStrip LoadStrip(int resourceId, const char* fileName, int frames, bool horizontal);

    // --- Values in ----------------------------------------------------------
    // SetValueFromHost on one control; an index outside the list is ignored.
    void PushValueToControl(int controlIdx, double normalizedValue);
    // SetValueFromUser on every control bound to paramIdx (which pushes the
    // value to the plug-in as a user edit). Outside a gesture on that
    // parameter the change is one complete edit for the host: begin, the
    // value, end.
    void SetParameterFromEditor(int paramIdx, double normalizedValue);
    // Whether the host has been told that an edit of paramIdx is under way.
    bool InGesture(int paramIdx) const
    {
        return paramIdx >= 0 && (paramIdx == mGestureParam || paramIdx == mEditParam);
    }
    // MarkDirty(false) on every control.
    void MarkAllControlsDirty();

    // --- Drawing (controls' Paint and the window) ----------------------------
    // Blits the strip's bitmap into the back buffer at dest, clipped to the
    // bounds being drawn, from (srcX, srcY) of the strip. Without a blend:
    // copy with source alpha at opacity 1. True.
    bool BlitBitmap(const IBitmapStrip& strip, const IBounds& dest, int srcX, int srcY, const IBlend* blend);
    // Blits frame (from 1) of the strip; frames 0 and 1, and one-frame
    // strips, come from the origin.
    bool BlitStripFrame(const IBitmapStrip& strip, const IBounds& dest, int frame, const IBlend* blend);
    // The source offset of a frame along the strip (y of vertical strips, x
    // of horizontal ones): trunc(size * (frame - 1) / frames + 0.5).
    static int StripFrameOffset(const IBitmapStrip& strip, int frame);
    // Draws text into the back buffer inside bounds (not clipped to the
    // bounds being drawn), or with measureOnly rewrites bounds to the text's
    // box after the style's alignment. An empty text draws nothing and
    // returns true; false when no font can be made.
    bool DrawTextInBounds(ITextStyle& style, const char* text, IBounds& bounds, bool measureOnly);

    // --- Draw cycle ---------------------------------------------------------
    // The union of the bounds of every dirty control; true if any is dirty.
    bool CollectDirtyBounds(IBounds& dirty);
    // Draws the controls affected by bounds (strict or per-dirty-control
    // scheme), marks them clean and presents bounds. With no controls: true,
    // nothing drawn or presented.
    bool RedrawBounds(const IBounds& bounds);
    // The per-tick entry point of a platform window: the tick hook, then
    // CollectDirtyBounds.
    bool DrawTick(IBounds& dirty)
    {
        if (mTickHook != nullptr)
            mTickHook->BeforeDrawTick();
        return CollectDirtyBounds(dirty);
    }
    // Runs hook at the start of every draw tick (null: none).
    void SetTickHook(IEditorTickHook* hook) { mTickHook = hook; }
    // A tick and its paint in one call, for surfaces without a window: when
    // anything is dirty, RedrawBounds over the dirty area. True if it drew.
    bool TickAndRedraw();

    // --- Events in (client pixels) -------------------------------------------
    void SurfaceMouseDown(int x, int y, const IMouseState& mouse);
    void SurfaceMouseUp(int x, int y, const IMouseState& mouse);
    void SurfaceMouseDrag(int x, int y, const IMouseState& mouse);
    // True when the double-click became a press (the window then captures).
    bool SurfaceMouseDoubleClick(int x, int y, const IMouseState& mouse);
    // True when the window should ask for a leave notification.
    bool SurfaceMouseHover(int x, int y, const IMouseState& mouse);
    void SurfaceMouseLeave();
    // key is an IKeyCode. False when nobody took it (the window passes it on).
    bool SurfaceKeyPress(int x, int y, int key);
    void DropMouseCapture();

    // --- Prompts ------------------------------------------------------------
    // A popup menu of the value texts (enum parameters, and bool parameters
    // with texts), or a text entry with the current value's text.
    void PromptForParamValue(IControl* control, IFxParam* param, const IBounds& bounds);
    // Applies a committed text entry: with a parameter, the text (at most 31
    // characters) read as the parameter's value text (enum, bool) or as a
    // number (0 when it is none; negated for show-negated parameters); a
    // value that is not finite is dropped, any other goes through the
    // parameter's normalisation (which holds it to the range) to the
    // control's SetValueFromUser. Without a parameter: SetTextFromEntry.
    void ApplyTextEntry(IControl* control, IFxParam* param, const char* text);
    // Whether a text entry for param lets character c through (backspace
    // always; digits and signs for switch, integer and choice parameters,
    // also '.' for continuous ones; everything without a parameter).
    static bool EntryAcceptsChar(const IFxParam* param, int c);

    // --- Access ---------------------------------------------------------------
    int NControls() const { return static_cast<int>(mControls.size()); }
    // Null when out of range.
    IControl* GetControl(int index) const;
    IFxBase* Plug() const { return mPlug; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    int RefreshRate() const { return mRefreshRate; }
    // Null until CreateBackBuffer.
    RasterSysBitmap* GetBackBuffer() const { return mBackBuffer.get(); }
    const IBounds& DrawBounds() const { return mDrawBounds; }
    int CaptureIndex() const { return mCaptureIndex; }
    int HoverIndex() const { return mHoverIndex; }
    bool HandleMouseOver() const { return mHandleMouseOver; }
    void SetHandleMouseOver(bool on) { mHandleMouseOver = on; }
    bool StrictDrawing() const { return mStrictDrawing; }
    void SetStrictDrawing(bool on) { mStrictDrawing = on; }
    // Takes ownership (freeing a previous catcher); receives keys that no
    // control under the pointer takes.
    void SetKeyCatcher(IControl* control);
    IControl* KeyCatcher() const { return mKeyCatcher; }

protected:
    // Hit search from the top control down: not hidden, not greyed (unless
    // forHover and the control hovers while greyed), HitTest true. -1: none.
    int FindControlAt(int x, int y, bool forHover) const;
    void DestroyControls();
    // The host hears exactly one end for every begin: a gesture stays open
    // from the press that began it to the next release (or the next press),
    // whatever control the release lands on.
    void BeginGesture(int paramIdx);
    void EndGesture();

    std::vector<IControl*> mControls;  // owned, in drawing order
    IFxBase* mPlug = nullptr;
    IBounds mDrawBounds;               // every blit is clipped to it
    bool mCursorHidden = false;
    int mHiddenCursorX = -1;
    int mHiddenCursorY = -1;
    std::unique_ptr<RasterSysBitmap> mBackBuffer;
    std::unique_ptr<RasterMemBitmap> mScratchBitmap;
    int mWidth = 0;
    int mHeight = 0;
    int mRefreshRate = 30;
    int mCaptureIndex = -1;
    int mHoverIndex = -1;
    int mGestureParam = -1;            // parameter of the open gesture, -1 for none
    int mEditParam = -1;               // parameter SetParameterFromEditor is bracketing
    int mLastMouseX = 0;
    int mLastMouseY = 0;
    bool mHandleMouseOver = false;
    bool mStrictDrawing = true;
    IControl* mKeyCatcher = nullptr;   // owned
    IEditorTickHook* mTickHook = nullptr;  // not owned
};
