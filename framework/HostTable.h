#pragma once
// Identifies the host application from the name it reports.

namespace fx {

// Host code for a host name: the first key of the host table found as a
// substring of the lower-cased name, or 0 for an unknown host.
int HostCodeForName(const char* hostName);

// Formats a version word (major << 16 | minor << 8 | patch) as "v%d.%d.%d".
void FormatVersion(int version, char* out, int outSize);

} // namespace fx
