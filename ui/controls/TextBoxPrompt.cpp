#include "ui/controls/TextBoxPrompt.h"

#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "ui/controls/ControlLinks.h"
#include "ui/controls/DelayEntry.h"

#include <cmath>
#include <cstdio>

//------------------------------------------------------------------------
TextBoxPrompt::TextBoxPrompt(IFxBase* plug, const IBounds& bounds, const ITextStyle& promptStyle)
    : IControl(plug, bounds), mPromptStyle(promptStyle)
{
    mPromptDisabled = true;
}

//------------------------------------------------------------------------
void TextBoxPrompt::MouseDown(int, int, const IMouseState&)
{
    Ostrand& plug = OstrandOf(*this);
    double micros = plug.DelayMicros();
    if (!std::isfinite(micros))
        micros = 0.0;
    char text[64];
    std::snprintf(text, sizeof text, " %1.00f microseconds  ", micros);
    mText = text;
    if (mSurface != nullptr)
        mSurface->OpenTextEntry(this, mPromptStyle, mBounds, mText.c_str(), nullptr);
    mText.clear();
    plug.mUserInteracting = true;
}

//------------------------------------------------------------------------
void TextBoxPrompt::MouseWheel(int, int, const IMouseState&, int)
{
    mText.clear();
}

//------------------------------------------------------------------------
void TextBoxPrompt::SetTextFromEntry(const char* text)
{
    Ostrand& plug = OstrandOf(*this);
    IFxParam* delay = plug.GetParam(kParamDelay);
    if (delay != nullptr && mSurface != nullptr) {
        const double units = DelayUnitsFromMicros(ReadLeadingNumber(text), plug.SampleRate());
        // Whatever was typed (a huge number, "inf", "nan"), the value handed
        // on is a number in 0 ... 1: out-of-range and infinite delays land on
        // the range's ends, NaN on its start, as a clamped control would.
        // The surface brackets the edit: the entry has no gesture of its own.
        mSurface->SetParameterFromEditor(kParamDelay, NormalizedFromPlain(*delay, units));
    }
    plug.mSettingsChanged = true;
    mText.clear();
    MarkDirty(false);
}

//------------------------------------------------------------------------
bool TextBoxPrompt::Paint(IEditorSurface*)
{
    return true;
}
