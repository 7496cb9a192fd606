#pragma once
// A label drawn with the large bitmap font: like the small-font label, with
// its own advances, and each line centred on the rectangle's right edge.
#include "ui/controls/CustomTextControlD.h"

class CustomTextControlD3 : public CustomTextControlD {
public:
    CustomTextControlD3(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs);

    int Advance(unsigned char c) const override;
    bool ExtraPixel(unsigned char c) const override;

protected:
    int LineStart(int width) const override;
};
