// Windows idle timer: a thread timer on the thread that starts it. Its
// WM_TIMER messages are dispatched by that thread's message loop, which in a
// host is the UI thread.
#include "vst3/IdleTimer.h"

#include <windows.h>

#include <mutex>
#include <utility>
#include <vector>

namespace tarvo::vst3 {

namespace {

// Thread timers carry no user pointer: map their IDs to the timers.
std::mutex& RegistryMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<std::pair<UINT_PTR, IdleTimer*>>& Registry()
{
    static std::vector<std::pair<UINT_PTR, IdleTimer*>> timers;
    return timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    IdleTimer* timer = nullptr;
    {
        std::lock_guard<std::mutex> lock(RegistryMutex());
        for (auto& entry : Registry())
            if (entry.first == id)
                timer = entry.second;
    }
    // Timers live on the UI thread and are stopped there, so the timer
    // found cannot be destroyed while this message is being handled.
    if (timer != nullptr)
        timer->Fire();
}

} // namespace

//------------------------------------------------------------------------
IdleTimer::IdleTimer(Callback callback, void* context)
    : mCallback(callback)
    , mContext(context)
{
}

//------------------------------------------------------------------------
IdleTimer::~IdleTimer()
{
    Stop();
}

//------------------------------------------------------------------------
bool IdleTimer::Start(int intervalMs)
{
    Stop();
    mIntervalMs = intervalMs < 1 ? 1 : intervalMs;
    mRunning = true;
    StartPlatform();
    return mTimerId != 0;
}

//------------------------------------------------------------------------
void IdleTimer::Stop()
{
    if (!mRunning)
        return;
    StopPlatform();
    mRunning = false;
}

//------------------------------------------------------------------------
void IdleTimer::Fire()
{
    if (mCallback != nullptr)
        mCallback(mContext);
}

//------------------------------------------------------------------------
void IdleTimer::Poke()
{
    // The thread timer ticks whether or not its owner rests: the message
    // loop wakes for it anyway, and SetTimer and KillTimer belong to the UI
    // thread, which a poke from the audio thread cannot use.
    mPokes.fetch_add(1);
}

//------------------------------------------------------------------------
bool IdleTimer::TicksOnUiThread() const
{
    return true;
}

//------------------------------------------------------------------------
void IdleTimer::UseRunLoop(Steinberg::FUnknown* /*provider*/)
{
}

//------------------------------------------------------------------------
void IdleTimer::StartPlatform()
{
    UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(mIntervalMs), TimerProc);
    mTimerId = id;
    if (id == 0)
        return;
    std::lock_guard<std::mutex> lock(RegistryMutex());
    Registry().emplace_back(id, this);
}

//------------------------------------------------------------------------
void IdleTimer::StopPlatform()
{
    if (mTimerId == 0)
        return;
    KillTimer(nullptr, mTimerId);
    {
        std::lock_guard<std::mutex> lock(RegistryMutex());
        auto& timers = Registry();
        for (auto it = timers.begin(); it != timers.end(); ++it) {
            if (it->first == mTimerId) {
                timers.erase(it);
                break;
            }
        }
    }
    mTimerId = 0;
}

} // namespace tarvo::vst3
