#pragma once
// The plug-in's periodic idle timer, ticking on the host's user-interface
// thread whether or not an editor is open.
//
// Windows: a thread timer on the thread that starts it (the host's UI thread,
// which pumps messages). Linux: the host's IRunLoop once one is offered
// (through the host context or a plug frame); until then, and in hosts that
// offer none, a thread of the plug-in's own. Ticks from that thread are not
// on the UI thread: IFxVST3 defers its host calls to the next UI-thread
// entry and delivers them from the tick only when none comes soon.
//
// Start, Stop and UseRunLoop are called on the UI thread. Stop returns only
// when no tick is running or can start, so the owner may be destroyed next.
#include "pluginterfaces/base/funknown.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace tarvo::vst3 {

class IdleTimer {
public:
    using Callback = void (*)(void* context);

    IdleTimer(Callback callback, void* context);
    ~IdleTimer();

    IdleTimer(const IdleTimer&) = delete;
    IdleTimer& operator=(const IdleTimer&) = delete;

    // Starts ticking every intervalMs (at least 1); restarts if running.
    bool Start(int intervalMs);
    void Stop();
    bool IsRunning() const { return mRunning; }

    // Linux: moves the ticks onto the IRunLoop that provider answers (the
    // host context or a plug frame). Null, or a provider without a run loop,
    // returns to the timer's own thread. No effect on Windows.
    void UseRunLoop(Steinberg::FUnknown* provider);
    // True while the ticks come from the host's run loop (Windows: always
    // from the UI thread's message loop).
    bool TicksOnUiThread() const;

    // Called by the platform timer.
    void Fire();

private:
    void StartPlatform();
    void StopPlatform();

    Callback mCallback;
    void* mContext;
    int mIntervalMs = 8;
    bool mRunning = false;

#ifdef _WIN32
    std::uintptr_t mTimerId = 0;
#else
    class RunLoopHandler;
    Steinberg::FUnknown* mRunLoop = nullptr;   // Linux::IRunLoop, referenced
    RunLoopHandler* mHandler = nullptr;
    std::thread mThread;
    std::mutex mThreadMutex;
    std::condition_variable mThreadWake;
    bool mThreadStop = false;
#endif
};

} // namespace tarvo::vst3
