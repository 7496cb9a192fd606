#pragma once
// The legal channel configurations of a plug-in, parsed from a string of
// space-separated "inputs-outputs" tokens such as "2-2 4-2".
#include <vector>

namespace fx {

struct ChannelPair {
    int inputs = 0;
    int outputs = 0;
};

struct ChannelConfig {
    std::vector<ChannelPair> pairs;
    int maxInputs = 0;
    int maxOutputs = 0;

    // A malformed token still adds a pair; numbers that cannot be read are 0.
    static ChannelConfig Parse(const char* text);
    // True when a pair matches both counts; a negative count matches any.
    bool IsLegal(int nIn, int nOut) const;
};

} // namespace fx
