#include "raster/RasterFontCache.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <mutex>
#include <string>
#include <vector>

#include "raster/RasterSystemFont.h"

namespace {

struct FontKey {
  int32_t size;
  int32_t orientation;
  int32_t style;
  std::string name;

  bool operator==(const FontKey&) const = default;
};

class FontCache {
public:
  ~FontCache() {
    for (Entry& e : mEntries) delete e.font;
  }

  RasterFont* Find(const FontKey& key) {
    std::lock_guard<std::mutex> lock(mLock);
    return FindLocked(key);
  }

  // Stores font unless another thread stored the key first; returns the winner.
  RasterFont* Add(const FontKey& key, RasterFont* font) {
    std::lock_guard<std::mutex> lock(mLock);
    if (RasterFont* winner = FindLocked(key)) {
      delete font;
      return winner;
    }
    try {
      mEntries.push_back({key, font});
    } catch (...) {
      delete font;
      return nullptr;
    }
    return font;
  }

private:
  struct Entry {
    FontKey key;
    RasterFont* font;
  };

  RasterFont* FindLocked(const FontKey& key) const {
    for (const Entry& e : mEntries) {
      if (e.key == key) return e.font;
    }
    return nullptr;
  }

  std::mutex mLock;
  std::vector<Entry> mEntries;
};

FontCache& Cache() {
  static FontCache cache;
  return cache;
}

}  // namespace

//---
RasterFont* ResolveFont(ITextStyle& style) {
  try {
    FontKey key{style.size, style.orientation, style.style, 
                std::string(style.name, std::find(style.name, std::end(style.name), '\0'))};
    if (RasterFont* cached = Cache().Find(key)) {
      style.font = cached;
      return cached;
    }
    RasterSystemFontRequest request{key.name.c_str(), style.size, style.orientation * 10,
                                    style.style == 1 ? 700 : 400, style.style == 2, style.quality};
    RasterSystemFont system = RasterCreateSystemFont(request);
    if (system == nullptr) {
      return nullptr;
    }
    auto* font = new (std::nothrow) RasterFont;
    if (font == nullptr) {
      RasterDeleteSystemFont(system);
      return nullptr;
    }
    font->SetFont(system, kRasterFontOwnsSystemFont | kRasterFontPreferSystem);
    style.font = Cache().Add(key, font);
    return style.font;
  } catch (...) {
    return nullptr;  // out of memory: nothing cached, the next draw tries again
  }
}
