#pragma once
// Texts of the editor's value readouts, the opening banner and the user
// guide hint. Pure formatting into caller-owned fixed buffers: no
// allocation, so the readouts can be refreshed under the plug-in lock on
// any thread. "^" and "$" are the bitmap font's micro and degree glyphs.
#include <cstddef>

enum OstrandReadout : int {
    kReadoutDelay = 0,
    kReadoutJuice,
    kReadoutTight,
    kReadoutClassic,
    kReadoutAttack,
    kReadoutRelease,
    kReadoutAngle,
    kReadoutSensitivity,
    kReadoutBalance,
    kReadoutStrength,
    kReadoutOutput,
    kNumReadouts
};

constexpr std::size_t kReadoutTextSize = 48;
using ReadoutText = char[kReadoutTextSize];

// The audio shift in microseconds, with the rounding correction of an
// oversampled delay that had to be rounded to whole oversampled samples.
double DelayReadoutMicros(double shift, bool corrected, double rate);

void FormatDelayReadout(double micros, ReadoutText out);
void FormatJuiceReadout(int juice, bool clearStyle, ReadoutText out);
void FormatWeightReadout(double weight, ReadoutText out); // Tight, Classic
void FormatAttackReadout(double ms, ReadoutText out);
void FormatReleaseReadout(double ms, ReadoutText out);
void FormatAngleReadout(double degrees, ReadoutText out);
void FormatSensitivityReadout(double offset, ReadoutText out);
void FormatBalanceReadout(double offset, ReadoutText out);
void FormatStrengthReadout(double strength, ReadoutText out);
void FormatOutputReadout(double db, ReadoutText out);

// The opening banner at tick t (0 ... 200): the greeting types itself in,
// stands, then scrolls on to the version.
void FormatBannerText(int tick, ReadoutText out);
// The user guide hint after `chars` characters have typed themselves in.
void FormatGuideHint(int chars, ReadoutText out);
constexpr int kGuideHintLength = 15;
