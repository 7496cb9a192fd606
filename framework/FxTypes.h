#pragma once
// Small value types shared between the framework, its binding and plug-ins.
#include <cstdint>

// A four-character code such as 'bpas', built portably from a string literal.
constexpr std::int32_t FourCharCode(const char (&c)[5])
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(c[0])) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(c[1])) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(c[2])) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(c[3])));
}

struct IMidiEvent {
    std::int32_t offset = 0;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
};

struct ITransportInfo {
    double tempo = 120.0;
    double samplePos = 0.0;
    double ppqPos = 0.0;
    double lastBarStartPpq = 0.0;
    double cycleStartPpq = 0.0;
    double cycleEndPpq = 0.0;
    std::int32_t timeSigNumerator = 4;
    std::int32_t timeSigDenominator = 4;
    bool transportRunning = false;
    bool cycleActive = false;
};

// Plug-in-API codes reported by ApiCode().
enum : int { kApiVst3 = 1 };
