// The editor-drawn text entry and popup menus, driven like a user would.
#include "X11TestHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

constexpr uint32_t kReturn = 0xff0d;
constexpr uint32_t kEscape = 0xff1b;
constexpr uint32_t kDown = 0xff54;
constexpr uint32_t kRight = 0xff53;

class X11Prompt : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(display.Ok());
        display.MoveTo(kEditorWidth + 250, kEditorHeight + 80);
        editor = std::make_unique<OpenEditor>(display);
        ASSERT_EQ(editor->attachResult, Steinberg::kResultOk);
        editor->Run();
    }
    X11TestPlugin& plug() { return *editor->plug; }
    double Plain(int param) { return plug().GetParam(param)->Value(); }

    // Clicks at (x, y), which opens a modal menu; a second thread, with its
    // own connection, waits for the menu to show and runs user's actions.
    void ClickIntoMenu(int x, int y, const std::function<void(TestDisplay&, xcb_window_t)>& user)
    {
        std::thread other([&] {
            TestDisplay d;
            xcb_window_t menu = d.WaitForPopup(3000);
            if (menu != 0)
                user(d, menu);
            else
                d.Tap(kEscape);
        });
        display.Click(x, y);
        editor->Run(100);  // the press opens the menu and returns once it closes
        other.join();
        editor->Run();
    }

    TestDisplay display;
    std::unique_ptr<OpenEditor> editor;
};

TEST_F(X11Prompt, TextEntryFiltersTypingAndCommitsOnReturnAtTheNextTick)
{
    display.Click(kCountBounds.left + 5, kCountBounds.top + 5);
    editor->Run();
    ASSERT_TRUE(plug().X11()->IsTextEntryOpen());
    xcb_window_t entry = plug().X11()->TextEntryWindow();
    int x, y, w, h;
    display.Geometry(entry, x, y, w, h);
    EXPECT_EQ(x, kCountBounds.left);
    EXPECT_EQ(y, kCountBounds.top);
    EXPECT_EQ(w, kCountBounds.W() + 1);
    EXPECT_EQ(h, kCountBounds.H() + 1);
    // The initial text "50" is selected: typing replaces it. The integer
    // parameter's filter swallows the period.
    display.Type("1.5");
    display.Tap(0xff08);  // backspace
    display.Type("7");
    editor->Run();
    EXPECT_EQ(Plain(kCount), 50.0);  // nothing applied before Return
    display.Tap(kReturn);
    editor->Run();
    EXPECT_FALSE(plug().X11()->IsTextEntryOpen());
    EXPECT_EQ(Plain(kCount), 17.0);
}

TEST_F(X11Prompt, TextEntryKeepsToTheControlsLengthLimit)
{
    plug().Surface()->GetControl(3)->mEntryMaxChars = 2;
    display.Click(kCountBounds.left + 5, kCountBounds.top + 5);
    editor->Run();
    display.Type("98765");
    display.Tap(kReturn);
    editor->Run();
    EXPECT_EQ(Plain(kCount), 98.0);  // "98": the rest did not fit
}

TEST_F(X11Prompt, ClickElsewhereOrLosingFocusCancelsTheEntry)
{
    display.Click(kCountBounds.left + 5, kCountBounds.top + 5);
    editor->Run();
    display.Type("12");
    display.Click(kRecBounds.left + 5, kRecBounds.top + 5);
    editor->Run();
    EXPECT_FALSE(plug().X11()->IsTextEntryOpen());
    EXPECT_EQ(Plain(kCount), 50.0);
    EXPECT_EQ(plug().recLog.Count("down"), 1);  // the click itself still counts

    display.Click(kCountBounds.left + 5, kCountBounds.top + 5);
    editor->Run();
    ASSERT_TRUE(plug().X11()->IsTextEntryOpen());
    display.Type("33");
    xcb_set_input_focus(display.C(), XCB_INPUT_FOCUS_POINTER_ROOT, editor->parent, XCB_CURRENT_TIME);
    display.Sync();
    editor->Run();
    EXPECT_FALSE(plug().X11()->IsTextEntryOpen());
    EXPECT_EQ(Plain(kCount), 50.0);
}

