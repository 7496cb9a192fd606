#pragma once
// Linux: the one thread that ticks every idle timer of the process for which
// the host offers no run loop. A thread per instance would wake the machine
// once per instance and interval; here timers of equal interval share a
// common grid, so a hundred instances cost one wake-up per 8 ms.
//
// Timers tick in turn on this thread. Remove returns only when the timer's
// tick is not running and cannot start again, unless it is called from that
// tick itself (the tick then finishes normally). The thread starts with the
// first timer and ends when the process or module unloads.
//
// Resting timers (IdleTimer::SetResting) are passed over, except for one
// tick per kRestCheck that catches a change nobody poked for. While all of
// them rest the thread sleeps until a poke or the next such check; a poke
// ends that sleep at once (WakeIfAsleep) and the timer ticks from the next
// point of its grid.
#include "vst3/WakeSignal.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace tarvo::vst3 {

class IdleTimer;

class IdleTimerThread {
public:
    using Clock = std::chrono::steady_clock;

    // How often a resting timer still ticks.
    static constexpr std::chrono::milliseconds kRestCheck{1000};

    static IdleTimerThread& Instance();
    // Ends the thread's sleep when every timer rests, so a timer poked out
    // of its rest ticks on time; nothing when the thread keeps its grid
    // anyway. Any thread; only atomics and, at most once per such sleep, a
    // futex wake.
    static void WakeIfAsleep();

    IdleTimerThread() = default;
    ~IdleTimerThread();
    IdleTimerThread(const IdleTimerThread&) = delete;
    IdleTimerThread& operator=(const IdleTimerThread&) = delete;

    // Ticks timer->Fire() every intervalMs (at least 1) from the next grid
    // point one interval or more away; adding a timer again moves it.
    void Add(IdleTimer* timer, int intervalMs);
    void Remove(IdleTimer* timer);

    int TimerCount();
    // How many times the thread woke up to tick (tests).
    std::uint64_t WakeCount();

private:
    struct Entry {
        IdleTimer* timer;
        Clock::duration interval;
        Clock::time_point next;     // the next grid point it is due at
        Clock::time_point lastTick; // when it last ticked
        bool resting = false;       // as last seen by the thread
    };

    void Run();
    // When a resting entry ticks to check its rest: the first point of a
    // grid of kRestCheck after its last tick.
    Clock::time_point RestCheckAt(const Entry& e) const;
    // When the entry is due next: its grid point, or its rest check.
    Clock::time_point DueAt(const Entry& e) const;
    bool AllResting() const;
    // The first point of the shared grid at or after `at`.
    Clock::time_point GridPoint(Clock::time_point at, Clock::duration interval) const;
    void EraseLocked(IdleTimer* timer);

    std::mutex mMutex;
    std::condition_variable mTickDone;  // a tick ended
    std::vector<Entry> mEntries;
    std::uint64_t mListVersion = 0;     // changes whenever mEntries does
    IdleTimer* mFiring = nullptr;       // the timer whose tick runs now
    std::thread mThread;
    std::thread::id mThreadId;
    Clock::time_point mOrigin;
    std::uint64_t mWakes = 0;
    bool mStop = false;
};

} // namespace tarvo::vst3
