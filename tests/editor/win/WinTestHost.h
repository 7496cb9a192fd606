#pragma once
// What the window tests share: a top-level host window standing in for a
// host's plug-in frame (it records the keys passed up to it), a message pump
// that runs until a condition holds, a control that paints its bounds in one
// colour, and a fixture with a plug-in, a Windows surface over a background
// and a probe control.
#include "editor/win/IEditorSurfaceWin.h"
#include "tests/editor/EditorTestUtil.h"

#include <gtest/gtest.h>

#include <functional>

// Virtual keys the host window received as WM_KEYDOWN.
std::vector<WPARAM>& HostKeys();

// A visible top-level window with a client area of at least width x height.
HWND CreateHostWindow(int width = 400, int height = 300, HWND parent = nullptr);

// Dispatches messages until done() or timeoutMs passes; done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000);
// Dispatches whatever is queued, for about ms milliseconds.
void PumpFor(int ms);

// Whether the class is registered for the module.
bool IsClassRegistered(HMODULE module);
// Child windows of parent (all levels).
int CountChildWindows(HWND parent);
// Screen pixel of a window's client point, as 0xRRGGBB.
unsigned WindowPixel(HWND window, int x, int y);

// Paints its bounds (clipped to what is being drawn) in colour 0xRRGGBB.
class FillControl : public IControl {
public:
    FillControl(IFxBase* plug, const IBounds& bounds, unsigned colour) : IControl(plug, bounds), colour(colour) {}
    bool Paint(IEditorSurface* surface) override;
    unsigned colour;
    int paints = 0;
};

// A surface on a 200 x 100 editor: a grey background and a probe control at
// (10, 10, 60, 40) bound to the Level parameter, attached to the plug-in.
struct WinEditorFixture : ::testing::Test {
    WinEditorFixture();
    ~WinEditorFixture() override;
    // Sends a mouse message with client coordinates to the editor window.
    LRESULT Mouse(UINT msg, int x, int y, WPARAM flags = 0);
    // Log entries of the plug-in and the probe since the last call, paints left out.
    std::vector<std::string> TakeLog();

    EditorTestPlugin plug;
    IEditorSurfaceWin* surface = nullptr;  // owned by the plug-in once attached
    FillControl* background = nullptr;
    ProbeControl* probe = nullptr;
    HWND host = nullptr;
};
