// graphics/colour.h — the two colour encodings and the pixel arithmetic of drawing.
//
// Runtime colour (scripts, game data): red in the low byte, then green, then blue,
// alpha in the top byte: (alpha << 24) | (blue << 16) | (green << 8) | red.
// Pixel (Image): 0xAARRGGBB, straight (not premultiplied) alpha.
// The two differ only in the places of red and blue; every conversion between them
// goes through PixelFromColour. Blending is source-over with straight alpha.
#pragma once

#include <cmath>
#include <cstdint>

// The pixel of a runtime colour that carries its alpha in the top byte.
constexpr uint32_t PixelFromColour(uint32_t colour) {
  return (colour & 0xFF00FF00u) | ((colour & 0xFFu) << 16) | ((colour >> 16) & 0xFFu);
}

// The pixel of a 24-bit runtime colour with the given alpha.
constexpr uint32_t PixelFromColour(uint32_t rgbColour, uint8_t alpha) {
  return PixelFromColour((uint32_t(alpha) << 24) | (rgbColour & 0xFFFFFFu));
}

// An alpha given as a real 0..1 as a byte: trunc(clamp(a, 0, 1) × 255).
// NaN gives 0 (fully transparent) rather than an undefined conversion.
inline uint8_t AlphaByte(double alpha) {
  if (!(alpha > 0)) return 0;
  if (alpha >= 1) return 255;
  return uint8_t(std::trunc(alpha * 255.0));
}

constexpr uint32_t PixelAlpha(uint32_t pixel) { return pixel >> 24; }

constexpr uint32_t WithAlpha(uint32_t pixel, uint32_t alpha) { return (alpha << 24) | (pixel & 0xFFFFFFu); }

// a × b / 255, rounded to nearest; exact when either factor is 0 or 255.
constexpr uint32_t MulByte(uint32_t a, uint32_t b) { return (a * b + 127) / 255; }

// Channel-wise product of two pixels (alpha included): a sprite pixel tinted by a
// blend colour and faded by an alpha. A white opaque tint leaves the pixel as it is.
constexpr uint32_t Modulate(uint32_t pixel, uint32_t tint) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8)
    result |= MulByte((pixel >> shift) & 0xFFu, (tint >> shift) & 0xFFu) << shift;
  return result;
}

// `src` drawn over `dst` (source-over), rounded to nearest. Over an opaque
// destination this is (src × srcAlpha + dst × (255 − srcAlpha)) / 255 per channel
// and the result stays opaque; the general form gives the same values there.
constexpr uint32_t BlendOver(uint32_t dst, uint32_t src) {
  const uint32_t srcAlpha = PixelAlpha(src);
  if (srcAlpha == 255) return src;
  if (srcAlpha == 0) return dst;
  if (PixelAlpha(dst) == 255) {  // the usual case: a cleared frame is opaque
    uint32_t result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t s = (src >> shift) & 0xFFu;
      const uint32_t d = (dst >> shift) & 0xFFu;
      result |= ((s * srcAlpha + d * (255 - srcAlpha) + 127) / 255) << shift;
    }
    return result;
  }
  const uint32_t srcWeight = srcAlpha * 255;  // both weights are scaled by 255
  const uint32_t dstWeight = PixelAlpha(dst) * (255 - srcAlpha);
  const uint32_t total = srcWeight + dstWeight;  // > 0 because srcAlpha > 0
  uint32_t result = ((total + 127) / 255) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t s = (src >> shift) & 0xFFu;
    const uint32_t d = (dst >> shift) & 0xFFu;
    result |= ((s * srcWeight + d * dstWeight + total / 2) / total) << shift;
  }
  return result;
}
