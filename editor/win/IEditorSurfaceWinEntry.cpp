// The one-line text entry: a system edit control over a control, whose
// procedure is replaced to track focus, Return and the characters a
// parameter accepts. The editor window's timer applies or drops the text at
// the next tick, never the entry's own procedure.
#include "editor/win/IEditorSurfaceWin.h"

#include <cstring>

namespace {

// The edit control's own procedure is also kept on the window itself, so a
// message that arrives after the surface let go still reaches it.
constexpr const char* kOldProcProperty = "IFxEntryOldProc";

// At most this many characters of an entry are read when it is applied.
constexpr int kEntryReadChars = 31;

//------------------------------------------------------------------------
COLORREF ColourRef(const IRgba& c)
{
    auto channel = [](int32_t v) { return static_cast<BYTE>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return RGB(channel(c.R), channel(c.G), channel(c.B));
}

//------------------------------------------------------------------------
DWORD AlignmentStyle(int align)
{
    switch (align) {
    case 1: return ES_CENTER;
    case 2: return ES_RIGHT;
    default: return ES_LEFT;
    }
}

} // namespace

//------------------------------------------------------------------------
void IEditorSurfaceWin::OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& bounds,
                                      const char* text, IFxParam* param)
{
    if (control == nullptr || mEntryWindow != nullptr || mWindow == nullptr)
        return;
    const DWORD windowStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | AlignmentStyle(style.align);
    HWND entry = CreateWindowExA(0, "EDIT", text != nullptr ? text : "", windowStyle, bounds.left, bounds.top,
                                 bounds.W() + 1, bounds.H() + 1, mWindow,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEntryChildId)), mModuleInstance,
                                 nullptr);
    if (entry == nullptr)
        return;

    mEntryFont = CreateFontA(style.size, 0, 0, 0, style.style == 1 ? FW_BOLD : FW_DONTCARE, style.style == 2, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, style.name);
    if (mEntryFont != nullptr)
        SendMessageA(entry, WM_SETFONT, reinterpret_cast<WPARAM>(mEntryFont), FALSE);
    SendMessageA(entry, EM_SETSEL, 0, -1);
    SendMessageA(entry, EM_LIMITTEXT, static_cast<WPARAM>(control->mEntryMaxChars > 0 ? control->mEntryMaxChars : 0),
                 0);

    mEntryWindow = entry;
    mEntryControl = control;
    mEntryParam = param;
    mEntryState = kEntryIdle;
    SetWindowLongPtrA(entry, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    mEntryOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IEditorSurfaceWin::EntryProc)));
    SetPropA(entry, kOldProcProperty, reinterpret_cast<HANDLE>(mEntryOldProc));
    // The procedure is in place before the focus moves, so the entry starts
    // in the editing state.
    SetFocus(entry);
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::CancelTextEntry()
{
    if (mEntryWindow != nullptr)
        mEntryState = kEntryCancel;
}

//------------------------------------------------------------------------
LRESULT CALLBACK IEditorSurfaceWin::EntryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* surface = reinterpret_cast<IEditorSurfaceWin*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (surface != nullptr && surface->mEntryWindow == hwnd)
        return surface->HandleEntryMessage(hwnd, msg, wParam, lParam);
    auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOldProcProperty));
    return old != nullptr ? CallWindowProcA(old, hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

//------------------------------------------------------------------------
LRESULT IEditorSurfaceWin::HandleEntryMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = mEntryOldProc;
    switch (msg) {
    case WM_SETFOCUS:
        mEntryState = kEntryEditing;
        break;
    case WM_KILLFOCUS:
        mEntryState = kEntryCancel;
        break;
    case WM_GETDLGCODE:
        if (mEntryParam == nullptr) {
            LRESULT code = CallWindowProcA(old, hwnd, msg, wParam, lParam);
            const auto* query = reinterpret_cast<const MSG*>(lParam);
            if (query != nullptr && query->message == WM_KEYDOWN && wParam == VK_RETURN)
                code |= DLGC_WANTALLKEYS;
            return code;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            mEntryState = kEntryCommit;
            return 0;
        }
        break;
    case WM_CHAR:
        // The entry holds one line: Return commits instead of breaking it.
        if (wParam == '\r' || wParam == '\n')
            return 0;
        if (!EntryAcceptsChar(mEntryParam, static_cast<int>(wParam)))
            return 0;
        break;
    case WM_COMMAND:
        if (HIWORD(wParam) == 1) {
            mEntryState = kEntryCommit;
            return 0;
        }
        break;
    case WM_NCDESTROY: {
        // Destroyed with the editor window (the host closed its window
        // first): forget the entry and let the edit control finish.
        HFONT font = mEntryFont;
        mEntryFont = nullptr;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        RemovePropA(hwnd, kOldProcProperty);
        mEntryWindow = nullptr;
        mEntryControl = nullptr;
        mEntryParam = nullptr;
        mEntryOldProc = nullptr;
        mEntryState = kEntryIdle;
        const LRESULT result = CallWindowProcA(old, hwnd, msg, wParam, lParam);
        if (font != nullptr)
            DeleteObject(font);
        return result;
    }
    default:
        break;
    }
    return CallWindowProcA(old, hwnd, msg, wParam, lParam);
}

//------------------------------------------------------------------------
LRESULT IEditorSurfaceWin::OnEntryColour(HDC dc)
{
    const ITextStyle& style = mEntryControl != nullptr ? mEntryControl->mStyle : ITextStyle{};
    const COLORREF background = ColourRef(style.entryBackground);
    SetBkColor(dc, background);
    SetTextColor(dc, ColourRef(style.entryForeground));
    SetBkMode(dc, OPAQUE);
    SetDCBrushColor(dc, background);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::CloseTextEntry(bool apply)
{
    HWND entry = mEntryWindow;
    if (entry == nullptr)
        return;
    char text[kEntryReadChars + 1] = {};
    if (apply) {
        GetWindowTextA(entry, text, static_cast<int>(sizeof(text)));
        text[std::strcspn(text, "\r\n")] = '\0';
    }
    IControl* control = mEntryControl;
    IFxParam* param = mEntryParam;
    HFONT font = mEntryFont;

    SetWindowLongPtrA(entry, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mEntryOldProc));
    SetWindowLongPtrA(entry, GWLP_USERDATA, 0);
    RemovePropA(entry, kOldProcProperty);
    mEntryWindow = nullptr;
    mEntryControl = nullptr;
    mEntryParam = nullptr;
    mEntryOldProc = nullptr;
    mEntryFont = nullptr;
    mEntryState = kEntryIdle;
    // Keys keep reaching the editor when the entry had them.
    if (GetFocus() == entry && mWindow != nullptr)
        SetFocus(mWindow);
    DestroyWindow(entry);
    if (font != nullptr)
        DeleteObject(font);

    if (apply)
        ApplyTextEntry(control, param, text);
}
