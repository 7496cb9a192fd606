// The shared idle timer thread (Linux, hosts without a run loop): every
// timer ticks at its interval while many share one wake-up, and stopping a
// timer waits for its running tick, from any thread or from the tick itself.
#include "vst3/IdleTimer.h"
#include "vst3/IdleTimerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using tarvo::vst3::IdleTimer;
using tarvo::vst3::IdleTimerThread;
using namespace std::chrono_literals;

namespace {

struct Counter {
    std::atomic<int> ticks{0};
    static void Tick(void* self) { ++static_cast<Counter*>(self)->ticks; }
};

} // namespace

TEST(IdleTimerThread, ManyTimersTickAtTheirIntervalOnSharedWakeUps)
{
    constexpr int kTimers = 40;
    std::vector<std::unique_ptr<Counter>> counters;
    std::vector<std::unique_ptr<IdleTimer>> timers;
    for (int i = 0; i < kTimers; ++i) {
        counters.push_back(std::make_unique<Counter>());
        timers.push_back(std::make_unique<IdleTimer>(&Counter::Tick, counters.back().get()));
        timers.back()->Start(8);
    }
    EXPECT_EQ(IdleTimerThread::Instance().TimerCount(), kTimers);
    const auto wakesBefore = IdleTimerThread::Instance().WakeCount();
    std::this_thread::sleep_for(400ms);
    const auto wakes = IdleTimerThread::Instance().WakeCount() - wakesBefore;
    for (auto& timer : timers)
        timer->Stop();
    EXPECT_EQ(IdleTimerThread::Instance().TimerCount(), 0);

    // About 50 ticks each in 400 ms; a loaded machine may delay some, and
    // late ticks are caught up, so only the order of magnitude is checked.
    int total = 0;
    for (auto& c : counters) {
        EXPECT_GE(c->ticks.load(), 20);
        EXPECT_LE(c->ticks.load(), 60);
        total += c->ticks.load();
    }
    // One wake-up serves all timers of a grid point, not one per timer.
    EXPECT_LE(wakes, 60u);
    EXPECT_GE(static_cast<std::uint64_t>(total), 20u * wakes);

    // Stopped timers tick no more.
    std::vector<int> stopped;
    for (auto& c : counters)
        stopped.push_back(c->ticks.load());
    std::this_thread::sleep_for(50ms);
    for (std::size_t i = 0; i < counters.size(); ++i)
        EXPECT_EQ(counters[i]->ticks.load(), stopped[i]);
}

TEST(IdleTimerThread, StopWaitsForTheRunningTickAndOthersKeepTicking)
{
    struct Slow {
        std::atomic<bool> inside{false};
        std::atomic<bool> finished{false};
        std::atomic<int> ticks{0};
        static void Tick(void* p)
        {
            auto* self = static_cast<Slow*>(p);
            self->inside = true;
            std::this_thread::sleep_for(30ms);
            ++self->ticks;
            self->finished = true;
            self->inside = false;
        }
    } slow;
    Counter other;
    IdleTimer slowTimer(&Slow::Tick, &slow);
    IdleTimer otherTimer(&Counter::Tick, &other);
    slowTimer.Start(8);
    otherTimer.Start(8);

    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!slow.inside && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(slow.inside);
    slowTimer.Stop();
    // Stop returned: the tick that was running has finished, none follows.
    EXPECT_FALSE(slow.inside);
    EXPECT_TRUE(slow.finished);
    const int slowTicks = slow.ticks;
    const int otherTicks = other.ticks;
    std::this_thread::sleep_for(80ms);
    EXPECT_EQ(slow.ticks, slowTicks);
    EXPECT_GT(other.ticks, otherTicks + 3);
    otherTimer.Stop();
}

