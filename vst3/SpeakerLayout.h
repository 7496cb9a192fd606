#pragma once
// Speaker arrangements the binding makes buses from, by channel count.
#include "pluginterfaces/vst/vsttypes.h"

namespace tarvo::vst3 {

// 1 mono, 2 stereo, 3 L R Cs, 4 first-order B-format, 5 5.0, 6 5.1; any
// other count gives the empty arrangement.
Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels);
// Number of speakers (bits set) in an arrangement.
int ChannelsInArrangement(Steinberg::Vst::SpeakerArrangement arrangement);

} // namespace tarvo::vst3
