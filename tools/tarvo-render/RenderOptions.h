#pragma once
// Command line of tarvo-render.
#include <string>
#include <utility>
#include <vector>

namespace render {

struct RenderOptions {
    std::string plugin;            // bundle folder or module file
    std::string input;             // empty: the built-in demo
    std::string sidechain;
    std::string output;
    std::string dryOutput;         // also write the (demo) input here
    std::string preset;            // name or index
    std::vector<std::pair<std::string, std::string>> sets;  // Name=value, plain units
    bool bypass = false;
    bool use64 = false;
    bool listParams = false;
    bool listPresets = false;
    bool quiet = false;
    int blockSize = 512;
    double demoRate = 44100.0;
};

// Parses argv. Returns false with a message on a bad command line; sets
// wantHelp for -h/--help.
bool ParseOptions(int argc, char** argv, RenderOptions& options, bool& wantHelp, std::string& error);
const char* UsageText();

} // namespace render
