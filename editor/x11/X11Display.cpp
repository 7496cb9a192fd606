// The editor's own X connection: screen, pixel format, atoms, keyboard.
#include "editor/x11/X11Display.h"

#include <xcb/shm.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kNumLockKeysym = 0xff7f;
constexpr uint32_t kAltLKeysym = 0xffe9;
constexpr uint32_t kAltRKeysym = 0xffea;

bool IsKeypadKeysym(uint32_t ks)
{
    return ks >= 0xff80 && ks <= 0xffbd;
}

// Lower and upper case of a Latin-1 letter keysym; other keysyms unchanged.
uint32_t LowerOf(uint32_t ks)
{
    if ((ks >= 'A' && ks <= 'Z') || (ks >= 0xc0 && ks <= 0xde && ks != 0xd7))
        return ks + 0x20;
    return ks;
}

uint32_t UpperOf(uint32_t ks)
{
    if ((ks >= 'a' && ks <= 'z') || (ks >= 0xe0 && ks <= 0xfe && ks != 0xf7))
        return ks - 0x20;
    return ks;
}

} // namespace

//------------------------------------------------------------------------
X11Display::X11Display()
{
    int screenNumber = 0;
    mConnection = xcb_connect(nullptr, &screenNumber);
    if (mConnection == nullptr || xcb_connection_has_error(mConnection) != 0)
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(mConnection));
    for (int i = 0; it.rem > 0; ++i, xcb_screen_next(&it)) {
        if (i == screenNumber) {
            mScreen = it.data;
            break;
        }
    }
    if (mScreen == nullptr)
        return;
    FindFormat();
    InternAtoms();
    QuerySharedMemory();
}

//------------------------------------------------------------------------
X11Display::~X11Display()
{
    if (mConnection != nullptr)
        xcb_disconnect(mConnection);
}

//------------------------------------------------------------------------
bool X11Display::IsUsable() const
{
    return mConnection != nullptr && mScreen != nullptr && xcb_connection_has_error(mConnection) == 0;
}

//------------------------------------------------------------------------
int X11Display::FileDescriptor() const
{
    return mConnection != nullptr ? xcb_get_file_descriptor(mConnection) : -1;
}

//------------------------------------------------------------------------
void X11Display::FindFormat()
{
    const xcb_setup_t* setup = xcb_get_setup(mConnection);
    mFormat.depth = mScreen->root_depth;
    mFormat.lsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f)) {
        if (f.data->depth == mFormat.depth)
            mFormat.bitsPerPixel = f.data->bits_per_pixel;
    }
    for (auto d = xcb_screen_allowed_depths_iterator(mScreen); d.rem > 0; xcb_depth_next(&d)) {
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == mScreen->root_visual) {
                mFormat.redMask = v.data->red_mask;
                mFormat.greenMask = v.data->green_mask;
                mFormat.blueMask = v.data->blue_mask;
            }
        }
    }
}

//------------------------------------------------------------------------
void X11Display::InternAtoms()
{
    struct Want {
        const char* name;
        xcb_atom_t* atom;
        xcb_intern_atom_cookie_t cookie;
    } wants[] = {
        {"_XEMBED_INFO", &xembedInfo, {}},
        {"_XEMBED", &xembed, {}},
        {"WM_PROTOCOLS", &wmProtocols, {}},
        {"_NET_WM_WINDOW_TYPE", &wmWindowTypeAtom, {}},
        {"_NET_WM_WINDOW_TYPE_POPUP_MENU", &popupMenuType, {}},
        {"WM_STATE", &wmState, {}},
    };
    for (Want& w : wants)
        w.cookie = xcb_intern_atom(mConnection, 0, static_cast<uint16_t>(std::strlen(w.name)), w.name);
    for (Want& w : wants) {
        if (xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(mConnection, w.cookie, nullptr)) {
            *w.atom = r->atom;
            std::free(r);
        }
    }
}

//------------------------------------------------------------------------
void X11Display::QuerySharedMemory()
{
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(mConnection, &xcb_shm_id);
    if (ext == nullptr || !ext->present)
        return;
    xcb_shm_query_version_reply_t* v =
        xcb_shm_query_version_reply(mConnection, xcb_shm_query_version(mConnection), nullptr);
    if (v == nullptr)
        return;
    // Descriptor passing arrived with 1.2; older servers get plain uploads.
    mShmOffered = v->major_version > 1 || (v->major_version == 1 && v->minor_version >= 2);
    std::free(v);
    mShmCompletion = static_cast<uint8_t>(ext->first_event + XCB_SHM_COMPLETION);
}

