#pragma once
// A label drawn with the small bitmap font: one glyph per printable ASCII
// character (character c is frame c - 31 of the glyph strip), each with its
// own advance. Lines split at newlines are centred between the rectangle's
// left and right edges and, as a block, on its vertical middle.
#include "editor/ITextControl.h"

class CustomTextControlD : public ITextControl {
public:
    static constexpr int kMaxLines = 10;

    CustomTextControlD(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs);

    bool Paint(IEditorSurface* surface) override;

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
    CustomTextControlD(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs, int lineHeight,
                       int advance);
    // Left edge of a line of width w.
    virtual int LineStart(int width) const;
};
