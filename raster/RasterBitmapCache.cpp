#include "raster/RasterBitmapCache.h"

#include "raster/RasterResources.h"

//---
RasterBitmapCache::~RasterBitmapCache() {
  for (const Entry& e : mEntries) {
    delete e.bitmap;
  }
}

//---
RasterBitmap* RasterBitmapCache::FindLocked(int32_t id) const {
  for (const Entry& e : mEntries) {
    if (e.id == id) return e.bitmap;
  }
  return nullptr;
}

//---
RasterBitmap* RasterBitmapCache::Find(int32_t id) {
  std::lock_guard<std::mutex> lock(mLock);
  return FindLocked(id);
}

//---
RasterBitmap* RasterBitmapCache::Load(int32_t id, Decoder decoder, void* context) {
  if (RasterBitmap* cached = Find(id)) {
    return cached;
  }
  RasterBitmap* made = decoder != nullptr ? decoder(id, context) : nullptr;
  if (made == nullptr) {
    return nullptr;
  }
  std::lock_guard<std::mutex> lock(mLock);
  if (RasterBitmap* winner = FindLocked(id)) {
    delete made;  // another thread stored this id while we decoded
    return winner;
  }
  try {
    mEntries.push_back({id, made});
  } catch (...) {
    delete made;
    return nullptr;
  }
  return made;
}

//---
RasterBitmapCache& RasterGlobalBitmapCache() {
  static RasterBitmapCache cache;
  return cache;
}

//---
RasterBitmap* LoadCachedPngResource(int32_t id) {
  auto decode = [](int32_t key, void*) { return OpenPngResource(RasterThisModule(), key); };
  return RasterGlobalBitmapCache().Load(id, decode, nullptr);
}
