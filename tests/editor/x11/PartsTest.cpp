// The window-free parts of the X11 editor: editing a text entry's line, key
// symbols to editor key codes, which addresses may be opened, folders.
#include "X11TestHost.h"

#include "editor/x11/TextEntryLine.h"
#include "editor/x11/X11Desktop.h"
#include "editor/x11/X11KeyMap.h"

#include <gtest/gtest.h>

namespace {

bool DigitsOnly(int c)
{
    return c == 8 || (c >= '0' && c <= '9');
}

TEST(TextEntryLine, StartsSelectedAndTypingReplacesTheSelection)
{
    TextEntryLine line("0.50", 21, nullptr);
    EXPECT_EQ(line.SelectionStart(), 0);
    EXPECT_EQ(line.SelectionEnd(), 4);
    EXPECT_TRUE(line.Type('7'));
    EXPECT_EQ(line.Text(), "7");
    EXPECT_FALSE(line.HasSelection());
    EXPECT_TRUE(line.Type(8));
    EXPECT_TRUE(line.Type(8));  // backspace on an empty text is harmless
    EXPECT_EQ(line.Text(), "");
}

TEST(TextEntryLine, FilterAndLengthLimitRefuseCharactersButKeepALongerInitialText)
{
    TextEntryLine line("123456", 4, DigitsOnly);
    EXPECT_EQ(line.Text(), "123456");  // only typing is limited
    line.MoveEnd(false);
    EXPECT_FALSE(line.Type('7'));
    EXPECT_TRUE(line.Type(8));
    EXPECT_TRUE(line.Type(8));
    EXPECT_TRUE(line.Type(8));
    EXPECT_TRUE(line.Type('9'));  // 4 characters now
    EXPECT_FALSE(line.Type('0'));
    EXPECT_FALSE(line.Type('x'));
    EXPECT_EQ(line.Text(), "1239");
    // A selection makes room: its characters go first.
    line.MoveLeft(true);
    EXPECT_TRUE(line.Type('5'));
    EXPECT_EQ(line.Text(), "1235");
    // Control characters never enter the text.
    EXPECT_FALSE(TextEntryLine("", 5, nullptr).Type('\n'));
}

TEST(TextEntryLine, CaretMovesAndSelectionExtendsAndCollapses)
{
    TextEntryLine line("abcd", 10, nullptr);
    line.MoveLeft(false);  // collapses to the start
    EXPECT_EQ(line.Caret(), 0);
    line.MoveRight(false);
    line.MoveRight(true);
    line.MoveRight(true);
    EXPECT_EQ(line.SelectionStart(), 1);
    EXPECT_EQ(line.SelectionEnd(), 3);
    line.DeleteForward();
    EXPECT_EQ(line.Text(), "ad");
    line.MoveHome(false);
    line.DeleteForward();
    EXPECT_EQ(line.Text(), "d");
    line.MoveEnd(false);
    line.DeleteForward();  // nothing after the caret
    EXPECT_EQ(line.Text(), "d");
    line.SelectAll();
    EXPECT_EQ(line.SelectionEnd() - line.SelectionStart(), 1);
}

TEST(X11KeyMap, KeySymbolsGiveTheEditorsKeyCodes)
{
    EXPECT_EQ(X11EditorKeyCode(' '), kKeySpace);
    EXPECT_EQ(X11EditorKeyCode(0xff52), kKeyUp);
    EXPECT_EQ(X11EditorKeyCode(0xff54), kKeyDown);
    EXPECT_EQ(X11EditorKeyCode(0xff51), kKeyLeft);
    EXPECT_EQ(X11EditorKeyCode(0xff53), kKeyRight);
    EXPECT_EQ(X11EditorKeyCode(0xff97), kKeyUp);  // keypad arrows without num lock
    EXPECT_EQ(X11EditorKeyCode('0'), kKeyDigit0);
    EXPECT_EQ(X11EditorKeyCode('9'), kKeyDigit0 + 9);
    EXPECT_EQ(X11EditorKeyCode('a'), kKeyA);
    EXPECT_EQ(X11EditorKeyCode('A'), kKeyA);
    EXPECT_EQ(X11EditorKeyCode('z'), kKeyZ);
    // Keypad 1..9 and the function keys carry the virtual keys 97..122,
    // which the editor reads as letters, as on its other platform.
    EXPECT_EQ(X11EditorKeyCode(0xffb1), kKeyA);       // keypad 1 (97)
    EXPECT_EQ(X11EditorKeyCode(0xffbe), kKeyA + 15);  // F1 (112), as 'P'
    EXPECT_EQ(X11EditorKeyCode(0xffc8), kKeyZ);       // F11 (122)
    EXPECT_EQ(X11EditorKeyCode(0xffb0), -1);          // keypad 0 (96)
    EXPECT_EQ(X11EditorKeyCode(0xffc9), -1);          // F12 (123)
    EXPECT_EQ(X11EditorKeyCode(0xff0d), -1);          // Return
    EXPECT_EQ(X11EditorKeyCode(0xff1b), -1);          // Escape
    EXPECT_EQ(X11EditorKeyCode(0xe9), -1);            // é
}

TEST(X11KeyMap, EntryCharactersFromKeypadAndAscii)
{
    EXPECT_EQ(X11EntryCharacter('5'), '5');
    EXPECT_EQ(X11EntryCharacter(0xffb5), '5');  // keypad 5 with num lock
    EXPECT_EQ(X11EntryCharacter(0xffae), '.');
    EXPECT_EQ(X11EntryCharacter(0xffad), '-');
    EXPECT_EQ(X11EntryCharacter(0xff08), 8);
    EXPECT_EQ(X11EntryCharacter(0xe9), -1);  // é: not a single UTF-8 byte
    EXPECT_EQ(X11EntryCharacter(0xff0d), -1);
    EXPECT_EQ(X11EntryCharacter(0xff52), -1);
}

TEST(X11Desktop, OnlyHttpHttpsAndFileAddressesWithoutBlanksAreOpened)
{
    EXPECT_TRUE(X11IsOpenableAddress("https://example.org/guide"));
    EXPECT_TRUE(X11IsOpenableAddress("HTTP://example.org"));
    EXPECT_TRUE(X11IsOpenableAddress("file:///usr/share/doc/guide.html"));
    EXPECT_FALSE(X11IsOpenableAddress(nullptr));
    EXPECT_FALSE(X11IsOpenableAddress(""));
    EXPECT_FALSE(X11IsOpenableAddress("javascript:alert(1)"));
    EXPECT_FALSE(X11IsOpenableAddress("mailto:someone@example.org"));
    EXPECT_FALSE(X11IsOpenableAddress("/etc/passwd"));
    EXPECT_FALSE(X11IsOpenableAddress("-e https://x"));
    EXPECT_FALSE(X11IsOpenableAddress("https://example.org/a b"));
    EXPECT_FALSE(X11IsOpenableAddress("https://example.org/\n--help"));
    EXPECT_FALSE(X11StartOpener("ftp://example.org"));
}

TEST(X11Desktop, FoldersEndWithASlash)
{
    EXPECT_EQ(X11FolderOf("/usr/lib/vst3/Tarvo.vst3/Contents/x86_64-linux/Tarvo.so"),
              "/usr/lib/vst3/Tarvo.vst3/Contents/x86_64-linux/");
    EXPECT_EQ(X11FolderOf("Tarvo.so"), "");
    X11TestPlugin plug;
    std::string folder;
    plug.X11()->GetModuleFolder(folder);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    plug.X11()->GetHostExecutableFolder(folder);
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    // Dialogs this platform does not offer answer as cancelled.
    IRgba colour{255, 1, 2, 3};
    EXPECT_FALSE(plug.X11()->AskForColour(colour, "pick"));
    EXPECT_EQ(colour.R, 1);
    EXPECT_EQ(plug.X11()->ShowMessage("text", "caption", kMessageYesNo), 0);
    std::string name = "take.wav", where = "/tmp/";
    plug.X11()->AskForFile(name, kFileSave, where, "wav");
    EXPECT_EQ(name, "");  // no window: emptied
    EXPECT_EQ(where, "/tmp/");
    // Asking for a confirmation that cannot be shown opens nothing.
    EXPECT_FALSE(plug.X11()->OpenWebAddress("https://example.org", "c", "Open it?", nullptr));
}

} // namespace
