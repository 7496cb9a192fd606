#pragma once
// A small test editor: a headless Ostrand (built without an editor of its
// own) carrying a headless surface with just the controls a test adds, solid
// test strips whose frame k is drawn in colour k, and gesture helpers that
// go through the surface's event entry points. The plug-in counts the
// gesture brackets and edits it sends to the host.
#include "editor/headless/IEditorSurfaceHeadless.h"
#include "engine/ostrand/Ostrand.h"
#include "raster/RasterMemBitmap.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace ui_test {

class CountingOstrand : public Ostrand {
public:
    void BeginInformHostOfParamChange(int paramIdx) override { begins.push_back(paramIdx); }
    void InformHostOfParamChange(int paramIdx, double normalized) override { edits.emplace_back(paramIdx, normalized); }
    void EndInformHostOfParamChange(int paramIdx) override { ends.push_back(paramIdx); }

    std::vector<int> begins;
    std::vector<std::pair<int, double>> edits;
    std::vector<int> ends;
};

constexpr IMouseState kLeft{true, false, false, false, false};
constexpr IMouseState kRight{false, true, false, false, false};
constexpr IMouseState kShiftLeft{true, false, true, false, false};
constexpr IMouseState kCtrlLeft{true, false, false, true, false};
constexpr IMouseState kAltLeft{true, false, false, false, true};

// The colour word of frame k of a test strip.
constexpr uint32_t FrameColour(int frame) { return 0xFF800000u | static_cast<uint32_t>(frame) << 8; }

class SmallEditor {
public:
    SmallEditor()
    {
        plug = std::make_unique<CountingOstrand>();
        surface = new IEditorSurfaceHeadless(plug.get(), 674, 262);
    }

    // A vertical strip of frames frameW x frameH, frame k filled with FrameColour(k).
    IBitmapStrip Strip(int frameW, int frameH, int frames)
    {
        auto bitmap = std::make_unique<RasterMemBitmap>(frameW, frameH * frames);
        uint32_t* bits = bitmap->GetBits();
        for (int y = 0; y < frameH * frames; ++y)
            for (int x = 0; x < frameW; ++x)
                bits[y * bitmap->GetRowSpan() + x] = FrameColour(y / frameH + 1);
        IBitmapStrip strip{bitmap.get(), frameW, frameH * frames, frames, false};
        bitmaps.push_back(std::move(bitmap));
        return strip;
    }

    // Adds a control; its attach index goes to handle when given.
    template <class C>
    C* Add(C* control, double* handle = nullptr)
    {
        const int index = surface->AddControl(control);
        if (handle != nullptr)
            *handle = index;
        return control;
    }

    // Hands the surface to the plug-in, which pushes every parameter to it.
    void Attach() { plug->AttachEditor(surface); }

    void Press(int x, int y, const IMouseState& m = kLeft) { surface->SurfaceMouseDown(x, y, m); }
    void DragTo(int x, int y, const IMouseState& m = kLeft) { surface->SurfaceMouseDrag(x, y, m); }
    void Release(int x, int y, const IMouseState& m = kLeft) { surface->SurfaceMouseUp(x, y, m); }
    void DoubleClick(int x, int y, const IMouseState& m = kLeft) { surface->SurfaceMouseDoubleClick(x, y, m); }
    void Hover(int x, int y) { surface->SurfaceMouseHover(x, y, IMouseState{}); }
    // One drawn frame of the whole editor, every control marked dirty first
    // as the plug-in's timer does while its redraw countdown runs.
    void Frame()
    {
        surface->MarkAllControlsDirty();
        surface->RedrawBounds({0, 0, 674, 262});
    }

    double Plain(int paramIdx) const { return plug->GetParam(paramIdx)->Value(); }

    // The back buffer's pixel at (x, y).
    uint32_t Pixel(int x, int y) const
    {
        RasterBitmap* back = surface->GetBackBuffer();
        const int row = back->IsFlipped() ? back->GetHeight() - 1 - y : y;
        return back->GetBits()[row * back->GetRowSpan() + x];
    }
    void ClearBackBuffer()
    {
        RasterBitmap* back = surface->GetBackBuffer();
        for (int y = 0; y < back->GetHeight(); ++y)
            for (int x = 0; x < back->GetWidth(); ++x)
                back->GetBits()[y * back->GetRowSpan() + x] = 0;
    }

    std::vector<std::unique_ptr<RasterMemBitmap>> bitmaps;  // outlive the plug-in and its surface
    std::unique_ptr<CountingOstrand> plug;
    IEditorSurfaceHeadless* surface = nullptr;  // owned by the plug-in once attached
};

} // namespace ui_test
