// Fuzzes the editor as a user drives it: the input decodes into mouse
// presses, drags, releases, double clicks, hovers, key presses, popup-menu
// answers and typed text committed into whatever entry a gesture opened,
// with timer and draw ticks between them, on the plug-in's own editor (the
// headless surface). What must hold: every parameter stays finite and inside
// its range, and the engine still renders finite output afterwards.
#include "editor/headless/IEditorSurfaceHeadless.h"
#include "engine/ostrand/Ostrand.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

void Fail(const char* what, int index = -1)
{
    std::fprintf(stderr, "editor gesture fuzz: %s (%d)\n", what, index);
    std::abort();
}

IMouseState AnyMouse(FuzzedDataProvider& in)
{
    IMouseState m;
    m.left = in.ConsumeBool();
    m.right = !m.left && in.ConsumeBool();
    m.shift = in.ConsumeBool();
    m.control = in.ConsumeBool();
    m.alt = in.ConsumeBool();
    return m;
}

// Text as a user could type or paste it: digits and signs mostly, anything
// sometimes, up to well past the entry's length.
std::string AnyText(FuzzedDataProvider& in)
{
    static const char kTyped[] = "0123456789+-.eE ";
    std::string text;
    int n = in.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < n; ++i) {
        char c = in.ConsumeIntegral<char>();
        text.push_back(in.ConsumeBool() ? kTyped[static_cast<unsigned char>(c) % (sizeof(kTyped) - 1)] : c);
    }
    if (in.ConsumeIntegralInRange(0, 9) == 0)
        text = in.ConsumeBool() ? "nan" : in.ConsumeBool() ? "-inf" : "1e999";
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    auto plug = std::make_unique<Ostrand>();
    auto* surface = static_cast<IEditorSurfaceHeadless*>(plug->EditorSurface());
    if (surface == nullptr)
        Fail("no editor surface");
    plug->SetSampleRate(44100.0);
    plug->ResetProcessing();
    // Past the opening banner a quarter of the time (it takes 220 ticks).
    const int ticks = in.ConsumeIntegralInRange(0, 3) == 0 ? 220 : in.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < ticks; ++i) {
        plug->IdleTick();
        surface->TickAndRedraw();
    }
    const int w = surface->EditorWidth(), h = surface->EditorHeight();

    for (int op = 0; op < 64 && in.remaining_bytes() > 0; ++op) {
        const int x = in.ConsumeIntegralInRange(-5, w + 5);
        const int y = in.ConsumeIntegralInRange(-5, h + 5);
        switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0: surface->SurfaceMouseDown(x, y, AnyMouse(in)); break;
        case 1: surface->SurfaceMouseUp(x, y, AnyMouse(in)); break;
        case 2: {
            IMouseState m = AnyMouse(in);
            int steps = in.ConsumeIntegralInRange(1, 8);
            int dx = in.ConsumeIntegralInRange(-400, 400), dy = in.ConsumeIntegralInRange(-400, 400);
            surface->SurfaceMouseDown(x, y, m);
            for (int s = 1; s <= steps; ++s)
                surface->SurfaceMouseDrag(x + dx * s / steps, y + dy * s / steps, m);
            if (in.ConsumeBool())
                surface->SurfaceMouseUp(x + dx, y + dy, m);
            break;
        }
        case 3: surface->SurfaceMouseDoubleClick(x, y, AnyMouse(in)); break;
        case 4: surface->SurfaceMouseHover(x, y, AnyMouse(in)); break;
        case 5: surface->SurfaceMouseLeave(); break;
        case 6: surface->SurfaceKeyPress(x, y, in.ConsumeIntegralInRange(-1, 300)); break;
        case 7: surface->AnswerNextMenu(in.ConsumeIntegralInRange(-1, 40)); break;
        case 8:
            if (surface->IsTextEntryOpen()) {
                std::string text = AnyText(in);
                if (in.ConsumeIntegralInRange(0, 4) == 0)
                    surface->CancelTextEntry();
                else
                    surface->CommitTextEntry(text.c_str());
            }
            break;
        default: {
            int n = in.ConsumeIntegralInRange(1, 30);
            for (int i = 0; i < n; ++i) {
                plug->IdleTick();
                surface->TickAndRedraw();
            }
            break;
        }
        }
    }
    if (surface->IsTextEntryOpen())
        surface->CommitTextEntry("12.5");

    for (int i = 0; i < plug->NParams(); ++i) {
        const IFxParam* param = plug->GetParam(i);
        if (!std::isfinite(param->Value()) || param->Value() < param->Min() || param->Value() > param->Max())
            Fail("a parameter left its range", i);
    }
    // The engine renders whatever the gestures left behind.
    std::vector<double> l(512), r(512), ol(512), orr(512);
    for (int b = 0; b < 12; ++b) {
        for (int i = 0; i < 512; ++i) {
            l[static_cast<std::size_t>(i)] = 0.5 * std::sin(0.05 * (b * 512 + i));
            r[static_cast<std::size_t>(i)] = 0.4 * std::sin(0.03 * (b * 512 + i));
        }
        double* ins[4] = {l.data(), r.data(), l.data(), r.data()};
        double* outs[2] = {ol.data(), orr.data()};
        plug->RenderBlock(ins, outs, 512);
        for (int i = 0; i < 512; ++i)
            if (!std::isfinite(ol[static_cast<std::size_t>(i)]) || !std::isfinite(orr[static_cast<std::size_t>(i)]))
                Fail("output not finite after the gestures", b);
        plug->IdleTick();
        surface->TickAndRedraw();
    }
    return 0;
}
