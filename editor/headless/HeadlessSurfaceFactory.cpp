#include "editor/EditorSurfaceFactory.h"
#include "editor/headless/IEditorSurfaceHeadless.h"

#include <new>

//------------------------------------------------------------------------
IEditorSurface* NewPlatformEditorSurface(IFxBase* plug, int width, int height, int refreshRate)
{
    return new (std::nothrow) IEditorSurfaceHeadless(plug, width, height, refreshRate);
}
