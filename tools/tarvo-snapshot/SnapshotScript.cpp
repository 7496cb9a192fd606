#include "tools/tarvo-snapshot/SnapshotScript.h"

#include "editor/IEditorSurface.h"
#include "engine/ostrand/Ostrand.h"
#include "tools/tarvo-snapshot/Snapshot.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace {

// The plug-in's timer runs every 8 ms, about four times per 33 ms frame.
constexpr int kTimerTicksPerFrame = 4;
constexpr long kMaxTicks = 100000;
constexpr int kDragSteps = 4;

struct CommandShape {
    const char* name;
    int numbers;    // how many integers follow
    bool mouse;     // takes modifiers
};

constexpr CommandShape kCommands[] = {
    {"ticks", 1, false}, {"set", 0, false},  {"click", 2, true}, {"dblclick", 2, true},
    {"drag", 4, true},   {"hover", 2, false}, {"leave", 0, false}, {"key", 3, false},
};

//------------------------------------------------------------------------
bool ParseInt(const std::string& word, int& out)
{
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(word.c_str(), &end, 10);
    if (errno != 0 || end == word.c_str() || *end != '\0' || v < -kMaxTicks || v > kMaxTicks)
        return false;
    out = static_cast<int>(v);
    return true;
}

//------------------------------------------------------------------------
bool ParseLine(const std::vector<std::string>& words, SnapshotStep& step, std::string& error)
{
    const CommandShape* shape = nullptr;
    for (const CommandShape& c : kCommands)
        if (words[0] == c.name)
            shape = &c;
    if (shape == nullptr) {
        error = "unknown command \"" + words[0] + "\"";
        return false;
    }
    step.command = words[0];
    std::size_t at = 1;
    if (step.command == "set") {
        if (words.size() != 3) {
            error = "set wants NAME VALUE";
            return false;
        }
        step.name = words[1];
        step.value = words[2];
        return true;
    }
    for (int i = 0; i < shape->numbers; ++i, ++at) {
        int v = 0;
        if (at >= words.size() || !ParseInt(words[at], v)) {
            error = step.command + " wants " + std::to_string(shape->numbers) + " whole numbers";
            return false;
        }
        step.numbers.push_back(v);
    }
    for (; at < words.size(); ++at) {
        const std::string& m = words[at];
        bool* flag = !shape->mouse ? nullptr
                     : m == "right"   ? &step.right
                     : m == "shift"   ? &step.shift
                     : m == "control" ? &step.control
                     : m == "alt"     ? &step.alt
                                      : nullptr;
        if (flag == nullptr) {
            error = "unexpected \"" + m + "\" after " + step.command;
            return false;
        }
        *flag = true;
    }
    if (step.command == "ticks" && step.numbers[0] < 0) {
        error = "ticks cannot be negative";
        return false;
    }
    return true;
}

} // namespace

//------------------------------------------------------------------------
bool ParseSnapshotScript(const std::string& text, std::vector<SnapshotStep>& steps, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string w; words >> w;)
            parts.push_back(w);
        if (parts.empty())
            continue;
        SnapshotStep step;
        step.line = number;
        if (!ParseLine(parts, step, error)) {
            error = "line " + std::to_string(number) + ": " + error;
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

//------------------------------------------------------------------------
void RunSnapshotFrame(Ostrand& plug, IEditorSurface& surface)
{
    for (int t = 0; t < kTimerTicksPerFrame; ++t)
        plug.IdleTick();
    surface.TickAndRedraw();
}

//------------------------------------------------------------------------
bool RunSnapshotStep(Ostrand& plug, IEditorSurface& surface, const SnapshotStep& step, std::string& error)
{
    const std::string& c = step.command;
    const std::vector<int>& n = step.numbers;
    IMouseState mouse;
    mouse.left = !step.right;
    mouse.right = step.right;
    mouse.shift = step.shift;
    mouse.control = step.control;
    mouse.alt = step.alt;

    if (c == "ticks") {
        for (int i = 0; i < n[0]; ++i)
            RunSnapshotFrame(plug, surface);
        return true;
    }
    if (c == "set") {
        if (!ApplySnapshotSetting(plug, {step.name, step.value}, error)) {
            error = "line " + std::to_string(step.line) + ": " + error;
            return false;
        }
    } else if (c == "click") {
        surface.SurfaceMouseDown(n[0], n[1], mouse);
        surface.SurfaceMouseUp(n[0], n[1], mouse);
    } else if (c == "dblclick") {
        surface.SurfaceMouseDown(n[0], n[1], mouse);
        surface.SurfaceMouseUp(n[0], n[1], mouse);
        surface.SurfaceMouseDoubleClick(n[0], n[1], mouse);
        surface.SurfaceMouseUp(n[0], n[1], mouse);
    } else if (c == "drag") {
        surface.SurfaceMouseDown(n[0], n[1], mouse);
        for (int i = 1; i <= kDragSteps; ++i)
            surface.SurfaceMouseDrag(n[0] + n[2] * i / kDragSteps, n[1] + n[3] * i / kDragSteps, mouse);
        surface.SurfaceMouseUp(n[0] + n[2], n[1] + n[3], mouse);
    } else if (c == "hover") {
        surface.SurfaceMouseHover(n[0], n[1], IMouseState());
    } else if (c == "leave") {
        surface.SurfaceMouseLeave();
    } else if (c == "key") {
        surface.SurfaceKeyPress(n[0], n[1], n[2]);
    }
    RunSnapshotFrame(plug, surface);
    return true;
}
