#pragma once
// A test-only real-time safety checker. Linked into a test program it
// replaces malloc and its relatives, operator new and delete, and wraps the
// blocking calls it can reach (mutex locks, condition waits, sleeps, file
// and socket I/O, poll). While a thread is inside an AudioScope every such
// call on that thread is counted: the audio callback must make none, except
// locking the one lock it is allowed to wait for (the plug-in lock), whose
// waits are counted and timed instead.
//
// Linux only, and not together with a sanitizer (they replace the same
// functions).
#include <cstdint>
#include <string>

namespace rtcheck {

struct Counts {
    std::int64_t allocations = 0;  // malloc, calloc, realloc, aligned forms, new
    std::int64_t frees = 0;        // free, delete
    std::int64_t locks = 0;        // locks of mutexes other than the allowed one
    std::int64_t blocking = 0;     // waits, sleeps, I/O
    std::int64_t allowedLocks = 0; // locks of the allowed mutex
    std::int64_t allowedWaits = 0; // ... that found it held by another thread
    std::int64_t longestWaitNs = 0;
    std::int64_t totalWaitNs = 0;
    // The longest time another thread held the allowed lock, in that
    // thread's CPU time and in wall time: what the audio thread may have to
    // wait on an idle machine, and what it did wait on this one.
    std::int64_t longestHoldCpuNs = 0;
    std::int64_t longestHoldWallNs = 0;
};

// Marks the calling thread as being inside the audio callback while alive.
class AudioScope {
public:
    AudioScope();
    ~AudioScope();
    AudioScope(const AudioScope&) = delete;
    AudioScope& operator=(const AudioScope&) = delete;
};

// The next mutex a thread locks inside an AudioScope becomes the allowed
// lock (the plug-in's processing call takes its lock first). Returns once
// armed; AllowedLockIsRecursive() tells what was learnt.
void LearnAllowedLock();
bool AllowedLockLearnt();
bool AllowedLockIsRecursive();

Counts Totals();
void Reset();
// The first few calls counted as violations, by name ("malloc", "lock", ...).
std::string Violations();

} // namespace rtcheck
