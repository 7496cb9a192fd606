// The product bundle's plug-in class.
#include "engine/ostrand/Ostrand.h"
#include "vst3/ModuleEntry.h"

IFxVST3* tarvo::vst3::NewPluginInstance()
{
    return new Ostrand(nullptr);
}
