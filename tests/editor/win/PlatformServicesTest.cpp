// What the surface asks of the system besides its window: folders, bitmap
// resources, web addresses and the colour chooser.
#include "editor/win/WebAddress.h"
#include "tests/editor/win/WinTestHost.h"

namespace {

using PlatformServices = WinEditorFixture;

TEST_F(PlatformServices, FoldersEndWithABackslash)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string module, program, desktop;
    surface->GetModuleFolder(module);
    surface->GetHostExecutableFolder(program);
    surface->GetDesktopFolder(desktop);
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(module.back(), '\\');
    EXPECT_EQ(std::string(exe).rfind(module, 0), 0u);  // the test program is the module
    EXPECT_EQ(std::string(exe).find('\\', module.size()), std::string::npos);
    EXPECT_EQ(program, module);
    ASSERT_FALSE(desktop.empty());
    EXPECT_EQ(desktop.back(), '\\');
    EXPECT_LE(desktop.size(), 255u);
}

TEST_F(PlatformServices, BitmapsComeFromTheModulesPngResources)
{
    RasterBitmap* png = surface->LoadPlatformBitmap(201, "background.PNG");
    ASSERT_NE(png, nullptr);
    EXPECT_GT(png->GetWidth(), 0);
    delete png;
    EXPECT_EQ(surface->LoadPlatformBitmap(201, "background.bmp"), nullptr);
    EXPECT_EQ(surface->LoadPlatformBitmap(201, "png"), nullptr);
    EXPECT_EQ(surface->LoadPlatformBitmap(999, "missing.png"), nullptr);
    const IBitmapStrip strip = surface->LoadStrip(998, "missing.png", 3, false);
    EXPECT_EQ(strip.bitmap, nullptr);
    EXPECT_EQ(strip.width, 0);
}

TEST(WebAddress, OnlyWebAndMailAddressesAreOpened)
{
    for (const char* url : {"http://example.org/guide.pdf", "HTTPS://example.org", "mailto:someone@example.org"})
        EXPECT_TRUE(IsOpenableWebAddress(url)) << url;
    for (const char* url : {"", "https://", "file:///c:/windows/system32/calc.exe", "c:\\tools\\run.bat",
                            "javascript:alert(1)", "http://a b", "http://x\"&calc", "http://x\n", "ftp://x"})
        EXPECT_FALSE(IsOpenableWebAddress(url)) << url;
    EXPECT_FALSE(IsOpenableWebAddress(nullptr));
}

TEST_F(PlatformServices, OtherAddressesAreRefusedWithoutAsking)
{
    EXPECT_FALSE(surface->OpenWebAddress("file:///c:/windows/notepad.exe", "Guide", nullptr, nullptr));
    EXPECT_FALSE(surface->OpenWebAddress(nullptr, nullptr, nullptr, nullptr));
}

// Presses OK in the dialog titled with the test's prompt once it shows.
void CALLBACK PressOkInColourDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA(nullptr, "Pick the test colour");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(PlatformServices, ColourChooserNeedsAWindowAndTakesThePrompt)
{
    IRgba colour{128, 10, 200, 30};
    EXPECT_FALSE(surface->AskForColour(colour, "Pick the test colour"));
    std::string name = "kept.txt", folder;
    surface->AskForFile(name, kFileOpen, folder, "txt");
    EXPECT_EQ(name, "");

    ASSERT_TRUE(surface->OpenEditorWindow(host));
    SetTimer(nullptr, 0, 50, PressOkInColourDialog);
    EXPECT_TRUE(surface->AskForColour(colour, "Pick the test colour"));
    EXPECT_EQ(colour.A, 128);
    EXPECT_EQ(colour.R, 10);
    EXPECT_EQ(colour.G, 200);
    EXPECT_EQ(colour.B, 30);
}

// Answers the message box captioned "Tarvo test" with OK once it shows,
// noting which window owns it.
HWND gBoxOwner = nullptr;

void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowA("#32770", "Tarvo test");
    if (box == nullptr)
        return;
    KillTimer(nullptr, timer);
    gBoxOwner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(PlatformServices, MessageBoxesBelongToTheHostsTopLevelWindow)
{
    HWND frame = CreateHostWindow(300, 200, host);
    ASSERT_TRUE(surface->OpenEditorWindow(frame));
    SetTimer(nullptr, 0, 50, AnswerMessageBox);
    EXPECT_EQ(surface->ShowMessage("Hello", "Tarvo test", kMessageOkCancel), kAnswerOk);
    EXPECT_EQ(gBoxOwner, host);

    // With the editor's parent gone, the top-level window is found again by
    // its class among this process's windows.
    DestroyWindow(frame);
    HWND before = host;
    host = CreateHostWindow();
    DestroyWindow(before);
    gBoxOwner = nullptr;
    SetTimer(nullptr, 0, 50, AnswerMessageBox);
    EXPECT_EQ(surface->ShowMessage("Again", "Tarvo test", kMessageOk), kAnswerOk);
    EXPECT_EQ(gBoxOwner, host);
}

// Wine moves the pointer on the X server asynchronously: a move is waited
// for until the system reports it, so no late motion event of an earlier
// move can overwrite the position the test relies on.
void MovePointer(int x, int y)
{
    SetCursorPos(x, y);
    POINT p{};
    PumpUntil([&] { return GetCursorPos(&p) && p.x == x && p.y == y; }, 1000);
}

TEST_F(PlatformServices, AHiddenPointerComesBackWhereItWasHidden)
{
    MovePointer(120, 90);
    surface->HideCursor();
    MovePointer(300, 250);
    surface->HideCursor();  // already hidden: the first place is kept
    MovePointer(500, 400);
    surface->RestoreCursor();
    POINT p{};
    PumpUntil([&] { return GetCursorPos(&p) && p.x == 120 && p.y == 90; }, 1000);
    EXPECT_EQ(p.x, 120);
    EXPECT_EQ(p.y, 90);
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    GetCursorInfo(&info);
    EXPECT_TRUE(info.flags & CURSOR_SHOWING);
    SetCursorPos(1000, 700);
}

} // namespace
