#include "editor/ITextControl.h"

#include "editor/IEditorSurface.h"

#include <cstring>
#include <new>

//------------------------------------------------------------------------
ITextControl::ITextControl(IFxBase* plug, const IBounds& bounds)
    : IControl(plug, bounds, -1, kBlendSourceAlpha)
{
}

//------------------------------------------------------------------------
bool ITextControl::Paint(IEditorSurface* surface)
{
    if (mText.empty())
        return true;
    IBounds box = mBounds;
    return surface->DrawTextInBounds(mStyle, mText.c_str(), box, false);
}

//------------------------------------------------------------------------
void ITextControl::SetText(const char* text)
{
    if (text == nullptr)
        text = "";
    if (mText == text)
        return;
    MarkDirty(false);
    try {
        mText = text;
    } catch (const std::bad_alloc&) {
        mText.clear();  // out of memory: show nothing rather than a stale text
    }
}
