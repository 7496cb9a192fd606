#include "framework/ChannelConfig.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace fx {

//------------------------------------------------------------------------
ChannelConfig ChannelConfig::Parse(const char* text)
{
    ChannelConfig config;
    if (text == nullptr)
        return config;
    const char* token = text;
    for (;;) {
        ChannelPair pair;
        std::sscanf(token, "%d-%d", &pair.inputs, &pair.outputs);
        // Absurd counts from a damaged string are held to a sane range.
        pair.inputs = std::clamp(pair.inputs, 0, 64);
        pair.outputs = std::clamp(pair.outputs, 0, 64);
        config.pairs.push_back(pair);
        config.maxInputs = std::max(config.maxInputs, pair.inputs);
        config.maxOutputs = std::max(config.maxOutputs, pair.outputs);
        const char* space = std::strchr(token, ' ');
        if (space == nullptr)
            break;
        token = space + 1;
    }
    return config;
}

//------------------------------------------------------------------------
bool ChannelConfig::IsLegal(int nIn, int nOut) const
{
    for (const auto& pair : pairs)
        if ((nIn < 0 || pair.inputs == nIn) && (nOut < 0 || pair.outputs == nOut))
            return true;
    return false;
}

} // namespace fx
