#include "editor/win/WinPopupMenu.h"

namespace {

// Appends model's items to menu with ids from *nextId on, then numbers the
// submenus depth first, as IMenuModel::FindById does.
bool AppendItems(HMENU menu, const IMenuModel& model, UINT* nextId)
{
    const UINT first = *nextId;
    *nextId += static_cast<UINT>(model.NItems());
    for (int i = 0; i < model.NItems(); ++i) {
        const IMenuModelItem* item = model.GetItem(i);
        const UINT id = first + static_cast<UINT>(i);
        if (item->IsSeparator()) {
            if (!AppendMenuA(menu, MF_SEPARATOR, id, nullptr))
                return false;
            continue;
        }
        const std::string text = model.DisplayText(i);
        if (item->submenu != nullptr) {
            HMENU sub = CreatePopupMenu();
            if (sub == nullptr)
                return false;
            if (!AppendItems(sub, *item->submenu, nextId) ||
                !AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str())) {
                DestroyMenu(sub);
                return false;
            }
            continue;
        }
        UINT flags = MF_STRING;
        if (item->flags & kMenuItemGreyed)
            flags |= MF_GRAYED;
        if (item->flags & kMenuItemDisabled)
            flags |= MF_DISABLED;
        if (item->flags & kMenuItemChecked)
            flags |= MF_CHECKED;
        if (!AppendMenuA(menu, flags, id, text.c_str()))
            return false;
    }
    return true;
}

} // namespace

//------------------------------------------------------------------------
HMENU BuildSystemPopupMenu(const IMenuModel& model)
{
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return nullptr;
    UINT nextId = kSystemMenuIdBase;
    if (!AppendItems(menu, model, &nextId)) {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

//------------------------------------------------------------------------
int ModelIdFromSystemId(const IMenuModel& model, UINT systemId)
{
    if (systemId < kSystemMenuIdBase)
        return -1;
    const UINT id = systemId - kSystemMenuIdBase;
    return id < static_cast<UINT>(model.CountAllItems()) ? static_cast<int>(id) : -1;
}
