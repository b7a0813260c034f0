#include "tools/font_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <stdexcept>

#include "engine/game_data_format.h"

namespace {

constexpr int kPageWidth = 256;
constexpr int kPadding = 1;  // empty pixels between cells, so filtering never bleeds

struct LibraryCloser {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryCloser>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceCloser>;

// One rendered glyph before packing.
struct Rendered {
  uint32_t codepoint = 0;
  int width = 0, rows = 0;
  int left = 0, top = 0;  // bearing: pixels from the pen to the bitmap's left edge, baseline to its top row
  int advance = 0;
  std::vector<uint8_t> coverage;  // rows × width
};

Rendered Render(FT_Face face, uint32_t codepoint, const std::string& file) {
  if (FT_Load_Char(face, codepoint, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
    throw std::runtime_error(file + ": cannot render character " + std::to_string(codepoint));
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.width > 0)
    throw std::runtime_error(file + ": character " + std::to_string(codepoint) + " is not a greyscale bitmap");
  Rendered glyph{codepoint,
                 int(bitmap.width),
                 int(bitmap.rows),
                 slot->bitmap_left,
                 slot->bitmap_top,
                 int(std::lround(slot->advance.x / 64.0)),
                 {}};
  glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.rows));
  for (int y = 0; y < glyph.rows; ++y)
    std::copy_n(bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch, glyph.width,
                glyph.coverage.begin() + std::ptrdiff_t(y) * glyph.width);
  return glyph;
}

std::set<uint32_t> RequestedCodepoints(const FontRequest& request) {
  std::set<uint32_t> codepoints;
  for (auto [first, last] : request.ranges)
    for (uint32_t c = first; c <= last; ++c) codepoints.insert(c);
  return codepoints;
}

// Places the glyphs row by row into a page at most kPageWidth wide and copies their coverage
// in, each bitmap `ascent - top` rows below its cell's top.
void Pack(const std::vector<Rendered>& rendered, int ascent, Font& font) {
  int x = 0, y = 0, usedWidth = 0;
  for (const Rendered& r : rendered) {
    if (x > 0 && x + r.width > kPageWidth) {
      x = 0;
      y += font.lineHeight + kPadding;
    }
    font.glyphs.push_back(Glyph{r.codepoint, int16_t(x), int16_t(y), int16_t(r.width), int16_t(font.lineHeight),
                                int16_t(r.left), int16_t(r.advance)});
    usedWidth = std::max(usedWidth, x + r.width);
    x += r.width + kPadding;
  }
  font.page.width = usedWidth;
  font.page.height = y + font.lineHeight;
  if (font.page.height > kMaxImageSide)
    throw std::runtime_error("font " + font.name + ": too many glyphs for one page");
  font.page.values.assign(size_t(font.page.width) * size_t(font.page.height), 0);
  for (size_t i = 0; i < rendered.size(); ++i) {
    const Rendered& r = rendered[i];
    const Glyph& cell = font.glyphs[i];
    int top = cell.y + ascent - r.top;
    for (int row = 0; row < r.rows; ++row)
      std::copy_n(r.coverage.begin() + std::ptrdiff_t(row) * r.width, r.width,
                  font.page.values.begin() + std::ptrdiff_t(top + row) * font.page.width + cell.x);
  }
}

}  // namespace

Font RasteriseFont(const FontRequest& request) {
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary) != 0) throw std::runtime_error("cannot start FreeType");
  LibraryPtr library(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(library.get(), request.file.c_str(), 0, &rawFace) != 0)
    throw std::runtime_error(request.file + ": cannot read the font file");
  FacePtr face(rawFace);
  if (FT_Set_Pixel_Sizes(face.get(), 0, FT_UInt(request.pixelSize)) != 0)
    throw std::runtime_error(request.file + ": cannot scale to " + std::to_string(request.pixelSize) + " px");

  std::vector<Rendered> rendered;
  for (uint32_t codepoint : RequestedCodepoints(request))
    if (FT_Get_Char_Index(face.get(), codepoint) != 0) rendered.push_back(Render(face.get(), codepoint, request.file));
  if (rendered.empty()) throw std::runtime_error(request.file + ": has none of the requested characters");

  const FT_Size_Metrics& metrics = face->size->metrics;
  int ascent = int(std::ceil(metrics.ascender / 64.0));
  int descent = int(std::ceil(-metrics.descender / 64.0));
  for (const Rendered& r : rendered) {
    ascent = std::max(ascent, r.top);
    descent = std::max(descent, r.rows - r.top);
  }
  Font font;
  font.name = request.name;
  font.face = face->family_name ? face->family_name : "";
  font.size = request.pixelSize;
  font.lineHeight = ascent + descent;
  Pack(rendered, ascent, font);
  return font;
}
