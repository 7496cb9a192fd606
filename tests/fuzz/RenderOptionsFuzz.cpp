// Fuzzes tarvo-render's command line: the input is split at NUL bytes into
// arguments. Parsing either fails with a message or yields options inside
// their documented limits.
#include "tools/tarvo-render/RenderOptions.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> args{"tarvo-render"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    args.push_back(current);
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    render::RenderOptions options;
    bool wantHelp = false;
    std::string error;
    bool ok = render::ParseOptions(static_cast<int>(args.size()), argv.data(), options, wantHelp, error);
    if (ok != error.empty() ||
        (ok && (options.blockSize < 1 || options.blockSize > 65536 || !(options.demoRate >= 8000.0) ||
                options.demoRate > 384000.0))) {
        std::fprintf(stderr, "render options fuzz: parse %d, error '%s'\n", ok, error.c_str());
        std::abort();
    }
    return 0;
}
