#include "ui/controls/CustomTextControlD.h"

#include "editor/IEditorSurface.h"

#include <cstring>

//------------------------------------------------------------------------
CustomTextControlD::CustomTextControlD(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs)
    : CustomTextControlD(plug, bounds, glyphs, 6, 7)
{
}

//------------------------------------------------------------------------
CustomTextControlD::CustomTextControlD(IFxBase* plug, const IBounds& bounds, const IBitmapStrip& glyphs,
                                       int lineHeight, int advance)
    : ITextControl(plug, bounds), mGlyphs(glyphs), mLineHeight(lineHeight), mAdvance(advance),
      mLineRect(bounds), mTextBox(bounds)
{
}

//------------------------------------------------------------------------
void CustomTextControlD::SetText(const char* text)
{
    if (std::strcmp(text != nullptr ? text : "", mText.c_str()) == 0)
        return;
    ITextControl::SetText(text);
    const IBounds box = TextBox();
    // Until the next draw, both the old text (to be erased) and the new.
    mBounds = mTextBox.Union(box);
    mTextBox = box;
}

//------------------------------------------------------------------------
void CustomTextControlD::MarkClean()
{
    ITextControl::MarkClean();
    if (!IsMarkedDirty())
        mBounds = mTextBox;
}

//------------------------------------------------------------------------
IBounds CustomTextControlD::TextBox() const
{
    const LineLayout layout = Layout(mText.c_str());
    IBounds box;
    for (int line = 0; line < layout.count; ++line) {
        if (layout.width[line] <= 0)
            continue;
        // A wide letter's extra pixel can push the line one pixel further.
        const IBounds row{layout.x[line], layout.y[line], layout.x[line] + layout.width[line] + 1,
                          layout.y[line] + mLineHeight};
        box = box.Union(row);
    }
    return box.IsEmpty() ? mLineRect : box;
}

//------------------------------------------------------------------------
int CustomTextControlD::Advance(unsigned char c) const
{
    switch (c) {
    case 'w': case 'm': case 'M': case 'W': return 7;
    case 'l': return 5;
    case 'i': return 3;
    case ' ': case '1': return 4;
    case '(': case ')': case ',': case 'I': return 3;
    case '.': return 2;
    default: return 6;
    }
}

//------------------------------------------------------------------------
bool CustomTextControlD::ExtraPixel(unsigned char c) const
{
    return c == 'w' || c == 'm' || c == 'M' || c == 'W';
}

//------------------------------------------------------------------------
int CustomTextControlD::LineStart(int width) const
{
    // Centred between left and right, the halves taken in single precision.
    const float half = static_cast<float>(mLineRect.right - mLineRect.left) * 0.5f - static_cast<float>(width) * 0.5f;
    return mLineRect.left + static_cast<int>(half);
}

//------------------------------------------------------------------------
CustomTextControlD::LineLayout CustomTextControlD::Layout(const char* text) const
{
    LineLayout layout;
    if (text == nullptr)
        return layout;
    const int length = static_cast<int>(std::strlen(text));

    // Lines split at newlines; a line after the first starts with its
    // newline, which counts (and draws) as an ordinary character. Text past
    // the last line that fits is left out.
    int start = 0;
    while (layout.count < kMaxLines) {
        int end = start + (start > 0 ? 1 : 0);
        while (end < length && text[end] != '\n')
            ++end;
        layout.begin[layout.count] = start;
        layout.end[layout.count] = end;
        ++layout.count;
        if (end >= length)
            break;
        start = end;
    }

    for (int line = 0; line < layout.count; ++line) {
        int width = 0;
        for (int i = layout.begin[line]; i < layout.end[line]; ++i) {
            const auto c = static_cast<unsigned char>(text[i]);
            if (i > 0 && ExtraPixel(c))
                ++width;
            width += Advance(c);
        }
        layout.width[line] = width;
    }

    const float h = static_cast<float>(mLineHeight);
    const int top = mLineRect.top + 1 +
                    static_cast<int>(static_cast<float>(mLineRect.bottom - mLineRect.top) * 0.5f -
                                     h * 0.5f * static_cast<float>(layout.count));
    for (int line = 0; line < layout.count; ++line) {
        const int x = LineStart(layout.width[line]);
        layout.x[line] = x < mLineRect.left ? mLineRect.left : x;
        layout.y[line] = top + line * (mLineHeight + 2);
    }
    return layout;
}

//------------------------------------------------------------------------
bool CustomTextControlD::Paint(IEditorSurface* surface)
{
    // A copy, so that a text replaced while drawing cannot move under us.
    const std::string text = mText;
    const LineLayout layout = Layout(text.c_str());
    for (int line = 0; line < layout.count; ++line) {
        const int x = layout.x[line];
        const int y = layout.y[line];
        int p = 0;
        for (int i = layout.begin[line]; i < layout.end[line]; ++i) {
            const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
            if (i > 0 && ExtraPixel(c))
                ++p;
            mAdvance = Advance(c);
            // Glyph c is frame c - 31; codes outside the strip (control
            // characters, the newline, bytes above 126) draw the first
            // frame, the blank.
            int frame = static_cast<int>(c) - 31;
            if (frame < 1 || frame > mGlyphs.frames)
                frame = 1;
            const IBounds glyph{x + p, y, x + p + mAdvance, y + mLineHeight};
            surface->BlitStripFrame(mGlyphs, glyph, frame, &mBlend);
            p += mAdvance;
        }
    }
    return true;
}
