#include "raster/RasterResources.h"

#include "raster/RasterLazyPngBitmap.h"
#include "raster/RasterPng.h"

//---
RasterBitmap* DecodePngResource(RasterModule module, int32_t id, RasterBitmap* target) {
  const void* data = nullptr;
  size_t size = 0;
  if (!FindPngResource(module, id, &data, &size) || size < 8) {
    return nullptr;
  }
  return DecodePngMemory(data, size, target);
}

//---
RasterBitmap* OpenPngResource(RasterModule module, int32_t id) {
  const void* data = nullptr;
  size_t size = 0;
  if (!FindPngResource(module, id, &data, &size)) {
    return nullptr;
  }
  return OpenPngMemory(data, size);
}
