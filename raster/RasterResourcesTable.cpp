// Systems without module resources: each module registers the table that the
// build compiled into it. The registry is constant-initialised, so tables may
// register during static initialisation in any order.
#include <mutex>

#include "raster/RasterResources.h"

namespace {

constexpr size_t kMaxTables = 16;

struct Registry {
  const RasterPngResource* tables[kMaxTables];
  size_t counts[kMaxTables];
  size_t used;
};

Registry gRegistry;  // zero-initialised before any dynamic initialisation
std::mutex gRegistryLock;

int gThisModule;  // its address stands for this module

}  // namespace

//---
RasterModule RasterThisModule() {
  return &gThisModule;
}

//---
void RasterRegisterPngResources(const RasterPngResource* table, size_t count) {
  std::lock_guard<std::mutex> lock(gRegistryLock);
  if (table != nullptr && gRegistry.used < kMaxTables) {
    gRegistry.tables[gRegistry.used] = table;
    gRegistry.counts[gRegistry.used] = count;
    ++gRegistry.used;
  }
}

//---
bool FindPngResource(RasterModule, int32_t id, const void** data, size_t* size) {
  const int32_t key = id & 0xffff;
  std::lock_guard<std::mutex> lock(gRegistryLock);
  for (size_t t = 0; t < gRegistry.used; ++t) {
    for (size_t i = 0; i < gRegistry.counts[t]; ++i) {
      const RasterPngResource& r = gRegistry.tables[t][i];
      if (r.id == key) {
        *data = r.data;
        *size = r.size;
        return true;
      }
    }
  }
  return false;
}
