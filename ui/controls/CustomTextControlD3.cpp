#include "ui/controls/CustomTextControlD3.h"

//------------------------------------------------------------------------
CustomTextControlD3::CustomTextControlD3(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs)
    : CustomTextControlD(plug, bounds, glyphs, 14, 10)
{
}

//------------------------------------------------------------------------
int CustomTextControlD3::Advance(unsigned char c) const
{
    switch (c) {
    case 'w': case 'm': case 'M': case 'W': case 'O': case 'G': return 8;
    case 'l': case 'i': return 3;
    case 'r': return 5;
    case ' ': case '1': case '(': case ',': case 'I': case '^': case 'a': case '-': case 'f': case 't': return 6;
    case ')': return 7;
    case '.': return 4;
    default: return 7;
    }
}

//------------------------------------------------------------------------
bool CustomTextControlD3::ExtraPixel(unsigned char c) const
{
    return c == 'w' || c == 'm' || c == 'M' || c == 'W' || c == 'O';
}

//------------------------------------------------------------------------
int CustomTextControlD3::LineStart(int width) const
{
    // Centred on the right edge: half the width left of R.
    const float half = static_cast<float>(mLineRect.right - mLineRect.left) * 0.5f - static_cast<float>(width) * 0.5f;
    const float middle = static_cast<float>(mLineRect.left + mLineRect.right) * 0.5f;
    return static_cast<int>(static_cast<float>(static_cast<int>(half)) + middle);
}
