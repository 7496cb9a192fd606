#pragma once
// A script of gestures for tarvo-snapshot (--script FILE), one command per
// line, '#' starts a comment:
//   ticks N                  run N frames (timer ticks and a draw tick)
//   set NAME VALUE           a host edit, as --set
//   click X Y [MODS]         press and release
//   dblclick X Y [MODS]      press, release, double-click, release
//   drag X Y DX DY [MODS]    press, four drag steps to X+DX, Y+DY, release
//   hover X Y                pointer moved without a button
//   leave                    pointer left the editor
//   key X Y CODE             a key code (0 space, 1..4 arrows, 5..14 digits, 15..40 letters)
// MODS are any of: right shift control alt (a left button otherwise).
// Every command but ticks is followed by one frame, so its effect is drawn.
#include <string>
#include <vector>

class IEditorSurface;
class Ostrand;

struct SnapshotStep {
    std::string command;
    std::vector<int> numbers;
    std::string name, value;  // set
    bool right = false, shift = false, control = false, alt = false;
    int line = 0;
};

// Parses a whole script; false with "line N: ..." on the first bad line.
bool ParseSnapshotScript(const std::string& text, std::vector<SnapshotStep>& steps, std::string& error);

// One frame: the plug-in's timer ticks of one editor frame, then a draw tick.
void RunSnapshotFrame(Ostrand& plug, IEditorSurface& surface);

// Runs one step; false with a message when it cannot (an unknown parameter).
bool RunSnapshotStep(Ostrand& plug, IEditorSurface& surface, const SnapshotStep& step, std::string& error);