TEST_F(X11Prompt, ResizingCancelsAnOpenEntryBeforeItsControlGoes)
{
    display.Click(kCountBounds.left + 5, kCountBounds.top + 5);
    editor->Run();
    ASSERT_TRUE(plug().X11()->IsTextEntryOpen());
    display.Type("42");
    display.Tap(kReturn);
    // The resize comes before the tick that would apply the entry.
    plug().Surface()->ResizeEditor(kEditorWidth, kEditorHeight + 10);
    EXPECT_FALSE(plug().X11()->IsTextEntryOpen());
    editor->Run();
    EXPECT_EQ(Plain(kCount), 50.0);
}

TEST_F(X11Prompt, ParameterMenuChosenWithTheKeyboard)
{
    ClickIntoMenu(kModeBounds.left + 5, kModeBounds.top + 5, [](TestDisplay& d, xcb_window_t) {
        d.Tap(kDown);
        d.Tap(kDown);
        d.Tap(kDown);
        d.Tap(kReturn);
    });
    EXPECT_EQ(Plain(kMode), 2.0);  // "Hot"
}

TEST_F(X11Prompt, MenuItemsSitBelowTheControlAndAreChosenByClicking)
{
    ClickIntoMenu(kModeBounds.left + 5, kModeBounds.top + 5, [](TestDisplay& d, xcb_window_t menu) {
        int x, y, w, h;
        d.Geometry(menu, x, y, w, h);
        EXPECT_EQ(x, kModeBounds.left);
        EXPECT_EQ(y, kModeBounds.bottom);
        // Three items of equal height inside a one-pixel frame: the second.
        d.Click(x + w / 2, y + 1 + (h - 2) * 3 / 6);
    });
    EXPECT_EQ(Plain(kMode), 1.0);  // "Warm"
}

TEST_F(X11Prompt, ClickingAwayOrEscapeDismissesWithoutChoice)
{
    ClickIntoMenu(kModeBounds.left + 5, kModeBounds.top + 5,
                  [](TestDisplay& d, xcb_window_t) { d.Click(kEditorWidth + 200, kEditorHeight + 50); });
    EXPECT_EQ(Plain(kMode), 0.0);
    EXPECT_EQ(display.FindPopup(), 0u);
    ClickIntoMenu(kModeBounds.left + 5, kModeBounds.top + 5, [](TestDisplay& d, xcb_window_t) { d.Tap(kEscape); });
    EXPECT_EQ(Plain(kMode), 0.0);
    EXPECT_EQ(display.FindPopup(), 0u);
}

TEST_F(X11Prompt, SubmenuItemChosenAndGreyedItemsSkippedAsChoices)
{
    MenuControl* menu = plug().menu;
    ClickIntoMenu(kMenuBounds.left + 5, kMenuBounds.top + 5, [](TestDisplay& d, xcb_window_t) {
        d.Tap(kDown);   // 01: First
        d.Tap(kDown);   // 02: More, whose submenu opens
        d.Tap(kRight);  // into it: 1: Inner A
        d.Tap(kDown);   // 2: Inner B
        d.Tap(kReturn);
    });
    EXPECT_EQ(menu->shown, 1);
    EXPECT_TRUE(menu->chosen);
    EXPECT_TRUE(menu->chosenInSubmenu);
    EXPECT_EQ(menu->chosenIndex, 1);

    // Return on the greyed item chooses nothing; Escape then dismisses.
    // (Clicked a little away from the first click, which would otherwise
    // make a double-click of the two.)
    ClickIntoMenu(kMenuBounds.left + 25, kMenuBounds.top + 5, [](TestDisplay& d, xcb_window_t) {
        d.Tap(kDown);
        d.Tap(kDown);
        d.Tap(kDown);  // 03: Greyed
        d.Tap(kReturn);
        d.Tap(kEscape);
    });
    EXPECT_EQ(menu->shown, 2);
    EXPECT_FALSE(menu->chosen);
}

} // namespace
