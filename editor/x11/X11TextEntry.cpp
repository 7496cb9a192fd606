// The editor-drawn text entry window.
#include "editor/x11/X11TextEntry.h"

#include "editor/x11/X11KeyMap.h"
#include "editor/x11/X11Text.h"
#include "raster/RasterBlit.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kMargin = 2;
constexpr uint32_t kSelectionColour = 0xff3399ffu;
constexpr uint32_t kSelectedText = 0xffffffffu;
} // namespace

//------------------------------------------------------------------------
X11TextEntry::X11TextEntry(X11Display& display, xcb_window_t parent, const ITextStyle& style, const IBounds& bounds,
                           const char* text, int maxChars, TextEntryLine::Filter filter)
    : mDisplay(display)
    , mStyle(style)
    , mWidth(std::max(1, bounds.right - bounds.left + 1))
    , mHeight(std::max(1, bounds.bottom - bounds.top + 1))
    , mLine(text != nullptr ? text : "", maxChars, std::move(filter))
    , mPixels(mWidth, mHeight)
{
    // The font's own colour and weight come from the style; the entry's
    // colours replace the text colour when drawing.
    mStyle.font = nullptr;
    xcb_connection_t* c = mDisplay.Connection();
    mWindow = xcb_generate_id(c);
    uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0,
                         XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
                             XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_FOCUS_CHANGE,
                         mDisplay.Screen()->default_colormap};
    xcb_create_window(c, mDisplay.Format().depth, mWindow, parent, static_cast<int16_t>(bounds.left),
                      static_cast<int16_t>(bounds.top), static_cast<uint16_t>(mWidth), static_cast<uint16_t>(mHeight), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, mDisplay.Visual(),
                      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    mPresenter = std::make_unique<X11Presenter>(mDisplay, mWindow, mWidth, mHeight, false);
    xcb_map_window(c, mWindow);
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, mWindow, XCB_CURRENT_TIME);
    Draw();
}

//------------------------------------------------------------------------
X11TextEntry::~X11TextEntry()
{
    mPresenter.reset();
    xcb_destroy_window(mDisplay.Connection(), mWindow);
    xcb_flush(mDisplay.Connection());
}

//------------------------------------------------------------------------
X11TextEntry::KeyResult X11TextEntry::OnKey(uint32_t keysym, uint16_t state)
{
    const bool shift = (state & XCB_MOD_MASK_SHIFT) != 0;
    const bool control = (state & XCB_MOD_MASK_CONTROL) != 0;
    switch (keysym) {
    case kXkReturn:
    case kXkKpEnter:
        return kKeyCommit;
    case kXkLeft:
    case kXkKpLeft:
        mLine.MoveLeft(shift);
        break;
    case kXkRight:
    case kXkKpRight:
        mLine.MoveRight(shift);
        break;
    case kXkHome:
        mLine.MoveHome(shift);
        break;
    case kXkEnd:
        mLine.MoveEnd(shift);
        break;
    case kXkDelete:
        mLine.DeleteForward();
        break;
    default:
        if (control && (keysym == 'a' || keysym == 'A')) {
            mLine.SelectAll();
            break;
        }
        if (control)
            return kKeyIgnored;
        int c = X11EntryCharacter(keysym);
        if (c < 0 || !mLine.Type(c))
            return kKeyIgnored;
        break;
    }
    Draw();
    return kKeyTaken;
}

//------------------------------------------------------------------------
int X11TextEntry::TextLeft()
{
    const std::string& t = mLine.Text();
    int width = X11TextWidth(mStyle, t.c_str(), static_cast<int>(t.size()));
    if (mStyle.align == 1)
        return (mWidth - width) / 2;
    if (mStyle.align == 2)
        return mWidth - kMargin - width;
    return kMargin;
}

//------------------------------------------------------------------------
void X11TextEntry::OnPress(int x)
{
    const std::string& t = mLine.Text();
    int left = TextLeft();
    int best = 0, bestDistance = std::abs(x - left);
    for (int i = 1; i <= static_cast<int>(t.size()); ++i) {
        int d = std::abs(x - (left + X11TextWidth(mStyle, t.c_str(), i)));
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    mLine.MoveHome(false);
    for (int i = 0; i < best; ++i)
        mLine.MoveRight(false);
    Draw();
}

//------------------------------------------------------------------------
void X11TextEntry::Draw()
{
    if (mPixels.GetBits() == nullptr)
        return;
    const IRgba& bg = mStyle.entryBackground;
    const IRgba& fg = mStyle.entryForeground;
    const uint32_t background = 0xff000000u | (bg.Packed() & 0xffffffu);
    const uint32_t foreground = 0xff000000u | (fg.Packed() & 0xffffffu);
    RasterFillRect(&mPixels, 0, 0, mWidth, mHeight, background, 1.0f, 0);
    const std::string& t = mLine.Text();
    const int left = TextLeft();
    const int lineHeight = X11LineHeight(mStyle);
    const int top = kMargin / 2;
    X11DrawText(mPixels, mStyle, t.c_str(), static_cast<int>(t.size()), left, top, foreground);
    if (mLine.HasSelection()) {
        int s = left + X11TextWidth(mStyle, t.c_str(), mLine.SelectionStart());
        int e = left + X11TextWidth(mStyle, t.c_str(), mLine.SelectionEnd());
        RasterFillRect(&mPixels, s, top, e - s, lineHeight, kSelectionColour, 1.0f, 0);
        // The selected part again, on top of the highlight.
        RasterRect clip{s, top, e, top + lineHeight};
        RasterMemBitmap piece(mWidth, mHeight);
        RasterBlit(&piece, &mPixels, 0, 0, nullptr, 1.0f, 0);
        X11DrawText(piece, mStyle, t.c_str(), static_cast<int>(t.size()), left, top, kSelectedText);
        RasterBlit(&mPixels, &piece, s, top, &clip, 1.0f, 0);
    } else {
        int x = left + X11TextWidth(mStyle, t.c_str(), mLine.Caret());
        RasterFillRect(&mPixels, x, top, 1, lineHeight, foreground, 1.0f, 0);
    }
    mPresenter->Present(mPixels, 0, 0, mWidth, mHeight);
}
