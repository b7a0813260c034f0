#include "graphics/font.h"

#include <algorithm>

void Font::BuildDirectIndex() const {
  directIndex.fill(0);
  // Sorted and unique: the direct codepoints are the first (at most kDirectGlyphs) glyphs.
  for (size_t i = 0; i < glyphs.size() && glyphs[i].codepoint < kDirectGlyphs; ++i)
    directIndex[glyphs[i].codepoint] = uint16_t(i + 1);
  directIndexBuilt = true;
}

const Glyph* Font::Find(uint32_t codepoint) const {
  if (codepoint < kDirectGlyphs) {
    if (!directIndexBuilt) BuildDirectIndex();
    const uint16_t slot = directIndex[codepoint];
    return slot ? &glyphs[slot - 1] : nullptr;
  }
  auto it = std::lower_bound(glyphs.begin(), glyphs.end(), codepoint,
                             [](const Glyph& g, uint32_t c) { return g.codepoint < c; });
  return (it != glyphs.end() && it->codepoint == codepoint) ? &*it : nullptr;
}
