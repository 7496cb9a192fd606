// Fuzzes the framework's own chunks: parameter state (UnserializeParams and
// StateEquals at any position), preset banks (UnserializePresets) and preset
// loading and naming. What must hold:
// - reads report a position inside the chunk or a failure (negative), never
//   one beyond it;
// - every parameter stays inside its range and every preset name stays a
//   NUL-terminated text of its slot;
// - a bank written after any load reads back into a fresh instance with its
//   (non-empty) names, and is from then on written again byte for byte.
#include "tests/fuzz/FuzzPlugin.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void Fail(const char* what, int index = -1)
{
    std::fprintf(stderr, "state chunk fuzz: %s (%d)\n", what, index);
    std::abort();
}

void CheckPosition(int pos, const StateChunk& chunk, const char* what)
{
    if (pos > chunk.ByteCount())
        Fail(what, pos);
}

void CheckParamsAndNames(Ostrand* plug)
{
    for (int i = 0; i < plug->NParams(); ++i) {
        const IFxParam* param = plug->GetParam(i);
        double v = param->Value();
        if (!std::isfinite(v) || v < param->Min() || v > param->Max())
            Fail("a parameter left its range", i);
    }
    for (int i = 0; i < plug->NPresets(); ++i)
        if (std::memchr(plug->PresetName(i), 0, IFxPreset::kNameSize) == nullptr)
            Fail("a preset name is not terminated", i);
}

StateChunk Bank(Ostrand* plug)
{
    StateChunk bank;
    if (!plug->SerializePresets(&bank))
        Fail("the bank was not written");
    return bank;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const int what = input.ConsumeIntegralInRange(0, 3);
    const int startPos = input.ConsumeIntegralInRange(-2, 40);
    const int presetIndex = input.ConsumeIntegralInRange(-2, kNumOstrandPresets + 1);
    std::vector<std::uint8_t> bytes = input.ConsumeRemainingBytes<std::uint8_t>();
    StateChunk chunk;
    if (!bytes.empty())
        chunk.AppendBytes(bytes.data(), static_cast<int>(bytes.size()));

    Ostrand* plug = fuzz::NewQuietPlugin();
    switch (what) {
    case 0:
        CheckPosition(plug->LoadState(&chunk, startPos), chunk, "parameter read left the chunk");
        break;
    case 1:
        plug->StateEquals(&chunk, startPos);
        break;
    default:
        CheckPosition(plug->UnserializePresets(&chunk, startPos), chunk, "bank read left the chunk");
        break;
    }
    CheckParamsAndNames(plug);
    plug->LoadPreset(presetIndex);
    if (plug->PresetName(presetIndex) == nullptr)
        Fail("no preset name");
    CheckParamsAndNames(plug);

    // Whatever the bank now holds reads into a fresh instance with the same
    // names, and from then on it survives round trips byte for byte (the
    // first pass may snap stored values to their parameters' steps).
    StateChunk bank = Bank(plug);
    Ostrand* fresh = fuzz::NewQuietPlugin();
    CheckPosition(fresh->UnserializePresets(&bank, 0), bank, "bank read left the chunk");
    // An empty name is not read back: the slot takes the name read before it.
    for (int i = 0; i < plug->NPresets(); ++i)
        if (plug->PresetName(i)[0] != 0 && std::strcmp(plug->PresetName(i), fresh->PresetName(i)) != 0)
            Fail("a preset name changed in the round trip", i);
    StateChunk settled = Bank(fresh);
    Ostrand* third = fuzz::NewQuietPlugin();
    third->UnserializePresets(&settled, 0);
    StateChunk again = Bank(third);
    fuzz::DestroyPlugin(third);
    if (again.ByteCount() != settled.ByteCount() ||
        std::memcmp(again.Data(), settled.Data(), static_cast<std::size_t>(settled.ByteCount())) != 0) {
        int at = 0;
        while (at < std::min(again.ByteCount(), settled.ByteCount()) && again.Data()[at] == settled.Data()[at])
            ++at;
        Fail("a bank does not survive its round trip; first difference at byte", at);
    }
    fuzz::DestroyPlugin(fresh);
    fuzz::DestroyPlugin(plug);
    return 0;
}
