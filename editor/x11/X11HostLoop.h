#pragma once
// Brings the editor window's connection events and its draw tick onto the
// host's user-interface thread, without a thread of our own:
//  - the host's run loop (Steinberg::Linux::IRunLoop) when the host offers
//    one: an event handler on the connection's descriptor and a timer;
//  - otherwise, when this thread runs the process's default GLib main
//    context (hosts built on GTK, and Qt's usual dispatcher), the same two
//    as GLib sources, looked up in the process at run time so the module
//    does not depend on GLib;
//  - otherwise nothing: the client services the connection from the calls
//    the host does make (see IEditorSurfaceX11).
// Handlers registered with the host are reference counted and detached on
// Stop, so a host that calls one late reaches nothing.
#include "pluginterfaces/base/funknown.h"

namespace Steinberg::Linux {
class IRunLoop;
}

class X11HostLoop {
public:
    class Client {
    public:
        virtual ~Client() = default;
        virtual void OnConnectionReadable() = 0;
        virtual void OnTimer() = 0;
    };

    enum Kind { kNone, kHostRunLoop, kGLib };

    explicit X11HostLoop(Client* client) : mClient(client) {}
    ~X11HostLoop() { Stop(); }
    X11HostLoop(const X11HostLoop&) = delete;
    X11HostLoop& operator=(const X11HostLoop&) = delete;

    // Starts delivering: fd readable and a timer every intervalMs. runLoop
    // is the host's run loop as the plug frame handed it out, or null; it is
    // used as it is, never asked again for the interface (some hosts hand
    // out a run loop object that answers no query). Returns the kind in use
    // (kNone when nothing could be registered).
    Kind Start(Steinberg::Linux::IRunLoop* runLoop, int fd, int intervalMs);
    // Unregisters everything; no call reaches the client afterwards.
    void Stop();
    Kind Current() const { return mKind; }

    // Whether the GLib fallback would be used on this thread now.
    static bool GLibDrivesThisThread();

private:
    class Handler;

    Kind StartGLib(int fd, int intervalMs);

    Client* mClient;
    Kind mKind = kNone;
    Steinberg::Linux::IRunLoop* mRunLoop = nullptr;  // referenced while registered
    Handler* mHandler = nullptr;
    bool mFdRegistered = false;
    bool mTimerRegistered = false;
    unsigned mGLibFdSource = 0;
    unsigned mGLibTimerSource = 0;
};
