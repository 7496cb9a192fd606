#include "TestPlugin.h"
#include "framework/HostTable.h"

#include <gtest/gtest.h>

TEST(HostTable, FirstMatchingKeyInTableOrder)
{
    EXPECT_EQ(fx::HostCodeForName("Cubase VST 8.5"), 3);
    EXPECT_EQ(fx::HostCodeForName("REAPER64"), 1);
    EXPECT_EQ(fx::HostCodeForName("Ableton Live 9"), 9);
    EXPECT_EQ(fx::HostCodeForName(""), 0);
    EXPECT_EQ(fx::HostCodeForName(nullptr), 0);
    EXPECT_EQ(fx::HostCodeForName("PreSonus Studio One"), 26);
    EXPECT_EQ(fx::HostCodeForName("VST3PluginTestHost"), 28);
    EXPECT_EQ(fx::HostCodeForName("Pro Tools"), 0);
    EXPECT_EQ(fx::HostCodeForName("Nuendo and Cubase"), 3);
    EXPECT_EQ(fx::HostCodeForName("Deliverance Studio"), 9);
    EXPECT_EQ(fx::HostCodeForName("Ardour"), 29);
    std::string longName(400, 'x');
    longName += "reaper"; // past the 255 bytes that are searched
    EXPECT_EQ(fx::HostCodeForName(longName.c_str()), 0);

    char text[32];
    fx::FormatVersion(0x00010002, text, sizeof(text));
    EXPECT_STREQ(text, "v1.0.2");
}

TEST(HostTable, PluginKnowsItsHostOnlyOnceIdentified)
{
    RecordingPlugin plugin;
    EXPECT_EQ(plugin.HostCode(), -1);
    plugin.SetHost("REAPER", 0x00060000);
    EXPECT_EQ(plugin.HostCode(), 1);
    EXPECT_EQ(plugin.HostVersion(), 0x00060000);
}

TEST(ChannelConfig, ParsingAndLegality)
{
    auto config = fx::ChannelConfig::Parse("2-2 4-2");
    ASSERT_EQ(config.pairs.size(), 2u);
    EXPECT_EQ(config.maxInputs, 4);
    EXPECT_EQ(config.maxOutputs, 2);
    EXPECT_TRUE(config.IsLegal(2, 2));
    EXPECT_TRUE(config.IsLegal(4, 2));
    EXPECT_FALSE(config.IsLegal(1, 2));
    EXPECT_FALSE(config.IsLegal(2, 1));
    EXPECT_TRUE(config.IsLegal(-1, 2));

    auto stereo = fx::ChannelConfig::Parse("2-2");
    EXPECT_EQ(stereo.maxInputs, 2);
    EXPECT_EQ(stereo.maxOutputs, 2);

    auto malformed = fx::ChannelConfig::Parse("x 1-");
    ASSERT_EQ(malformed.pairs.size(), 2u);
    EXPECT_EQ(malformed.pairs[0].inputs, 0);
    EXPECT_EQ(malformed.pairs[1].inputs, 1);
    EXPECT_EQ(malformed.pairs[1].outputs, 0);

    RecordingPlugin plugin;
    EXPECT_EQ(plugin.NInputChannels(), 4);
    EXPECT_EQ(plugin.NOutputChannels(), 2);
}

TEST(EditPath, GuiEditSetsInformsThenNotifies)
{
    RecordingPlugin plugin;
    plugin.SetParameterFromGUI(1, 0.25);
    EXPECT_DOUBLE_EQ(plugin.GetParam(1)->Value(), 2.5);
    ASSERT_EQ(plugin.log.size(), 2u);
    EXPECT_EQ(plugin.log[0], "inform 1 0.250000");
    EXPECT_EQ(plugin.log[1], "changed 1");

    plugin.log.clear();
    plugin.SetParameterFromGUI(7, 0.25); // no such parameter
    EXPECT_TRUE(plugin.log.empty());

    plugin.InformHostOfAllParamChanges();
    ASSERT_EQ(plugin.log.size(), 3u);
    EXPECT_EQ(plugin.log[2], "inform 2 0.050000");
}
