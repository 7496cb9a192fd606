#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "raster/RasterPng.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Larger files are not art this program could use.
constexpr long kMaxFileBytes = 256L * 1024 * 1024;

//---
bool HasPngExtension(const char* path) {
  const char* tail = nullptr;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '.' || *p == '/' || *p == '\\') tail = p;
  }
  if (tail == nullptr || std::strlen(tail) != 4 || tail[0] != '.') {
    return false;
  }
  const char* png = "png";
  for (int i = 0; i < 3; ++i) {
    const char c = tail[i + 1];
    if ((c | 0x20) != png[i]) return false;
  }
  return true;
}

//---
std::FILE* OpenForReading(const char* path) {
#ifdef _WIN32
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
  if (n > 0) {
    std::vector<wchar_t> wide(static_cast<size_t>(n));
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), n) == n) {
      if (std::FILE* f = _wfopen(wide.data(), L"rb")) return f;
    }
  }
#endif
  return std::fopen(path, "rb");
}

}  // namespace

//---
RasterBitmap* DecodePngFile(const char* utf8Path, RasterBitmap* target, bool checkExtension) {
  if (utf8Path == nullptr || (checkExtension && !HasPngExtension(utf8Path))) {
    return nullptr;
  }
  std::FILE* f = OpenForReading(utf8Path);
  if (f == nullptr) {
    return nullptr;
  }
  RasterBitmap* result = nullptr;
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  if (size >= 8 && size <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0) {
    std::vector<unsigned char> bytes;
    try {
      bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
      bytes.clear();
    }
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size()) {
      result = DecodePngMemory(bytes.data(), bytes.size(), target);
    }
  }
  std::fclose(f);
  return result;
}
