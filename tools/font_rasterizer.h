// tools/font_rasterizer.h — turns a scalable font file into a Font of the game
// data: the glyphs of the requested characters rendered with FreeType (8-bit
// anti-aliased coverage, light hinting) and packed into one glyph page.
//
// Every glyph cell is lineHeight pixels tall with the baseline `ascent` pixels
// below its top, ascent and descent being large enough for every rendered glyph
// (so accents above capitals, such as in Ś or Ż, are never cut). Characters that
// the face lacks are left out.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "graphics/font.h"

struct FontRequest {
  std::string name;  // the font's name in the game data
  std::string file;  // path of the font file
  int pixelSize = 0;
  std::vector<std::pair<uint32_t, uint32_t>> ranges;  // inclusive codepoint ranges
};

// Throws std::runtime_error when the file cannot be read or gives no glyph.
Font RasteriseFont(const FontRequest& request);
