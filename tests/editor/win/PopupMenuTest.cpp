// Popup menus: the system menu built from a menu model (numbering, prefixes,
// states, submenus) and a real modal menu answered by keys a timer types.
#include "editor/win/WinPopupMenu.h"
#include "tests/editor/win/WinTestHost.h"

namespace {

std::string ItemText(HMENU menu, int position)
{
    char text[64] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST(SystemPopupMenu, NumbersTheWholeTreeAndPrefixesTexts)
{
    IMenuModel top(kMenuPrefixTwoDigits);
    top.AddItem("Soft");
    top.AddItem("Medium", kMenuItemChecked);
    auto* sub = new IMenuModel(kMenuPrefixNone);
    sub->AddItem("x");
    sub->AddItem("y", kMenuItemGreyed);
    top.AddItem("More", 0, -1, sub);
    top.AddSeparator();
    top.AddItem("Hard", kMenuItemDisabled);

    HMENU menu = BuildSystemPopupMenu(top);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 5);
    EXPECT_EQ(ItemText(menu, 0), "01: Soft");
    EXPECT_EQ(ItemText(menu, 1), "02: Medium");
    EXPECT_EQ(ItemText(menu, 2), "03: More");
    EXPECT_EQ(ItemText(menu, 4), "05: Hard");
    EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, 3, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(GetMenuState(menu, 4, MF_BYPOSITION) & MF_DISABLED);
    EXPECT_EQ(GetMenuItemID(menu, 0), 1u);  // model id 0 is never the system's "nothing"
    EXPECT_EQ(GetMenuItemID(menu, 4), 5u);
    HMENU inner = GetSubMenu(menu, 2);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(ItemText(inner, 0), "x");
    EXPECT_EQ(GetMenuItemID(inner, 1), 7u);  // the top menu reserved ids 1..5
    EXPECT_TRUE(GetMenuState(inner, 1, MF_BYPOSITION) & MF_GRAYED);
    DestroyMenu(menu);

    // System ids resolve to the same item the model numbers.
    IMenuModel* owner = nullptr;
    int index = -1;
    ASSERT_TRUE(top.FindById(ModelIdFromSystemId(top, 7), &owner, &index));
    EXPECT_EQ(owner, sub);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(ModelIdFromSystemId(top, 0), -1);
    EXPECT_EQ(ModelIdFromSystemId(top, 8), -1);
}

// Keys a thread timer types into the open popup menu.
std::vector<WPARAM> gMenuKeys;

void CALLBACK TypeIntoMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (menuWindow == nullptr || !IsWindowVisible(menuWindow))
        return;
    KillTimer(nullptr, timer);
    for (WPARAM key : gMenuKeys)
        PostMessageA(menuWindow, WM_KEYDOWN, key, 0);
}

struct ModalMenu : WinEditorFixture {
    ModalMenu() { EXPECT_TRUE(surface->OpenEditorWindow(host)); }
    void TypeWhenOpen(std::vector<WPARAM> keys)
    {
        gMenuKeys = std::move(keys);
        SetTimer(nullptr, 0, 50, TypeIntoMenu);
    }
};

TEST_F(ModalMenu, AChosenItemSetsItsMenusChosenIndex)
{
    IMenuModel menu;
    menu.AddItem("Soft");
    menu.AddItem("Medium");
    menu.AddItem("Hard");
    TypeWhenOpen({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(surface->ShowPopupMenu(&menu, {10, 10, 60, 40}), &menu);
    EXPECT_EQ(menu.ChosenIndex(), 1);

    IMenuModel dismissed;
    dismissed.AddItem("Only");
    TypeWhenOpen({VK_ESCAPE});
    EXPECT_EQ(surface->ShowPopupMenu(&dismissed, {10, 10, 60, 40}), nullptr);
    EXPECT_EQ(dismissed.ChosenIndex(), -1);
}

TEST_F(ModalMenu, APromptedChoiceReachesTheParameter)
{
    // The mode is "Medium": the third item is "Hard".
    probe->mParamIdx = kTestMode;
    TypeWhenOpen({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    surface->PromptForParamValue(probe, plug.GetParam(kTestMode), {10, 10, 60, 40});
    EXPECT_EQ(plug.GetParam(kTestMode)->Value(), 2.0);
}

} // namespace
