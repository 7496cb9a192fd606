#include "editor/EditorSurfaceFactory.h"
#include "editor/win/IEditorSurfaceWin.h"

#include <new>

//------------------------------------------------------------------------
IEditorSurface* NewPlatformEditorSurface(IFxBase* plug, int width, int height, int refreshRate)
{
    // The window class and the PNG resources belong to the module this code
    // is linked into, which the surface finds by itself.
    return new (std::nothrow) IEditorSurfaceWin(plug, width, height, refreshRate);
}
