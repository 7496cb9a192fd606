// The text entry over a control: the edit control it is, what it lets
// through, and when its text reaches the parameter (the tick after Return)
// or does not (a click, a lost focus, a closed window).
#include "tests/editor/win/WinTestHost.h"

namespace {

struct TextEntry : WinEditorFixture {
    TextEntry() { EXPECT_TRUE(surface->OpenEditorWindow(host)); }

    // Opens an entry for the probe bound to param; the entry window.
    HWND Prompt(int param)
    {
        probe->mParamIdx = param;
        probe->PromptForValue({10, 10, 60, 40});
        return surface->EntryWindow();
    }
    std::string Text(HWND entry)
    {
        char text[64] = {};
        GetWindowTextA(entry, text, sizeof(text));
        return text;
    }
    // Opens an entry holding text for param, presses Return and waits
    // for the tick that applies it; the parameter's plain value.
    double Commit(int param, const char* text)
    {
        probe->mParamIdx = param;
        surface->OpenTextEntry(probe, probe->mStyle, probe->GetBounds(), text, plug.GetParam(param));
        HWND entry = surface->EntryWindow();
        SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_TRUE(PumpUntil([&] { return surface->EntryWindow() == nullptr; })) << text;
        return plug.GetParam(param)->Value();
    }
};

TEST_F(TextEntry, IsAnEditControlOverTheControlWithTheCurrentValueSelected)
{
    probe->mEntryMaxChars = 12;
    HWND entry = Prompt(kTestLevel);
    ASSERT_NE(entry, nullptr);
    char name[16] = {};
    GetClassNameA(entry, name, sizeof(name));
    EXPECT_STRCASEEQ(name, "EDIT");
    EXPECT_EQ(GetParent(entry), surface->Window());
    EXPECT_EQ(GetDlgCtrlID(entry), 99);
    EXPECT_EQ(Text(entry), "5.00");
    DWORD from = 9, to = 9;
    SendMessageA(entry, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 4u);
    EXPECT_EQ(SendMessageA(entry, EM_GETLIMITTEXT, 0, 0), 12);
    EXPECT_EQ(GetFocus(), entry);
    EXPECT_EQ(surface->GetEntryState(), IEditorSurfaceWin::kEntryEditing);
    // A second prompt while one is open is ignored.
    probe->PromptForValue({0, 0, 5, 5});
    EXPECT_EQ(surface->EntryWindow(), entry);
}

TEST_F(TextEntry, ReturnCommitsAtTheNextTickNotBefore)
{
    HWND entry = Prompt(kTestLevel);
    SetWindowTextA(entry, "7.25");
    SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(surface->GetEntryState(), IEditorSurfaceWin::kEntryCommit);
    EXPECT_EQ(plug.GetParam(kTestLevel)->Value(), 5.0);
    ASSERT_TRUE(PumpUntil([&] { return surface->EntryWindow() == nullptr; }));
    EXPECT_FALSE(IsWindow(entry));
    EXPECT_DOUBLE_EQ(plug.GetParam(kTestLevel)->Value(), 7.25);
    EXPECT_EQ(GetFocus(), surface->Window());
}

TEST_F(TextEntry, LetsThroughOnlyWhatTheParameterKindCanRead)
{
    HWND entry = Prompt(kTestOffset);
    for (char c : {'1', '.', '5', 'x', '\r'})
        SendMessageA(entry, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(Text(entry), "15");
    SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpUntil([&] { return surface->EntryWindow() == nullptr; }));
    EXPECT_EQ(plug.GetParam(kTestOffset)->Value(), -15.0);  // shown negated

    entry = Prompt(kTestLevel);
    for (char c : {'-', '2', '.', '5', 'e', '\b', '5'})
        SendMessageA(entry, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(Text(entry), "-2.5");
    surface->CancelTextEntry();
}

TEST_F(TextEntry, TextsThatAreNoValueApplyZeroAndNothingOutsideTheRange)
{
    EXPECT_EQ(Commit(kTestLevel, "abc"), 0.0);
    EXPECT_EQ(Commit(kTestLevel, "1e9"), 10.0);
    EXPECT_EQ(Commit(kTestLevel, "  3.5volts"), 3.5);
    EXPECT_EQ(Commit(kTestLevel, "nan"), 3.5);
    EXPECT_EQ(Commit(kTestLevel, "-inf"), 3.5);
    EXPECT_EQ(Commit(kTestMode, "Hard"), 2.0);
    EXPECT_EQ(Commit(kTestMode, "Nope"), 0.0);
}

TEST_F(TextEntry, AClickOnTheEditorOrALostFocusCancels)
{
    HWND entry = Prompt(kTestLevel);
    SetWindowTextA(entry, "9");
    TakeLog();
    Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    EXPECT_EQ(surface->GetEntryState(), IEditorSurfaceWin::kEntryCancel);
    ASSERT_TRUE(PumpUntil([&] { return surface->EntryWindow() == nullptr; }));
    EXPECT_EQ(plug.GetParam(kTestLevel)->Value(), 5.0);
    EXPECT_EQ(TakeLog(), std::vector<std::string>{});  // the click was not a press

    entry = Prompt(kTestLevel);
    SetWindowTextA(entry, "9");
    SetFocus(host);
    EXPECT_EQ(surface->GetEntryState(), IEditorSurfaceWin::kEntryCancel);
    ASSERT_TRUE(PumpUntil([&] { return surface->EntryWindow() == nullptr; }));
    EXPECT_EQ(plug.GetParam(kTestLevel)->Value(), 5.0);
}

TEST_F(TextEntry, TakesItsColoursFromTheControlsStyle)
{
    probe->mStyle.entryBackground = {255, 10, 20, 30};
    probe->mStyle.entryForeground = {255, 200, 100, 50};
    HWND entry = Prompt(kTestLevel);
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush = SendMessageA(surface->Window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH)));
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(GetTextColor(dc), RGB(200, 100, 50));
    EXPECT_EQ(GetDCBrushColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    DeleteDC(dc);
}

// Records the text of an entry opened without a parameter.
struct TextTaker : IControl {
    TextTaker(IFxBase* plug) : IControl(plug, {70, 10, 150, 30}) {}
    bool Paint(IEditorSurface*) override { return true; }
    void SetTextFromEntry(const char* text) override { taken = text; }
    std::string taken = "(none)";
};

TEST_F(TextEntry, WithoutAParameterTheTextGoesToTheControl)
{
    auto* taker = new TextTaker(&plug);
    surface->AddControl(taker);
    surface->OpenTextEntry(taker, taker->mStyle, taker->GetBounds(), "name", nullptr);
    HWND entry = surface->EntryWindow();
    ASSERT_NE(entry, nullptr);
    MSG returnKey{entry, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(SendMessageA(entry, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&returnKey)) &
                DLGC_WANTALLKEYS);
    SendMessageA(entry, WM_CHAR, '!', 0);
    SetWindowTextA(entry, "a longer name than the thirty-one characters read");
    SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpUntil([&] { return surface->EntryWindow() == nullptr; }));
    EXPECT_EQ(taker->taken, "a longer name than the thirty-o");
}

