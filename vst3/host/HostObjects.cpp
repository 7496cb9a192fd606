// Host-side objects for loading and driving a plug-in.
#include "vst3/host/HostObjects.h"

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace tarvo::host {

namespace {

const std::thread::id gMainThread = std::this_thread::get_id();

template <typename I, typename T> tresult Answer(T* self, const TUID iid, void** obj)
{
    if (obj == nullptr)
        return kInvalidArgument;
    if (FUnknownPrivate::iidEqual(iid, I::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        *obj = static_cast<I*>(self);
        self->addRef();
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

} // namespace

#if defined(__linux__)
//------------------------------------------------------------------------
tresult PLUGIN_API RunLoop::registerEventHandler(Linux::IEventHandler*, int)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API RunLoop::unregisterEventHandler(Linux::IEventHandler*)
{
    return kNotImplemented;
}

//------------------------------------------------------------------------
tresult PLUGIN_API RunLoop::registerTimer(Linux::ITimerHandler* handler, uint64 milliseconds)
{
    if (handler == nullptr || milliseconds == 0)
        return kInvalidArgument;
    handler->addRef();
    mTimers.emplace_back(handler, milliseconds);
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API RunLoop::unregisterTimer(Linux::ITimerHandler* handler)
{
    auto it = std::find_if(mTimers.begin(), mTimers.end(), [&](auto& t) { return t.first == handler; });
    if (it == mTimers.end())
        return kResultFalse;
    mTimers.erase(it);
    handler->release();
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API RunLoop::queryInterface(const TUID iid, void** obj)
{
    return Answer<Linux::IRunLoop>(this, iid, obj);
}
#endif

//------------------------------------------------------------------------
void RunLoop::Tick()
{
#if defined(__linux__)
    // A timer may unregister itself (or another) while firing: walk a copy.
    auto timers = mTimers;
    for (auto& t : timers)
        if (std::any_of(mTimers.begin(), mTimers.end(), [&](auto& live) { return live.first == t.first; }))
            t.first->onTimer();
#else
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
#endif
}

//------------------------------------------------------------------------
void RunLoop::RunFor(int ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
#if defined(__linux__)
        // Every registered plug-in timer here is 8 ms or so; tick at the
        // shortest interval.
        static thread_local auto last = std::chrono::steady_clock::now();
        uint64 shortest = 8;
        for (auto& t : mTimers)
            shortest = std::min(shortest, t.second);
        if (std::chrono::steady_clock::now() - last >= std::chrono::milliseconds(shortest)) {
            last = std::chrono::steady_clock::now();
            Tick();
        }
#else
        Tick();
#endif
    }
}

//------------------------------------------------------------------------
int RunLoop::TimerCount() const
{
#if defined(__linux__)
    return static_cast<int>(mTimers.size());
#else
    return 0;
#endif
}

//------------------------------------------------------------------------
HostApplication::HostApplication(std::string name, RunLoop* loop, bool offerRunLoop)
    : mName(std::move(name))
    , mLoop(loop)
    , mOfferRunLoop(offerRunLoop)
{
}

//------------------------------------------------------------------------
tresult PLUGIN_API HostApplication::getName(String128 name)
{
    if (name == nullptr)
        return kInvalidArgument;
    std::size_t n = std::min<std::size_t>(mName.size(), 127);
    for (std::size_t i = 0; i < n; ++i)
        name[i] = static_cast<char16>(static_cast<unsigned char>(mName[i]));
    name[n] = 0;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API HostApplication::createInstance(TUID, TUID, void** obj)
{
    if (obj)
        *obj = nullptr;
    return kResultFalse;
}

//------------------------------------------------------------------------
tresult PLUGIN_API HostApplication::queryInterface(const TUID iid, void** obj)
{
#if defined(__linux__)
    if (mOfferRunLoop && mLoop != nullptr && obj != nullptr && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
        *obj = static_cast<Linux::IRunLoop*>(mLoop);
        mLoop->addRef();
        return kResultOk;
    }
#else
    (void)mLoop;
    (void)mOfferRunLoop;
#endif
    return Answer<IHostApplication>(this, iid, obj);
}

//------------------------------------------------------------------------
tresult PLUGIN_API PlugFrame::resizeView(IPlugView* view, ViewRect* newSize)
{
    if (view == nullptr || newSize == nullptr)
        return kInvalidArgument;
    return view->onSize(newSize);
}

//------------------------------------------------------------------------
tresult PLUGIN_API PlugFrame::queryInterface(const TUID iid, void** obj)
{
#if defined(__linux__)
    if (mLoop != nullptr && obj != nullptr && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
        *obj = static_cast<Linux::IRunLoop*>(mLoop);
        mLoop->addRef();
        return kResultOk;
    }
#else
    (void)mLoop;
#endif
    return Answer<IPlugFrame>(this, iid, obj);
}

//------------------------------------------------------------------------
void ComponentHandler::Check()
{
    if (std::this_thread::get_id() != gMainThread)
        ++callsOffMainThread;
}

//------------------------------------------------------------------------
tresult PLUGIN_API ComponentHandler::beginEdit(ParamID id)
{
    std::lock_guard<std::mutex> lock(mLock);
    Check();
    edits.push_back({'b', id, 0.0});
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API ComponentHandler::performEdit(ParamID id, ParamValue value)
{
    std::lock_guard<std::mutex> lock(mLock);
    Check();
    edits.push_back({'p', id, value});
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API ComponentHandler::endEdit(ParamID id)
{
    std::lock_guard<std::mutex> lock(mLock);
    Check();
    edits.push_back({'e', id, 0.0});
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API ComponentHandler::restartComponent(int32 flags)
{
    // The host's answer runs first, unlocked, as a host would answer.
    if (onRestart)
        onRestart(flags);
    std::lock_guard<std::mutex> lock(mLock);
    Check();
    restarts.push_back(flags);
    return kResultOk;
}

//------------------------------------------------------------------------
std::vector<ComponentHandler::Edit> ComponentHandler::Edits() const
{
    std::lock_guard<std::mutex> lock(mLock);
    return edits;
}

//------------------------------------------------------------------------
std::vector<int32> ComponentHandler::Restarts() const
{
    std::lock_guard<std::mutex> lock(mLock);
    return restarts;
}

//------------------------------------------------------------------------
int ComponentHandler::CallsOffMainThread() const
{
    std::lock_guard<std::mutex> lock(mLock);
    return callsOffMainThread;
}

//------------------------------------------------------------------------
tresult PLUGIN_API ComponentHandler::queryInterface(const TUID iid, void** obj)
{
    return Answer<IComponentHandler>(this, iid, obj);
}

//------------------------------------------------------------------------
tresult PLUGIN_API ParameterChanges::Queue::getPoint(int32 index, int32& offset, double& value)
{
    if (index < 0 || index >= getPointCount())
        return kResultFalse;
    offset = points[static_cast<std::size_t>(index)].first;
    value = points[static_cast<std::size_t>(index)].second;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API ParameterChanges::Queue::addPoint(int32 offset, double value, int32& index)
{
    points.emplace_back(offset, value);
    index = getPointCount() - 1;
    return kResultOk;
}

//------------------------------------------------------------------------
tresult PLUGIN_API ParameterChanges::Queue::queryInterface(const TUID iid, void** obj)
{
    return Answer<IParamValueQueue>(this, iid, obj);
}

//------------------------------------------------------------------------
void ParameterChanges::Add(ParamID id, double value, int32 offset)
{
    int32 index = 0;
    IParamValueQueue* queue = addParameterData(id, index);
    int32 pointIndex = 0;
    queue->addPoint(offset, value, pointIndex);
}

//------------------------------------------------------------------------
IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index)
{
    if (index < 0 || index >= getParameterCount())
        return nullptr;
    return &mQueues[static_cast<std::size_t>(index)];
}

//------------------------------------------------------------------------
IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index)
{
    for (std::size_t i = 0; i < mQueues.size(); ++i) {
        if (mQueues[i].id == id) {
            index = static_cast<int32>(i);
            return &mQueues[i];
        }
    }
    mQueues.emplace_back();
    mQueues.back().id = id;
    index = getParameterCount() - 1;
    return &mQueues.back();
}

//------------------------------------------------------------------------
tresult PLUGIN_API ParameterChanges::queryInterface(const TUID iid, void** obj)
{
    return Answer<IParameterChanges>(this, iid, obj);
}

} // namespace tarvo::host
