// Linux idle timer: the host's run loop where offered, else the shared
// timer thread.
#include "vst3/IdleTimer.h"

#include "vst3/IdleTimerThread.h"

#include "pluginterfaces/gui/iplugview.h"

#include <atomic>

using namespace Steinberg;

namespace tarvo::vst3 {

// The handler registered with the host's run loop. Reference counted because
// the host may hold it; Detach makes late calls harmless.
class IdleTimer::RunLoopHandler : public Linux::ITimerHandler {
public:
    explicit RunLoopHandler(IdleTimer* owner) : mOwner(owner) {}
    virtual ~RunLoopHandler() = default;

    void PLUGIN_API onTimer() SMTG_OVERRIDE
    {
        if (mOwner != nullptr)
            mOwner->Fire();
    }
    void Detach() { mOwner = nullptr; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE
    {
        if (obj == nullptr)
            return kInvalidArgument;
        if (FUnknownPrivate::iidEqual(iid, Linux::ITimerHandler::iid) ||
            FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
            *obj = static_cast<Linux::ITimerHandler*>(this);
            addRef();
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++mRefs; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE
    {
        uint32 left = --mRefs;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<uint32> mRefs{1};
    IdleTimer* mOwner;
};

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
    if (mRunLoop != nullptr)
        mRunLoop->release();
}

//------------------------------------------------------------------------
bool IdleTimer::Start(int intervalMs)
{
    Stop();
    mIntervalMs = intervalMs < 1 ? 1 : intervalMs;
    mRunning = true;
    // A rest seen on another ticking source starts afresh.
    mRestingAt.store(0);
    StartPlatform();
    return true;
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
    mPokes.fetch_add(1);
    // Only a thread asleep with every timer at rest needs waking; the run
    // loop's ticks and a thread on its grid come anyway.
    if (mOnThread.load())
        IdleTimerThread::WakeIfAsleep();
}

//------------------------------------------------------------------------
bool IdleTimer::TicksOnUiThread() const
{
    return mRunLoop != nullptr;
}

//------------------------------------------------------------------------
void IdleTimer::UseRunLoop(FUnknown* provider)
{
    Linux::IRunLoop* loop = nullptr;
    if (provider != nullptr &&
        provider->queryInterface(Linux::IRunLoop::iid, reinterpret_cast<void**>(&loop)) != kResultOk)
        loop = nullptr;
    if (loop != nullptr && loop == mRunLoop) {
        loop->release();
        return;
    }
    bool wasRunning = mRunning;
    Stop();
    if (mRunLoop != nullptr)
        mRunLoop->release();
    mRunLoop = loop;
    if (wasRunning)
        Start(mIntervalMs);
}

//------------------------------------------------------------------------
void IdleTimer::StartPlatform()
{
    if (mRunLoop != nullptr) {
        auto* loop = static_cast<Linux::IRunLoop*>(mRunLoop);
        mHandler = new RunLoopHandler(this);
        if (loop->registerTimer(mHandler, static_cast<Linux::TimerInterval>(mIntervalMs)) == kResultOk)
            return;
        // The host refused the timer: tick on the shared timer thread.
        mHandler->Detach();
        mHandler->release();
        mHandler = nullptr;
        mRunLoop->release();
        mRunLoop = nullptr;
    }
    // Set first: a poke must never miss a timer the thread already ticks.
    mOnThread = true;
    IdleTimerThread::Instance().Add(this, mIntervalMs);
}

//------------------------------------------------------------------------
void IdleTimer::StopPlatform()
{
    if (mHandler != nullptr) {
        static_cast<Linux::IRunLoop*>(mRunLoop)->unregisterTimer(mHandler);
        mHandler->Detach();
        mHandler->release();
        mHandler = nullptr;
    }
    if (mOnThread) {
        // Returns once no tick of ours runs (or from inside our own tick).
        IdleTimerThread::Instance().Remove(this);
        mOnThread = false;
    }
}

} // namespace tarvo::vst3
