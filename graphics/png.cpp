#include "graphics/png.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool Fail(std::string* error, const std::string& reason) {
  if (error) *error = reason;
  return false;
}
}  // namespace

bool WritePng(const std::string& path, const Image& image, std::string* error) {
  if (image.width <= 0 || image.height <= 0) return Fail(error, "empty image");
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) return Fail(error, "cannot create " + path);
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.width);
  png.height = png_uint_32(image.height);
  png.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB in little-endian memory order
  if (!png_image_write_to_stdio(&png, file.get(), 0, image.pixels.data(), 0, nullptr)) return Fail(error, png.message);
  if (std::fflush(file.get()) != 0) return Fail(error, "cannot write " + path);
  return true;
}

bool ReadPng(const std::string& path, Image& image, std::string* error) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return Fail(error, png.message);
  png.format = PNG_FORMAT_BGRA;
  Image result(int(png.width), int(png.height));
  if (!png_image_finish_read(&png, nullptr, result.pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    return Fail(error, png.message);
  }
  image = std::move(result);
  return true;
}
