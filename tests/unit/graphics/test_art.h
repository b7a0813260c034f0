// Small hand-made fonts, sprites and frame readers for the pixel tests.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "graphics/font.h"
#include "graphics/image.h"
#include "graphics/sprite.h"

constexpr uint32_t kPaper = 0xFF000000;  // opaque black background
constexpr uint32_t kInk = 0xFFFFFFFF;    // opaque white

struct GlyphBlock {
  uint32_t codepoint;
  int width, advance, offset = 0;
  uint8_t coverage = 255;
};

// A font whose glyphs are solid blocks `width` wide and `lineHeight` tall, side by
// side on one page. Blocks must be sorted by codepoint.
inline Font BlockFont(int lineHeight, const std::vector<GlyphBlock>& blocks) {
  Font font;
  font.lineHeight = lineHeight;
  int pageWidth = 0;
  for (const GlyphBlock& block : blocks) pageWidth += block.width;
  font.page = {pageWidth, lineHeight, std::vector<uint8_t>(size_t(pageWidth) * size_t(lineHeight))};
  int x = 0;
  for (const GlyphBlock& block : blocks) {
    font.glyphs.push_back({block.codepoint, int16_t(x), 0, int16_t(block.width), int16_t(lineHeight),
                           int16_t(block.offset), int16_t(block.advance)});
    for (int y = 0; y < lineHeight; ++y)
      for (int i = 0; i < block.width; ++i) font.page.values[size_t(y * pageWidth + x + i)] = block.coverage;
    x += block.width;
  }
  return font;
}

// 'A' is 2 wide (advance 3, odd), 'B' 3 wide (advance 4), 'M' 3 wide, 'ą' 2 wide,
// '€' (above the direct table) 1 wide; nothing else has a glyph.
inline Font LetterFont(int lineHeight) {
  return BlockFont(lineHeight, {{'A', 2, 3}, {'B', 3, 4}, {'M', 3, 4}, {0x105, 2, 3}, {0x20AC, 1, 2}});
}

// A w × h sprite whose pixel (x, y) is 0xFF000000 | (x + 1) << 16 | (y + 1) << 8,
// so every pixel tells where it came from. Bounding box: the whole image.
inline Sprite CodedSprite(int width, int height, int originX, int originY) {
  Sprite sprite;
  sprite.width = width, sprite.height = height;
  sprite.originX = originX, sprite.originY = originY;
  sprite.bboxLeft = 0, sprite.bboxTop = 0, sprite.bboxRight = width - 1, sprite.bboxBottom = height - 1;
  Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.At(x, y) = 0xFF000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8;
  sprite.frames.push_back(image);
  return sprite;
}

inline uint32_t Coded(int x, int y) { return 0xFF000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8; }

// The frame as text, one string per row: '#' for `ink`, '.' for the paper,
// '?' for anything else.
inline std::vector<std::string> Picture(const Image& frame, uint32_t ink = kInk) {
  std::vector<std::string> rows;
  for (int y = 0; y < frame.height; ++y) {
    std::string row;
    for (int x = 0; x < frame.width; ++x) row += frame.At(x, y) == ink ? '#' : frame.At(x, y) == kPaper ? '.' : '?';
    rows.push_back(row);
  }
  return rows;
}

using Edges = std::array<int, 4>;  // left, top, right, bottom

// Inclusive bounds of the pixels that are not paper; left > right when none.
struct Bounds {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  int count = 0;

  Edges edges() const { return {left, top, right, bottom}; }
};

inline Bounds InkBounds(const Image& frame, int top = 0, int bottom = -1) {
  if (bottom < 0) bottom = frame.height - 1;
  Bounds b;
  for (int y = top; y <= bottom; ++y)
    for (int x = 0; x < frame.width; ++x)
      if (frame.At(x, y) != kPaper) {
        b.left = std::min(b.left, x), b.right = std::max(b.right, x);
        b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
        ++b.count;
      }
  return b;
}
