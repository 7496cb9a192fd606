// Editing a one-line text entry.
#include "editor/x11/TextEntryLine.h"

#include <utility>

//------------------------------------------------------------------------
TextEntryLine::TextEntryLine(const std::string& text, int maxChars, Filter filter)
    : mText(text)
    , mMaxChars(maxChars < 1 ? 1 : maxChars)
    , mFilter(std::move(filter))
{
    mAnchor = 0;
    mCaret = static_cast<int>(mText.size());
}

//------------------------------------------------------------------------
bool TextEntryLine::Type(int c)
{
    if (c < 0 || c > 255 || (mFilter && !mFilter(c)))
        return false;
    if (c == 8) {
        if (HasSelection())
            EraseSelection();
        else if (mCaret > 0) {
            mText.erase(static_cast<size_t>(mCaret - 1), 1);
            mAnchor = --mCaret;
        }
        return true;
    }
    if (c < 0x20 || c == 0x7f)
        return false;
    int kept = static_cast<int>(mText.size()) - (SelectionEnd() - SelectionStart());
    if (kept >= mMaxChars)
        return false;
    EraseSelection();
    mText.insert(mText.begin() + mCaret, static_cast<char>(c));
    mAnchor = ++mCaret;
    return true;
}

//------------------------------------------------------------------------
void TextEntryLine::DeleteForward()
{
    if (HasSelection())
        EraseSelection();
    else if (mCaret < static_cast<int>(mText.size()))
        mText.erase(static_cast<size_t>(mCaret), 1);
}

//------------------------------------------------------------------------
void TextEntryLine::EraseSelection()
{
    int start = SelectionStart();
    mText.erase(static_cast<size_t>(start), static_cast<size_t>(SelectionEnd() - start));
    mAnchor = mCaret = start;
}

//------------------------------------------------------------------------
void TextEntryLine::MoveTo(int pos, bool extend)
{
    int size = static_cast<int>(mText.size());
    mCaret = pos < 0 ? 0 : (pos > size ? size : pos);
    if (!extend)
        mAnchor = mCaret;
}

//------------------------------------------------------------------------
void TextEntryLine::MoveLeft(bool extend)
{
    // Without extending, a selection collapses to its start.
    if (!extend && HasSelection())
        MoveTo(SelectionStart(), false);
    else
        MoveTo(mCaret - 1, extend);
}

//------------------------------------------------------------------------
void TextEntryLine::MoveRight(bool extend)
{
    if (!extend && HasSelection())
        MoveTo(SelectionEnd(), false);
    else
        MoveTo(mCaret + 1, extend);
}

//------------------------------------------------------------------------
void TextEntryLine::MoveHome(bool extend)
{
    MoveTo(0, extend);
}

//------------------------------------------------------------------------
void TextEntryLine::MoveEnd(bool extend)
{
    MoveTo(static_cast<int>(mText.size()), extend);
}

//------------------------------------------------------------------------
void TextEntryLine::SelectAll()
{
    mAnchor = 0;
    mCaret = static_cast<int>(mText.size());
}
