#include "raster/RasterPng.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "raster/RasterMemBitmap.h"

const char kRasterPngFileTypes[] = "PNG files (*.PNG)";

namespace {

// How many zero bytes a read may serve past the end of the data. A file
// that only lacks its last chunk needs a few; a damaged chunk length can ask
// for gigabytes, which libpng would then allocate and checksum.
constexpr size_t kMaxZeroTail = 65536;

struct DecodeState {
  const uint8_t* data;
  size_t size;
  size_t position;
  size_t zeroTail;        // zero bytes served past the end so far
  RasterBitmap* target;
  RasterBitmap* created;  // deleted again when decoding fails
  png_bytep* rows;        // row table, freed in every case
};

// Each read zero-fills the requested bytes first, so a short image reads
// zeros; libpng then rejects the damaged chunk instead of reading past the end.
// Past kMaxZeroTail zero bytes the image is damaged beyond reading.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* state = static_cast<DecodeState*>(png_get_io_ptr(png));
  const size_t left = state->size - state->position;
  const size_t take = count < left ? count : left;
  if (count - take > kMaxZeroTail - state->zeroTail) png_error(png, "read far past the end of the data");
  state->zeroTail += count - take;
  std::memset(out, 0, count);
  std::memcpy(out, state->data + state->position, take);
  state->position += take;
}

// A plug-in inside a host stays silent: libpng's own handlers print every
// error and warning to stderr. Errors still leave through the jump buffer.
[[noreturn]] void QuietError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}

//---
void QuietWarning(png_structp, png_const_charp) {}

//---
void SetTransforms(png_structp png, png_infop info) {
  png_uint_32 width = 0, height = 0;
  int depth = 0, type = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &type, nullptr, nullptr, nullptr);
  bool alpha = (type & PNG_COLOR_MASK_ALPHA) != 0;
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    alpha = true;
  }
  if (depth == 16) png_set_strip_16(png);
  if (depth < 8) png_set_packing(png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (alpha) {
    png_set_swap_alpha(png);
  } else {
    png_set_filler(png, 0xff, PNG_FILLER_BEFORE);
  }
  png_set_interlace_handling(png);
}

// Reads the image into the target or a new bitmap. Leaves through libpng's
// jump buffer on any error, so it holds nothing that needs destroying.
void ReadImage(png_structp png, png_infop info, DecodeState* state) {
  png_set_read_fn(png, state, ReadFromMemory);
  // Only IHDR, PLTE, tRNS, IDAT and IEND matter here. Every other chunk is
  // skipped unread: libpng would buffer a text chunk whole, in a buffer as
  // large as the chunk claims to be, whatever the data really holds.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  SetTransforms(png, info);
  png_read_update_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff ||
      png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) {
    png_error(png, "unsupported image layout");
  }
  const auto w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
  RasterBitmap* bitmap = state->target;
  if (bitmap != nullptr) {
    bitmap->Resize(w, h);
  } else {
    state->created = new (std::nothrow) RasterMemBitmap(w, h, 4);
    bitmap = state->created;
  }
  if (bitmap == nullptr || bitmap->GetWidth() != w || bitmap->GetHeight() != h || bitmap->GetBits() == nullptr) {
    png_error(png, "no bitmap of the image's size");
  }
  state->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (state->rows == nullptr) {
    png_error(png, "out of memory");
  }
  uint8_t* bits = reinterpret_cast<uint8_t*>(bitmap->GetBits());
  const ptrdiff_t span = ptrdiff_t{bitmap->GetRowSpan()} * 4;
  for (int32_t y = 0; y < h; ++y) {
    state->rows[y] = bits + (bitmap->IsFlipped() ? h - 1 - y : y) * span;
  }
  png_read_image(png, state->rows);
  // Bytes A, R, G, B become the word A << 24 | R << 16 | G << 8 | B.
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* p = state->rows[y];
    for (int32_t x = 0; x < w; ++x, p += 4) {
      const uint32_t word = uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
      p[0] = static_cast<uint8_t>(word);
      p[1] = static_cast<uint8_t>(word >> 8);
      p[2] = static_cast<uint8_t>(word >> 16);
      p[3] = static_cast<uint8_t>(word >> 24);
    }
  }
}

}  // namespace

//---
RasterBitmap* DecodePngMemory(const void* bytes, size_t size, RasterBitmap* target) {
  if (bytes == nullptr || size < 8 || png_sig_cmp(static_cast<png_const_bytep>(bytes), 0, 8) != 0) {
    return nullptr;
  }
  // The reader is made for the libpng this module is built with: a reader
  // asking for an older interface version is refused by current libpng.
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
  if (png == nullptr) {
    return nullptr;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return nullptr;
  }
  DecodeState state{static_cast<const uint8_t*>(bytes), size, 0, 0, target, nullptr, nullptr};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(state.rows);
    delete state.created;
    return nullptr;
  }
  ReadImage(png, info, &state);
  png_destroy_read_struct(&png, &info, nullptr);
  std::free(state.rows);
  return target != nullptr ? target : state.created;
}
