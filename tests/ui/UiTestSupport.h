#pragma once
// An Ostrand with its editor on the headless surface, past its opening
// banner, and gestures sent through the surface's event entry points the way
// a window sends them.
#include "editor/headless/IEditorSurfaceHeadless.h"
#include "engine/ostrand/Ostrand.h"
#include "raster/RasterResources.h"

#include <memory>

namespace ui_test {

inline IMouseState Left()
{
    IMouseState m;
    m.left = true;
    return m;
}
inline IMouseState Right()
{
    IMouseState m;
    m.right = true;
    return m;
}
inline IMouseState With(IMouseState m, bool shift, bool control = false, bool alt = false)
{
    m.shift = shift;
    m.control = control;
    m.alt = alt;
    return m;
}

class EditorHarness {
public:
    // A fresh instance at 44100 Hz; with settle, run until the banner is over
    // and every start-up fade has finished.
    explicit EditorHarness(bool settle = true) : plug(std::make_unique<Ostrand>())
    {
        surface = static_cast<IEditorSurfaceHeadless*>(plug->EditorSurface());
        plug->SetSampleRate(44100.0);
        plug->ResetProcessing();
        if (settle)
            Ticks(220);
    }

    // One timer tick and one draw tick, as the host's timers would run them.
    void Tick()
    {
        plug->IdleTick();
        surface->TickAndRedraw();
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            Tick();
    }
    void Click(int x, int y, IMouseState m = Left())
    {
        surface->SurfaceMouseDown(x, y, m);
        surface->SurfaceMouseUp(x, y, m);
    }
    void DragBy(int x, int y, int dx, int dy, IMouseState m = Left(), int steps = 4)
    {
        surface->SurfaceMouseDown(x, y, m);
        for (int i = 1; i <= steps; ++i)
            surface->SurfaceMouseDrag(x + dx * i / steps, y + dy * i / steps, m);
        surface->SurfaceMouseUp(x + dx, y + dy, m);
    }
    void Hover(int x, int y) { surface->SurfaceMouseHover(x, y, IMouseState()); }

    IControl* Control(double handle) const { return surface->GetControl(static_cast<int>(handle)); }
    double Param(int idx) const { return plug->GetParam(idx)->ToNormalized(); }
    double Plain(int idx) const { return plug->GetParam(idx)->Value(); }
    // An edit from the host, as the binding applies one.
    void HostSets(int idx, double normalized)
    {
        plug->GetParam(idx)->SetFromNormalized(normalized);
        surface->PushParamToControls(idx, normalized, true);
        plug->ParamChanged(idx);
    }
    bool Shown(double handle) const
    {
        IControl* c = Control(handle);
        return c != nullptr && !c->IsHidden();
    }

    std::unique_ptr<Ostrand> plug;
    IEditorSurfaceHeadless* surface = nullptr;
};

// Whether the editor's art is compiled into this program.
inline bool ArtPresent()
{
    const void* data = nullptr;
    std::size_t size = 0;
    return FindPngResource(RasterThisModule(), 100, &data, &size);
}

} // namespace ui_test
