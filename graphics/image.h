// graphics/image.h — a picture in memory: the frame the rasteriser draws into,
// a sprite frame, a glyph page.
//
// Pixels are 32-bit 0xAARRGGBB values in row-major order, row 0 at the top
// (the byte order of SDL_PIXELFORMAT_ARGB8888 on a little-endian machine).
// Invariant: pixels.size() == width * height.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  Image() = default;
  Image(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

  uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  uint32_t* Row(int y) { return pixels.data() + size_t(y) * size_t(width); }
  const uint32_t* Row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
};

// An 8-bit coverage map (glyph pages, precise collision masks).
// Invariant: values.size() == width * height.
struct AlphaMap {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> values;

  uint8_t At(int x, int y) const { return values[size_t(y) * size_t(width) + size_t(x)]; }
};
