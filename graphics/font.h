// graphics/font.h — a bitmap font: a glyph page plus the placement of each glyph.
//
// Every glyph's cell is lineHeight pixels tall (h == lineHeight), so the height of
// the text "M" is the font's line height. `offset` is the horizontal bearing added
// to the pen position before the cell is drawn; `advance` moves the pen.
// Invariants: glyphs are sorted by codepoint and unique; every cell lies inside the
// page; glyphs do not change after the first Find (Find builds a direct table of
// the codepoints below kDirectGlyphs on its first call and keeps it, so fonts are
// looked up from one thread, the drawing thread).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image.h"

struct Glyph {
  uint32_t codepoint = 0;
  int16_t x = 0, y = 0, w = 0, h = 0;  // cell in the page
  int16_t offset = 0;
  int16_t advance = 0;
};

struct Font {
  // ASCII, Latin-1 and Latin Extended-A: every character of the Polish texts.
  static constexpr uint32_t kDirectGlyphs = 384;

  std::string name;
  std::string face;
  int size = 0;
  int lineHeight = 0;
  bool shadow = false;  // draw an effect pass before the text
  int shadowOffsetX = 0;
  int shadowOffsetY = 0;
  uint32_t shadowColour = 0xFF000000;  // 0xAARRGGBB
  std::vector<Glyph> glyphs;
  AlphaMap page;

  // The glyph of a codepoint, or null when the font has none. Constant time below
  // kDirectGlyphs, a binary search above.
  const Glyph* Find(uint32_t codepoint) const;

 private:
  // directIndex[c] = index into glyphs + 1, 0 when c has no glyph. Built lazily.
  mutable std::array<uint16_t, kDirectGlyphs> directIndex{};
  mutable bool directIndexBuilt = false;

  void BuildDirectIndex() const;
};

// The font used when no font of the game data is selected: monospaced, 11 px,
// characters 32 to 127. Its glyphs are generated at build time into the program.
const Font& BuiltinFont();
