#pragma once
// What the editor asks of the desktop on Linux: folders and opening web
// addresses with the desktop's opener.
#include <string>

// Only http, https and file addresses (scheme in any case) without control
// characters or blanks are handed to the opener.
bool X11IsOpenableAddress(const char* url);
// Starts `xdg-open url` found on PATH, without a shell, detached (nothing is
// left to reap) and without the host's open descriptors. True when the
// opener was started.
bool X11StartOpener(const char* url);
// The folder of path (everything up to and including the last '/'); empty
// when there is none.
std::string X11FolderOf(const std::string& path);
