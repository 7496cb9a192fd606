// The process-wide idle timer thread (Linux, hosts without a run loop).
#include "vst3/IdleTimerThread.h"

#include "vst3/IdleTimer.h"

#include <algorithm>

#include <pthread.h>

namespace tarvo::vst3 {

namespace {

// Static storage, made before any code runs: the audio thread may poke
// before the thread object exists, and must never construct it.
constinit WakeSignal sWake;             // the list changed, stop, or a poke
constinit std::atomic<bool> sAsleep{false}; // sleeping with every timer at rest

} // namespace

//------------------------------------------------------------------------
IdleTimerThread& IdleTimerThread::Instance()
{
    // Destroyed when the module unloads, which stops and joins the thread
    // before its code goes away.
    static IdleTimerThread instance;
    return instance;
}

//------------------------------------------------------------------------
IdleTimerThread::~IdleTimerThread()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mStop = true;
        mEntries.clear();
    }
    sWake.Give();
    if (mThread.joinable()) {
        if (mThread.get_id() == std::this_thread::get_id())
            mThread.detach();
        else
            mThread.join();
    }
}

//------------------------------------------------------------------------
IdleTimerThread::Clock::time_point IdleTimerThread::GridPoint(Clock::time_point at, Clock::duration interval) const
{
    if (at <= mOrigin)
        return mOrigin;
    auto steps = (at - mOrigin + interval - Clock::duration(1)) / interval;
    return mOrigin + steps * interval;
}

//------------------------------------------------------------------------
void IdleTimerThread::Add(IdleTimer* timer, int intervalMs)
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (!mThread.joinable()) {
            mOrigin = Clock::now();
            mStop = false;
            mThread = std::thread([this] { Run(); });
            mThreadId = mThread.get_id();
        }
        EraseLocked(timer);
        Clock::duration interval = std::chrono::milliseconds(std::max(intervalMs, 1));
        const Clock::time_point now = Clock::now();
        mEntries.push_back({timer, interval, GridPoint(now + interval, interval), now, false});
        ++mListVersion;
    }
    sWake.Give();
}

//------------------------------------------------------------------------
void IdleTimerThread::WakeIfAsleep()
{
    // Read first: pokes come with every block of audio, and most find the
    // thread awake.
    if (sAsleep.load() && sAsleep.exchange(false))
        sWake.Give();
}

//------------------------------------------------------------------------
void IdleTimerThread::Remove(IdleTimer* timer)
{
    std::unique_lock<std::mutex> lock(mMutex);
    EraseLocked(timer);
    // From the timer's own tick the tick simply ends after this call.
    if (std::this_thread::get_id() != mThreadId)
        mTickDone.wait(lock, [&] { return mFiring != timer; });
}

//------------------------------------------------------------------------
void IdleTimerThread::EraseLocked(IdleTimer* timer)
{
    auto it = std::remove_if(mEntries.begin(), mEntries.end(), [timer](const Entry& e) { return e.timer == timer; });
    if (it != mEntries.end()) {
        mEntries.erase(it, mEntries.end());
        ++mListVersion;
    }
}

//------------------------------------------------------------------------
int IdleTimerThread::TimerCount()
{
    std::lock_guard<std::mutex> lock(mMutex);
    return static_cast<int>(mEntries.size());
}

//------------------------------------------------------------------------
std::uint64_t IdleTimerThread::WakeCount()
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mWakes;
}

//------------------------------------------------------------------------
IdleTimerThread::Clock::time_point IdleTimerThread::RestCheckAt(const Entry& e) const
{
    // On a common coarse grid, so resting timers share their checks' wake-up.
    return GridPoint(e.lastTick + Clock::duration(1), kRestCheck);
}

//------------------------------------------------------------------------
IdleTimerThread::Clock::time_point IdleTimerThread::DueAt(const Entry& e) const
{
    return e.resting ? std::max(e.next, RestCheckAt(e)) : e.next;
}

//------------------------------------------------------------------------
bool IdleTimerThread::AllResting() const
{
    for (const Entry& e : mEntries)
        if (!e.timer->Resting())
            return false;
    return true;
}

//------------------------------------------------------------------------
void IdleTimerThread::Run()
{
    pthread_setname_np(pthread_self(), "tarvo idle");
    std::unique_lock<std::mutex> lock(mMutex);
    while (!mStop) {
        // Read before looking at the timers: a change or poke after this
        // ends the sleep below.
        const std::uint32_t seen = sWake.Count();
        Clock::time_point now = Clock::now();
        Clock::time_point due = Clock::time_point::max();
        bool allResting = true;
        for (Entry& e : mEntries) {
            const bool resting = e.timer->Resting();
            // Back from a rest the thread slept through: the next point of
            // the grid, not the stale ones it missed.
            if (!resting && e.resting && e.next < now - e.interval)
                e.next = GridPoint(now, e.interval);
            e.resting = resting;
            allResting = allResting && resting;
            due = std::min(due, DueAt(e));
        }
        if (now < due) {
            if (allResting) {
                // A poker sets its timer's count and then looks at sAsleep;
                // this thread sets sAsleep and then looks at the counts: one
                // of the two sees the other.
                sAsleep.store(true);
                if (!AllResting()) {
                    sAsleep.store(false);
                    continue;
                }
            }
            lock.unlock();
            sWake.WaitUntil(seen, due);
            sAsleep.store(false);
            lock.lock();
            continue;
        }
        ++mWakes;
        now = Clock::now();
        std::size_t i = 0;
        while (i < mEntries.size() && !mStop) {
            Entry& e = mEntries[i];
            if (e.next > now) {
                ++i;
                continue;
            }
            e.next += e.interval;
            // After a long stall, tick again one interval from now rather
            // than in a burst.
            if (e.next < now - 4 * e.interval)
                e.next = GridPoint(now + e.interval, e.interval);
            // A resting timer's tick would change nothing: pass it over,
            // keeping its place on the grid, until its rest check is due.
            e.resting = e.timer->Resting();
            if (e.resting && now < RestCheckAt(e)) {
                if (e.next <= now)
                    e.next = GridPoint(now + Clock::duration(1), e.interval);
                ++i;
                continue;
            }
            e.lastTick = now;
            IdleTimer* timer = e.timer;
            const std::uint64_t version = mListVersion;
            mFiring = timer;
            lock.unlock();
            timer->Fire();
            lock.lock();
            mFiring = nullptr;
            mTickDone.notify_all();
            // A tick that added or removed timers invalidated the position;
            // those already ticked are not due again.
            i = mListVersion == version ? i + 1 : 0;
        }
    }
}

} // namespace tarvo::vst3
