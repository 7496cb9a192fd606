// The render tool's host loop against the product bundle: settling, the
// latency it removes, bypass and the command line.
#include "tools/tarvo-render/AudioFile.h"
#include "tools/tarvo-render/DemoSignal.h"
#include "tools/tarvo-render/Renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

render::StereoAudio Demo()
{
    render::StereoAudio demo = render::MakeDemo(44100.0);
    demo.left.resize(44100);
    demo.right.resize(44100);
    return demo;
}

TEST(RenderTool, BypassedOutputLinesUpWithTheInput)
{
    for (bool use64 : {false, true}) {
        render::Renderer renderer;
        std::string error;
        ASSERT_TRUE(renderer.Load(TARVO_PRODUCT_BUNDLE_PATH, error)) << error;
        ASSERT_TRUE(renderer.Prepare(44100.0, 333, use64, false, error)) << error;
        EXPECT_EQ(renderer.LatencySamples(), 4132);
        render::RenderOptions options;
        options.bypass = true;
        ASSERT_TRUE(renderer.Apply(options, error)) << error;
        render::StereoAudio in = Demo(), out;
        ASSERT_TRUE(renderer.Render(in, nullptr, out, false, error)) << error;
        ASSERT_EQ(out.Frames(), in.Frames());
        double tolerance = use64 ? 0.0 : 1e-7;
        for (std::size_t i = 0; i < in.Frames(); ++i) {
            ASSERT_NEAR(out.left[i], in.left[i], tolerance) << i;
            ASSERT_NEAR(out.right[i], in.right[i], tolerance) << i;
        }
    }
}

TEST(RenderTool, PresetAndSettingsChangeTheResult)
{
    auto renderWith = [](const render::RenderOptions& options) {
        render::Renderer renderer;
        std::string error;
        EXPECT_TRUE(renderer.Load(TARVO_PRODUCT_BUNDLE_PATH, error)) << error;
        EXPECT_TRUE(renderer.Prepare(44100.0, 512, false, false, error)) << error;
        EXPECT_TRUE(renderer.Apply(options, error)) << error;
        render::StereoAudio out;
        EXPECT_TRUE(renderer.Render(Demo(), nullptr, out, false, error)) << error;
        return out;
    };
    render::RenderOptions plain, preset, quiet;
    preset.preset = "KickerKing";
    quiet.sets = {{"Output", "-4"}};
    auto a = renderWith(plain), b = renderWith(preset), c = renderWith(quiet);
    double diff = 0.0, energyA = 0.0, energyC = 0.0;
    for (std::size_t i = 0; i < a.Frames(); ++i) {
        ASSERT_TRUE(std::isfinite(a.left[i]) && std::isfinite(b.left[i]) && std::isfinite(c.left[i]));
        diff += std::fabs(a.left[i] - b.left[i]);
        energyA += a.left[i] * a.left[i];
        energyC += c.left[i] * c.left[i];
    }
    EXPECT_GT(diff, 1.0);
    // Output 5.2 dB against -4 dB: about 9 dB less energy.
    EXPECT_NEAR(10.0 * std::log10(energyA / energyC), 9.2, 1.5);
}

TEST(RenderTool, CommandLineRefusesWhatItCannotDo)
{
    auto parse = [](std::vector<const char*> args, std::string& error) {
        args.insert(args.begin(), "tarvo-render");
        render::RenderOptions o;
        bool help = false;
        return render::ParseOptions(static_cast<int>(args.size()), const_cast<char**>(args.data()), o, help, error);
    };
    std::string error;
    EXPECT_FALSE(parse({"--set", "Angle"}, error));
    EXPECT_NE(error.find("NAME=VALUE"), std::string::npos);
    EXPECT_FALSE(parse({"--block", "0"}, error));
    EXPECT_FALSE(parse({"--rate", "nan"}, error));
    EXPECT_FALSE(parse({"a.wav", "b.wav"}, error));
    EXPECT_FALSE(parse({"--output"}, error));
    EXPECT_FALSE(parse({"--frobnicate"}, error));
    EXPECT_TRUE(parse({"in.wav", "--set", "Juice=3", "--64", "-b", "64", "-p", "2"}, error)) << error;
}

TEST(RenderTool, FilesRoundTripAndADamagedFrameCountReadsWhatIsThere)
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "tarvo-render-files";
    fs::create_directories(dir);
    std::string good = (dir / "tone.flac").string(), bad = (dir / "damaged.flac").string(), error;
    render::StereoAudio tone;
    tone.sampleRate = 48000;
    for (int i = 0; i < 100000; ++i) {
        tone.left.push_back(0.5 * std::sin(0.01 * i));
        tone.right.push_back(-0.25);
    }
    ASSERT_TRUE(render::WriteStereo(good, tone, error)) << error;

    // Claim the largest total sample count the stream header can hold.
    std::ifstream in(good, std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    ASSERT_GT(bytes.size(), 26u);
    ASSERT_EQ(std::string(bytes.data(), 4), "fLaC");
    bytes[21] = static_cast<char>(bytes[21] | 0x0F);
    for (int i = 22; i < 26; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(0xFF);
    std::ofstream(bad, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    for (const std::string& path : {good, bad}) {
        render::StereoAudio back;
        ASSERT_TRUE(render::ReadStereo(path, back, error)) << path << ": " << error;
        EXPECT_EQ(back.sampleRate, 48000);
        ASSERT_EQ(back.Frames(), tone.Frames()) << path;
        EXPECT_NEAR(back.left[1234], tone.left[1234], 1e-6);
        EXPECT_NEAR(back.right[99999], -0.25, 1e-6);
    }
    fs::remove_all(dir);
}

} // namespace
