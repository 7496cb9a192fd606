// What the editor asks of the system besides its window: message boxes,
// popup menus, the colour chooser, file dialogs, web addresses and folders.
#include "editor/win/IEditorSurfaceWin.h"

#include "editor/win/WebAddress.h"
#include "editor/win/WinPopupMenu.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr int kClassNameChars = 128;
constexpr int kPathChars = 256;

//------------------------------------------------------------------------
// Everything up to and including the last backslash; empty without one.
void FolderOf(const char* path, std::string& out)
{
    const char* slash = std::strrchr(path, '\\');
    out.assign(path, slash != nullptr ? static_cast<std::size_t>(slash - path + 1) : 0);
}

//------------------------------------------------------------------------
void ModuleFolder(HMODULE module, std::string& out)
{
    char path[kPathChars + 1] = {};
    const DWORD n = GetModuleFileNameA(module, path, kPathChars);
    path[n < kPathChars ? n : kPathChars] = '\0';
    FolderOf(path, out);
}

//------------------------------------------------------------------------
// Titles the colour chooser with the prompt passed in its custom data.
UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
        if (choose != nullptr && choose->lCustData != 0)
            SetWindowTextA(dialog, reinterpret_cast<const char*>(choose->lCustData));
    }
    return 0;
}

// What EnumWindows looks for: a top-level window of this process with the
// remembered class name.
struct MainWindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

//------------------------------------------------------------------------
BOOL CALLBACK MatchMainWindow(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<MainWindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->processId)
        return TRUE;
    char name[kClassNameChars + 1] = {};
    GetClassNameA(hwnd, name, kClassNameChars + 1);
    if (std::strcmp(name, search->className) != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

} // namespace

//------------------------------------------------------------------------
HWND IEditorSurfaceWin::MainWindow()
{
    // A cached window the host has since closed is looked for again.
    if (mMainWindow != nullptr && IsWindow(mMainWindow))
        return mMainWindow;
    mMainWindow = nullptr;
    if (mParentWindow != nullptr && IsWindow(mParentWindow)) {
        mMainWindow = GetAncestor(mParentWindow, GA_ROOT);
        char name[kClassNameChars + 1] = {};
        if (mMainWindow != nullptr && GetClassNameA(mMainWindow, name, kClassNameChars + 1) > 0)
            mMainWindowClass = name;
        return mMainWindow;
    }
    if (!mMainWindowClass.empty()) {
        mProcessId = GetCurrentProcessId();
        MainWindowSearch search{mProcessId, mMainWindowClass.c_str(), nullptr};
        EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        mProcessId = 0;
        mMainWindow = search.found;
    }
    return mMainWindow;
}

//------------------------------------------------------------------------
int IEditorSurfaceWin::ShowMessage(const char* text, const char* caption, int type)
{
    return MessageBoxA(MainWindow(), text != nullptr ? text : "", caption != nullptr ? caption : "",
                       static_cast<UINT>(type));
}

//------------------------------------------------------------------------
IMenuModel* IEditorSurfaceWin::ShowPopupMenu(IMenuModel* menu, const IBounds& bounds)
{
    DropMouseCapture();
    if (menu == nullptr || mWindow == nullptr)
        return nullptr;
    HMENU systemMenu = BuildSystemPopupMenu(*menu);
    if (systemMenu == nullptr)
        return nullptr;
    POINT at{bounds.left, bounds.bottom};
    ClientToScreen(mWindow, &at);
    // The choice comes back as the return value: no command message is
    // left to fish out of the queue, and "nothing" is 0, an id no item has.
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        systemMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0,
        mWindow, nullptr));
    DestroyMenu(systemMenu);
    const int id = ModelIdFromSystemId(*menu, chosen);
    return id >= 0 ? menu->ChooseById(id) : nullptr;
}

