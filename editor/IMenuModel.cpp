#include "editor/IMenuModel.h"

#include <cstdio>
#include <cstring>
#include <new>

//------------------------------------------------------------------------
IMenuModelItem::IMenuModelItem(const char* itemText, int itemFlags, IMenuModel* sub)
    : text(itemText != nullptr ? itemText : ""), flags(itemFlags), submenu(sub)
{
}

//------------------------------------------------------------------------
IMenuModelItem::~IMenuModelItem()
{
    delete submenu;
}

//------------------------------------------------------------------------
IMenuModelItem* IMenuModel::AddItem(const char* text, int flags, int position, IMenuModel* submenu)
{
    try {
        auto item = std::make_unique<IMenuModelItem>(text, flags, nullptr);
        item->submenu = submenu;
        submenu = nullptr;
        const int count = NItems();
        int at = position;
        if (position == -1 || at > count)
            at = count;
        else if (at < 0)
            at = 0;
        IMenuModelItem* raw = item.get();
        mItems.insert(mItems.begin() + at, std::move(item));
        return raw;
    } catch (const std::bad_alloc&) {
        delete submenu;
        return nullptr;
    }
}

//------------------------------------------------------------------------
IMenuModelItem* IMenuModel::GetItem(int index) const
{
    return index >= 0 && index < NItems() ? mItems[static_cast<std::size_t>(index)].get() : nullptr;
}

//------------------------------------------------------------------------
int IMenuModel::FindItem(const char* text) const
{
    if (text == nullptr)
        return -1;
    for (int i = 0; i < NItems(); ++i)
        if (mItems[static_cast<std::size_t>(i)]->text == text)
            return i;
    return -1;
}

//------------------------------------------------------------------------
std::string IMenuModel::DisplayText(int index) const
{
    const IMenuModelItem* item = GetItem(index);
    if (item == nullptr || item->IsSeparator())
        return {};
    const char* format = nullptr;
    switch (mPrefixStyle) {
    case kMenuPrefixOneDigit: format = "%1d: %s"; break;
    case kMenuPrefixTwoDigits: format = "%02d: %s"; break;
    case kMenuPrefixThreeDigits: format = "%03d: %s"; break;
    default: return item->text;
    }
    const int n = std::snprintf(nullptr, 0, format, index + 1, item->Text());
    if (n <= 0)
        return item->text;
    std::string out(static_cast<std::size_t>(n), '\0');
    std::snprintf(out.data(), out.size() + 1, format, index + 1, item->Text());
    return out;
}

//------------------------------------------------------------------------
int IMenuModel::CountAllItems() const
{
    int n = NItems();
    for (const auto& item : mItems)
        if (item->submenu != nullptr)
            n += item->submenu->CountAllItems();
    return n;
}

//------------------------------------------------------------------------
bool IMenuModel::FindByIdFrom(int id, int* nextId, IMenuModel** menu, int* index)
{
    // This menu's items take the next block of ids, then each submenu in
    // order numbers its own tree.
    const int first = *nextId;
    *nextId += NItems();
    if (id >= first && id < *nextId) {
        *menu = this;
        *index = id - first;
        return true;
    }
    for (const auto& item : mItems)
        if (item->submenu != nullptr && item->submenu->FindByIdFrom(id, nextId, menu, index))
            return true;
    return false;
}

//------------------------------------------------------------------------
bool IMenuModel::FindById(int id, IMenuModel** menu, int* index)
{
    int next = 0;
    IMenuModel* found = nullptr;
    int at = -1;
    if (id < 0 || !FindByIdFrom(id, &next, &found, &at))
        return false;
    if (menu != nullptr)
        *menu = found;
    if (index != nullptr)
        *index = at;
    return true;
}

//------------------------------------------------------------------------
IMenuModel* IMenuModel::ChooseById(int id)
{
    IMenuModel* menu = nullptr;
    int index = -1;
    if (!FindById(id, &menu, &index))
        return nullptr;
    menu->mChosenIndex = index;
    return menu;
}
