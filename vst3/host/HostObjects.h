#pragma once
// The host-side objects a plug-in talks to: the host application (with a run
// loop for the plug-in's timers on Linux), a component handler that records
// what the plug-in tells the host, and parameter-change queues for process
// calls. They are owned by the host and outlive every plug-in call, so their
// reference counts only track, never delete.
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tarvo::host {

// Ticks the timers plug-ins register: on Linux through IRunLoop; on Windows
// by pumping the thread's messages (thread timers).
class RunLoop
#if defined(__linux__)
    : public Steinberg::Linux::IRunLoop
#endif
{
public:
    virtual ~RunLoop() = default;
#if defined(__linux__)
    Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler*, int) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API unregisterEventHandler(Steinberg::Linux::IEventHandler*) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                                Steinberg::uint64 milliseconds) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++mRefs; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return --mRefs; }
#endif
    // Fires every registered timer once, as if its interval had passed
    // (Linux); dispatches pending thread messages (Windows).
    void Tick();
    // Runs for about ms milliseconds of wall time, firing timers at their
    // intervals (Linux) or pumping messages (Windows).
    void RunFor(int ms);
    int TimerCount() const;

private:
#if defined(__linux__)
    std::atomic<Steinberg::uint32> mRefs{1};
    std::vector<std::pair<Steinberg::Linux::ITimerHandler*, Steinberg::uint64>> mTimers;
#endif
};

class HostApplication : public Steinberg::Vst::IHostApplication {
public:
    // offerRunLoop: answer IRunLoop queries on the context (Linux).
    HostApplication(std::string name, RunLoop* loop, bool offerRunLoop);
    virtual ~HostApplication() = default;
    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++mRefs; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return --mRefs; }

private:
    std::string mName;
    RunLoop* mLoop;
    bool mOfferRunLoop;
    std::atomic<Steinberg::uint32> mRefs{1};
};

// The frame around an open view: answers resize requests and, on Linux,
// offers the host's run loop (many Linux hosts offer it only here).
class PlugFrame : public Steinberg::IPlugFrame {
public:
    explicit PlugFrame(RunLoop* loop) : mLoop(loop) {}
    virtual ~PlugFrame() = default;
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++mRefs; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return --mRefs; }

private:
    RunLoop* mLoop;
    std::atomic<Steinberg::uint32> mRefs{1};
};

// Records the plug-in's edits and restart requests. A plug-in may call from
// a thread of its own when the host offers it no run loop: the records are
// guarded, and Edits()/Restarts() copy them safely from any thread.
class ComponentHandler : public Steinberg::Vst::IComponentHandler {
public:
    struct Edit {
        char kind;  // 'b' begin, 'p' perform, 'e' end
        Steinberg::Vst::ParamID id;
        double value;
    };
    virtual ~ComponentHandler() = default;
    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++mRefs; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return --mRefs; }

    std::vector<Edit> Edits() const;
    std::vector<Steinberg::int32> Restarts() const;
    int CallsOffMainThread() const;

    std::vector<Edit> edits;
    std::vector<Steinberg::int32> restarts;
    // Calls from a thread other than the one that loaded the module; a
    // plug-in makes them only when the host gives it no UI-thread path.
    int callsOffMainThread = 0;
    // Called inside restartComponent, on the plug-in's calling thread, as a
    // host answers it (for instance by reading the new latency).
    std::function<void(Steinberg::int32 flags)> onRestart;

private:
    void Check();
    mutable std::mutex mLock;
    std::atomic<Steinberg::uint32> mRefs{1};
};

// One block's parameter changes: a queue per parameter with its points.
class ParameterChanges : public Steinberg::Vst::IParameterChanges {
public:
    class Queue final : public Steinberg::Vst::IParamValueQueue {
    public:
        Steinberg::Vst::ParamID id = 0;
        std::vector<std::pair<Steinberg::int32, double>> points;
        Steinberg::Vst::ParamID PLUGIN_API getParameterId() SMTG_OVERRIDE { return id; }
        Steinberg::int32 PLUGIN_API getPointCount() SMTG_OVERRIDE { return static_cast<Steinberg::int32>(points.size()); }
        Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& offset, double& value) SMTG_OVERRIDE;
        Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 offset, double value, Steinberg::int32& index) SMTG_OVERRIDE;
        Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
        Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
        Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }
    };
    virtual ~ParameterChanges() = default;
    // Adds a point for id (offset 0 by default).
    void Add(Steinberg::Vst::ParamID id, double value, Steinberg::int32 offset = 0);
    void Clear() { mQueues.clear(); }
    bool Empty() const { return mQueues.empty(); }

    Steinberg::int32 PLUGIN_API getParameterCount() SMTG_OVERRIDE { return static_cast<Steinberg::int32>(mQueues.size()); }
    Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) SMTG_OVERRIDE;
    Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                  Steinberg::int32& index) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    std::vector<Queue> mQueues;
};

} // namespace tarvo::host
