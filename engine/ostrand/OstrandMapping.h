#pragma once
// Pure rules of the engine: parameter values to internal quantities and
// back, the oversampling table of "Juice", the latency and its parts.
// No state; every function is allocation-free and safe on the audio thread.
#include "engine/ostrand/OstrandParams.h"

constexpr double kDbPerNeper = 8.685889638065037;
constexpr double kMaxOutputGain = 9.99999999999999; // the gain stays below 10
constexpr double kGlideTolerance = 1.000001e-5;
constexpr int kRegularStyle = 0;
constexpr int kClearStyle = 1;

// Base-rate audio shift of the Delay parameter: quarter samples below
// 50000 Hz, half samples from there on.
double DelayShift(double delayValue, double rate);
double SensitivityOffset(double knob);
double SensitivityFromOffset(double offset);
double BalanceOffset(double knob);
double BalanceFromOffset(double offset);
// Output dB to the gain factor, capped below 10.
double OutputGain(double db);

// Glide domain mapping: ((v - min)/(max - min))^(1/shape) and back.
double NormalizeGlide(const GlideRange& range, double value);
double DenormalizeGlide(const GlideRange& range, double normalized);

// What a Juice setting selects at a sample rate.
struct JuiceSettings {
    int factor = 2;          // oversampling factor F, 1 ... 512
    int frameMultiple = 2;   // 2: three rotator stages; 1: one stage
    bool singleStage = false;
    bool simpleDetector = false;
    bool integerDelay = false;
};
JuiceSettings JuiceFor(int juice, double rate);

// Base rotator frame S: 2048 up to 50000 Hz, 4096 above.
int BaseFrameSize(double rate);
// Delay of the up- and down-sampling filters together, in base-rate samples.
int ResamplerDelay(int style, double rate, int factor);
// 72 / F + P·S + R: what the host is told.
int LatencyFor(double rate, int factor, int frameMultiple, int style);
// The detector's look-ahead: 4 ms in base-rate samples.
int LookaheadSamples(double rate);

// The Delay target in oversampled samples. With integerDelay the value is
// rounded away from zero and *corrected tells whether that changed it.
double OversampledDelay(double shift, int factor, bool integerDelay, bool* corrected);
// Round half away from zero, held inside the int range.
int RoundHalfAway(double v);
// Rounds to 14 decimal places, the precision at which targets count as changed.
double Round14(double v);
