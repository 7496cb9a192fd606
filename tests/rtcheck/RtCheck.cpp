// Interposition behind RtCheck.h. Allocation functions forward to glibc's
// own entry points (__libc_malloc and friends), the others to the next
// definition found with dlsym(RTLD_NEXT), resolved before main runs.
#include "tests/rtcheck/RtCheck.h"

#include <dlfcn.h>
#include <poll.h>
#include <pthread.h>
#include <semaphore.h>
#include <sys/select.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <new>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {

thread_local bool tInside = false;
// Set while the checker itself runs, so its own work is never counted.
thread_local bool tBusy = false;

std::atomic<std::int64_t> gAllocations{0}, gFrees{0}, gLocks{0}, gBlocking{0};
std::atomic<std::int64_t> gAllowedLocks{0}, gAllowedWaits{0}, gLongestWaitNs{0}, gTotalWaitNs{0};
std::atomic<std::int64_t> gLongestHoldCpuNs{0}, gLongestHoldWallNs{0};
std::atomic<bool> gLearning{false};
// Holds of the allowed lock by threads outside an AudioScope.
thread_local int tHoldDepth = 0;
thread_local std::int64_t tHoldCpuStart = 0, tHoldWallStart = 0;
std::atomic<pthread_mutex_t*> gAllowed{nullptr};

// A small fixed log of what was counted, written without allocating.
constexpr int kLogSize = 16;
const char* gLog[kLogSize];
std::atomic<int> gLogCount{0};

void Count(std::atomic<std::int64_t>& counter, const char* what)
{
    if (!tInside || tBusy)
        return;
    counter.fetch_add(1, std::memory_order_relaxed);
    int at = gLogCount.fetch_add(1, std::memory_order_relaxed);
    if (at < kLogSize)
        gLog[at] = what;
}

template <typename F> F Next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

using LockFn = int (*)(pthread_mutex_t*);

std::int64_t CpuNs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

std::int64_t WallNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
using CondWaitFn = int (*)(pthread_cond_t*, pthread_mutex_t*);
using CondTimedFn = int (*)(pthread_cond_t*, pthread_mutex_t*, const struct timespec*);
using SemFn = int (*)(sem_t*);
using NanosleepFn = int (*)(const struct timespec*, struct timespec*);
using ClockNanosleepFn = int (*)(clockid_t, int, const struct timespec*, struct timespec*);
using UsleepFn = int (*)(useconds_t);
using ReadFn = ssize_t (*)(int, void*, size_t);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using PollFn = int (*)(struct pollfd*, nfds_t, int);
using SelectFn = int (*)(int, fd_set*, fd_set*, fd_set*, struct timeval*);

struct Real {
    LockFn lock = nullptr;
    LockFn trylock = nullptr;
    LockFn unlock = nullptr;
    CondWaitFn condWait = nullptr;
    CondTimedFn condTimed = nullptr;
    SemFn semWait = nullptr;
    NanosleepFn nanosleep = nullptr;
    ClockNanosleepFn clockNanosleep = nullptr;
    UsleepFn usleep = nullptr;
    ReadFn read = nullptr;
    WriteFn write = nullptr;
    PollFn poll = nullptr;
    SelectFn select = nullptr;
};
Real gReal;

void Resolve()
{
    tBusy = true;
    gReal.lock = Next<LockFn>("pthread_mutex_lock");
    gReal.trylock = Next<LockFn>("pthread_mutex_trylock");
    gReal.unlock = Next<LockFn>("pthread_mutex_unlock");
    gReal.condWait = reinterpret_cast<CondWaitFn>(dlvsym(RTLD_NEXT, "pthread_cond_wait", "GLIBC_2.3.2"));
    if (gReal.condWait == nullptr)
        gReal.condWait = Next<CondWaitFn>("pthread_cond_wait");
    gReal.condTimed = reinterpret_cast<CondTimedFn>(dlvsym(RTLD_NEXT, "pthread_cond_timedwait", "GLIBC_2.3.2"));
    if (gReal.condTimed == nullptr)
        gReal.condTimed = Next<CondTimedFn>("pthread_cond_timedwait");
    gReal.semWait = Next<SemFn>("sem_wait");
    gReal.nanosleep = Next<NanosleepFn>("nanosleep");
    gReal.clockNanosleep = Next<ClockNanosleepFn>("clock_nanosleep");
    gReal.usleep = Next<UsleepFn>("usleep");
    gReal.read = Next<ReadFn>("read");
    gReal.write = Next<WriteFn>("write");
    gReal.poll = Next<PollFn>("poll");
    gReal.select = Next<SelectFn>("select");
    tBusy = false;
}

