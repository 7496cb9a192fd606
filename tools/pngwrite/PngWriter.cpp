#include "tests/raster/PngWriter.h"

#include <png.h>

#include <csetjmp>

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
