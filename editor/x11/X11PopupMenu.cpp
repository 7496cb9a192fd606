// The editor-drawn popup menu and its modal loop.
#include "editor/x11/X11PopupMenu.h"

#include "editor/x11/X11KeyMap.h"
#include "editor/x11/X11Text.h"
#include "raster/RasterBlit.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 18;
constexpr int kMinWidth = 60;
constexpr uint32_t kBackground = 0xfff0f0f0u;
constexpr uint32_t kFrame = 0xff808080u;
constexpr uint32_t kText = 0xff000000u;
constexpr uint32_t kGreyText = 0xff909090u;
constexpr uint32_t kHighlight = 0xff3399ffu;
constexpr uint32_t kHighlightText = 0xffffffffu;
constexpr uint32_t kSeparator = 0xffc0c0c0u;

uint8_t EventType(const xcb_generic_event_t* ev)
{
    return static_cast<uint8_t>(ev->response_type & 0x7f);
}

bool IsInputEvent(uint8_t type)
{
    return type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE || type == XCB_BUTTON_PRESS ||
           type == XCB_BUTTON_RELEASE || type == XCB_MOTION_NOTIFY || type == XCB_ENTER_NOTIFY ||
           type == XCB_LEAVE_NOTIFY;
}

} // namespace

//------------------------------------------------------------------------
X11PopupMenu::X11PopupMenu(X11Display& display, IMenuModel* menu, int rootX, int rootY)
    : mDisplay(display)
{
    std::strncpy(mStyle.name, "Sans", sizeof(mStyle.name) - 1);
    mStyle.size = 13;
    mStyle.align = 0;
    if (menu != nullptr)
        OpenLevel(menu, rootX, rootY);
    Grab();
}

//------------------------------------------------------------------------
X11PopupMenu::~X11PopupMenu()
{
    xcb_connection_t* c = mDisplay.Connection();
    if (mGrabbedPointer)
        xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    if (mGrabbedKeyboard)
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    CloseLevelsAbove(0);
    if (!mLevels.empty()) {
        mLevels[0]->presenter.reset();
        xcb_destroy_window(c, mLevels[0]->window);
        mLevels.clear();
    }
    xcb_flush(c);
}

//------------------------------------------------------------------------
void X11PopupMenu::OpenLevel(IMenuModel* menu, int x, int y)
{
    auto level = std::make_unique<Level>();
    level->menu = menu;
    const int itemHeight = X11LineHeight(mStyle) + 2 * kItemPadding;
    int textWidth = 0;
    int top = kBorder;
    for (int i = 0; i < menu->NItems(); ++i) {
        level->itemTops.push_back(top);
        IMenuModelItem* item = menu->GetItem(i);
        if (item->IsSeparator()) {
            top += kSeparatorHeight;
            continue;
        }
        std::string text = menu->DisplayText(i);
        textWidth = std::max(textWidth, X11TextWidth(mStyle, text.c_str(), static_cast<int>(text.size())));
        top += itemHeight;
    }
    level->itemTops.push_back(top);
    level->width = std::max(kMinWidth, kCheckColumn + textWidth + kArrowColumn + 2 * kBorder);
    level->height = std::max(top + kBorder, 2 * kBorder + 4);
    // Stay on the screen: move left or up where the menu would overflow.
    const xcb_screen_t* screen = mDisplay.Screen();
    level->x = std::max(0, std::min(x, screen->width_in_pixels - level->width));
    level->y = std::max(0, std::min(y, screen->height_in_pixels - level->height));

    xcb_connection_t* c = mDisplay.Connection();
    level->window = xcb_generate_id(c);
    uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, 1,
                         XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                             XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_KEY_PRESS,
                         screen->default_colormap};
    xcb_create_window(c, mDisplay.Format().depth, level->window, mDisplay.Root(), static_cast<int16_t>(level->x),
                      static_cast<int16_t>(level->y), static_cast<uint16_t>(level->width),
                      static_cast<uint16_t>(level->height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, mDisplay.Visual(),
                      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK |
                          XCB_CW_COLORMAP,
                      values);
    if (mDisplay.wmWindowTypeAtom != XCB_ATOM_NONE && mDisplay.popupMenuType != XCB_ATOM_NONE)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, level->window, mDisplay.wmWindowTypeAtom, XCB_ATOM_ATOM, 32, 1,
                            &mDisplay.popupMenuType);
    level->pixels = std::make_unique<RasterMemBitmap>(level->width, level->height);
    level->presenter = std::make_unique<X11Presenter>(mDisplay, level->window, level->width, level->height, false);
    xcb_map_window(c, level->window);
    mLevels.push_back(std::move(level));
    DrawLevel(*mLevels.back());
}

//------------------------------------------------------------------------
void X11PopupMenu::CloseLevelsAbove(size_t depth)
{
    while (mLevels.size() > depth + 1) {
        Level& last = *mLevels.back();
        last.presenter.reset();
        xcb_destroy_window(mDisplay.Connection(), last.window);
        mLevels.pop_back();
    }
}

