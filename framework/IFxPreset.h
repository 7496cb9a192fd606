#pragma once
// One preset slot: a name and, once initialised, the stored parameter values
// in the same layout the plug-in's state uses.
#include "framework/StateChunk.h"

struct IFxPreset {
    static constexpr int kNameSize = 256;

    IFxPreset();

    bool initialized = false;
    char name[kNameSize] = {};
    StateChunk chunk;
};
