// One-line text for the editor-drawn entry and menus.
#include "editor/x11/X11Text.h"

#include "raster/RasterFontCache.h"

namespace {
constexpr uint32_t kLineFormat = kTextSingleLine | kTextNoPrefix | kTextNoClip;
}

//------------------------------------------------------------------------
int X11TextWidth(ITextStyle& style, const char* text, int length)
{
    RasterFont* font = ResolveFont(style);
    if (font == nullptr || text == nullptr || length <= 0)
        return 0;
    RasterRect rect;
    font->DrawText(nullptr, text, length, &rect, kLineFormat | kTextCalcRect);
    return rect.right - rect.left;
}

//------------------------------------------------------------------------
int X11LineHeight(ITextStyle& style)
{
    RasterFont* font = ResolveFont(style);
    if (font == nullptr || font->GetLineHeight() <= 0)
        return style.size;
    return font->GetLineHeight();
}

//------------------------------------------------------------------------
void X11DrawText(RasterBitmap& target, ITextStyle& style, const char* text, int length, int x, int y,
                 uint32_t colour)
{
    RasterFont* font = ResolveFont(style);
    if (font == nullptr || text == nullptr || length <= 0)
        return;
    font->SetTextColour(colour);
    RasterRect rect{x, y, target.GetWidth(), target.GetHeight()};
    font->DrawText(&target, text, length, &rect, kLineFormat);
}
