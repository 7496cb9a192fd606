#pragma once
// The text and selection of a one-line text entry, without any window: what
// typing, deleting and moving the caret do. Characters pass the entry's
// filter first; the text never grows beyond its length limit. Positions are
// byte offsets; the editor's texts are 8-bit.
#include <functional>
#include <string>

class TextEntryLine {
public:
    using Filter = std::function<bool(int c)>;

    // The whole initial text is selected, caret at its end. The limit stops
    // typing only: a longer initial text is kept (maxChars < 1 counts as 1).
    TextEntryLine(const std::string& text, int maxChars, Filter filter);

    // Types c (8 is backspace): replaces the selection, or inserts at the
    // caret. False when the filter or the length limit refused it.
    bool Type(int c);
    // Deletes the selection, or the character after the caret.
    void DeleteForward();
    // Moves the caret by one character (or to an end); extend keeps the
    // selection's anchor, otherwise the selection collapses.
    void MoveLeft(bool extend);
    void MoveRight(bool extend);
    void MoveHome(bool extend);
    void MoveEnd(bool extend);
    void SelectAll();

    const std::string& Text() const { return mText; }
    int Caret() const { return mCaret; }
    int SelectionStart() const { return mAnchor < mCaret ? mAnchor : mCaret; }
    int SelectionEnd() const { return mAnchor < mCaret ? mCaret : mAnchor; }
    bool HasSelection() const { return mAnchor != mCaret; }
    int MaxChars() const { return mMaxChars; }

private:
    void MoveTo(int pos, bool extend);
    void EraseSelection();

    std::string mText;
    int mMaxChars;
    Filter mFilter;
    int mAnchor = 0;
    int mCaret = 0;
};
