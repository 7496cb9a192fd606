#pragma once
// A popup menu described independently of any window system: items with
// texts, flags and optional submenus. The platform window turns it into a
// system menu, and after a choice sets chosenIndex on the menu whose item was
// picked and returns that menu.
//
// Item ids (what a system menu reports back) are one running count over the
// whole tree: the items of a menu take the next block of ids, in order,
// before any of its submenus is numbered, and submenus are numbered depth
// first. NumberedItems/ChooseById implement that numbering so every platform
// builds and resolves menus the same way.
#include <memory>
#include <string>
#include <vector>

class IMenuModel;

// Item flags.
enum IMenuItemFlag : int {
    kMenuItemGreyed = 1 << 0,
    kMenuItemDisabled = 1 << 1,
    kMenuItemChecked = 1 << 2,
    kMenuItemSeparator = 1 << 3,
};

// How item texts are prefixed with their 1-based position in their menu.
enum IMenuPrefix : int {
    kMenuPrefixNone = 0,
    kMenuPrefixOneDigit = 1,     // "%1d: %s"
    kMenuPrefixTwoDigits = 2,    // "%02d: %s"
    kMenuPrefixThreeDigits = 3,  // "%03d: %s"
};

class IMenuModelItem {
public:
    IMenuModelItem(const char* text, int flags, IMenuModel* submenu);
    ~IMenuModelItem();
    IMenuModelItem(const IMenuModelItem&) = delete;
    IMenuModelItem& operator=(const IMenuModelItem&) = delete;

    const char* Text() const { return text.c_str(); }
    bool IsSeparator() const { return (flags & kMenuItemSeparator) != 0; }
    bool IsChecked() const { return (flags & kMenuItemChecked) != 0; }

    std::string text;
    int flags = 0;
    IMenuModel* submenu = nullptr;  // owned
};

class IMenuModel {
public:
    explicit IMenuModel(int prefixStyle = kMenuPrefixNone) : mPrefixStyle(prefixStyle) {}
    ~IMenuModel() = default;
    IMenuModel(const IMenuModel&) = delete;
    IMenuModel& operator=(const IMenuModel&) = delete;

    // Adds an item (taking ownership of submenu). position -1 appends; any
    // other position inserts there, held to 0..count. Returns the item, or
    // null when memory ran out (the submenu is then freed).
    IMenuModelItem* AddItem(const char* text, int flags = 0, int position = -1, IMenuModel* submenu = nullptr);
    IMenuModelItem* AddSeparator(int position = -1) { return AddItem("", kMenuItemSeparator, position); }

    int NItems() const { return static_cast<int>(mItems.size()); }
    // Null when out of range.
    IMenuModelItem* GetItem(int index) const;
    // Position in this menu of the first item with that text, or -1.
    int FindItem(const char* text) const;

    int PrefixStyle() const { return mPrefixStyle; }
    void SetPrefixStyle(int style) { mPrefixStyle = style; }
    int ChosenIndex() const { return mChosenIndex; }
    void SetChosenIndex(int index) { mChosenIndex = index; }

    // The text a system menu shows for item index: the item text with the
    // menu's position prefix ("02: Soft"); empty for a separator.
    std::string DisplayText(int index) const;
    // Total number of items in this menu and all submenus.
    int CountAllItems() const;
    // The menu and position that carry a running id (see above); false when
    // no item has that id.
    bool FindById(int id, IMenuModel** menu, int* index);
    // Resolves an id, sets chosenIndex on the owning menu and returns it;
    // null when the id is unknown.
    IMenuModel* ChooseById(int id);

private:
    bool FindByIdFrom(int id, int* nextId, IMenuModel** menu, int* index);

    int mPrefixStyle = kMenuPrefixNone;
    int mChosenIndex = -1;
    std::vector<std::unique_ptr<IMenuModelItem>> mItems;
};
