#pragma once
// A round on/off switch. Its hit area is a circle 13 pixels wider than the
// switch, so it takes clicks just outside its rectangle. Hovering it fades
// out its own name plate and, depending on the switch, its partner's plate
// (or shows the partner's).
#include "editor/ISwitchControl.h"

class ISwitchControlB : public ISwitchControl {
public:
    ISwitchControlB(IFxBase* plug, int x, int y, int paramIdx, const IBitmapStrip& strip, double ownPlate,
                    double partnerPlate, bool hidePartner, bool showPartner,
                    int blendMethod = kBlendSourceAlpha);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseUp(int x, int y, const IMouseState& mouse) override;
    void MouseHover(int x, int y, const IMouseState& mouse) override;
    void MouseLeave() override;
    bool HitTest(int x, int y) override;

    double mOwnPlate = -1;
    double mPartnerPlate = -1;
    bool mHidePartner = false;
    bool mShowPartner = false;
};
