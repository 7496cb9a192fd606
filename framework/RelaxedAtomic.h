#pragma once
// A field shared by two threads without a lock (the editor thread and the
// audio thread or the plug-in's timer): the editor's control values and the
// plug-in's editor-state counters and flags.
#include <atomic>

// A value read and written by two threads without a lock: every access is a
// single relaxed atomic load or store, so there is no data race, and the
// wrapper converts implicitly so code reads as if it were a plain field
// (`value = value + d`, `if (dirty)`). Compound assignments are a load then a
// store, not one atomic step; concurrent writers simply last-write-wins.
template <class T>
class RelaxedAtomic {
    static_assert(std::atomic<T>::is_always_lock_free, "must stay lock-free for the audio thread");

public:
    RelaxedAtomic(T v = T()) noexcept : mValue(v) {}
    RelaxedAtomic(const RelaxedAtomic& other) noexcept : mValue(other.Load()) {}
    RelaxedAtomic& operator=(const RelaxedAtomic& other) noexcept { Store(other.Load()); return *this; }
    RelaxedAtomic& operator=(T v) noexcept { Store(v); return *this; }
    operator T() const noexcept { return Load(); }

    T Load() const noexcept { return mValue.load(std::memory_order_relaxed); }
    void Store(T v) noexcept { mValue.store(v, std::memory_order_relaxed); }

    RelaxedAtomic& operator+=(T d) noexcept { Store(Load() + d); return *this; }
    RelaxedAtomic& operator-=(T d) noexcept { Store(Load() - d); return *this; }
    RelaxedAtomic& operator*=(T d) noexcept { Store(Load() * d); return *this; }
    RelaxedAtomic& operator++() noexcept { Store(Load() + 1); return *this; }
    RelaxedAtomic& operator--() noexcept { Store(Load() - 1); return *this; }
    T operator++(int) noexcept { T v = Load(); Store(v + 1); return v; }
    T operator--(int) noexcept { T v = Load(); Store(v - 1); return v; }

private:
    std::atomic<T> mValue;
};
