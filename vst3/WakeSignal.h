#pragma once
// Linux: a wake-up one thread sleeps on and any thread gives without ever
// blocking. A counter and the kernel's futex wait and wake on its word: Give
// is an atomic increment and one system call that takes no lock a sleeper
// could hold, so the audio thread may give it.
#include <atomic>
#include <chrono>
#include <cstdint>

namespace tarvo::vst3 {

class WakeSignal {
public:
    using Clock = std::chrono::steady_clock;

    constexpr WakeSignal() = default;

    // Read before looking at what the sleeper waits for: a Give after this
    // read ends the sleep that follows.
    std::uint32_t Count() const { return mCount.load(); }
    // Sleeps while the count is still seen, at most until the deadline (the
    // time point max() waits without one). May return early.
    void WaitUntil(std::uint32_t seen, Clock::time_point deadline);
    void Give();

private:
    std::atomic<std::uint32_t> mCount{0};
    static_assert(std::atomic<std::uint32_t>::is_always_lock_free && sizeof(std::atomic<std::uint32_t>) == 4,
                  "the futex word is the atomic's own");
};

} // namespace tarvo::vst3
