#pragma once
// Key symbols of the X keyboard turned into what the editor understands.
//
// Editor key codes: the key's symbol is first taken to the virtual key the
// editor's other platform window receives for the same physical key (letters
// in either case give the capital's code, keypad keys and function keys the
// codes of those keys there), and the virtual key then to the editor's key
// code. So the keypad's 1 to 9 and F1 to F11, whose virtual keys are 97 to
// 122, reach the editor with the letter codes, as they do elsewhere.
#include <cstdint>

// The editor key code (IKeyCode) of a key symbol, or -1 for a key the editor
// does not take (it is then left to the host).
int X11EditorKeyCode(uint32_t keysym);

// The virtual key of a key symbol (0 when it has none).
int X11VirtualKey(uint32_t keysym);

// The character a key symbol types into a text entry: printable ASCII (the
// symbol's own value), keypad digits and signs, backspace as 8. -1 for keys
// that type nothing.
int X11EntryCharacter(uint32_t keysym);

// Key symbols the editor and its text entry look at.
enum : uint32_t {
    kXkBackSpace = 0xff08,
    kXkTab = 0xff09,
    kXkReturn = 0xff0d,
    kXkEscape = 0xff1b,
    kXkDelete = 0xffff,
    kXkHome = 0xff50,
    kXkLeft = 0xff51,
    kXkUp = 0xff52,
    kXkRight = 0xff53,
    kXkDown = 0xff54,
    kXkEnd = 0xff57,
    kXkKpEnter = 0xff8d,
    kXkKpLeft = 0xff96,
    kXkKpUp = 0xff97,
    kXkKpRight = 0xff98,
    kXkKpDown = 0xff99,
};