TEST(IdleTimerThread, ATickMayStopAndRestartTimers)
{
    // A tick that stops its own timer (an instance released from its own
    // tick) ends normally; one that stops and restarts another moves it.
    struct SelfStop {
        IdleTimer* timer = nullptr;
        std::atomic<int> ticks{0};
        static void Tick(void* p)
        {
            auto* self = static_cast<SelfStop*>(p);
            if (++self->ticks == 3)
                self->timer->Stop();
        }
    } selfStop;
    struct Restarter {
        IdleTimer* other = nullptr;
        std::atomic<int> ticks{0};
        static void Tick(void* p)
        {
            auto* self = static_cast<Restarter*>(p);
            ++self->ticks;
            self->other->Start(8);
        }
    } restarter;
    Counter moved;
    IdleTimer selfTimer(&SelfStop::Tick, &selfStop);
    IdleTimer movedTimer(&Counter::Tick, &moved);
    IdleTimer restartTimer(&Restarter::Tick, &restarter);
    selfStop.timer = &selfTimer;
    restarter.other = &movedTimer;
    selfTimer.Start(8);
    movedTimer.Start(8);
    restartTimer.Start(8);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(selfStop.ticks, 3);
    EXPECT_GE(restarter.ticks, 5);
    restartTimer.Stop();
    // No longer pushed back by the restarts, the moved timer ticks again.
    const int movedTicks = moved.ticks;
    std::this_thread::sleep_for(80ms);
    EXPECT_GT(moved.ticks, movedTicks + 3);
    movedTimer.Stop();
    EXPECT_EQ(IdleTimerThread::Instance().TimerCount(), 0);
}

namespace {

// A timer's owner that rests after each tick while asked to, reading the
// poke count before its tick as the plug-in does.
struct Rester {
    IdleTimer timer{&Rester::Tick, this};
    std::atomic<bool> rest{true};
    std::atomic<int> ticks{0};
    std::atomic<bool> pokeInsideTick{false};
    static void Tick(void* p)
    {
        auto* self = static_cast<Rester*>(p);
        const std::uint64_t pokes = self->timer.Pokes();
        ++self->ticks;
        if (self->pokeInsideTick.exchange(false))
            self->timer.Poke();  // a change during the tick
        self->timer.SetResting(self->rest, pokes);
    }
    // Milliseconds until the next tick, at most limit.
    long MsToNextTick(std::chrono::milliseconds limit)
    {
        const int before = ticks;
        const auto start = std::chrono::steady_clock::now();
        while (ticks == before && std::chrono::steady_clock::now() - start < limit)
            std::this_thread::sleep_for(200us);
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    }
};

} // namespace

TEST(IdleTimerThread, RestingTimersSleepUntilPokedAndTheirRestIsChecked)
{
    Rester a;
    Rester b;
    a.timer.Start(8);
    b.timer.Start(8);
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!(a.timer.Resting() && b.timer.Resting()) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(a.timer.Resting() && b.timer.Resting());

    // All at rest: the thread sleeps (a rest check may fall in the window).
    auto& thread = IdleTimerThread::Instance();
    const auto wakes = thread.WakeCount();
    const int ticksA = a.ticks;
    std::this_thread::sleep_for(400ms);
    EXPECT_LE(thread.WakeCount() - wakes, 1u);
    EXPECT_LE(a.ticks - ticksA, 1);

    // A poke from another thread (the audio thread's) wakes it at once: the
    // timer ticks at its next grid point, not at the next rest check.
    std::thread([&] { a.timer.Poke(); }).join();
    EXPECT_LT(a.MsToNextTick(1500ms), 100) << "a poke must end the sleep";
    EXPECT_TRUE(a.timer.Resting());

    // A poke during the tick cancels the rest that tick declares.
    a.pokeInsideTick = true;
    a.timer.Poke();
    a.MsToNextTick(1500ms);
    EXPECT_FALSE(a.timer.Resting());
    EXPECT_LT(a.MsToNextTick(1500ms), 100);

    // One busy timer among resting ones: it keeps its interval, the resting
    // one is passed over but for its rest check once a second.
    a.rest = false;
    a.timer.Poke();
    std::this_thread::sleep_for(30ms);
    const int busyBefore = a.ticks;
    const int restingBefore = b.ticks;
    std::this_thread::sleep_for(1100ms);
    EXPECT_GE(a.ticks - busyBefore, 60);
    EXPECT_GE(b.ticks - restingBefore, 1);
    EXPECT_LE(b.ticks - restingBefore, 2);

    // Restarted, a timer rests only once its owner says so again.
    b.rest = false;
    b.timer.Start(8);
    EXPECT_FALSE(b.timer.Resting());
    a.timer.Stop();
    b.timer.Stop();
    EXPECT_EQ(thread.TimerCount(), 0);
}
