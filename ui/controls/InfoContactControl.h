#pragma once
// The product logo: a click opens the information screen. Its hit area is
// twice the logo's width.
#include "editor/ISwitchControl.h"

class InfoContactControl : public ISwitchControl {
public:
    InfoContactControl(IFxBase* plug, int x, int y, const IBitmapStrip& strip, int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;
    bool HitTest(int x, int y) override;
};