//------------------------------------------------------------------------
void X11Display::ReadKeyboard()
{
    const xcb_setup_t* setup = xcb_get_setup(mConnection);
    mMinKeycode = setup->min_keycode;
    auto count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    auto mapCookie = xcb_get_keyboard_mapping(mConnection, mMinKeycode, count);
    auto modCookie = xcb_get_modifier_mapping(mConnection);
    mKeysyms.clear();
    mKeysymsPerCode = 0;
    if (auto* r = xcb_get_keyboard_mapping_reply(mConnection, mapCookie, nullptr)) {
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(r);
        mKeysyms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(r));
        mKeysymsPerCode = r->keysyms_per_keycode;
        std::free(r);
    }
    mNumLockMask = 0;
    mAltMask = 0;
    if (auto* r = xcb_get_modifier_mapping_reply(mConnection, modCookie, nullptr)) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(r);
        for (int mod = 0; mod < 8; ++mod) {
            for (int k = 0; k < r->keycodes_per_modifier; ++k) {
                xcb_keycode_t code = codes[mod * r->keycodes_per_modifier + k];
                if (code < mMinKeycode || mKeysymsPerCode == 0)
                    continue;
                size_t base = static_cast<size_t>(code - mMinKeycode) * static_cast<size_t>(mKeysymsPerCode);
                for (int c = 0; c < mKeysymsPerCode && base + c < mKeysyms.size(); ++c) {
                    uint32_t ks = mKeysyms[base + c];
                    if (ks == kNumLockKeysym)
                        mNumLockMask = static_cast<uint16_t>(1 << mod);
                    if ((ks == kAltLKeysym || ks == kAltRKeysym) && mod >= 3 && mAltMask == 0)
                        mAltMask = static_cast<uint16_t>(1 << mod);
                }
            }
        }
        std::free(r);
    }
    if (mAltMask == 0)
        mAltMask = XCB_MOD_MASK_1;
}

//------------------------------------------------------------------------
uint16_t X11Display::AltMask()
{
    if (mKeysyms.empty())
        ReadKeyboard();
    return mAltMask;
}

//------------------------------------------------------------------------
uint32_t X11Display::KeysymFor(xcb_keycode_t code, uint16_t state)
{
    if (mKeysyms.empty())
        ReadKeyboard();
    if (mKeysymsPerCode == 0 || code < mMinKeycode)
        return 0;
    size_t base = static_cast<size_t>(code - mMinKeycode) * static_cast<size_t>(mKeysymsPerCode);
    if (base >= mKeysyms.size())
        return 0;
    uint32_t first = mKeysyms[base];
    uint32_t second = mKeysymsPerCode > 1 ? mKeysyms[base + 1] : 0;
    if (second == 0) {
        second = UpperOf(first);
        first = LowerOf(first);
    }
    bool shift = (state & XCB_MOD_MASK_SHIFT) != 0;
    bool lock = (state & XCB_MOD_MASK_LOCK) != 0;
    if (mNumLockMask != 0 && (state & mNumLockMask) != 0 && IsKeypadKeysym(second))
        return shift ? first : second;
    if (shift)
        return lock ? UpperOf(second) : second;
    return lock ? UpperOf(first) : first;
}

//------------------------------------------------------------------------
bool X11Display::WindowExists(xcb_window_t window)
{
    if (window == 0)
        return false;
    xcb_get_geometry_reply_t* r = xcb_get_geometry_reply(mConnection, xcb_get_geometry(mConnection, window), nullptr);
    bool exists = r != nullptr;
    std::free(r);
    return exists;
}

//------------------------------------------------------------------------
xcb_window_t X11Display::TopLevelOf(xcb_window_t window)
{
    xcb_window_t current = window;
    for (int depth = 0; depth < 64; ++depth) {
        // A managed client window is where the host's toolkit reads keys
        // (its parent may be a window manager's frame).
        if (wmState != XCB_ATOM_NONE) {
            auto cookie = xcb_get_property(mConnection, 0, current, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0);
            if (xcb_get_property_reply_t* p = xcb_get_property_reply(mConnection, cookie, nullptr)) {
                bool managed = p->type != XCB_ATOM_NONE;
                std::free(p);
                if (managed)
                    return current;
            }
        }
        xcb_query_tree_reply_t* r = xcb_query_tree_reply(mConnection, xcb_query_tree(mConnection, current), nullptr);
        if (r == nullptr)
            return current;
        xcb_window_t parent = r->parent;
        xcb_window_t root = r->root;
        std::free(r);
        if (parent == 0 || parent == root)
            return current;
        current = parent;
    }
    return current;
}
