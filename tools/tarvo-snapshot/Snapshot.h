#pragma once
// Renders the plug-in's editor without a window: the plug-in is created as
// a host would create it, its editor surface runs its draw ticks on the
// headless surface, and the back buffer is written as a PNG file.
#include "tools/tarvo-snapshot/SnapshotOptions.h"

#include <string>

class IEditorSurface;
class Ostrand;

// The plug-in's editor surface. A plug-in built without its own editor gets
// a surface holding just its background (resource 100), attached to it.
IEditorSurface* EnsureSnapshotEditor(Ostrand& plug);

// Sets a parameter by display name (any case) to a plain value or to one of
// its value texts, the way a host edit arrives. False with a message when
// there is no such parameter or the value is not a finite number or text.
bool ApplySnapshotSetting(Ostrand& plug, const SnapshotSetting& setting, std::string& error);

// The whole run; false with a message on failure (nothing written then).
bool RunSnapshot(const SnapshotOptions& options, std::string& error);
