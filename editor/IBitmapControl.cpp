#include "editor/IBitmapControl.h"

#include "editor/IEditorSurface.h"

namespace {

//------------------------------------------------------------------------
IBounds FrameBounds(int x, int y, const IBitmapStrip& strip)
{
    const int frames = strip.frames < 1 ? 1 : strip.frames;
    return {x, y, x + strip.width, y + strip.height / frames};
}

} // namespace

//------------------------------------------------------------------------
IBitmapControl::IBitmapControl(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip,
                               int blendMethod)
    : IControl(plug, FrameBounds(x, y, strip), paramIdx, blendMethod), mStrip(strip)
{
}

//------------------------------------------------------------------------
IBitmapControl::IBitmapControl(IFxBase* plug, const IBounds& bounds, int paramIdx, const IBitmapStrip& strip,
                               int blendMethod)
    : IControl(plug, bounds, paramIdx, blendMethod), mStrip(strip)
{
}

//------------------------------------------------------------------------
int IBitmapControl::FrameForValue(int frames, double value)
{
    if (frames < 2 || !(value == value))
        return 1;
    // Computed in double and truncated toward zero; values far outside 0..1
    // are held before the conversion so it cannot overflow.
    const double k = (frames - 1) * value + 0.5;
    if (k < 1.0)
        return 1;
    if (k >= static_cast<double>(frames))
        return frames;
    return static_cast<int>(k) + 1;
}

//------------------------------------------------------------------------
bool IBitmapControl::Paint(IEditorSurface* surface)
{
    surface->BlitStripFrame(mStrip, mBounds, FrameForValue(mStrip.frames, mValue), &mBlend);
    return true;
}
