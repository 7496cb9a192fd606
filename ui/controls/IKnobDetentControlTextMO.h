#pragma once
// The Juice knob: a small knob that settles on the nearest whole step of its
// parameter when released.
#include "ui/controls/IKnobMultiControlTextMO.h"

class IKnobDetentControlTextMO : public IKnobMultiControlTextMO {
public:
    using IKnobMultiControlTextMO::IKnobMultiControlTextMO;

    void MouseUp(int x, int y, const IMouseState& mouse) override;
};
