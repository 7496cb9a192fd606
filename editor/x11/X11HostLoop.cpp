// Event and timer delivery from the host's run loop, or from GLib.
#include "editor/x11/X11HostLoop.h"

#include "pluginterfaces/gui/iplugview.h"

#include <dlfcn.h>

#include <atomic>

using namespace Steinberg;

// One object serves as the host's event handler and timer handler.
class X11HostLoop::Handler : public Linux::IEventHandler, public Linux::ITimerHandler {
public:
    explicit Handler(Client* client) : mClient(client) {}
    virtual ~Handler() = default;

    void PLUGIN_API onFDIsSet(Linux::FileDescriptor /*fd*/) SMTG_OVERRIDE
    {
        if (mClient != nullptr)
            mClient->OnConnectionReadable();
    }
    void PLUGIN_API onTimer() SMTG_OVERRIDE
    {
        if (mClient != nullptr)
            mClient->OnTimer();
    }
    void Detach() { mClient = nullptr; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE
    {
        if (obj == nullptr)
            return kInvalidArgument;
        if (FUnknownPrivate::iidEqual(iid, Linux::IEventHandler::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid))
            *obj = static_cast<Linux::IEventHandler*>(this);
        else if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid))
            *obj = static_cast<Linux::ITimerHandler*>(this);
        else {
            *obj = nullptr;
            return kNoInterface;
        }
        addRef();
        return kResultOk;
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++mRefs; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE
    {
        uint32 left = --mRefs;
        if (left == 0)
            delete this;
        return left;
    }

    // GLib callbacks (gboolean return: 1 keeps the source).
    static int GLibFd(int /*fd*/, unsigned /*condition*/, void* self)
    {
        static_cast<Handler*>(self)->onFDIsSet(0);
        return 1;
    }
    static int GLibTimer(void* self)
    {
        static_cast<Handler*>(self)->onTimer();
        return 1;
    }
    static void GLibRelease(void* self) { static_cast<Handler*>(self)->release(); }

private:
    std::atomic<uint32> mRefs{1};
    Client* mClient;
};

namespace {

// The few GLib entry points the fallback uses, found in the process.
struct GLibApi {
    using SourceFunc = int (*)(void*);
    using FdFunc = int (*)(int, unsigned, void*);
    using Destroy = void (*)(void*);
    void* (*contextDefault)() = nullptr;
    int (*contextIsOwner)(void*) = nullptr;
    unsigned (*timeoutAddFull)(int, unsigned, SourceFunc, void*, Destroy) = nullptr;
    unsigned (*unixFdAddFull)(int, int, unsigned, FdFunc, void*, Destroy) = nullptr;
    int (*sourceRemove)(unsigned) = nullptr;

    bool Load()
    {
        contextDefault = reinterpret_cast<decltype(contextDefault)>(dlsym(RTLD_DEFAULT, "g_main_context_default"));
        contextIsOwner = reinterpret_cast<decltype(contextIsOwner)>(dlsym(RTLD_DEFAULT, "g_main_context_is_owner"));
        timeoutAddFull = reinterpret_cast<decltype(timeoutAddFull)>(dlsym(RTLD_DEFAULT, "g_timeout_add_full"));
        unixFdAddFull = reinterpret_cast<decltype(unixFdAddFull)>(dlsym(RTLD_DEFAULT, "g_unix_fd_add_full"));
        sourceRemove = reinterpret_cast<decltype(sourceRemove)>(dlsym(RTLD_DEFAULT, "g_source_remove"));
        return contextDefault && contextIsOwner && timeoutAddFull && unixFdAddFull && sourceRemove;
    }
};

constexpr unsigned kGIoIn = 1, kGIoErr = 8, kGIoHup = 16;
constexpr int kGPriorityDefault = 0;

} // namespace

//------------------------------------------------------------------------
bool X11HostLoop::GLibDrivesThisThread()
{
    GLibApi g;
    return g.Load() && g.contextIsOwner(g.contextDefault()) != 0;
}

//------------------------------------------------------------------------
X11HostLoop::Kind X11HostLoop::Start(Linux::IRunLoop* runLoop, int fd, int intervalMs)
{
    Stop();
    if (intervalMs < 1)
        intervalMs = 1;
    mHandler = new Handler(mClient);
    if (runLoop != nullptr) {
        mFdRegistered = fd >= 0 && runLoop->registerEventHandler(mHandler, fd) == kResultOk;
        mTimerRegistered =
            runLoop->registerTimer(mHandler, static_cast<Linux::TimerInterval>(intervalMs)) == kResultOk;
        if (mFdRegistered || mTimerRegistered) {
            runLoop->addRef();
            mRunLoop = runLoop;
            mKind = kHostRunLoop;
            return mKind;
        }
    }
    if (StartGLib(fd, intervalMs) == kGLib)
        return mKind;
    mHandler->Detach();
    mHandler->release();
    mHandler = nullptr;
    return mKind;
}

//------------------------------------------------------------------------
X11HostLoop::Kind X11HostLoop::StartGLib(int fd, int intervalMs)
{
    GLibApi g;
    if (!g.Load() || g.contextIsOwner(g.contextDefault()) == 0)
        return kNone;
    // Each source holds a reference on the handler, dropped when it goes.
    mHandler->addRef();
    mGLibTimerSource = g.timeoutAddFull(kGPriorityDefault, static_cast<unsigned>(intervalMs), &Handler::GLibTimer,
                                        mHandler, &Handler::GLibRelease);
    if (fd >= 0) {
        mHandler->addRef();
        mGLibFdSource = g.unixFdAddFull(kGPriorityDefault, fd, kGIoIn | kGIoErr | kGIoHup, &Handler::GLibFd, mHandler,
                                        &Handler::GLibRelease);
    }
    mKind = kGLib;
    return mKind;
}

//------------------------------------------------------------------------
void X11HostLoop::Stop()
{
    if (mHandler == nullptr)
        return;
    mHandler->Detach();
    if (mKind == kHostRunLoop && mRunLoop != nullptr) {
        if (mFdRegistered)
            mRunLoop->unregisterEventHandler(mHandler);
        if (mTimerRegistered)
            mRunLoop->unregisterTimer(mHandler);
        mRunLoop->release();
        mRunLoop = nullptr;
    } else if (mKind == kGLib) {
        GLibApi g;
        if (g.Load()) {
            if (mGLibFdSource != 0)
                g.sourceRemove(mGLibFdSource);
            if (mGLibTimerSource != 0)
                g.sourceRemove(mGLibTimerSource);
        }
    }
    mGLibFdSource = mGLibTimerSource = 0;
    mFdRegistered = mTimerRegistered = false;
    mKind = kNone;
    mHandler->release();
    mHandler = nullptr;
}
