// Fuzzes the state stream a host hands to setState, through IComponent and
// through IEditController, with streams that deliver their bytes in pieces or
// fail part-way. What must hold afterwards:
// - values the stream did not fully deliver keep their previous value, and a
//   short stream leaves bypass alone and reports false;
// - every value is inside its range, and the state saved next loads back to
//   itself byte for byte;
// - the plug-in still renders finite output no louder than +24 dBFS.
#include "tests/fuzz/FuzzPlugin.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace Steinberg;

namespace {

constexpr int kValueBytes = 8 * kNumOstrandParams;

void Fail(const char* what, int index = -1)
{
    std::fprintf(stderr, "state stream fuzz: %s (%d)\n", what, index);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool throughController = input.ConsumeBool();
    const bool render = input.ConsumeBool();
    const int piece = input.ConsumeIntegralInRange(0, 9);
    const int failAfter = input.ConsumeIntegralInRange(-1, 130);
    std::vector<std::uint8_t> bytes = input.ConsumeRemainingBytes<std::uint8_t>();

    Ostrand* plug = fuzz::NewQuietPlugin();
    const std::vector<std::uint8_t> before = fuzz::SavedState(plug);

    fuzz::PieceStream stream(bytes, piece, failAfter);
    tresult result = throughController ? static_cast<Vst::IEditController*>(plug)->setState(&stream)
                                       : static_cast<Vst::IComponent*>(plug)->setState(&stream);
    const int delivered = stream.Delivered();
    const std::vector<std::uint8_t> after = fuzz::SavedState(plug);
    if (after.size() != before.size() || after.size() != kValueBytes + 4)
        Fail("saved state has the wrong size");

    for (int i = 0; i < kNumOstrandParams; ++i) {
        const std::size_t at = static_cast<std::size_t>(8 * i);
        if (delivered < 8 * (i + 1)) {
            if (std::memcmp(after.data() + at, before.data() + at, 8) != 0)
                Fail("a value the stream did not deliver changed", i);
            continue;
        }
        double value = 0.0;
        std::memcpy(&value, after.data() + at, 8);
        double normalized = plug->getParamNormalized(static_cast<Vst::ParamID>(i));
        if (!std::isfinite(value) || !(normalized >= 0.0 && normalized <= 1.0))
            Fail("a loaded value is outside its range", i);
    }
    if (delivered < kValueBytes + 4) {
        if (result == kResultOk)
            Fail("a short stream was reported as loaded");
        if (std::memcmp(after.data() + kValueBytes, before.data() + kValueBytes, 4) != 0)
            Fail("a short stream changed bypass");
    } else if (result != kResultOk) {
        Fail("a whole stream was refused");
    }

    fuzz::PieceStream again(after, 0, -1);
    if (plug->setState(&again) != kResultOk || fuzz::SavedState(plug) != after)
        Fail("the saved state does not load back to itself");

    if (render && !fuzz::RendersSanely(plug, 14))
        Fail("output not finite or beyond +24 dBFS after the load");
    fuzz::DestroyPlugin(plug);
    return 0;
}
