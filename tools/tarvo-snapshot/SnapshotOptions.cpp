#include "tools/tarvo-snapshot/SnapshotOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kSnapshotUsage[] =
    "usage: tarvo-snapshot [--set NAME=VALUE]... [--ticks N] [--audio demo] [--script FILE] -o FILE.png\n"
    "  Creates the plug-in with its editor on a surface without a window,\n"
    "  sets parameters by name to plain values, runs N draw ticks (default 3),\n"
    "  then the gestures of the script (one per line: ticks N, set NAME VALUE,\n"
    "  click X Y, dblclick X Y, drag X Y DX DY, hover X Y, leave, key X Y CODE;\n"
    "  mouse commands take right, shift, control, alt), and writes the\n"
    "  editor's image as a PNG file. With --audio demo, every tick first\n"
    "  renders one frame's worth (1/30 s) of the render tool's demo signal\n"
    "  through the plug-in, so the meters and lights move.\n";

namespace {

// Longest run the tool accepts: about a minute of editor time at 30 per second.
constexpr long kMaxTicks = 100000;

//------------------------------------------------------------------------
bool ParseTicks(const char* text, int& ticks)
{
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || n < 0 || n > kMaxTicks)
        return false;
    ticks = static_cast<int>(n);
    return true;
}

} // namespace

//------------------------------------------------------------------------
bool ParseSnapshotOptions(int argc, const char* const* argv, SnapshotOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--audio") {
            if (!hasValue || std::strcmp(argv[i + 1], "demo") != 0) {
                error = "--audio knows one signal: demo";
                return false;
            }
            ++i;
            options.demoAudio = true;
        } else if (arg == "--set" || arg == "--ticks" || arg == "--script" || arg == "-o") {
            if (!hasValue) {
                error = arg + " needs a value";
                return false;
            }
            const char* value = argv[++i];
            if (arg == "-o") {
                options.output = value;
            } else if (arg == "--script") {
                options.script = value;
            } else if (arg == "--ticks") {
                if (!ParseTicks(value, options.ticks)) {
                    error = std::string("--ticks wants a whole number 0 to 100000, not \"") + value + "\"";
                    return false;
                }
            } else {
                const char* eq = std::strchr(value, '=');
                if (eq == nullptr || eq == value || eq[1] == '\0') {
                    error = std::string("--set wants NAME=VALUE, not \"") + value + "\"";
                    return false;
                }
                options.settings.push_back({std::string(value, eq), std::string(eq + 1)});
            }
        } else {
            error = "unknown argument \"" + arg + "\"";
            return false;
        }
    }
    if (!options.help && options.output.empty()) {
        error = "no output file (-o FILE.png)";
        return false;
    }
    return true;
}
