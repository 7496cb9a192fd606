// tarvo-snapshot: draws the plug-in's editor without a window and saves it
// as a PNG file (see SnapshotOptions.cpp for the command line).
#include "tools/tarvo-snapshot/Snapshot.h"
#include "tools/tarvo-snapshot/SnapshotOptions.h"

#include <cstdio>

//------------------------------------------------------------------------
int main(int argc, char** argv)
{
    SnapshotOptions options;
    std::string error;
    if (!ParseSnapshotOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tarvo-snapshot: %s\n%s", error.c_str(), kSnapshotUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kSnapshotUsage, stdout);
        return 0;
    }
    if (!RunSnapshot(options, error)) {
        std::fprintf(stderr, "tarvo-snapshot: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
