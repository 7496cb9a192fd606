#pragma once
// Virtual keys of a key-down message to the editor's key codes (IKeyCode):
// space, the arrows, the digits and the letters. Codes 97..122 map like
// 65..90, so the numeric keypad's 1..9 and operator keys and the function
// keys F1..F11 arrive as letters (F1 is 'P').

// The key code for virtualKey, or -1 when the editor has none for it.
constexpr int KeyCodeForVirtualKey(int virtualKey)
{
    switch (virtualKey) {
    case 0x20: return 0;  // space
    case 0x26: return 1;  // up
    case 0x28: return 2;  // down
    case 0x25: return 3;  // left
    case 0x27: return 4;  // right
    default: break;
    }
    if (virtualKey >= '0' && virtualKey <= '9')
        return 5 + (virtualKey - '0');
    if (virtualKey >= 'A' && virtualKey <= 'Z')
        return 15 + (virtualKey - 'A');
    if (virtualKey >= 97 && virtualKey <= 122)
        return 15 + (virtualKey - 97);
    return -1;
}
