// Windows: PNG images are module resources of type "PNG" with integer ids.
#include <windows.h>

#include "raster/RasterResources.h"

//---
RasterModule RasterThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&RasterThisModule), &module);
  return module;
}

//---
bool FindPngResource(RasterModule module, int32_t id, const void** data, size_t* size) {
  HMODULE m = static_cast<HMODULE>(module);
  HRSRC found = FindResourceA(m, MAKEINTRESOURCEA(id & 0xffff), "PNG");
  if (found == nullptr) {
    return false;
  }
  const DWORD bytes = SizeofResource(m, found);
  HGLOBAL loaded = LoadResource(m, found);
  const void* locked = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (locked == nullptr) {
    return false;
  }
  *data = locked;
  *size = bytes;
  return true;
}

//---
void RasterRegisterPngResources(const RasterPngResource*, size_t) {}
