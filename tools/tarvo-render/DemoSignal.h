#pragma once
// The built-in demo: a few bars of drums (kick, snare, hi-hat) and a bass
// line, synthesised so the render tool needs no input file.
#include "tools/tarvo-render/AudioFile.h"

namespace render {

// Four bars at 120 BPM (8 seconds) at the given rate; peaks near -3 dBFS.
StereoAudio MakeDemo(double sampleRate);

} // namespace render
