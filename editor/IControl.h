#pragma once
// The base of everything shown in the editor: a rectangle of the editor,
// optionally bound to one plug-in parameter, holding a normalised value
// (0..1), a text style, a blend and the dirty/redraw flags that drive the
// surface's draw cycle.
//
// Fields are public and m-prefixed: subclasses, the plug-in's editor layout
// and the surface read and set them directly (mValue = mValue + d).
//
// Threads: everything runs on the editor thread except SetValueFromHost,
// which the surface's PushParamToControls calls on the audio thread under
// the plug-in lock. That path touches mValue, mDefaultValue, mClampLo/Hi,
// mDirty and mRedrawRequest only, and those are relaxed atomics, so the
// editor thread may read and write them without a lock. A subclass that
// overrides SetValueFromHost or MarkDirty must keep to the same fields and
// must not allocate, lock or throw there. mParamIdx is set at construction
// and not changed while the plug-in processes.
#include "editor/EditorTypes.h"
#include "raster/TextStyle.h"

class IFxBase;
class IFxParam;
class IEditorSurface;

class IControl {
public:
    // Blend weight starts at 1.0; the control starts dirty so it is drawn on
    // the first tick after a window opens.
    IControl(IFxBase* plug, const IBounds& bounds, int paramIdx = -1, int blendMethod = kBlendSourceAlpha);
    virtual ~IControl() = default;

    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // --- Virtual operations, in slot order ----------------------------------
    virtual void MouseDown(int x, int y, const IMouseState& mouse);
    virtual void MouseUp(int x, int y, const IMouseState& mouse);
    virtual void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mouse);
    // Restores the default value (when known) and pushes it to the plug-in.
    virtual void MouseDoubleClick(int x, int y, const IMouseState& mouse);
    // Never delivered by the surface; present for subclasses that want one.
    virtual void MouseWheel(int x, int y, const IMouseState& mouse, int delta);
    virtual bool KeyPress(int x, int y, int key);
    virtual void MouseHover(int x, int y, const IMouseState& mouse);
    virtual void MouseLeave();
    virtual bool Paint(IEditorSurface* surface) = 0;
    // A value from the plug-in or host. The first value that arrives becomes
    // the default; a different value (NaN never differs) is stored, marked
    // dirty without pushing back, and drawn twice. Audio-thread safe.
    virtual void SetValueFromHost(double value);
    // The text of a text entry opened without a parameter.
    virtual void SetTextFromEntry(const char* text);
    virtual void SetHidden(bool hide);
    // Greyed controls draw at opacity 0.25 and are not hit; ungreying
    // restores opacity 1.0 whatever it was before.
    virtual void SetGreyed(bool grey);
    // Inside mTargetBounds (never when they are empty).
    virtual bool HitTest(int x, int y);
    // Clamps mValue into [mClampLo, mClampHi] (NaN becomes mClampLo), sets
    // mDirty and, when pushToPlug is set and the control has a plug-in and a
    // parameter, sends the value with SetParameterFromGUI.
    virtual void MarkDirty(bool pushToPlug);
    // mDirty = mRedrawRequest, mRedrawRequest = false.
    virtual void MarkClean();
    virtual bool IsMarkedDirty();
    virtual void ControlHook() {}
    // Free slot the plug-in's own controls use (blink count and step).
    virtual void SetBounce(int /*count*/, double /*step*/) {}

    // --- Non-virtual operations ---------------------------------------------
    // A value from a gesture or prompt: when it differs, store it, push it to
    // the plug-in and draw twice.
    void SetValueFromUser(double value);
    // Asks the surface for a text entry or menu for the bound parameter.
    // Does nothing without a parameter or when prompting is disabled.
    void PromptForValue(const IBounds& bounds);

    // --- Accessors ----------------------------------------------------------
    IFxBase* Plug() const { return mPlug; }
    // The surface the control was added to (null before AddControl).
    IEditorSurface* Surface() const { return mSurface; }
    const IBounds& GetBounds() const { return mBounds; }
    const IBounds& GetTargetBounds() const { return mTargetBounds; }
    int ParamIdx() const { return mParamIdx; }
    double GetValue() const { return mValue; }
    bool IsHidden() const { return mHidden; }
    bool IsGreyed() const { return mGreyed; }
    bool IsRedrawRequested() const { return mRedrawRequest; }

    // --- Fields -------------------------------------------------------------
    int mEntryMaxChars = 21;              // longest text entry for this control
    ITextStyle mStyle;                    // text drawing and text entries
    IFxBase* mPlug = nullptr;             // not owned
    IBounds mBounds;                      // drawing rectangle
    IBounds mTargetBounds;                // hit-test rectangle, starts equal to mBounds
    int mParamIdx = -1;                   // bound parameter, -1 for none
    RelaxedAtomic<double> mValue{0.0};    // normalised value
    RelaxedAtomic<double> mDefaultValue{-1.0};  // double-click value; negative: not known yet
    RelaxedAtomic<double> mClampLo{0.0};  // MarkDirty keeps mValue in [mClampLo, mClampHi]
    RelaxedAtomic<double> mClampHi{1.0};
    RelaxedAtomic<bool> mDirty{true};     // draw at the next tick
    bool mHidden = false;                 // not drawn, not hit
    bool mGreyed = false;                 // drawn at 0.25, not hit
    RelaxedAtomic<bool> mRedrawRequest{false};  // stay dirty for one more tick
    bool mPromptDisabled = false;         // PromptForValue does nothing
    bool mDoubleClickAsPress = false;     // the surface turns a double-click into a press
    bool mHoverWhenGreyed = false;        // receives mouse-over while greyed
    IBlend mBlend;                        // method and opacity of the control's blits
    IEditorSurface* mSurface = nullptr;   // set by IEditorSurface::AddControl
};
