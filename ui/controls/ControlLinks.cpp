#include "ui/controls/ControlLinks.h"

#include "editor/IControl.h"
#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "framework/IFxParam.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

//------------------------------------------------------------------------
Ostrand& OstrandOf(const IControl& control)
{
    return *static_cast<Ostrand*>(control.mPlug);
}

//------------------------------------------------------------------------
int HandleIndex(double handle)
{
    // Converting a value outside int's range is undefined, so such handles
    // (and NaN) are turned away first.
    if (!(handle >= 0.0 && handle < static_cast<double>(INT_MAX)))
        return -1;
    return static_cast<int>(handle);
}

//------------------------------------------------------------------------
IControl* PartnerControl(const IControl& control, double handle)
{
    IEditorSurface* surface = control.mSurface;
    return surface != nullptr ? surface->GetControl(HandleIndex(handle)) : nullptr;
}

//------------------------------------------------------------------------
void ShowPartner(const IControl& control, double handle, bool show)
{
    if (IControl* partner = PartnerControl(control, handle))
        partner->SetHidden(!show);
}

//------------------------------------------------------------------------
void ShowPartnerClean(const IControl& control, double handle, bool show)
{
    if (IControl* partner = PartnerControl(control, handle)) {
        partner->SetHidden(!show);
        partner->MarkClean();
    }
}

//------------------------------------------------------------------------
void SetPartnerValue(const IControl& control, double handle, double value)
{
    if (IEditorSurface* surface = control.mSurface)
        surface->PushValueToControl(HandleIndex(handle), value);
}

//------------------------------------------------------------------------
double PartnerValue(const IControl& control, double handle, double fallback)
{
    IControl* partner = PartnerControl(control, handle);
    return partner != nullptr ? static_cast<double>(partner->mValue) : fallback;
}

//------------------------------------------------------------------------
double PlainFromNormalized(const IFxParam& param, double normalized)
{
    return std::pow(normalized, param.Shape()) * (param.Max() - param.Min()) + param.Min();
}

//------------------------------------------------------------------------
double NormalizedFromPlain(const IFxParam& param, double plain)
{
    const double lo = param.Min();
    const double hi = param.Max();
    if (std::isnan(plain) || plain < lo)
        plain = lo;
    else if (plain > hi)
        plain = hi;
    return std::pow((plain - lo) / (hi - lo), 1.0 / param.Shape());
}

//------------------------------------------------------------------------
void CopyTextIfGiven(char* buffer, int size, const char* text)
{
    if (text == nullptr || text[0] == '\0' || size <= 0)
        return;
    const std::size_t n = std::min(std::strlen(text), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}
