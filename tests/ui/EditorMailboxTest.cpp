// The lock-free cells between the engine and the editor thread.
#include "ui/EditorMailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

TEST(EditorMailbox, TextIsTakenOnceAndCutToItsBuffer)
{
    LatestText cell;
    char out[LatestText::kCapacity];
    EXPECT_FALSE(cell.Take(out));
    cell.Write("first");
    cell.Write("12.5 ms");
    ASSERT_TRUE(cell.Take(out));
    EXPECT_STREQ(out, "12.5 ms");
    EXPECT_FALSE(cell.Take(out));

    const std::string longText(100, 'x');
    cell.Write(longText.c_str());
    ASSERT_TRUE(cell.Take(out));
    EXPECT_EQ(std::strlen(out), LatestText::kCapacity - 1);
    cell.Write(nullptr);
    ASSERT_TRUE(cell.Take(out));
    EXPECT_STREQ(out, "");
}

TEST(EditorMailbox, ValuesStatesAndFlagsKeepTheLatestUntilTaken)
{
    LatestValue value;
    double v = -1.0;
    EXPECT_FALSE(value.Take(v));
    value.Write(0.25);
    value.Write(0.0);
    ASSERT_TRUE(value.Take(v));
    EXPECT_EQ(v, 0.0);
    EXPECT_FALSE(value.Take(v));

    LatestState state;
    int s = -1;
    state.Write(1);
    state.Write(0);
    ASSERT_TRUE(state.Take(s));
    EXPECT_EQ(s, 0);
    EXPECT_FALSE(state.Take(s));

    PendingFlag flag;
    flag.Raise();
    flag.Raise();
    EXPECT_TRUE(flag.Take());
    EXPECT_FALSE(flag.Take());
}

TEST(EditorMailbox, SnapshotQueueKeepsOrderAndDropsWhenFull)
{
    SnapshotQueue queue;
    OstrandSnapshot values{};
    for (std::uint32_t i = 0; i < SnapshotQueue::kCapacity + 3; ++i) {
        values[0] = i;
        queue.Push(i == 0 ? SnapshotQueue::kInitHistory : SnapshotQueue::kPushSnapshot, values);
    }
    EXPECT_EQ(queue.Dropped(), 3u);
    SnapshotQueue::Entry e;
    for (std::uint32_t i = 0; i < SnapshotQueue::kCapacity; ++i) {
        ASSERT_TRUE(queue.Pop(e));
        EXPECT_EQ(e.values[0], i);
        EXPECT_EQ(e.kind, i == 0 ? SnapshotQueue::kInitHistory : SnapshotQueue::kPushSnapshot);
    }
    EXPECT_FALSE(queue.Pop(e));
    // Room again after draining.
    EXPECT_TRUE(queue.Push(SnapshotQueue::kPushSnapshot, values));
}

TEST(EditorMailbox, AReaderNeverSeesATornText)
{
    // Every text written is one of two whole strings of equal length.
    LatestText cell;
    const char* a = "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa";
    const char* b = "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb";
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop.load(); ++i)
            cell.Write((i & 1) != 0 ? a : b);
    });
    char out[LatestText::kCapacity];
    int taken = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (taken < 2000 && std::chrono::steady_clock::now() < deadline) {
        if (cell.Take(out)) {
            ++taken;
            ASSERT_TRUE(std::strcmp(out, a) == 0 || std::strcmp(out, b) == 0) << out;
        }
    }
    stop = true;
    writer.join();
    EXPECT_GT(taken, 0);
}
