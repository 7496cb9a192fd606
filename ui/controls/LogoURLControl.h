#pragma once
// An invisible link over the maker's logo: a click opens the first address
// (the second when that fails); hovering fades the logo plate out.
#include "editor/IControl.h"

class LogoURLControl : public IControl {
public:
    // Each text is copied (cut to its buffer) when given and not empty.
    LogoURLControl(IFxBase* plug, const IBounds& bounds, const char* firstAddress, const char* secondAddress,
                   const char* caption);

    void MouseDown(int x, int y, const IMouseState& mouse) override;
    void MouseHover(int x, int y, const IMouseState& mouse) override;
    void MouseLeave() override;
    // Draws nothing.
    bool Paint(IEditorSurface* surface) override;

    char mFirstAddress[256] = {};
    char mSecondAddress[256] = {};
    char mCaption[1024] = {};
};
