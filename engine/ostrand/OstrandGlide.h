#pragma once
// One glided engine quantity: the target that parameter changes set, the
// value the engine last settled on ("applied"), and the value in use now,
// which follows the target sample by sample through a one-pole glide in the
// quantity's own normalised domain. Allocation-free.
#include "engine/dsp/GlideCoefficient.h"
#include "engine/ostrand/OstrandMapping.h"

#include <cmath>

enum OstrandGlideId : int {
    kGlideAngle = 0,
    kGlideAttack,
    kGlideRelease,
    kGlideSensitivity,
    kGlideBalance,
    kGlideStrength,
    kGlideOutput,
    kGlideTight,
    kGlideClassic,
    kNumGlides
};

struct OstrandGlide {
    GlideRange range{0.0, 1.0, 1.0};
    double target = 0.0;
    double applied = 0.0;
    double value = 0.0;
    int hold = 0; // steps the value must stay near the target before it settles
    GlideCoefficient coefficient;

    // Target, applied value and value in use all at v, the glide state at rest there.
    void Reset(double v)
    {
        target = applied = value = v;
        coefficient.state = NormalizeGlide(range, v);
    }
    bool Pending() const { return target != applied; }
    // One step of the glide state; returns the value it stands for.
    double Advance(double rate)
    {
        return DenormalizeGlide(range, coefficient.Step(NormalizeGlide(range, target), rate));
    }
    bool Near(double v) const { return std::fabs(v - target) < kGlideTolerance; }
};
