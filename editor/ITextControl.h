#pragma once
// A control that draws a text with its style inside its bounds. It has no
// parameter; its owner sets the style and the text.
#include "editor/IControl.h"

#include <string>

class ITextControl : public IControl {
public:
    ITextControl(IFxBase* plug, const IBounds& bounds);

    // Draws the text (when there is one); the text drawing's result.
    bool Paint(IEditorSurface* surface) override;

    // Replaces the text and marks the control dirty, unless it is unchanged.
    // Editor thread only (may allocate). Virtual: a label that tracks the
    // area its text covers must see every change, whoever makes it.
    virtual void SetText(const char* text);
    const char* GetText() const { return mText.c_str(); }

    std::string mText;
};
