// The futex behind WakeSignal.
#include "vst3/WakeSignal.h"

#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace tarvo::vst3 {

namespace {

long Futex(std::atomic<std::uint32_t>* word, int op, std::uint32_t value, const timespec* timeout)
{
    // FUTEX_WAIT_BITSET takes an absolute CLOCK_MONOTONIC deadline, the
    // clock steady_clock reads on Linux.
    return syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(word), op | FUTEX_PRIVATE_FLAG, value, timeout,
                   nullptr, FUTEX_BITSET_MATCH_ANY);
}

} // namespace

//------------------------------------------------------------------------
void WakeSignal::WaitUntil(std::uint32_t seen, Clock::time_point deadline)
{
    timespec at{};
    const timespec* timeout = nullptr;
    if (deadline != Clock::time_point::max()) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count();
        if (ns <= 0)
            return;
        at.tv_sec = static_cast<time_t>(ns / 1000000000);
        at.tv_nsec = static_cast<long>(ns % 1000000000);
        timeout = &at;
    }
    // Returns at once when the count moved on since seen; EINTR and
    // spurious returns leave the caller to look again.
    Futex(&mCount, FUTEX_WAIT_BITSET, seen, timeout);
}

//------------------------------------------------------------------------
void WakeSignal::Give()
{
    mCount.fetch_add(1);
    Futex(&mCount, FUTEX_WAKE_BITSET, 1, nullptr);
}

} // namespace tarvo::vst3
