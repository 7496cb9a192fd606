#pragma once
// An editor surface without a window, for tests and tools. Platform
// operations record what was asked of them, and the answers a user would
// give (a menu choice, a committed text, a confirmation) are set
// beforehand or supplied afterwards by the caller. "Opening" its window
// just records the parent and marks every control dirty; TickAndRedraw
// runs one draw-cycle step, and the back buffer holds the result.
#include "editor/IEditorSurface.h"

#include <string>
#include <vector>

class IEditorSurfaceHeadless : public IEditorSurface {
public:
    // A text entry the surface was asked to open.
    struct TextEntry {
        IControl* control = nullptr;
        ITextStyle style;
        IBounds bounds;
        std::string text;
        IFxParam* param = nullptr;
    };
    // A popup menu the surface was asked to show, as it looked then.
    struct ShownMenu {
        IBounds bounds;
        int prefixStyle = 0;
        std::vector<std::string> texts;  // display texts, prefix included
        std::vector<int> flags;
    };
    // A web address the surface was asked to open.
    struct WebRequest {
        std::string url, caption, confirm, failure;
    };

    IEditorSurfaceHeadless(IFxBase* plug, int width, int height, int refreshRate = 30)
        : IEditorSurface(plug, width, height, refreshRate) {}

    // --- Platform operations ------------------------------------------------
    bool PresentBounds(const IBounds& bounds) override;
    void CancelTextEntry() override;
    int ShowMessage(const char* text, const char* caption, int type) override;
    // Records the menu, then answers with the id set by AnswerNextMenu (the
    // running id over the menu tree; -1 dismisses it).
    IMenuModel* ShowPopupMenu(IMenuModel* menu, const IBounds& bounds) override;
    // Records the entry; it stays open until CommitTextEntry or CancelTextEntry.
    void OpenTextEntry(IControl* control, const ITextStyle& style, const IBounds& bounds, const char* text,
                       IFxParam* param) override;
    bool OpenWebAddress(const char* url, const char* caption, const char* confirm, const char* failure) override;
    bool OpenEditorWindow(void* parent) override;
    void CloseEditorWindow() override;
    void* GetWindowHandle() override { return mWindowOpen ? this : nullptr; }
    void HideCursor() override;
    void RestoreCursor() override;
    RasterBitmap* LoadPlatformBitmap(int resourceId, const char* fileName) override;

    // --- Answers --------------------------------------------------------------
    // The id the next popup menu is answered with (-1: dismissed). Used once.
    void AnswerNextMenu(int id) { mMenuAnswer = id; }
    // What ShowMessage returns from now on.
    void SetMessageAnswer(int answer) { mMessageAnswer = answer; }
    // What OpenWebAddress returns from now on.
    void SetWebAnswer(bool opened) { mWebAnswer = opened; }
    // Commits the open text entry with text, as a user pressing Return would
    // (through ApplyTextEntry). False when no entry is open.
    bool CommitTextEntry(const char* text);
    bool IsTextEntryOpen() const { return mEntryOpen; }

    // --- Records --------------------------------------------------------------
    std::vector<IBounds> presented;
    std::vector<TextEntry> entries;   // every entry opened, the last one current
    std::vector<ShownMenu> menus;
    std::vector<WebRequest> webRequests;
    std::vector<std::string> messages;
    std::vector<int> bitmapRequests;  // resource ids passed to LoadPlatformBitmap
    void* parentWindow = nullptr;
    int windowOpens = 0;
    int cursorHides = 0;
    int cursorRestores = 0;

private:
    bool mWindowOpen = false;
    bool mEntryOpen = false;
    int mMenuAnswer = -1;
    int mMessageAnswer = kAnswerOk;
    bool mWebAnswer = true;
};
