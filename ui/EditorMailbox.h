#pragma once
// Lock-free cells through which the plug-in's engine hands editor state to
// the editor thread. The engine writes them under the plug-in lock, possibly
// on the audio thread; the editor thread takes the latest state at the start
// of each draw tick without taking any lock. Nothing here allocates after
// construction, and every shared access is atomic, so a writer never waits
// for a reader and the reader never sees a torn value.
#include "engine/ostrand/OstrandEditorState.h"

#include <array>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

// A short text, rewritten as a whole. One writer at a time (the writers hold
// the plug-in lock); readers retry while a write is under way.
class LatestText {
public:
    static constexpr std::size_t kCapacity = 48; // bytes, the terminating NUL included

    // Stores text (cut to kCapacity - 1 bytes) and marks it unread.
    void Write(const char* text);
    // Copies the text into out (kCapacity bytes) when a write arrived since
    // the last successful Take; false when nothing new is there or a write is
    // running right now (the next tick gets it).
    bool Take(char* out);

private:
    static constexpr std::size_t kWords = kCapacity / sizeof(std::uint64_t);
    std::atomic<std::uint32_t> mSequence{0}; // odd while a write is running
    std::uint32_t mTaken = 0;                // reader's copy: the sequence last taken
    std::array<std::atomic<std::uint64_t>, kWords> mWords{};
};

// The latest of a stream of doubles; NaN means "nothing new".
class LatestValue {
public:
    void Write(double v) { mValue.store(v, std::memory_order_release); }
    // The value written since the last Take, or false.
    bool Take(double& out)
    {
        double v = mValue.exchange(kNone, std::memory_order_acq_rel);
        if (std::isnan(v))
            return false;
        out = v;
        return true;
    }

private:
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    std::atomic<double> mValue{kNone};
};

// The latest of a stream of small non-negative states; -1 means "nothing new".
class LatestState {
public:
    void Write(int state) { mState.store(state, std::memory_order_release); }
    bool Take(int& out)
    {
        int s = mState.exchange(-1, std::memory_order_acq_rel);
        if (s < 0)
            return false;
        out = s;
        return true;
    }

private:
    std::atomic<int> mState{-1};
};

// A request that is either pending or not; several requests before the
// reader looks count as one.
class PendingFlag {
public:
    void Raise() { mRaised.store(true, std::memory_order_release); }
    bool Take() { return mRaised.exchange(false, std::memory_order_acq_rel); }

private:
    std::atomic<bool> mRaised{false};
};

// Undo-history work the timer asks for, with the parameter values it
// captured at that moment, in order. One producer (the timer, under the
// plug-in lock) and one consumer (the editor thread). When the editor does
// not tick for long (its window closed) and the queue is full, further
// requests are dropped and counted rather than blocking the timer.
class SnapshotQueue {
public:
    enum Kind : int { kInitHistory = 0, kPushSnapshot = 1 };
    struct Entry {
        Kind kind = kPushSnapshot;
        OstrandSnapshot values{};
    };
    static constexpr std::uint32_t kCapacity = 64;

    // False (and counted as dropped) when the queue is full.
    bool Push(Kind kind, const OstrandSnapshot& values);
    // The oldest entry, or false when the queue is empty.
    bool Pop(Entry& out);
    std::uint32_t Dropped() const { return mDropped.load(std::memory_order_relaxed); }

private:
    std::array<Entry, kCapacity> mEntries{};
    std::atomic<std::uint32_t> mHead{0}; // next to read
    std::atomic<std::uint32_t> mTail{0}; // next to write
    std::atomic<std::uint32_t> mDropped{0};
};
