#include "tools/pngwrite/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "raster/RasterBitmap.h"

namespace {

void Append(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

void Flush(png_structp) {}

void Write(png_structp png, png_infop info, const PngImage* image, std::vector<uint8_t>* out,
           std::vector<png_color>* colours, std::vector<png_bytep>* rows) {
  png_set_write_fn(png, out, Append, Flush);
  png_set_IHDR(png, info, image->width, image->height, image->depth, image->colourType,
               image->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  for (size_t i = 0; i + 2 < image->palette.size(); i += 3) {
    colours->push_back({image->palette[i], image->palette[i + 1], image->palette[i + 2]});
  }
  if (!colours->empty()) png_set_PLTE(png, info, colours->data(), static_cast<int>(colours->size()));
  if (!image->paletteAlpha.empty()) {
    png_set_tRNS(png, info, image->paletteAlpha.data(), static_cast<int>(image->paletteAlpha.size()), nullptr);
  }
  for (const auto& row : image->rows) rows->push_back(const_cast<png_bytep>(row.data()));
  png_set_rows(png, info, rows->data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
}

}  // namespace

std::vector<uint8_t> EncodePng(const PngImage& image) {
  std::vector<uint8_t> out;
  std::vector<png_color> colours;
  std::vector<png_bytep> rows;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    out.clear();
    return out;
  }
  Write(png, info, &image, &out, &colours, &rows);
  png_destroy_write_struct(&png, &info);
  return out;
}

//---
std::vector<uint8_t> EncodeBitmapPng(RasterBitmap& bitmap, bool withAlpha) {
  const uint32_t* bits = bitmap.GetBits();
  if (bits == nullptr || bitmap.GetWidth() <= 0 || bitmap.GetHeight() <= 0) return {};
  PngImage image;
  image.width = bitmap.GetWidth();
  image.height = bitmap.GetHeight();
  image.colourType = withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
  const int channels = withAlpha ? 4 : 3;
  image.rows.resize(static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    const int32_t row = bitmap.IsFlipped() ? image.height - 1 - y : y;
    const uint32_t* src = bits + static_cast<size_t>(row) * static_cast<size_t>(bitmap.GetRowSpan());
    std::vector<uint8_t>& out = image.rows[static_cast<size_t>(y)];
    out.resize(static_cast<size_t>(image.width) * static_cast<size_t>(channels));
    for (int x = 0; x < image.width; ++x) {
      uint8_t* d = out.data() + static_cast<size_t>(x) * static_cast<size_t>(channels);
      d[0] = static_cast<uint8_t>(src[x] >> 16);
      d[1] = static_cast<uint8_t>(src[x] >> 8);
      d[2] = static_cast<uint8_t>(src[x]);
      if (withAlpha) d[3] = static_cast<uint8_t>(src[x] >> 24);
    }
  }
  return EncodePng(image);
}

//---
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}
