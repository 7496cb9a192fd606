#pragma once
// What a bundle's own source supplies to the module entry: its plug-in class.
class IFxVST3;

namespace tarvo::vst3 {

// Constructs one plug-in instance (called under the creation lock). May throw
// on allocation failure; the caller turns that into a null result.
IFxVST3* NewPluginInstance();

// The module's instance handle (Windows HINSTANCE; the library handle given
// to ModuleEntry on Linux), from which the editor loads its resources.
void* ModuleHandle();

} // namespace tarvo::vst3
