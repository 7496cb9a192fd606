#include "ui/EditorMailbox.h"

#include <cstring>

//------------------------------------------------------------------------
void LatestText::Write(const char* text)
{
    char bytes[kCapacity] = {};
    if (text != nullptr) {
        std::size_t n = std::strlen(text);
        std::memcpy(bytes, text, n < kCapacity - 1 ? n : kCapacity - 1);
    }
    // Seqlock: odd while the words change, so a reader can tell a torn copy.
    // Release stores of the words keep the odd count visible before any of
    // them (no fences: the thread sanitizer does not model those).
    const std::uint32_t seq = mSequence.load(std::memory_order_relaxed);
    mSequence.store(seq + 1, std::memory_order_relaxed);
    for (std::size_t i = 0; i < kWords; ++i) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i * sizeof word, sizeof word);
        mWords[i].store(word, std::memory_order_release);
    }
    mSequence.store(seq + 2, std::memory_order_release);
}

//------------------------------------------------------------------------
bool LatestText::Take(char* out)
{
    const std::uint32_t before = mSequence.load(std::memory_order_acquire);
    if (before == mTaken || (before & 1u) != 0)
        return false;
    char bytes[kCapacity];
    for (std::size_t i = 0; i < kWords; ++i) {
        // Acquire: the second look at the count cannot move before these.
        std::uint64_t word = mWords[i].load(std::memory_order_acquire);
        std::memcpy(bytes + i * sizeof word, &word, sizeof word);
    }
    if (mSequence.load(std::memory_order_relaxed) != before)
        return false;
    bytes[kCapacity - 1] = '\0';
    std::memcpy(out, bytes, kCapacity);
    mTaken = before;
    return true;
}

//------------------------------------------------------------------------
bool SnapshotQueue::Push(Kind kind, const OstrandSnapshot& values)
{
    const std::uint32_t tail = mTail.load(std::memory_order_relaxed);
    if (tail - mHead.load(std::memory_order_acquire) >= kCapacity) {
        mDropped.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    Entry& e = mEntries[tail % kCapacity];
    e.kind = kind;
    e.values = values;
    mTail.store(tail + 1, std::memory_order_release);
    return true;
}

//------------------------------------------------------------------------
bool SnapshotQueue::Pop(Entry& out)
{
    const std::uint32_t head = mHead.load(std::memory_order_relaxed);
    if (head == mTail.load(std::memory_order_acquire))
        return false;
    out = mEntries[head % kCapacity];
    mHead.store(head + 1, std::memory_order_release);
    return true;
}
