// tarvo-snapshot: its command line, parameter settings by name, and a run
// that writes a PNG of the editor; the bitmap PNG writer it uses.
#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterPng.h"
#include "tools/pngwrite/PngWriter.h"
#include "tools/tarvo-snapshot/Snapshot.h"
#include "tools/tarvo-snapshot/SnapshotScript.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

bool Parse(std::vector<const char*> args, SnapshotOptions& options, std::string& error)
{
    args.insert(args.begin(), "tarvo-snapshot");
    return ParseSnapshotOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(SnapshotOptions, AcceptsSettingsTicksAndOutput)
{
    SnapshotOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--set", "Angle=90", "--ticks", "12", "--set", "Juice=3", "-o", "a.png"}, o, error));
    ASSERT_EQ(o.settings.size(), 2u);
    EXPECT_EQ(o.settings[0].name, "Angle");
    EXPECT_EQ(o.settings[0].value, "90");
    EXPECT_EQ(o.settings[1].value, "3");
    EXPECT_EQ(o.ticks, 12);
    EXPECT_EQ(o.output, "a.png");

    SnapshotOptions help;
    EXPECT_TRUE(Parse({"--help"}, help, error));
    EXPECT_TRUE(help.help);
}

TEST(SnapshotOptions, RefusesBadCommandLines)
{
    for (const auto& args : std::vector<std::vector<const char*>>{
             {"--ticks", "3"},                       // no output
             {"-o"},                                 // missing value
             {"--ticks", "-1", "-o", "a.png"},
             {"--ticks", "12x", "-o", "a.png"},
             {"--ticks", "999999999999", "-o", "a.png"},
             {"--set", "Angle", "-o", "a.png"},
             {"--set", "=5", "-o", "a.png"},
             {"--set", "Angle=", "-o", "a.png"},
             {"--frobnicate", "-o", "a.png"}}) {
        SnapshotOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(SnapshotSettings, ByNameAnyCasePlainValuesOnly)
{
    Ostrand plug;
    IEditorSurface* surface = EnsureSnapshotEditor(plug);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(EnsureSnapshotEditor(plug), surface);  // never a second surface
    EXPECT_EQ(surface->EditorWidth(), 674);

    std::string error;
    const int angle = [&] {
        for (int i = 0; i < plug.NParams(); ++i)
            if (std::string(plug.GetParam(i)->DisplayName()) == "Angle")
                return i;
        return -1;
    }();
    ASSERT_GE(angle, 0);
    EXPECT_TRUE(ApplySnapshotSetting(plug, {"aNgLe", "90"}, error)) << error;
    EXPECT_DOUBLE_EQ(plug.GetParam(angle)->Value(), 90.0);
    EXPECT_TRUE(ApplySnapshotSetting(plug, {"Angle", "1e6"}, error));  // held to the range
    EXPECT_DOUBLE_EQ(plug.GetParam(angle)->Value(), 180.0);
    for (const char* bad : {"nan", "inf", "90deg", "x"}) {
        EXPECT_FALSE(ApplySnapshotSetting(plug, {"Angle", bad}, error)) << bad;
        EXPECT_DOUBLE_EQ(plug.GetParam(angle)->Value(), 180.0);
    }
    EXPECT_FALSE(ApplySnapshotSetting(plug, {"Nothing", "1"}, error));
    EXPECT_NE(error.find("Nothing"), std::string::npos);
}

TEST(SnapshotRun, WritesThePngOfTheEditor)
{
    SnapshotOptions o;
    o.ticks = 5;
    o.output = testing::TempDir() + "tarvo-snapshot-test-" + std::to_string(getpid()) + ".png";
    o.settings.push_back({"Angle", "-45"});
    std::string error;
    ASSERT_TRUE(RunSnapshot(o, error)) << error;
    std::unique_ptr<RasterBitmap> image(DecodePngFile(o.output.c_str(), nullptr, true));
    std::remove(o.output.c_str());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 674);
    EXPECT_EQ(image->GetHeight(), 262);

    o.output = "/nonexistent-folder/x.png";
    EXPECT_FALSE(RunSnapshot(o, error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

TEST(PngWriter, BitmapsRoundTripWithOrWithoutAlpha)
{
    RasterMemBitmap bitmap(3, 2);
    const uint32_t pixels[6] = {0xff102030u, 0x80405060u, 0x00708090u, 0xffffffffu, 0xff000000u, 0x7f123456u};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            bitmap.GetBits()[y * bitmap.GetRowSpan() + x] = pixels[y * 3 + x];

    for (bool alpha : {false, true}) {
        const std::vector<uint8_t> png = EncodeBitmapPng(bitmap, alpha);
        std::unique_ptr<RasterBitmap> back(DecodePngMemory(png.data(), png.size(), nullptr));
        ASSERT_NE(back, nullptr);
        ASSERT_EQ(back->GetWidth(), 3);
        for (int i = 0; i < 6; ++i) {
            const uint32_t want = alpha ? pixels[i] : (pixels[i] | 0xff000000u);
            EXPECT_EQ(back->GetBits()[(i / 3) * back->GetRowSpan() + i % 3], want) << i << " " << alpha;
        }
    }
    RasterMemBitmap empty;
    EXPECT_TRUE(EncodeBitmapPng(empty).empty());
}

} // namespace

namespace {

TEST(SnapshotScript, ParsesCommandsAndNamesTheBadLine)
{
    std::vector<SnapshotStep> steps;
    std::string error;
    ASSERT_TRUE(ParseSnapshotScript("# warm up\nticks 5\n\nclick 10 20 right shift  # toggle\n"
                                    "drag 1 2 -3 40\nset Angle 45\nkey 5 5 15\nleave\n",
                                    steps, error))
        << error;
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[1].command, "click");
    EXPECT_EQ(steps[1].numbers, (std::vector<int>{10, 20}));
    EXPECT_TRUE(steps[1].right && steps[1].shift && !steps[1].alt);
    EXPECT_EQ(steps[1].line, 4);
    EXPECT_EQ(steps[2].numbers, (std::vector<int>{1, 2, -3, 40}));
    EXPECT_EQ(steps[3].name, "Angle");

    for (const char* bad : {"ticks 1\nwiggle 3 4\n", "ticks 1\nclick 3\n", "ticks 1\nclick 3 4 sideways\n",
                            "ticks 1\nkey 1 2 3 shift\n", "ticks 1\nset Angle\n", "ticks 1\nticks -2\n",
                            "ticks 1\nhover 1 2x\n"}) {
        std::vector<SnapshotStep> none;
        EXPECT_FALSE(ParseSnapshotScript(bad, none, error)) << bad;
        EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    }
}

TEST(SnapshotScript, GesturesReachThePlugInsEditor)
{
    Ostrand plug;
    plug.SetSampleRate(44100.0);
    plug.ResetProcessing();
    IEditorSurface* surface = EnsureSnapshotEditor(plug);
    int attack = -1;
    for (int i = 0; i < plug.NParams(); ++i)
        if (std::string(plug.GetParam(i)->DisplayName()) == "Attack")
            attack = i;
    ASSERT_GE(attack, 0);
    const double before = plug.GetParam(attack)->Value();

    // The Attack knob lies at (131, 81) - (166, 136); an upward drag turns it up.
    std::vector<SnapshotStep> steps;
    std::string error;
    ASSERT_TRUE(ParseSnapshotScript("ticks 220\ndrag 148 100 0 -40\nset Nothing 1\n", steps, error));
    EXPECT_TRUE(RunSnapshotStep(plug, *surface, steps[0], error));
    EXPECT_TRUE(RunSnapshotStep(plug, *surface, steps[1], error));
    EXPECT_GT(plug.GetParam(attack)->Value(), before);
    EXPECT_FALSE(RunSnapshotStep(plug, *surface, steps[2], error));
    EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
}

} // namespace
