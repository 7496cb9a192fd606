#pragma once
// A popup menu drawn by the editor: one override-redirect window per open
// level, item texts with their menu's position prefix, greyed and disabled
// items shown grey and not choosable, checked items marked, separators, and
// submenus that open beside their item. The pointer and keyboard are
// grabbed while it is open; a press outside every level, Escape on the top
// level, or a broken connection dismisses it.
//
// Run is modal like a system popup menu: it services the editor's own
// connection (the host's run loop is not re-entered) until the user decides,
// passing events that are not the menu's to the editor and running its draw
// tick at the editor's rate.
#include "editor/IMenuModel.h"
#include "editor/x11/X11Display.h"
#include "editor/x11/X11Presenter.h"
#include "raster/RasterMemBitmap.h"
#include "raster/TextStyle.h"

#include <functional>
#include <memory>
#include <vector>

class X11PopupMenu {
public:
    using EventSink = std::function<void(xcb_generic_event_t*)>;
    using Tick = std::function<void()>;

    X11PopupMenu(X11Display& display, IMenuModel* menu, int rootX, int rootY);
    ~X11PopupMenu();
    X11PopupMenu(const X11PopupMenu&) = delete;
    X11PopupMenu& operator=(const X11PopupMenu&) = delete;

    // Runs until an item is chosen (sets chosenIndex on the item's menu and
    // returns that menu) or the menu is dismissed (null).
    IMenuModel* Run(const EventSink& others, const Tick& tick, int tickMs);

    // Layout, for drawing and hit tests: item height and separator height.
    static constexpr int kItemPadding = 3;
    static constexpr int kSeparatorHeight = 7;
    static constexpr int kBorder = 1;

private:
    struct Level {
        IMenuModel* menu = nullptr;
        xcb_window_t window = 0;
        int x = 0, y = 0, width = 0, height = 0;
        std::vector<int> itemTops;  // per item, then the bottom
        int highlighted = -1;
        std::unique_ptr<RasterMemBitmap> pixels;
        std::unique_ptr<X11Presenter> presenter;
    };

    void OpenLevel(IMenuModel* menu, int x, int y);
    void CloseLevelsAbove(size_t depth);
    void DrawLevel(Level& level);
    bool Selectable(const Level& level, int index) const;
    // Level and item under a root position; false outside every level.
    bool HitTest(int rootX, int rootY, size_t& depth, int& item) const;
    // Lights item of level depth and closes the levels above it; with
    // openSubmenu an item's submenu opens beside it (pointer movement).
    void Highlight(size_t depth, int item, bool openSubmenu);
    void OpenSubmenu(size_t depth);
    void MoveHighlight(int direction);
    void HandleKey(uint32_t keysym);
    void Choose(size_t depth, int item);
    void Grab();

    X11Display& mDisplay;
    ITextStyle mStyle;
    std::vector<std::unique_ptr<Level>> mLevels;
    bool mDone = false;
    IMenuModel* mResult = nullptr;
    bool mGrabbedPointer = false;
    bool mGrabbedKeyboard = false;
};
