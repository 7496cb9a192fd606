#pragma once
// The typed delay: a click opens a text entry showing the current delay in
// microseconds; the number typed is turned into the Delay parameter's units
// (quarter samples below 50 kHz, half samples above) at the current rate.
#include "editor/IControl.h"

#include <string>

class TextBoxPrompt : public IControl {
public:
    TextBoxPrompt(IFxBase* plug, const IBounds& bounds, const ITextStyle& promptStyle);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseWheel(int x, int y, const IMouseState& mouse, int delta) override;
    void SetTextFromEntry(const char* text) override;
    // Draws nothing: the delay readout beneath shows the value.
    bool Paint(IEditorSurface* surface) override;

    void ClearText() { mText.clear(); }
    const std::string& Text() const { return mText; }

    std::string mText;
    ITextStyle mPromptStyle;
};
