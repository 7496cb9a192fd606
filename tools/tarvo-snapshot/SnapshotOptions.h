#pragma once
// Command line of tarvo-snapshot:
//   tarvo-snapshot [--set NAME=VALUE]... [--ticks N] [--audio demo] [--script FILE] -o FILE.png
#include <string>
#include <vector>

struct SnapshotSetting {
    std::string name;   // parameter display name, any case
    std::string value;  // plain value, or one of the parameter's value texts
};

struct SnapshotOptions {
    std::vector<SnapshotSetting> settings;
    int ticks = 3;       // draw ticks (each after the plug-in's timer ticks)
    std::string script;  // gesture script run after the ticks (SnapshotScript.h)
    bool demoAudio = false;  // feed the demo signal through the engine during the ticks
    std::string output;  // PNG file to write
    bool help = false;
};

extern const char kSnapshotUsage[];

// False with a message when the command line is wrong.
bool ParseSnapshotOptions(int argc, const char* const* argv, SnapshotOptions& options, std::string& error);
