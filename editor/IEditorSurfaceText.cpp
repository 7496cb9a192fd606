// Text drawing and measuring into the back buffer.
#include "editor/IEditorSurface.h"

#include "raster/RasterFont.h"
#include "raster/RasterFontCache.h"

#include <cmath>

//------------------------------------------------------------------------
bool IEditorSurface::DrawTextInBounds(ITextStyle& style, const char* text, IBounds& bounds, bool measureOnly)
{
    if (text == nullptr || text[0] == '\0')
        return true;
    RasterFont* font = ResolveFont(style);
    if (font == nullptr)
        return false;
    font->SetTextColour(style.colour.Packed());

    uint32_t format = kTextNoClip;
    if (style.colour.A != 255)
        format |= kTextAlphaOpacity;
    if (style.align == 1)
        format |= kTextCentre;
    else if (style.align == 2)
        format |= kTextRight;

    if (!measureOnly) {
        if (!mBackBuffer)
            return false;
        RasterRect rect{bounds.left, bounds.top, bounds.right, bounds.bottom};
        font->DrawText(mBackBuffer.get(), text, -1, &rect, format);
        return true;
    }

    RasterRect box{};
    font->DrawText(nullptr, text, -1, &box, format | kTextCalcRect);
    const int32_t w = box.right - box.left;
    const int32_t h = box.bottom - box.top;
    if (style.align == 2) {
        bounds = {bounds.right - w, bounds.top, bounds.right, bounds.top + h};
    } else if (style.align == 1) {
        // The centre is computed in single precision, as the layout expects.
        const int32_t c = static_cast<int32_t>(std::trunc(static_cast<float>(bounds.left + bounds.right) * 0.5f));
        const int32_t left = c - w / 2;
        bounds = {left, bounds.top, left + w, bounds.top + h};
    } else {
        bounds = {bounds.left, bounds.top, bounds.left + w, bounds.top + h};
    }
    return true;
}
