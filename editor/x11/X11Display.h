#pragma once
// The editor's own connection to the X server. Each open editor window has
// one, so nothing the host does with its own connection (error handlers,
// grabs, threads) touches ours, and ours never touches the host's: errors
// come back on this connection as events or checked replies and are dropped
// or answered here, never through a process-wide handler.
//
// Used on the host's UI thread only. Round trips happen while opening; the
// event path and the draw tick never wait for the server.
#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

// How the screen wants 32-bit back-buffer pixels laid out.
struct X11PixelFormat {
    uint8_t depth = 24;
    uint8_t bitsPerPixel = 32;
    bool lsbFirst = true;
    uint32_t redMask = 0xff0000;
    uint32_t greenMask = 0x00ff00;
    uint32_t blueMask = 0x0000ff;
    // The back buffer's words (A R G B, low byte B) can be sent as they are.
    bool MatchesBackBuffer() const
    {
        return bitsPerPixel == 32 && lsbFirst && redMask == 0xff0000 && greenMask == 0x00ff00 && blueMask == 0x0000ff;
    }
};

class X11Display {
public:
    // Connects to the display named by DISPLAY. Check IsUsable afterwards.
    X11Display();
    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    // Connected, screen found, connection not broken.
    bool IsUsable() const;
    xcb_connection_t* Connection() const { return mConnection; }
    const xcb_screen_t* Screen() const { return mScreen; }
    xcb_visualid_t Visual() const { return mScreen != nullptr ? mScreen->root_visual : 0; }
    xcb_window_t Root() const { return mScreen != nullptr ? mScreen->root : 0; }
    int FileDescriptor() const;
    const X11PixelFormat& Format() const { return mFormat; }

    // Atoms interned while connecting.
    xcb_atom_t xembedInfo = XCB_ATOM_NONE;
    xcb_atom_t xembed = XCB_ATOM_NONE;
    xcb_atom_t wmProtocols = XCB_ATOM_NONE;
    xcb_atom_t wmWindowTypeAtom = XCB_ATOM_NONE;
    xcb_atom_t popupMenuType = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;

    // MIT-SHM with file-descriptor passing (version 1.2 or later) is offered.
    bool HasSharedMemory() const { return mShmOffered; }
    // Response type of the shared-memory completion event (0 without SHM).
    uint8_t ShmCompletionType() const { return mShmCompletion; }

    // The key symbol of a key press: shift and caps lock choose the second
    // column, num lock the keypad's digits. 0 when the key has none.
    uint32_t KeysymFor(xcb_keycode_t code, uint16_t state);
    // The modifier bit that Alt sets (the one Alt_L or Alt_R is mapped to;
    // Mod1 when neither is).
    uint16_t AltMask();
    // The keyboard mapping changed: read it again on the next key.
    void ForgetKeyboard() { mKeysyms.clear(); }

    // Whether the window exists (one round trip).
    bool WindowExists(xcb_window_t window);
    // The host's top-level window above window (round trips): the nearest
    // ancestor (or window itself) a window manager manages (it carries
    // WM_STATE), else the topmost ancestor below the root; window itself
    // when it cannot be queried.
    xcb_window_t TopLevelOf(xcb_window_t window);

private:
    void InternAtoms();
    void FindFormat();
    void QuerySharedMemory();
    void ReadKeyboard();

    xcb_connection_t* mConnection = nullptr;
    const xcb_screen_t* mScreen = nullptr;
    X11PixelFormat mFormat;
    bool mShmOffered = false;
    uint8_t mShmCompletion = 0;
    xcb_keycode_t mMinKeycode = 0;
    int mKeysymsPerCode = 0;
    std::vector<uint32_t> mKeysyms;
    uint16_t mNumLockMask = 0;
    uint16_t mAltMask = XCB_MOD_MASK_1;
};
