// The process-wide idle timer thread (Linux, hosts without a run loop).
#include "vst3/IdleTimerThread.h"

#include "vst3/IdleTimer.h"

#include <algorithm>

namespace tarvo::vst3 {

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
    mWake.notify_all();
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
        mEntries.push_back({timer, interval, GridPoint(Clock::now() + interval, interval)});
        ++mListVersion;
    }
    mWake.notify_all();
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
void IdleTimerThread::Run()
{
    std::unique_lock<std::mutex> lock(mMutex);
    while (!mStop) {
        if (mEntries.empty()) {
            mWake.wait(lock, [this] { return mStop || !mEntries.empty(); });
            continue;
        }
        Clock::time_point due = mEntries.front().next;
        for (const Entry& e : mEntries)
            due = std::min(due, e.next);
        if (Clock::now() < due) {
            // Woken early by a change to the list: look again.
            mWake.wait_until(lock, due);
            continue;
        }
        ++mWakes;
        const Clock::time_point now = Clock::now();
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
