// The process-wide cache of bitmaps, keyed by resource id. Each image is made
// once per process and lives until the module unloads. The lock is held only
// for lookup and insertion, never while a bitmap is made.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "raster/RasterBitmap.h"

class RasterBitmapCache {
public:
  // Makes the bitmap for an id, or nullptr; context is passed through.
  using Decoder = RasterBitmap* (*)(int32_t id, void* context);

  RasterBitmapCache() = default;
  ~RasterBitmapCache();
  RasterBitmapCache(const RasterBitmapCache&) = delete;
  RasterBitmapCache& operator=(const RasterBitmapCache&) = delete;

  // The cached bitmap of id, or nullptr.
  RasterBitmap* Find(int32_t id);
  // The cached bitmap of id, decoding it on a miss. A failed decode is not
  // cached. When two threads miss at once, the first bitmap stored is kept and
  // returned to both.
  RasterBitmap* Load(int32_t id, Decoder decoder, void* context);

private:
  struct Entry {
    int32_t id;
    RasterBitmap* bitmap;
  };
  RasterBitmap* FindLocked(int32_t id) const;

  std::mutex mLock;
  std::vector<Entry> mEntries;
};

// The cache shared by the whole module.
RasterBitmapCache& RasterGlobalBitmapCache();

// PNG resource id of this module, cached (nullptr if absent or its header is
// broken); its pixels are decoded once, on first use (OpenPngResource).
RasterBitmap* LoadCachedPngResource(int32_t id);
