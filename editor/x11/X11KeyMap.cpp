// Key symbols to virtual keys, editor key codes and entry characters.
#include "editor/x11/X11KeyMap.h"

#include "editor/EditorTypes.h"

namespace {

constexpr int kVkSpace = 0x20;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;

// Keypad symbols with num lock on, and the function keys.
constexpr uint32_t kXkKp0 = 0xffb0;
constexpr uint32_t kXkKp9 = 0xffb9;
constexpr uint32_t kXkKpMultiply = 0xffaa;
constexpr uint32_t kXkKpDivide = 0xffaf;
constexpr uint32_t kXkKpSpace = 0xff80;
constexpr uint32_t kXkKpDecimal = 0xffae;
constexpr uint32_t kXkKpAdd = 0xffab;
constexpr uint32_t kXkKpSubtract = 0xffad;
constexpr uint32_t kXkF1 = 0xffbe;
constexpr uint32_t kXkF24 = 0xffd5;

} // namespace

//------------------------------------------------------------------------
int X11VirtualKey(uint32_t keysym)
{
    if (keysym >= 'a' && keysym <= 'z')
        return static_cast<int>(keysym - 'a' + 'A');
    if ((keysym >= 'A' && keysym <= 'Z') || (keysym >= '0' && keysym <= '9'))
        return static_cast<int>(keysym);
    switch (keysym) {
    case ' ':
    case kXkKpSpace:
        return kVkSpace;
    case kXkLeft:
    case kXkKpLeft:
        return kVkLeft;
    case kXkUp:
    case kXkKpUp:
        return kVkUp;
    case kXkRight:
    case kXkKpRight:
        return kVkRight;
    case kXkDown:
    case kXkKpDown:
        return kVkDown;
    default:
        break;
    }
    // Keypad digits 0..9 are 96..105, its operators * + , - . / 106..111.
    if (keysym >= kXkKp0 && keysym <= kXkKp9)
        return static_cast<int>(96 + keysym - kXkKp0);
    if (keysym >= kXkKpMultiply && keysym <= kXkKpDivide)
        return static_cast<int>(106 + keysym - kXkKpMultiply);
    // F1..F24 are 112..135.
    if (keysym >= kXkF1 && keysym <= kXkF24)
        return static_cast<int>(112 + keysym - kXkF1);
    return 0;
}

//------------------------------------------------------------------------
int X11EditorKeyCode(uint32_t keysym)
{
    int vk = X11VirtualKey(keysym);
    switch (vk) {
    case kVkSpace:
        return kKeySpace;
    case kVkUp:
        return kKeyUp;
    case kVkDown:
        return kKeyDown;
    case kVkLeft:
        return kKeyLeft;
    case kVkRight:
        return kKeyRight;
    default:
        break;
    }
    if (vk >= '0' && vk <= '9')
        return kKeyDigit0 + (vk - '0');
    if (vk >= 'A' && vk <= 'Z')
        return kKeyA + (vk - 'A');
    if (vk >= 97 && vk <= 122)
        return kKeyA + (vk - 97);
    return -1;
}

//------------------------------------------------------------------------
int X11EntryCharacter(uint32_t keysym)
{
    if (keysym == kXkBackSpace)
        return 8;
    // Printable ASCII only: a Latin-1 byte would not be valid in the UTF-8
    // the editor's text drawing reads.
    if (keysym >= 0x20 && keysym <= 0x7e)
        return static_cast<int>(keysym);
    if (keysym >= kXkKp0 && keysym <= kXkKp9)
        return static_cast<int>('0' + keysym - kXkKp0);
    switch (keysym) {
    case kXkKpDecimal:
        return '.';
    case kXkKpAdd:
        return '+';
    case kXkKpSubtract:
        return '-';
    case kXkKpMultiply:
        return '*';
    case kXkKpDivide:
        return '/';
    case kXkKpSpace:
        return ' ';
    default:
        return -1;
    }
}
