#pragma once
// What the plug-in base needs of its editor surface. The editor framework's
// surface implements it; the base owns the surface once it is attached and
// destroys it with itself.

class IEditorLink {
public:
    virtual ~IEditorLink() = default;
    // Makes the back buffer; called once when the surface is attached.
    virtual void CreateBackBuffer() = 0;
    // Hands a parameter value to every control bound to that parameter. Runs
    // under the plug-in lock, possibly on the audio thread: it only writes
    // control values and dirty flags.
    virtual void PushParamToControls(int paramIdx, double value, bool isNormalized) = 0;

    // What a host's editor view asks of the surface. The defaults describe a
    // surface without a window of its own.
    virtual int EditorWidth() const { return 0; }
    virtual int EditorHeight() const { return 0; }
    // Opens the editor window as a child of the host's parent window.
    virtual bool OpenEditorWindow(void* /*parent*/) { return false; }
    virtual void CloseEditorWindow() {}
    // Linux: the host's run loop (a Steinberg::Linux::IRunLoop), which an X11
    // window uses for its events and timer; null forgets it. Others ignore it.
    virtual void SetHostRunLoop(void* /*runLoop*/) {}
};
