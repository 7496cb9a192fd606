#include "ui/controls/IKnobDetentControlTextMO.h"

#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"

#include <cmath>

//------------------------------------------------------------------------
void IKnobDetentControlTextMO::MouseUp(int x, int y, const IMouseState& mouse)
{
    // Settle on the nearest whole step, as the parameter itself does; the
    // parameter already holds that step, so nothing is pushed.
    if (const IFxParam* param = OstrandOf(*this).GetParam(mParamIdx)) {
        const double snapped = std::floor(PlainFromNormalized(*param, mValue) + 0.5);
        mValue = NormalizedFromPlain(*param, snapped);
    }
    IKnobMultiControlTextMO::MouseUp(x, y, mouse);
}
