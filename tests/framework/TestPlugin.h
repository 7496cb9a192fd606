#pragma once
// A small plug-in on the framework base that records what the base calls on
// it, so tests can check the order of effects.
#include "framework/IFxBase.h"

#include <string>
#include <vector>

class RecordingPlugin : public IFxBase {
public:
    explicit RecordingPlugin(int nParams = 3, int nPresets = 4, const char* io = "2-2 4-2", int latency = 0)
        : IFxBase(nParams, io, nPresets, "Test", "", "maker", 0x00010002, 1, 2, latency, false, true,
                  false, 1)
    {
        for (int i = 0; i < nParams; ++i) {
            std::string name = "p" + std::to_string(i);
            GetParam(i)->SetupContinuous(name.c_str(), 0.5, 0.0, 10.0, 0.01);
        }
    }

    void ParamChanged(int idx) override { log.push_back("changed " + std::to_string(idx)); }
    void InformHostOfParamChange(int idx, double v) override
    {
        log.push_back("inform " + std::to_string(idx) + " " + std::to_string(v));
    }
    void PresetLoadStarting() override { log.push_back("starting"); }
    void PresetLoadFinished() override { log.push_back("finished"); }

    std::vector<std::string> log;
};
