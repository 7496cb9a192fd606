// PNG resources of a module, addressed by integer id: only the low 16 bits of
// an id count, so id + 65536 finds the same image. On Windows they are module
// resources of type "PNG"; elsewhere a table compiled into the module by
// tarvo_add_png_resources (cmake/TarvoResources.cmake).
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/RasterBitmap.h"

// A module whose resources are searched (an HMODULE on Windows).
using RasterModule = void*;

// The module that holds this code: the plug-in library or the program.
RasterModule RasterThisModule();

// Finds resource id of type "PNG" in module; false when it is absent.
bool FindPngResource(RasterModule module, int32_t id, const void** data, size_t* size);

// Finds resource id and decodes it (DecodePngMemory); nullptr when the
// resource is absent, shorter than 8 bytes or not a valid PNG.
RasterBitmap* DecodePngResource(RasterModule module, int32_t id, RasterBitmap* target);

// Finds resource id and reads only its PNG header: a bitmap of the image's
// size that decodes its pixels on first use (RasterLazyPngBitmap), owned by
// the caller; nullptr when the resource is absent or its header is not a
// valid PNG header. The bitmap points into the module's resource data, so it
// must not outlive the module.
RasterBitmap* OpenPngResource(RasterModule module, int32_t id);

// One entry of a compiled resource table.
struct RasterPngResource {
  int32_t id;
  const unsigned char* data;
  size_t size;
};

// Registers a module's compiled table (called by the generated table code at
// load time; unused on Windows). The table must outlive the module.
void RasterRegisterPngResources(const RasterPngResource* table, size_t count);
