#pragma once
// Parameter indices of the effect and the ranges the engine glides in.

enum OstrandParam : int {
    kParamAngle = 0,
    kParamDelay,
    kParamAttack,
    kParamRelease,
    kParamSensitivity,
    kParamBalance,
    kParamStrength,
    kParamOutput,
    kParamTight,
    kParamClassic,
    kParamJuice,
    kParamInvertEnvelope,
    kParamInvertPdr,
    kParamExtSidechain,
    kParamOversampleMode,
    kNumOstrandParams
};

constexpr int kNumOstrandPresets = 11;

// A glide range: plain bounds and the exponent of the normalised mapping.
struct GlideRange {
    double min;
    double max;
    double shape;
};

// The engine's own copies of the ranges it glides and reads out in. The
// Sensitivity and M/S Balance bounds are those of their internal offsets.
namespace ostrand_range {
constexpr GlideRange kAngle{-180.0, 180.0, 1.0};
constexpr GlideRange kDelay{-72.0, 72.0, 1.0};
constexpr GlideRange kAttack{0.01, 800.0, 4.87};
constexpr GlideRange kRelease{1.0, 1600.0, 5.07};
constexpr GlideRange kSensitivity{-20.0, 0.5, 1.0};
constexpr GlideRange kBalance{-0.5, 0.5, 1.0};
constexpr GlideRange kStrength{0.0001, 18.0, 4.15};
constexpr GlideRange kOutput{-4.0, 22.0, 2.7};
// Tight and Classic: their 0 ... 1 weights glide in the 0 ... 100 range.
constexpr GlideRange kWeight{0.0, 100.0, 1.0};
constexpr int kJuiceMin = 0;
constexpr int kJuiceMax = 5;
} // namespace ostrand_range

// Values the first run of a fresh instance sets (the welcome preset's).
constexpr double kFirstRunAngle = 152.560976;
constexpr double kFirstRunOutput = 5.2;