//------------------------------------------------------------------------
void X11PopupMenu::Grab()
{
    if (mLevels.empty())
        return;
    xcb_connection_t* c = mDisplay.Connection();
    xcb_window_t w = mLevels[0]->window;
    auto pointer = xcb_grab_pointer(c, 0, w,
                                    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                        XCB_EVENT_MASK_POINTER_MOTION,
                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE, XCB_CURRENT_TIME);
    auto keyboard = xcb_grab_keyboard(c, 0, w, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    if (auto* r = xcb_grab_pointer_reply(c, pointer, nullptr)) {
        mGrabbedPointer = r->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(r);
    }
    if (auto* r = xcb_grab_keyboard_reply(c, keyboard, nullptr)) {
        mGrabbedKeyboard = r->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(r);
    }
}

//------------------------------------------------------------------------
bool X11PopupMenu::Selectable(const Level& level, int index) const
{
    IMenuModelItem* item = level.menu->GetItem(index);
    return item != nullptr && !item->IsSeparator() && (item->flags & (kMenuItemGreyed | kMenuItemDisabled)) == 0;
}

//------------------------------------------------------------------------
void X11PopupMenu::DrawLevel(Level& level)
{
    RasterBitmap* px = level.pixels.get();
    if (px->GetBits() == nullptr)
        return;
    const int w = level.width, h = level.height;
    RasterFillRect(px, 0, 0, w, h, kFrame, 1.0f, 0);
    RasterFillRect(px, kBorder, kBorder, w - 2 * kBorder, h - 2 * kBorder, kBackground, 1.0f, 0);
    for (int i = 0; i < level.menu->NItems(); ++i) {
        IMenuModelItem* item = level.menu->GetItem(i);
        const int top = level.itemTops[static_cast<size_t>(i)];
        const int bottom = level.itemTops[static_cast<size_t>(i) + 1];
        if (item->IsSeparator()) {
            RasterFillRect(px, kBorder + 3, (top + bottom) / 2, w - 2 * kBorder - 6, 1, kSeparator, 1.0f, 0);
            continue;
        }
        const bool lit = i == level.highlighted;
        const bool enabled = Selectable(level, i);
        if (lit)
            RasterFillRect(px, kBorder, top, w - 2 * kBorder, bottom - top, kHighlight, 1.0f, 0);
        const uint32_t ink = lit ? kHighlightText : (enabled ? kText : kGreyText);
        const int middle = (top + bottom) / 2;
        if (item->IsChecked())
            RasterFillRect(px, kBorder + 6, middle - 3, 6, 6, ink, 1.0f, 0);
        std::string text = level.menu->DisplayText(i);
        X11DrawText(*px, mStyle, text.c_str(), static_cast<int>(text.size()), kBorder + kCheckColumn,
                    top + kItemPadding, ink);
        if (item->submenu != nullptr) {
            // A small triangle pointing right.
            for (int k = 0; k < 4; ++k)
                RasterFillRect(px, w - kBorder - 12 + k, middle - 3 + k, 1, 7 - 2 * k, ink, 1.0f, 0);
        }
    }
    level.presenter->Present(*px, 0, 0, w, h);
}

//------------------------------------------------------------------------
bool X11PopupMenu::HitTest(int rootX, int rootY, size_t& depth, int& item) const
{
    for (size_t d = mLevels.size(); d-- > 0;) {
        const Level& l = *mLevels[d];
        int y = rootY - l.y;
        if (rootX < l.x || rootX >= l.x + l.width || y < 0 || y >= l.height)
            continue;
        depth = d;
        item = -1;
        for (int i = 0; i < l.menu->NItems(); ++i)
            if (y >= l.itemTops[static_cast<size_t>(i)] && y < l.itemTops[static_cast<size_t>(i) + 1])
                item = i;
        return true;
    }
    return false;
}

//------------------------------------------------------------------------
void X11PopupMenu::Highlight(size_t depth, int item, bool openSubmenu)
{
    Level& level = *mLevels[depth];
    IMenuModelItem* it = level.menu->GetItem(item);
    if (it == nullptr || it->IsSeparator())
        item = -1;
    if (item != level.highlighted) {
        CloseLevelsAbove(depth);
        level.highlighted = item;
        DrawLevel(level);
    }
    if (openSubmenu && mLevels.size() == depth + 1)
        OpenSubmenu(depth);
}

//------------------------------------------------------------------------
void X11PopupMenu::OpenSubmenu(size_t depth)
{
    Level& level = *mLevels[depth];
    IMenuModelItem* it = level.menu->GetItem(level.highlighted);
    if (it == nullptr || it->submenu == nullptr || it->submenu->NItems() == 0 || !Selectable(level, level.highlighted))
        return;
    OpenLevel(it->submenu, level.x + level.width - 2,
              level.y + level.itemTops[static_cast<size_t>(level.highlighted)] - kBorder);
}

//------------------------------------------------------------------------
void X11PopupMenu::MoveHighlight(int direction)
{
    size_t depth = mLevels.size() - 1;
    Level& level = *mLevels[depth];
    int n = level.menu->NItems();
    int i = level.highlighted;
    for (int step = 0; step < n; ++step) {
        i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
        if (!level.menu->GetItem(i)->IsSeparator()) {
            Highlight(depth, i, false);
            return;
        }
    }
}

//------------------------------------------------------------------------
void X11PopupMenu::HandleKey(uint32_t keysym)
{
    // Keys act on the deepest open level.
    size_t depth = mLevels.size() - 1;
    Level& level = *mLevels[depth];
    IMenuModelItem* lit = level.menu->GetItem(level.highlighted);
    const bool opens = lit != nullptr && lit->submenu != nullptr;
    switch (keysym) {
    case kXkDown:
    case kXkKpDown:
        MoveHighlight(1);
        break;
    case kXkUp:
    case kXkKpUp:
        MoveHighlight(-1);
        break;
    case kXkRight:
    case kXkKpRight:
        if (opens) {
            OpenSubmenu(depth);
            if (mLevels.size() > depth + 1)
                MoveHighlight(1);
        }
        break;
    case kXkReturn:
    case kXkKpEnter:
    case ' ':
        if (opens) {
            OpenSubmenu(depth);
            if (mLevels.size() > depth + 1)
                MoveHighlight(1);
        } else if (lit != nullptr && Selectable(level, level.highlighted)) {
            Choose(depth, level.highlighted);
        }
        break;
    case kXkLeft:
    case kXkKpLeft:
        if (depth > 0)
            CloseLevelsAbove(depth - 1);
        break;
    case kXkEscape:
        if (depth > 0)
            CloseLevelsAbove(depth - 1);
        else
            mDone = true;
        break;
    default:
        break;
    }
}

//------------------------------------------------------------------------
void X11PopupMenu::Choose(size_t depth, int item)
{
    Level& level = *mLevels[depth];
    level.menu->SetChosenIndex(item);
    mResult = level.menu;
    mDone = true;
}

//------------------------------------------------------------------------
IMenuModel* X11PopupMenu::Run(const EventSink& others, const Tick& tick, int tickMs)
{
    if (mLevels.empty() || mLevels[0]->menu->NItems() == 0)
        return nullptr;
    xcb_connection_t* c = mDisplay.Connection();
    const int fd = mDisplay.FileDescriptor();
    using Clock = std::chrono::steady_clock;
    auto nextTick = Clock::now() + std::chrono::milliseconds(tickMs);
    while (!mDone) {
        xcb_flush(c);
        if (xcb_connection_has_error(c) != 0)
            break;
        xcb_generic_event_t* ev = xcb_poll_for_event(c);
        if (ev == nullptr) {
            auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now()).count();
            if (wait <= 0) {
                if (tick)
                    tick();
                nextTick = Clock::now() + std::chrono::milliseconds(tickMs);
                continue;
            }
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(wait));
            continue;
        }
        const uint8_t type = EventType(ev);
        bool ours = false;
        for (auto& level : mLevels) {
            if (type == XCB_EXPOSE && reinterpret_cast<xcb_expose_event_t*>(ev)->window == level->window) {
                DrawLevel(*level);
                ours = true;
            }
        }
        if (type == XCB_MOTION_NOTIFY) {
            auto* m = reinterpret_cast<xcb_motion_notify_event_t*>(ev);
            size_t depth;
            int item;
            if (HitTest(m->root_x, m->root_y, depth, item))
                Highlight(depth, item, true);
        } else if (type == XCB_BUTTON_PRESS) {
            auto* b = reinterpret_cast<xcb_button_press_event_t*>(ev);
            size_t depth;
            int item;
            if (b->detail <= 3 && !HitTest(b->root_x, b->root_y, depth, item))
                mDone = true;  // a press outside the menu dismisses it
        } else if (type == XCB_BUTTON_RELEASE) {
            auto* b = reinterpret_cast<xcb_button_release_event_t*>(ev);
            size_t depth;
            int item;
            if (b->detail <= 3 && HitTest(b->root_x, b->root_y, depth, item) && item >= 0 &&
                Selectable(*mLevels[depth], item) && mLevels[depth]->menu->GetItem(item)->submenu == nullptr)
                Choose(depth, item);
        } else if (type == XCB_KEY_PRESS) {
            auto* k = reinterpret_cast<xcb_key_press_event_t*>(ev);
            HandleKey(mDisplay.KeysymFor(k->detail, k->state));
        } else if (!ours && !IsInputEvent(type) && others) {
            others(ev);
        }
        std::free(ev);
    }
    return mResult;
}
