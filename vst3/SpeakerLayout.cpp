#include "vst3/SpeakerLayout.h"

#include <bit>
#include <cstdint>

namespace tarvo::vst3 {

//------------------------------------------------------------------------
Steinberg::Vst::SpeakerArrangement ArrangementForChannels(int channels)
{
    switch (channels) {
    case 1: return 0x80000;   // mono (centre)
    case 2: return 0x3;       // left, right
    case 3: return 0x103;     // left, right, centre surround
    case 4: return 0xF00000;  // W X Y Z
    case 5: return 0x37;      // 5.0
    case 6: return 0x3F;      // 5.1
    default: return 0;
    }
}

//------------------------------------------------------------------------
int ChannelsInArrangement(Steinberg::Vst::SpeakerArrangement arrangement)
{
    return std::popcount(static_cast<std::uint64_t>(arrangement));
}

} // namespace tarvo::vst3
