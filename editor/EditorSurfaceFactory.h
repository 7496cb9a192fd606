#pragma once
// Makes the editor surface of the platform this build targets: the Windows
// window surface, the X11 surface, or the headless one. Each program links
// exactly one definition (see editor/CMakeLists.txt); tools that must never
// open a window link the headless one explicitly.
class IEditorSurface;
class IFxBase;

// refreshRate 0 or negative means 30. Never null unless memory ran out.
IEditorSurface* NewPlatformEditorSurface(IFxBase* plug, int width, int height, int refreshRate);
