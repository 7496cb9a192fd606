#include "ArtStrip.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

//------------------------------------------------------------------------
ArtStrip::ArtStrip(int width, int frameHeight, int frames)
    : mWidth(width), mFrameHeight(frameHeight), mFrames(frames),
      mRgba(static_cast<size_t>(width) * frameHeight * frames * 4, 0) {}

//------------------------------------------------------------------------
double ArtStrip::FrameValue(int index) const {
  return mFrames < 2 ? 0.0 : static_cast<double>(index) / (mFrames - 1);
}

//------------------------------------------------------------------------
void ArtStrip::DrawFrames(const std::function<void(cairo_t*, int, double)>& paint) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, mWidth, mFrameHeight);
  for (int i = 0; i < mFrames; ++i) {
    cairo_t* cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    paint(cr, i, FrameValue(i));
    cairo_destroy(cr);
    StoreFrame(i, surface);
  }
  cairo_surface_destroy(surface);
}

//------------------------------------------------------------------------
void UnpremultiplyPixel(uint32_t argb, uint8_t* rgba) {
  const uint32_t a = argb >> 24;
  const uint32_t r = (argb >> 16) & 0xff, g = (argb >> 8) & 0xff, b = argb & 0xff;
  if (a == 0) {
    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
    return;
  }
  // Rounded division; a premultiplied channel never exceeds its alpha, the
  // clamp only guards against surfaces written by other means.
  auto un = [a](uint32_t c) {
    const uint32_t v = (c * 255 + a / 2) / a;
    return static_cast<uint8_t>(v > 255 ? 255 : v);
  };
  rgba[0] = un(r);
  rgba[1] = un(g);
  rgba[2] = un(b);
  rgba[3] = static_cast<uint8_t>(a);
}

//------------------------------------------------------------------------
void ArtStrip::StoreFrame(int index, cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  if (cairo_image_surface_get_width(surface) != mWidth ||
      cairo_image_surface_get_height(surface) != mFrameHeight)
    throw std::runtime_error("frame surface has the wrong size");
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  uint8_t* out = mRgba.data() + static_cast<size_t>(index) * mWidth * mFrameHeight * 4;
  for (int y = 0; y < mFrameHeight; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < mWidth; ++x, out += 4) UnpremultiplyPixel(row[x], out);
  }
}

//------------------------------------------------------------------------
std::string WriteRgbaPng(const std::string& path, int width, int height, const uint8_t* rgba) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return "cannot open " + path + " for writing";
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(file);
    return "out of memory writing " + path;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return "libpng failed writing " + path;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // Fixed settings: the output depends on the pixels only.
  png_set_compression_level(png, 9);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y)
    png_write_row(png, rgba + static_cast<size_t>(y) * width * 4);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(file) != 0) return "cannot finish writing " + path;
  return {};
}
