#include "tools/tarvo-render/RenderOptions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace render {

//------------------------------------------------------------------------
const char* UsageText()
{
    return "usage: tarvo-render [options] [INPUT]\n"
           "Renders INPUT (mono or stereo; without INPUT a built-in drums and bass demo)\n"
           "through the Tarvo VST 3 plug-in, loaded as a DAW loads it.\n"
           "\n"
           "  -o, --output FILE      result (.wav float, .flac 24-bit, .aiff float);\n"
           "                         default: INPUT's name with -tarvo.wav, or tarvo-demo.wav\n"
           "  -s, --sidechain FILE   external sidechain signal (same sample rate)\n"
           "  -p, --preset NAME|N    factory preset by name or index (see --list-presets)\n"
           "      --set NAME=VALUE   set a parameter in its own units (repeatable)\n"
           "      --bypass           render with the plug-in bypassed\n"
           "  -b, --block N          block size in frames (default 512)\n"
           "      --64               64-bit processing (default 32-bit)\n"
           "      --rate HZ          sample rate of the demo signal (default 44100)\n"
           "      --dry-output FILE  also write the unprocessed input\n"
           "      --plugin PATH      the Tarvo.vst3 bundle to load\n"
           "      --list-params      list the parameters and exit\n"
           "      --list-presets     list the factory presets and exit\n"
           "  -q, --quiet            no progress bar\n"
           "  -h, --help             this text\n";
}

//------------------------------------------------------------------------
bool ParseOptions(int argc, char** argv, RenderOptions& o, bool& wantHelp, std::string& error)
{
    wantHelp = false;
    auto value = [&](int& i, const char* name, std::string& out) {
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return false;
        }
        out = argv[++i];
        return true;
    };
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        std::string v;
        if (a == "-h" || a == "--help") {
            wantHelp = true;
        } else if (a == "-o" || a == "--output") {
            if (!value(i, "--output", o.output))
                return false;
        } else if (a == "-s" || a == "--sidechain") {
            if (!value(i, "--sidechain", o.sidechain))
                return false;
        } else if (a == "-p" || a == "--preset") {
            if (!value(i, "--preset", o.preset))
                return false;
        } else if (a == "--set") {
            if (!value(i, "--set", v))
                return false;
            auto eq = v.find('=');
            if (eq == std::string::npos || eq == 0 || eq + 1 == v.size()) {
                error = "--set wants NAME=VALUE, not '" + v + "'";
                return false;
            }
            o.sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
        } else if (a == "--bypass") {
            o.bypass = true;
        } else if (a == "-b" || a == "--block") {
            if (!value(i, "--block", v))
                return false;
            char* end = nullptr;
            long n = std::strtol(v.c_str(), &end, 10);
            if (*end != '\0' || n < 1 || n > 65536) {
                error = "--block wants a frame count from 1 to 65536";
                return false;
            }
            o.blockSize = static_cast<int>(n);
        } else if (a == "--64") {
            o.use64 = true;
        } else if (a == "--32") {
            o.use64 = false;
        } else if (a == "--rate") {
            if (!value(i, "--rate", v))
                return false;
            char* end = nullptr;
            double r = std::strtod(v.c_str(), &end);
            if (*end != '\0' || !std::isfinite(r) || r < 8000.0 || r > 384000.0) {
                error = "--rate wants a sample rate from 8000 to 384000";
                return false;
            }
            o.demoRate = r;
        } else if (a == "--dry-output") {
            if (!value(i, "--dry-output", o.dryOutput))
                return false;
        } else if (a == "--plugin") {
            if (!value(i, "--plugin", o.plugin))
                return false;
        } else if (a == "--list-params") {
            o.listParams = true;
        } else if (a == "--list-presets") {
            o.listPresets = true;
        } else if (a == "-q" || a == "--quiet") {
            o.quiet = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            error = "unknown option " + a;
            return false;
        } else if (o.input.empty()) {
            o.input = a;
        } else {
            error = "more than one input file given ('" + o.input + "', '" + a + "')";
            return false;
        }
    }
    return true;
}

} // namespace render
