#pragma once
// Shared set-up of the host harness: the bundle under test loaded once per
// test program, a fresh instance per test, and helpers for state streams
// and audio blocks.
#include "vst3/host/HostModule.h"
#include "vst3/host/HostPlugin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace harness {

// A path relative to the test program's folder.
std::string NextToProgram(const char* relative);
// The module of a bundle, loaded on first use and kept for the program's life.
tarvo::host::HostModule& LoadedModule(const char* relativeBundle);
std::string ToUtf8(const Steinberg::char16* text);

// Stereo float/double blocks with a known signal.
template <typename T> struct Block {
    std::vector<std::vector<T>> channels;
    Block(int nChannels, int frames, T fill = T(0)) : channels(static_cast<std::size_t>(nChannels), std::vector<T>(static_cast<std::size_t>(frames), fill)) {}
    std::vector<T*> Pointers()
    {
        std::vector<T*> p;
        for (auto& c : channels)
            p.push_back(c.data());
        return p;
    }
};

class PluginTest : public ::testing::Test {
protected:
    // Loads the bundle and creates one instance; offerRunLoop controls
    // whether the host context answers IRunLoop (Linux).
    void Open(const char* relativeBundle, bool offerRunLoop = true);
    void TearDown() override { plug.reset(); }

    std::vector<std::uint8_t> GetState(bool throughController = true);
    Steinberg::tresult SetState(const std::vector<std::uint8_t>& bytes, bool throughController = true);
    double Normalized(Steinberg::Vst::ParamID id) { return plug->controller->getParamNormalized(id); }
    // Pumps the host's run loop (or message queue) until done() or ms pass.
    bool PumpUntil(const std::function<bool()>& done, int ms = 2000);

    std::unique_ptr<tarvo::host::HostPlugin> plug;
};

} // namespace harness