// Opens a text entry for its parameter when pressed, as value readouts do.
struct PromptOnPress : ProbeControl {
    using ProbeControl::ProbeControl;
    void MouseDown(int x, int y, const IMouseState& mouse) override
    {
        ProbeControl::MouseDown(x, y, mouse);
        PromptForValue(GetBounds());
    }
};

TEST_F(TextEntry, ThePressThatOpensAnEntryEndsWithItsReleaseAndFreesTheMouse)
{
    auto* readout = new PromptOnPress(&plug.log, "readout", &plug, {100, 50, 180, 70}, kTestLevel);
    surface->AddControl(readout);
    Mouse(WM_LBUTTONDOWN, 120, 60, MK_LBUTTON);
    HWND entry = surface->EntryWindow();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(surface->GetEntryState(), IEditorSurfaceWin::kEntryEditing);
    Mouse(WM_LBUTTONUP, 120, 60);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(TakeLog(), (std::vector<std::string>{"begin 0", "readout down 120,60", "readout up 120,60", "end 0"}));
    // The entry is still being edited and takes the next click itself.
    EXPECT_EQ(surface->GetEntryState(), IEditorSurfaceWin::kEntryEditing);
    SendMessageA(entry, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(entry, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    PumpFor(60);
    EXPECT_EQ(surface->EntryWindow(), entry);
}

TEST_F(TextEntry, ResizingTheEditorDropsTheEntryWithTheControls)
{
    HWND entry = Prompt(kTestLevel);
    SetWindowTextA(entry, "9");
    SendMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
    surface->ResizeEditor(240, 120);
    probe = nullptr;  // destroyed by the resize
    EXPECT_FALSE(IsWindow(entry));
    EXPECT_EQ(surface->EntryWindow(), nullptr);
    PumpFor(60);
    EXPECT_EQ(plug.GetParam(kTestLevel)->Value(), 5.0);
}

TEST_F(TextEntry, AHostThatDestroysItsWindowTakesTheEntryAlong)
{
    HWND entry = Prompt(kTestLevel);
    ASSERT_NE(entry, nullptr);
    DestroyWindow(host);
    host = CreateHostWindow();
    EXPECT_FALSE(IsWindow(entry));
    EXPECT_EQ(surface->EntryWindow(), nullptr);
    EXPECT_EQ(surface->EntryControl(), nullptr);
    PumpFor(60);
    EXPECT_EQ(plug.GetParam(kTestLevel)->Value(), 5.0);
}

} // namespace
