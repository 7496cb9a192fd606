#pragma once
// The base Ostrand stands on: the VST 3 binding when the plug-in module is
// built, the headless base everywhere else (tests, benchmarks, tools).
#if defined(TARVO_OSTRAND_VST3)
#include "vst3/IFxVST3.h"
using OstrandBase = IFxVST3;
#else
#include "framework/IFxPlain.h"
using OstrandBase = IFxPlain;
#endif