__attribute__((constructor(101))) void ResolveEarly()
{
    Resolve();
}

const Real& R()
{
    if (gReal.lock == nullptr)
        Resolve();
    return gReal;
}

void UpdateMax(std::atomic<std::int64_t>& max, std::int64_t value)
{
    std::int64_t seen = max.load(std::memory_order_relaxed);
    while (value > seen && !max.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
    }
}

} // namespace

// --- Allocation ------------------------------------------------------------
extern "C" {

void* malloc(size_t n)
{
    Count(gAllocations, "malloc");
    return __libc_malloc(n);
}

void* calloc(size_t n, size_t size)
{
    Count(gAllocations, "calloc");
    return __libc_calloc(n, size);
}

void* realloc(void* p, size_t n)
{
    Count(gAllocations, "realloc");
    return __libc_realloc(p, n);
}

void free(void* p)
{
    if (p != nullptr)
        Count(gFrees, "free");
    __libc_free(p);
}

void* memalign(size_t alignment, size_t n)
{
    Count(gAllocations, "memalign");
    return __libc_memalign(alignment, n);
}

void* aligned_alloc(size_t alignment, size_t n)
{
    Count(gAllocations, "aligned_alloc");
    return __libc_memalign(alignment, n);
}

int posix_memalign(void** out, size_t alignment, size_t n)
{
    Count(gAllocations, "posix_memalign");
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = __libc_memalign(alignment, n);
    if (p == nullptr && n != 0)
        return ENOMEM;
    *out = p;
    return 0;
}

// --- Blocking calls ----------------------------------------------------------
int pthread_mutex_lock(pthread_mutex_t* mutex)
{
    const Real& real = R();
    if (!tInside || tBusy) {
        int result = real.lock(mutex);
        if (result == 0 && !tBusy && mutex == gAllowed.load(std::memory_order_relaxed) && tHoldDepth++ == 0) {
            tHoldCpuStart = CpuNs();
            tHoldWallStart = WallNs();
        }
        return result;
    }
    if (gLearning.load()) {
        gAllowed.store(mutex);
        gLearning.store(false);
    }
    if (mutex != gAllowed.load(std::memory_order_relaxed)) {
        Count(gLocks, "pthread_mutex_lock");
        return real.lock(mutex);
    }
    gAllowedLocks.fetch_add(1, std::memory_order_relaxed);
    if (real.trylock(mutex) == 0)
        return 0;
    // Held elsewhere (or, recursively, by us: trylock succeeds then).
    auto start = std::chrono::steady_clock::now();
    int result = real.lock(mutex);
    auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
    gAllowedWaits.fetch_add(1, std::memory_order_relaxed);
    gTotalWaitNs.fetch_add(ns, std::memory_order_relaxed);
    UpdateMax(gLongestWaitNs, ns);
    return result;
}

int pthread_mutex_unlock(pthread_mutex_t* mutex)
{
    if (!tInside && tHoldDepth > 0 && mutex == gAllowed.load(std::memory_order_relaxed) && --tHoldDepth == 0) {
        UpdateMax(gLongestHoldCpuNs, CpuNs() - tHoldCpuStart);
        UpdateMax(gLongestHoldWallNs, WallNs() - tHoldWallStart);
    }
    return R().unlock(mutex);
}

int pthread_cond_wait(pthread_cond_t* cond, pthread_mutex_t* mutex)
{
    Count(gBlocking, "pthread_cond_wait");
    return R().condWait(cond, mutex);
}

int pthread_cond_timedwait(pthread_cond_t* cond, pthread_mutex_t* mutex, const struct timespec* until)
{
    Count(gBlocking, "pthread_cond_timedwait");
    return R().condTimed(cond, mutex, until);
}

int sem_wait(sem_t* sem)
{
    Count(gBlocking, "sem_wait");
    return R().semWait(sem);
}

int nanosleep(const struct timespec* duration, struct timespec* rest)
{
    Count(gBlocking, "nanosleep");
    return R().nanosleep(duration, rest);
}

int clock_nanosleep(clockid_t clock, int flags, const struct timespec* duration, struct timespec* rest)
{
    Count(gBlocking, "clock_nanosleep");
    return R().clockNanosleep(clock, flags, duration, rest);
}

int usleep(useconds_t us)
{
    Count(gBlocking, "usleep");
    return R().usleep(us);
}

ssize_t read(int fd, void* buffer, size_t n)
{
    Count(gBlocking, "read");
    return R().read(fd, buffer, n);
}

ssize_t write(int fd, const void* buffer, size_t n)
{
    Count(gBlocking, "write");
    return R().write(fd, buffer, n);
}

int poll(struct pollfd* fds, nfds_t n, int timeout)
{
    Count(gBlocking, "poll");
    return R().poll(fds, n, timeout);
}

int select(int n, fd_set* r, fd_set* w, fd_set* e, struct timeval* timeout)
{
    Count(gBlocking, "select");
    return R().select(n, r, w, e, timeout);
}

} // extern "C"

