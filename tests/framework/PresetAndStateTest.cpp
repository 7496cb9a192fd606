#include "TestPlugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

int CountOf(const std::vector<std::string>& log, const std::string& prefix)
{
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& s) {
        return s.rfind(prefix, 0) == 0;
    }));
}

} // namespace

TEST(ParamState, SerializesOneDoublePerParameter)
{
    RecordingPlugin plugin(15);
    for (int i = 0; i < 15; ++i)
        plugin.GetParam(i)->SetPlain(i * 0.5);
    StateChunk chunk;
    ASSERT_TRUE(plugin.SaveState(&chunk));
    ASSERT_EQ(chunk.ByteCount(), 120);
    for (int i = 0; i < 15; ++i) {
        double v;
        chunk.Read(&v, i * 8);
        EXPECT_EQ(v, i * 0.5);
    }
}

TEST(ParamState, ShortChunkStopsAtTheFirstMissingValue)
{
    RecordingPlugin plugin(15);
    for (int i = 0; i < 15; ++i)
        plugin.GetParam(i)->SetPlain(7.0);
    StateChunk chunk;
    double a = 1.5, b = 99.0; // b is above max and restores as max
    chunk.Append(a);
    chunk.Append(b);
    plugin.log.clear();
    EXPECT_EQ(plugin.LoadState(&chunk, 0), -1);
    EXPECT_EQ(plugin.GetParam(0)->Value(), 1.5);
    EXPECT_EQ(plugin.GetParam(1)->Value(), 10.0);
    EXPECT_EQ(plugin.GetParam(2)->Value(), 0.0);
    for (int i = 3; i < 15; ++i)
        EXPECT_EQ(plugin.GetParam(i)->Value(), 7.0);
    EXPECT_EQ(CountOf(plugin.log, "changed"), 15);
}

TEST(ParamState, StateEqualsComparesAtFloatPrecision)
{
    RecordingPlugin plugin(2);
    StateChunk chunk;
    plugin.SaveState(&chunk);
    EXPECT_TRUE(plugin.StateEquals(&chunk, 0));
    plugin.GetParam(1)->SetPlain(0.5 + 1e-7);
    EXPECT_TRUE(plugin.StateEquals(&chunk, 0));
    plugin.GetParam(1)->SetPlain(0.6);
    EXPECT_FALSE(plugin.StateEquals(&chunk, 0));
    EXPECT_FALSE(plugin.StateEquals(&chunk, 8)); // short data
}

TEST(Presets, DefineAndLoad)
{
    RecordingPlugin plugin(3, 2);
    EXPECT_TRUE(plugin.DefinePreset("first", {1.0, 2.0, 3.0}));
    EXPECT_FALSE(plugin.DefinePreset("wrong count", {1.0}));
    EXPECT_TRUE(plugin.DefinePreset("second", {4.0, 5.0, 6.0}));
    EXPECT_FALSE(plugin.DefinePreset("no slot left", {7.0, 8.0, 9.0}));
    EXPECT_STREQ(plugin.PresetName(1), "second");
    EXPECT_STREQ(plugin.PresetName(2), "");

    plugin.log.clear();
    EXPECT_TRUE(plugin.LoadPreset(1));
    EXPECT_EQ(plugin.CurrentPresetIndex(), 1);
    EXPECT_EQ(plugin.GetParam(2)->Value(), 6.0);
    EXPECT_EQ(plugin.log.front(), "starting");
    EXPECT_EQ(plugin.log.back(), "finished");

    plugin.log.clear();
    EXPECT_FALSE(plugin.LoadPreset(-1));
    EXPECT_FALSE(plugin.LoadPreset(2));
    EXPECT_TRUE(plugin.log.empty());
    EXPECT_EQ(plugin.CurrentPresetIndex(), 1);
}

TEST(Presets, EmptySlotsBecomeNumberedUserPresets)
{
    RecordingPlugin plugin(3, 3);
    plugin.GetParam(0)->SetPlain(2.5);
    EXPECT_TRUE(plugin.LoadPreset(2));
    EXPECT_STREQ(plugin.PresetName(2), "user preset 1");
    EXPECT_EQ(plugin.GetParam(0)->Value(), 2.5); // capturing changes nothing
    EXPECT_TRUE(plugin.LoadPreset(0));
    EXPECT_STREQ(plugin.PresetName(0), "user preset 2");
    EXPECT_EQ(plugin.CurrentPresetIndex(), 0);

    plugin.GetParam(0)->SetPlain(9.0);
    EXPECT_TRUE(plugin.LoadPreset(2));
    EXPECT_EQ(plugin.GetParam(0)->Value(), 2.5);
}

TEST(Presets, BankRoundTrip)
{
    RecordingPlugin source(3, 3);
    source.DefinePreset("alpha", {1.0, 2.0, 3.0});
    source.DefinePreset("beta", {4.0, 5.0, 6.0});
    StateChunk bank;
    ASSERT_TRUE(source.SerializePresets(&bank));

    RecordingPlugin target(3, 3);
    EXPECT_EQ(target.UnserializePresets(&bank, 0), bank.ByteCount());
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(target.PresetName(i), source.PresetName(i));
        EXPECT_EQ(target.GetPreset(i)->initialized, source.GetPreset(i)->initialized);
        ASSERT_EQ(target.GetPreset(i)->chunk.ByteCount(), source.GetPreset(i)->chunk.ByteCount());
        if (source.GetPreset(i)->chunk.ByteCount() > 0) {
            EXPECT_EQ(0, std::memcmp(target.GetPreset(i)->chunk.Data(), source.GetPreset(i)->chunk.Data(),
                                     static_cast<std::size_t>(source.GetPreset(i)->chunk.ByteCount())));
        }
    }
    // The current preset (0) is live again.
    EXPECT_EQ(target.GetParam(1)->Value(), 2.0);

    StateChunk none;
    RecordingPlugin noPresets(3, 0);
    EXPECT_TRUE(noPresets.SerializePresets(&none));
    EXPECT_EQ(none.ByteCount(), 0);
}

TEST(Presets, TruncatedBankLeavesSlotsIntact)
{
    RecordingPlugin source(3, 2);
    source.DefinePreset("alpha", {1.0, 2.0, 3.0});
    source.DefinePreset("beta", {4.0, 5.0, 6.0});
    StateChunk bank;
    source.SerializePresets(&bank);
    bank.SetByteCount(bank.ByteCount() - 4); // cut inside beta's values

    RecordingPlugin target(3, 2);
    EXPECT_LT(target.UnserializePresets(&bank, 0), 0);
    EXPECT_TRUE(target.GetPreset(0)->initialized);
    // beta's values never arrived: the slot does not claim a state.
    EXPECT_FALSE(target.GetPreset(1)->initialized);
    EXPECT_EQ(target.GetParam(0)->Value(), 1.0); // back on the intact current preset
}
