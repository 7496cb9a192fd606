#include "framework/GrowthRule.h"
#include "framework/StateChunk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

TEST(StateChunk, AppendAndReadBack)
{
    StateChunk chunk;
    double d = 1.25;
    EXPECT_EQ(chunk.Append(d), 8);
    EXPECT_EQ(chunk.AppendText("hello"), 8 + 4 + 5);

    double back = 0;
    EXPECT_EQ(chunk.Read(&back, 0), 8);
    EXPECT_EQ(back, 1.25);
    char text[16] = "unchanged";
    EXPECT_EQ(chunk.ReadTextAt(text, sizeof(text), 8), 17);
    EXPECT_STREQ(text, "hello");

    // Little-endian on disk.
    EXPECT_EQ(chunk.Data()[8], 5);
    EXPECT_EQ(chunk.Data()[11], 0);
}

TEST(StateChunk, ReadsNeverLeaveTheBuffer)
{
    StateChunk chunk;
    std::int32_t v = 7;
    chunk.Append(v);
    std::int32_t out = 99;
    EXPECT_EQ(chunk.Read(&out, 1), -1);
    EXPECT_EQ(out, 99);
    EXPECT_EQ(chunk.Read(&out, -1), -1);
    EXPECT_EQ(chunk.Read(&out, -4), -1);
    EXPECT_EQ(out, 99);
    EXPECT_EQ(chunk.ReadAt(&out, 4, 0x7fffffff), -1);
}

TEST(StateChunk, DamagedTextLengths)
{
    auto withLength = [](std::int32_t length, int extra) {
        StateChunk c;
        c.Append(length);
        for (int i = 0; i < extra; ++i)
            c.Append(static_cast<char>('x'));
        return c;
    };
    char text[8] = "keep";

    StateChunk empty = withLength(0, 3);
    EXPECT_EQ(empty.ReadTextAt(text, sizeof(text), 0), 4);
    StateChunk negative = withLength(-100, 3);
    EXPECT_EQ(negative.ReadTextAt(text, sizeof(text), 0), 4); // never moves backwards
    StateChunk overrun = withLength(50, 3);
    int pos = overrun.ReadTextAt(text, sizeof(text), 0);
    EXPECT_EQ(pos, 54);
    char c;
    EXPECT_EQ(overrun.Read(&c, pos), -1);
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(withLength(3, 0).ReadTextAt(text, sizeof(text), -2), -1);
    EXPECT_EQ(StateChunk().ReadTextAt(text, sizeof(text), 0), -1);

    // A text longer than the destination is cut, but the position still
    // moves past all of it.
    StateChunk longText = withLength(20, 20);
    EXPECT_EQ(longText.ReadTextAt(text, sizeof(text), 0), 24);
    EXPECT_STREQ(text, "xxxxxxx");
}

TEST(StateChunk, CopiesAndResizes)
{
    StateChunk a;
    a.AppendText("abc");
    StateChunk b = a;
    b.AppendText("d");
    EXPECT_EQ(a.ByteCount(), 7);
    EXPECT_EQ(b.ByteCount(), 12);
    b.SetByteCount(2);
    EXPECT_EQ(b.ByteCount(), 2);
    b.SetByteCount(-5);
    EXPECT_EQ(b.ByteCount(), 0);
}

TEST(GrowthRule, PageSteppedAndSmallSteps)
{
    // Large step: capacity is a page multiple less the 96-byte header.
    EXPECT_EQ(fx::GrownCapacity(100, 4096), 4000u);
    std::size_t c = fx::GrownCapacity(100000, 4096);
    EXPECT_EQ((c + 96) % 4096, 0u);
    EXPECT_GE(c, 100000u + 4096u);
    // Increments are held at 4 MiB.
    std::size_t big = fx::GrownCapacity(64u << 20, 4096);
    EXPECT_LE(big, (64u << 20) + (4u << 20));
    // Small step: n plus the larger of step and n / 2.
    EXPECT_EQ(fx::GrownCapacity(10, 128), 138u);
    EXPECT_EQ(fx::GrownCapacity(1000, 128), 1500u);

    EXPECT_TRUE(fx::ShouldShrink(100, 100000, 4096));
    EXPECT_FALSE(fx::ShouldShrink(60000, 100000, 4096));
    EXPECT_FALSE(fx::ShouldShrink(1000, 16000, 4096)); // not below capacity less four steps
}