// --- operator new and delete ---------------------------------------------------
void* operator new(std::size_t n)
{
    Count(gAllocations, "operator new");
    if (void* p = __libc_malloc(n != 0 ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n)
{
    return operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    Count(gAllocations, "operator new");
    return __libc_malloc(n != 0 ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& tag) noexcept
{
    return operator new(n, tag);
}
void* operator new(std::size_t n, std::align_val_t a)
{
    Count(gAllocations, "operator new");
    if (void* p = __libc_memalign(static_cast<std::size_t>(a), n != 0 ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n, std::align_val_t a)
{
    return operator new(n, a);
}
void operator delete(void* p) noexcept
{
    if (p != nullptr)
        Count(gFrees, "operator delete");
    __libc_free(p);
}
void operator delete[](void* p) noexcept
{
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    operator delete(p);
}
void operator delete(void* p, std::align_val_t) noexcept
{
    operator delete(p);
}
void operator delete[](void* p, std::align_val_t) noexcept
{
    operator delete(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept
{
    operator delete(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept
{
    operator delete(p);
}

// --- The checker's interface ---------------------------------------------------
namespace rtcheck {

//------------------------------------------------------------------------
AudioScope::AudioScope()
{
    tInside = true;
}

//------------------------------------------------------------------------
AudioScope::~AudioScope()
{
    tInside = false;
}

//------------------------------------------------------------------------
void LearnAllowedLock()
{
    gAllowed.store(nullptr);
    gLearning.store(true);
}

//------------------------------------------------------------------------
bool AllowedLockLearnt()
{
    return gAllowed.load() != nullptr;
}

//------------------------------------------------------------------------
bool AllowedLockIsRecursive()
{
    pthread_mutex_t* mutex = gAllowed.load();
    if (mutex == nullptr)
        return false;
    // A recursive mutex held by this thread can be locked again at once.
    const Real& real = R();
    if (real.trylock(mutex) != 0)
        return false;
    bool recursive = real.trylock(mutex) == 0;
    if (recursive)
        real.unlock(mutex);
    real.unlock(mutex);
    return recursive;
}

//------------------------------------------------------------------------
Counts Totals()
{
    Counts c;
    c.allocations = gAllocations.load();
    c.frees = gFrees.load();
    c.locks = gLocks.load();
    c.blocking = gBlocking.load();
    c.allowedLocks = gAllowedLocks.load();
    c.allowedWaits = gAllowedWaits.load();
    c.longestWaitNs = gLongestWaitNs.load();
    c.totalWaitNs = gTotalWaitNs.load();
    c.longestHoldCpuNs = gLongestHoldCpuNs.load();
    c.longestHoldWallNs = gLongestHoldWallNs.load();
    return c;
}

//------------------------------------------------------------------------
void Reset()
{
    for (auto* counter : {&gAllocations, &gFrees, &gLocks, &gBlocking, &gAllowedLocks, &gAllowedWaits,
                          &gLongestWaitNs, &gTotalWaitNs, &gLongestHoldCpuNs, &gLongestHoldWallNs})
        counter->store(0);
    gLogCount.store(0);
}

//------------------------------------------------------------------------
std::string Violations()
{
    std::string text;
    int n = std::min(gLogCount.load(), kLogSize);
    for (int i = 0; i < n; ++i) {
        if (!text.empty())
            text += ", ";
        text += gLog[i];
    }
    return text;
}

} // namespace rtcheck
