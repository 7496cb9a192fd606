#include "ArtTestImage.h"

#include <png.h>

#include <cstdio>
#include <filesystem>

//------------------------------------------------------------------------
bool ReadArtPng(const std::string& path, ArtTestImage* out) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info || setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  out->width = static_cast<int>(png_get_image_width(png, info));
  out->height = static_cast<int>(png_get_image_height(png, info));
  out->bitDepth = png_get_bit_depth(png, info);
  out->colourType = png_get_color_type(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  out->rgba.assign(static_cast<size_t>(out->width) * out->height * 4, 0);
  for (int y = 0; y < out->height; ++y)
    png_read_row(png, out->rgba.data() + static_cast<size_t>(y) * out->width * 4, nullptr);
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return true;
}

//------------------------------------------------------------------------
std::string ArtFile(int id) {
  const std::string prefix = std::to_string(id) + "_";
  for (const auto& entry : std::filesystem::directory_iterator(TARVO_ART_DIR)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".png") return entry.path().string();
  }
  return {};
}
