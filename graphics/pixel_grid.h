// graphics/pixel_grid.h — how room coordinates (doubles) address the pixels of a
// frame, and the clipping of pixel rectangles to it.
//
// Pixel (c, r) covers [c, c + 1) × [r, r + 1); its centre is (c + 0.5, r + 0.5).
// A coordinate v addresses the pixel whose centre is the first at or after v:
// PixelOf(v) = ceil(v − 0.5). A whole number n therefore addresses pixel n, and
// the same pixel is the one whose centre samples sprite pixel 0 at position v.
// Indices are 64-bit and clamped to ±kFarPixel, far outside any frame, so huge or
// infinite coordinates stay off the frame without overflow. NaN addresses nothing:
// callers reject it before asking for a pixel.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "graphics/image.h"

constexpr int64_t kFarPixel = int64_t(1) << 40;

inline int64_t PixelOf(double v) {
  return int64_t(std::clamp(std::ceil(v - 0.5), -double(kFarPixel), double(kFarPixel)));
}

// An inclusive rectangle of pixel indices; empty when right < left or bottom < top.
struct PixelRect {
  int64_t left = 0, top = 0, right = -1, bottom = -1;

  // Cuts the rectangle to the frame; false when nothing of it is inside, in which
  // case no pixel work may follow.
  bool ClipTo(const Image& frame) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, int64_t(frame.width) - 1);
    bottom = std::min<int64_t>(bottom, int64_t(frame.height) - 1);
    return left <= right && top <= bottom;
  }
};