//------------------------------------------------------------------------
bool IEditorSurfaceWin::AskForColour(IRgba& colour, const char* prompt)
{
    if (mWindow == nullptr)
        return false;
    if (mCustomColours == nullptr) {
        mCustomColours = new (std::nothrow) COLORREF[16]();
        if (mCustomColours == nullptr)
            return false;
    }
    auto channel = [](int32_t v) { return static_cast<BYTE>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = mWindow;
    choose.rgbResult = RGB(channel(colour.R), channel(colour.G), channel(colour.B));
    choose.lpCustColors = mCustomColours;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
    choose.lCustData = reinterpret_cast<LPARAM>(prompt);
    choose.lpfnHook = ColourDialogHook;
    if (!ChooseColorA(&choose))
        return false;
    colour.R = GetRValue(choose.rgbResult);
    colour.G = GetGValue(choose.rgbResult);
    colour.B = GetBValue(choose.rgbResult);
    return true;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::AskForFile(std::string& fileName, int action, std::string& folder, const char* extensions)
{
    if (mWindow == nullptr) {
        fileName.clear();
        return;
    }
    if (folder.empty())
        GetDesktopFolder(folder);

    // "png txt" gives the filter "*.png;*.txt" (as its own description) and
    // the default extension "png".
    std::string pattern;
    std::string defaultExtension;
    if (extensions != nullptr) {
        const char* p = extensions;
        while (*p != '\0') {
            while (*p == ' ')
                ++p;
            const char* end = p;
            while (*end != '\0' && *end != ' ')
                ++end;
            if (end > p) {
                if (defaultExtension.empty())
                    defaultExtension.assign(p, end);
                if (!pattern.empty())
                    pattern += ';';
                pattern += "*.";
                pattern.append(p, end);
            }
            p = end;
        }
    }
    std::string filter;
    if (!pattern.empty()) {
        filter = pattern;
        filter += '\0';
        filter += pattern;
        filter += '\0';
        filter += '\0';
    }

    char file[kPathChars] = {};
    std::strncpy(file, fileName.c_str(), kPathChars - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = mWindow;
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = kPathChars;
    dialog.lpstrInitialDir = folder.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    // The host's working folder is not the editor's to change.
    dialog.Flags = OFN_NOCHANGEDIR | (action == kFileSave ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST
                                                          : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    const BOOL ok = action == kFileSave ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    if (!ok)
        return;
    char drive[_MAX_DRIVE] = {};
    char directory[_MAX_DIR] = {};
    _splitpath(file, drive, directory, nullptr, nullptr);
    char joined[kPathChars + 1] = {};
    std::snprintf(joined, sizeof(joined), "%s%s", drive, directory);
    folder = joined;
    fileName = file;
}

//------------------------------------------------------------------------
bool IEditorSurfaceWin::OpenWebAddress(const char* url, const char* caption, const char* confirm,
                                       const char* failure)
{
    if (IsOpenableWebAddress(url)) {
        if (confirm != nullptr && ShowMessage(confirm, caption, MB_YESNO) != IDYES)
            return false;
        DWORD connection = 0;
        if (InternetGetConnectedState(&connection, 0) &&
            reinterpret_cast<INT_PTR>(ShellExecuteA(MainWindow(), "open", url, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
            return true;
    }
    if (failure != nullptr)
        ShowMessage(failure, caption, MB_OK);
    return false;
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::GetHostExecutableFolder(std::string& out)
{
    ModuleFolder(nullptr, out);
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::GetModuleFolder(std::string& out)
{
    ModuleFolder(mModuleInstance, out);
}

//------------------------------------------------------------------------
void IEditorSurfaceWin::GetDesktopFolder(std::string& out)
{
    char path[MAX_PATH + 1] = {};
    out.clear();
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path)))
        return;
    path[kPathChars - 2] = '\0';  // at most 255 characters with the backslash
    out = path;
    // Like the other folders, it ends with a backslash.
    if (!out.empty() && out.back() != '\\')
        out += '\\';
}
