// Blits into the back buffer and the draw cycle.
#include "editor/IEditorSurface.h"

#include "raster/RasterBlit.h"

#include <cmath>

namespace {

//------------------------------------------------------------------------
int32_t RasterModeFor(const IBlend* blend)
{
    if (blend == nullptr)
        return kRasterCopy | kRasterUseSourceAlpha;
    switch (blend->method) {
    case kBlendCopy: return kRasterCopy;
    case kBlendAdd: return kRasterAdd | kRasterUseSourceAlpha;
    case kBlendDodge: return kRasterDodge | kRasterUseSourceAlpha;
    default: return kRasterCopy | kRasterUseSourceAlpha;
    }
}

} // namespace

//------------------------------------------------------------------------
bool IEditorSurface::BlitBitmap(const IBitmapStrip& strip, const IBounds& dest, int srcX, int srcY,
                                const IBlend* blend)
{
    const IBounds clipped = dest.Intersection(mDrawBounds);
    const int32_t w = clipped.W();
    const int32_t h = clipped.H();
    if (w <= 0 || h <= 0 || strip.bitmap == nullptr || !mBackBuffer)
        return true;
    RasterRect source;
    source.left = srcX + clipped.left - dest.left;
    source.top = srcY + clipped.top - dest.top;
    source.right = source.left + w;
    source.bottom = source.top + h;
    const float opacity = blend != nullptr ? blend->weight : 1.0f;
    RasterBlit(mBackBuffer.get(), strip.bitmap, clipped.left, clipped.top, &source, opacity, RasterModeFor(blend));
    return true;
}

//------------------------------------------------------------------------
int IEditorSurface::StripFrameOffset(const IBitmapStrip& strip, int frame)
{
    if (strip.frames < 2 || frame < 2)
        return 0;
    const double size = strip.horizontal ? strip.width : strip.height;
    return static_cast<int>(std::trunc(size * (frame - 1) / strip.frames + 0.5));
}

//------------------------------------------------------------------------
bool IEditorSurface::BlitStripFrame(const IBitmapStrip& strip, const IBounds& dest, int frame, const IBlend* blend)
{
    const int offset = StripFrameOffset(strip, frame);
    return strip.horizontal ? BlitBitmap(strip, dest, offset, 0, blend) : BlitBitmap(strip, dest, 0, offset, blend);
}

//------------------------------------------------------------------------
bool IEditorSurface::CollectDirtyBounds(IBounds& dirty)
{
    dirty = {};
    bool any = false;
    for (IControl* control : mControls) {
        if (control->IsMarkedDirty()) {
            dirty = dirty.Union(control->mBounds);
            any = true;
        }
    }
    return any;
}

//------------------------------------------------------------------------
bool IEditorSurface::RedrawBounds(const IBounds& bounds)
{
    if (mControls.empty())
        return true;
    const int n = NControls();
    if (mStrictDrawing) {
        mDrawBounds = bounds;
        for (IControl* control : mControls)
            if (!control->mHidden && mDrawBounds.Touches(control->mBounds))
                control->Paint(this);
        for (IControl* control : mControls)
            control->MarkClean();
    } else if (mControls[0]->IsMarkedDirty()) {
        // The background is dirty: everything over it is drawn.
        mDrawBounds = mControls[0]->mBounds;
        for (int i = 0; i < n; ++i) {
            IControl* control = mControls[static_cast<std::size_t>(i)];
            if (i == 0 || !control->mHidden) {
                control->Paint(this);
                control->MarkClean();
            }
        }
    } else {
        // Each dirty control is redrawn with everything that overlaps it.
        for (int i = 1; i < n; ++i) {
            IControl* dirty = mControls[static_cast<std::size_t>(i)];
            if (!dirty->IsMarkedDirty())
                continue;
            mDrawBounds = dirty->mBounds;
            for (int j = 0; j < n; ++j) {
                IControl* control = mControls[static_cast<std::size_t>(j)];
                if (!control->mHidden && (j == i || control->mBounds.Touches(mDrawBounds)))
                    control->Paint(this);
            }
            dirty->MarkClean();
        }
    }
    return PresentBounds(bounds);
}

//------------------------------------------------------------------------
bool IEditorSurface::TickAndRedraw()
{
    IBounds dirty;
    if (!DrawTick(dirty))
        return false;
    RedrawBounds(dirty);
    return true;
}
