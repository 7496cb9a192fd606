#pragma once
// A label drawn with the small bitmap font: one glyph per printable ASCII
// character (character c is frame c - 31 of the glyph strip), each with its
// own advance. Lines split at newlines are centred between the rectangle's
// left and right edges and, as a block, on its vertical middle.
//
// The layout gives labels a rectangle of no height (a text line), so the
// control's drawing bounds are the box its text covers instead: a changed
// text marks both the old and the new box for redrawing, so the old text is
// erased and the new one drawn in full.
#include "editor/ITextControl.h"

class CustomTextControlD : public ITextControl {
public:
    static constexpr int kMaxLines = 10;

    CustomTextControlD(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs);

    bool Paint(IEditorSurface* surface) override;
    void MarkClean() override;

    // Replaces the text (nothing when it is unchanged) and the drawing bounds.
    void SetText(const char* text) override;
    // The rectangle the text is laid out in, as the control was made.
    const IBounds& LineRect() const { return mLineRect; }

    // Where a text's lines start and how wide they are, as Paint draws them.
    struct LineLayout {
        int count = 0;
        int x[kMaxLines] = {};
        int y[kMaxLines] = {};
        int width[kMaxLines] = {};
        int begin[kMaxLines] = {};  // offset in the text (a later line starts at its newline)
        int end[kMaxLines] = {};
    };
    LineLayout Layout(const char* text) const;

    // The advance of character c and whether one extra pixel goes before it
    // (never before the first character of the whole text).
    virtual int Advance(unsigned char c) const;
    virtual bool ExtraPixel(unsigned char c) const;

    IBitmapStrip mGlyphs;
    int mLineHeight = 6;
    int mAdvance = 7;  // the advance of the character being drawn

protected:
    // The box the current text covers; the line rectangle when it is empty.
    IBounds TextBox() const;

    IBounds mLineRect;
    IBounds mTextBox;

    CustomTextControlD(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs, int lineHeight,
                       int advance);
    // Left edge of a line of width w.
    virtual int LineStart(int width) const;
};
