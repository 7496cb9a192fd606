#include "TestPlugin.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A plug-in whose render adds 1 to every input sample, so tests can see
// which path the audio took.
class AddOnePlugin : public RecordingPlugin {
public:
    using RecordingPlugin::RecordingPlugin;
    void RenderBlock(double** in, double** out, int n) override
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < n; ++i)
                out[c][i] = in[c][i] + 1.0;
    }
};

std::vector<double> Ramp(int n, double start)
{
    std::vector<double> v(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        v[static_cast<std::size_t>(i)] = start + i;
    return v;
}

} // namespace

TEST(Routing, BypassDelaysByExactlyTheLatency)
{
    const int latency = 5, block = 4;
    RecordingPlugin plugin(1, 0, "2-2", latency);
    plugin.SetMaxBlockFrames(block);
    plugin.MarkInputsConnected(0, 2, true);
    plugin.MarkOutputsConnected(0, 2, true);

    std::vector<double> heard[2];
    for (int b = 0; b < 4; ++b) {
        auto l = Ramp(block, 1 + b * block), r = Ramp(block, 101 + b * block);
        std::vector<double> ol(block), orr(block);
        double* ins[] = {l.data(), r.data()};
        double* outs[] = {ol.data(), orr.data()};
        plugin.BindInputBuffers(0, 2, ins, 2);
        plugin.BindOutputBuffers(0, 2, outs, 2);
        plugin.BypassBlock(block);
        heard[0].insert(heard[0].end(), ol.begin(), ol.end());
        heard[1].insert(heard[1].end(), orr.begin(), orr.end());
    }
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(heard[0][static_cast<std::size_t>(i)], i < latency ? 0.0 : 1.0 + i - latency) << i;
        EXPECT_EQ(heard[1][static_cast<std::size_t>(i)], i < latency ? 0.0 : 101.0 + i - latency) << i;
    }

    // A latency change clears the delay line.
    plugin.ChangeLatency(2);
    auto l = Ramp(block, 50), r = Ramp(block, 60);
    double* ins[] = {l.data(), r.data()};
    plugin.BindInputBuffers(0, 2, ins, 2);
    plugin.BindOutputBuffers(0, 2, ins, 2); // in place
    plugin.BypassBlock(block);
    EXPECT_EQ(l[0], 0.0);
    EXPECT_EQ(l[1], 0.0);
    EXPECT_EQ(l[2], 50.0);
}

TEST(Routing, FloatBuffersConvertThroughScratch)
{
    AddOnePlugin plugin(1, 0, "2-2 4-2");
    plugin.SetMaxBlockFrames(8);
    plugin.MarkInputsConnected(0, 4, true);
    plugin.MarkInputsConnected(2, 2, false); // sidechain off: reads zeros
    plugin.MarkOutputsConnected(0, 2, true);

    std::vector<float> l(8, 0.5f), r(8, -0.25f), ol(8, 9.0f), orr(8, 9.0f);
    float* ins[] = {l.data(), r.data()};
    float* outs[] = {ol.data(), orr.data()};
    plugin.BindInputBuffers(0, 2, ins, 2, 8);
    plugin.BindOutputBuffers(0, 2, outs, 2);
    plugin.RenderBuffers(6);
    EXPECT_EQ(ol[0], 1.5f);
    EXPECT_EQ(orr[5], 0.75f);
    EXPECT_EQ(ol[6], 9.0f); // only the block's frames are written
    EXPECT_EQ(plugin.InputPointers()[2][0], 0.0);
}

TEST(Routing, UnconnectedOutputsLeaveHostBuffersAlone)
{
    AddOnePlugin plugin(1, 0, "2-2");
    plugin.SetMaxBlockFrames(4);
    plugin.MarkInputsConnected(0, 2, true);
    plugin.MarkOutputsConnected(0, 2, false);
    std::vector<float> l(4, 1.0f), ol(4, 7.0f);
    float* ins[] = {l.data(), l.data()};
    float* outs[] = {ol.data(), ol.data()};
    plugin.BindInputBuffers(0, 2, ins, 2, 4);
    plugin.BindOutputBuffers(0, 2, outs, 2);
    plugin.RenderBuffers(4);
    EXPECT_EQ(ol[0], 7.0f);

    // Fewer host buffers than connected inputs: the rest read silence.
    plugin.MarkOutputsConnected(0, 2, true);
    std::vector<double> dl(4, 2.0), dout0(4), dout1(4);
    double* din[] = {dl.data()};
    double* dout[] = {dout0.data(), dout1.data()};
    plugin.BindInputBuffers(0, 2, din, 1);
    plugin.BindOutputBuffers(0, 2, dout, 2);
    plugin.RenderBuffers(4);
    EXPECT_EQ(dout0[0], 3.0);
    EXPECT_EQ(dout1[0], 1.0);
}

TEST(Routing, BasePassThroughZeroesOutputsWithoutInput)
{
    RecordingPlugin plugin(1, 0, "1-2");
    std::vector<double> in = {1, 2, 3}, o0(3, 9), o1(3, 9);
    double* ins[] = {in.data()};
    double* outs[] = {o0.data(), o1.data()};
    plugin.IFxBase::RenderBlock(ins, outs, 3);
    EXPECT_EQ(o0, in);
    EXPECT_EQ(o1, std::vector<double>(3, 0.0));
}
