#pragma once
// The one-line text entry the editor draws itself over a control: a child
// window of the editor window, drawn with the control's text style (entry
// background and foreground colours, font, alignment), its text selected at
// first, typed into through the entry's filter and length limit. It only
// edits; committing and cancelling are decided by the editor window.
#include "editor/EditorTypes.h"
#include "editor/x11/TextEntryLine.h"
#include "editor/x11/X11Display.h"
#include "editor/x11/X11Presenter.h"
#include "raster/RasterMemBitmap.h"
#include "raster/TextStyle.h"

#include <memory>

class X11TextEntry {
public:
    enum KeyResult { kKeyTaken, kKeyCommit, kKeyIgnored };

    // Creates, maps and focuses the entry window over bounds (one pixel
    // wider and taller, as the editor's other window does).
    X11TextEntry(X11Display& display, xcb_window_t parent, const ITextStyle& style, const IBounds& bounds,
                 const char* text, int maxChars, TextEntryLine::Filter filter);
    ~X11TextEntry();
    X11TextEntry(const X11TextEntry&) = delete;
    X11TextEntry& operator=(const X11TextEntry&) = delete;

    xcb_window_t Window() const { return mWindow; }
    const TextEntryLine& Line() const { return mLine; }

    // A key pressed while the entry has the focus. Return (and the keypad's
    // Enter) commits; editing keys change the text and redraw it.
    KeyResult OnKey(uint32_t keysym, uint16_t state);
    // A press inside the entry moves the caret to the nearest character.
    void OnPress(int x);
    // Draws the entry and sends it to its window.
    void Draw();

private:
    int TextLeft();

    X11Display& mDisplay;
    xcb_window_t mWindow = 0;
    ITextStyle mStyle;
    int mWidth;
    int mHeight;
    TextEntryLine mLine;
    RasterMemBitmap mPixels;
    std::unique_ptr<X11Presenter> mPresenter;
};
