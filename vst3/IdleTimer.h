#pragma once
// The plug-in's periodic idle timer, ticking on the host's user-interface
// thread whether or not an editor is open.
//
// Windows: a thread timer on the thread that starts it (the host's UI thread,
// which pumps messages). Linux: the host's IRunLoop once one is offered
// (through the host context or a plug frame); until then, and in hosts that
// offer none, the one timer thread the plug-in's instances share
// (IdleTimerThread.h). Ticks from that thread are not on the UI thread:
// IFxVST3 defers its host calls to the next UI-thread entry and delivers them
// from the tick only when none comes soon.
//
// Start, Stop and UseRunLoop are called on the UI thread. Stop returns only
// when no tick is running or can start, so the owner may be destroyed next.
//
// Rest: an owner whose ticks would change nothing until something from
// outside reaches it says so after a tick (SetResting). While every timer of
// the shared thread rests, the thread sleeps instead of waking each interval;
// a resting timer among busy ones is passed over. Either way it still ticks
// once per IdleTimerThread::kRestCheck. Whatever may give a tick work pokes
// the timer once that change is made (Poke, real-time safe), and it ticks
// again from the next point of its grid. Ticks on a host run loop or a
// Windows thread timer go on as they are.
#include "pluginterfaces/base/funknown.h"

#include <atomic>
#include <cstdint>

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

    // Pokes so far. The owner reads this before its tick and hands it to
    // SetResting after it: a poke during the tick cancels the rest.
    std::uint64_t Pokes() const { return mPokes.load(); }
    // After a tick: rest (or not) until the next poke.
    void SetResting(bool resting, std::uint64_t pokesBeforeTick)
    {
        mRestingAt.store(resting ? (pokesBeforeTick | kRestFlag) : 0);
    }
    // True from SetResting(true) until the next poke.
    bool Resting() const { return mRestingAt.load() == (mPokes.load() | kRestFlag); }
    // Ends a rest: called, on any thread, after a change that may give the
    // next tick work. Never blocks or allocates.
    void Poke();

private:
    void StartPlatform();
    void StopPlatform();

    static constexpr std::uint64_t kRestFlag = std::uint64_t{1} << 63;

    Callback mCallback;
    void* mContext;
    std::atomic<std::uint64_t> mPokes{0};
    std::atomic<std::uint64_t> mRestingAt{0};  // pokes at the rest, with kRestFlag; 0 while not resting
    int mIntervalMs = 8;
    bool mRunning = false;

#ifdef _WIN32
    std::uintptr_t mTimerId = 0;
#else
    class RunLoopHandler;
    Steinberg::FUnknown* mRunLoop = nullptr;   // Linux::IRunLoop, referenced
    RunLoopHandler* mHandler = nullptr;
    // Registered with the shared timer thread; read by pokes on any thread.
    std::atomic<bool> mOnThread{false};
#endif
};

} // namespace tarvo::vst3
