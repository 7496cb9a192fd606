// The Linux bundle's editor surface: the X11 window.
#include "editor/EditorSurfaceFactory.h"
#include "editor/x11/IEditorSurfaceX11.h"

#include <new>

//------------------------------------------------------------------------
IEditorSurface* NewPlatformEditorSurface(IFxBase* plug, int width, int height, int refreshRate)
{
    return new (std::nothrow) IEditorSurfaceX11(plug, width, height, refreshRate);
}
