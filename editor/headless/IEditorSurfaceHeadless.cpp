#include "editor/headless/IEditorSurfaceHeadless.h"

//------------------------------------------------------------------------
bool IEditorSurfaceHeadless::PresentBounds(const IBounds& bounds)
{
    presented.push_back(bounds);
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceHeadless::CancelTextEntry()
{
    mEntryOpen = false;
}

//------------------------------------------------------------------------
int IEditorSurfaceHeadless::ShowMessage(const char* text, const char*, int)
{
    messages.emplace_back(text != nullptr ? text : "");
    return mMessageAnswer;
}

//------------------------------------------------------------------------
IMenuModel* IEditorSurfaceHeadless::ShowPopupMenu(IMenuModel* menu, const IBounds& bounds)
{
    DropMouseCapture();
    const int answer = mMenuAnswer;
    mMenuAnswer = -1;
    if (menu == nullptr)
        return nullptr;
    ShownMenu shown;
    shown.bounds = bounds;
    shown.prefixStyle = menu->PrefixStyle();
    for (int i = 0; i < menu->NItems(); ++i) {
        shown.texts.push_back(menu->DisplayText(i));
        shown.flags.push_back(menu->GetItem(i)->flags);
    }
    menus.push_back(std::move(shown));
    return answer >= 0 ? menu->ChooseById(answer) : nullptr;
}

//------------------------------------------------------------------------
void IEditorSurfaceHeadless::OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& bounds,
                                           const char* text, IFxParam* param)
{
    if (control == nullptr || mEntryOpen)
        return;
    TextEntry entry;
    entry.control = control;
    entry.style = style;
    entry.bounds = bounds;
    entry.text = text != nullptr ? text : "";
    entry.param = param;
    entries.push_back(std::move(entry));
    mEntryOpen = true;
}

//------------------------------------------------------------------------
bool IEditorSurfaceHeadless::CommitTextEntry(const char* text)
{
    if (!mEntryOpen || entries.empty())
        return false;
    mEntryOpen = false;
    const TextEntry& entry = entries.back();
    ApplyTextEntry(entry.control, entry.param, text);
    return true;
}

//------------------------------------------------------------------------
bool IEditorSurfaceHeadless::OpenWebAddress(const char* url, const char* caption, const char* confirm,
                                            const char* failure)
{
    auto str = [](const char* s) { return std::string(s != nullptr ? s : ""); };
    webRequests.push_back({str(url), str(caption), str(confirm), str(failure)});
    if (confirm != nullptr && ShowMessage(confirm, caption, kMessageYesNo) != kAnswerYes)
        return false;
    if (!mWebAnswer && failure != nullptr)
        ShowMessage(failure, caption, kMessageOk);
    return mWebAnswer;
}

//------------------------------------------------------------------------
bool IEditorSurfaceHeadless::OpenEditorWindow(void* parent)
{
    parentWindow = parent;
    mWindowOpen = true;
    ++windowOpens;
    MarkAllControlsDirty();
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceHeadless::CloseEditorWindow()
{
    mWindowOpen = false;
    mEntryOpen = false;
}

//------------------------------------------------------------------------
void IEditorSurfaceHeadless::HideCursor()
{
    if (mCursorHidden)
        return;
    mCursorHidden = true;
    ++cursorHides;
}

//------------------------------------------------------------------------
void IEditorSurfaceHeadless::RestoreCursor()
{
    if (!mCursorHidden)
        return;
    mCursorHidden = false;
    ++cursorRestores;
}

//------------------------------------------------------------------------
RasterBitmap* IEditorSurfaceHeadless::LoadPlatformBitmap(int resourceId, const char* fileName)
{
    bitmapRequests.push_back(resourceId);
    return IEditorSurface::LoadPlatformBitmap(resourceId, fileName);
}
