#include "framework/HostTable.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace fx {

namespace {

struct HostKey {
    const char* key;
    int code;
};

// Searched in this order: earlier keys win when a name holds several.
constexpr HostKey kHostKeys[] = {
    {"cubase", 3},        {"reaper", 1},       {"nuendo", 4},      {"cakewalk", 5},
    {"samplitude", 8},    {"fruity", 7},       {"live", 9},        {"melodyne", 12},
    {"vstmanlib", 13},    {"aulab", 14},       {"garageband", 22}, {"forte", 15},
    {"chainer", 16},      {"audition", 17},    {"orion", 18},      {"sawstudio", 20},
    {"logic", 21},        {"digital", 23},     {"audiomulch", 25}, {"presonus", 26},
    {"izotope rx 2", 27}, {"peak", 19},        {"vst3plugintesthost", 28},
    {"protools", 2},      {"ardour", 29},      {"standalone", 24},
};

} // namespace

//------------------------------------------------------------------------
int HostCodeForName(const char* hostName)
{
    char lower[256] = {};
    if (hostName != nullptr) {
        for (int i = 0; i < 255 && hostName[i] != '\0'; ++i)
            lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(hostName[i])));
    }
    for (const auto& entry : kHostKeys)
        if (std::strstr(lower, entry.key) != nullptr)
            return entry.code;
    return 0;
}

//------------------------------------------------------------------------
void FormatVersion(int version, char* out, int outSize)
{
    if (out == nullptr || outSize <= 0)
        return;
    auto v = static_cast<unsigned>(version);
    std::snprintf(out, static_cast<std::size_t>(outSize), "v%d.%d.%d", static_cast<int>(v >> 16),
                  static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF));
}

} // namespace fx
