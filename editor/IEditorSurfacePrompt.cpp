// Parameter prompts: the value menu or text entry, and applying what the
// user typed.
#include "editor/IEditorSurface.h"

#include "framework/IFxBase.h"
#include "framework/IFxParam.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Longest entry text that is read; the rest is ignored.
constexpr std::size_t kEntryReadChars = 31;

} // namespace

//------------------------------------------------------------------------
void IEditorSurface::PromptForParamValue(IControl* control, IFxParam* param, const IBounds& bounds)
{
    if (control == nullptr || param == nullptr)
        return;
    const int n = param->ValueTextCount();
    char current[128] = {};
    param->FormatValue(param->Value(), false, current, true, sizeof current);

    if (param->Kind() != kKindEnum && !(param->Kind() == kKindBool && n > 0)) {
        OpenTextEntry(control, control->mStyle, bounds, current, param);
        return;
    }

    IMenuModel menu(kMenuPrefixNone);
    for (int i = 0; i < n; ++i) {
        const char* text = param->ValueText(i);
        if (menu.AddItem(text, std::strcmp(text, current) == 0 ? kMenuItemChecked : 0) == nullptr)
            return;  // out of memory: no menu rather than a partial one
    }
    IMenuModel* chosen = ShowPopupMenu(&menu, bounds);
    // Only a choice in this menu's own items maps to a value.
    if (chosen == &menu && menu.ChosenIndex() >= 0 && menu.ChosenIndex() < n)
        control->SetValueFromUser(param->ToNormalized(static_cast<double>(menu.ChosenIndex())));
}

//------------------------------------------------------------------------
void IEditorSurface::ApplyTextEntry(IControl* control, IFxParam* param, const char* text)
{
    if (control == nullptr)
        return;
    char buffer[kEntryReadChars + 1] = {};
    if (text != nullptr)
        std::strncpy(buffer, text, kEntryReadChars);

    if (param == nullptr) {
        control->SetTextFromEntry(buffer);
        return;
    }

    double plain = 0.0;
    if (param->Kind() == kKindEnum || param->Kind() == kKindBool) {
        int found = 0;
        if (param->FindValueText(buffer, &found))
            plain = found;
    } else {
        // Longest numeric prefix after leading blanks; 0 when there is none.
        plain = std::strtod(buffer, nullptr);
        if (param->ShowNegated())
            plain = -plain;
    }
    // strtod also reads "nan" and "inf"; neither may reach a parameter.
    if (!std::isfinite(plain))
        return;
    const double normalized = param->ToNormalized(plain);
    if (!std::isfinite(normalized))
        return;
    control->SetValueFromUser(normalized);
}

//------------------------------------------------------------------------
bool IEditorSurface::EntryAcceptsChar(const IFxParam* param, int c)
{
    if (param == nullptr || c == '\b')
        return true;
    const bool digitOrSign = (c >= '0' && c <= '9') || c == '-' || c == '+';
    switch (param->Kind()) {
    case kKindBool:
    case kKindInt:
    case kKindEnum: return digitOrSign;
    case kKindDouble: return digitOrSign || c == '.';
    default: return false;
    }
}
