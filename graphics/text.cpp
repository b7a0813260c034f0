#include "graphics/text.h"

#include <algorithm>
#include <cmath>

#include "graphics/colour.h"
#include "graphics/pixel_grid.h"

namespace {

constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Decodes the UTF-8 character at `pos` and moves past it. A malformed or
// truncated sequence, an overlong form or a surrogate gives U+FFFD and moves one byte.
uint32_t NextCodepoint(std::string_view text, size_t& pos) {
  const uint8_t lead = uint8_t(text[pos]);
  size_t length = 1;
  uint32_t codepoint = lead, smallest = 0;
  if (lead >= 0x80) {
    if ((lead & 0xE0) == 0xC0)
      length = 2, codepoint = lead & 0x1Fu, smallest = 0x80;
    else if ((lead & 0xF0) == 0xE0)
      length = 3, codepoint = lead & 0x0Fu, smallest = 0x800;
    else if ((lead & 0xF8) == 0xF0)
      length = 4, codepoint = lead & 0x07u, smallest = 0x10000;
    else
      length = 0;  // a continuation byte or an invalid lead
  }
  bool valid = length > 0 && length <= text.size() - pos;
  for (size_t i = 1; valid && i < length; ++i) {
    const uint8_t next = uint8_t(text[pos + i]);
    valid = (next & 0xC0) == 0x80;
    codepoint = (codepoint << 6) | (next & 0x3Fu);
  }
  valid = valid && codepoint >= smallest && codepoint <= 0x10FFFF && !(codepoint >= 0xD800 && codepoint <= 0xDFFF);
  pos += valid ? length : 1;
  return valid ? codepoint : kReplacementCharacter;
}

// The glyph a character is drawn with: its own, else the font's replacement mark,
// so that a character the font lacks still shows. A font without the mark (the
// built-in one) skips the character.
const Glyph* GlyphOf(const Font& font, uint32_t codepoint) {
  const Glyph* glyph = font.Find(codepoint);
  return glyph ? glyph : font.Find(kReplacementCharacter);
}

// Calls visit(line) for each line of the text, in order, until visit returns false.
// The bytes LF and CR never occur inside a multi-byte UTF-8 sequence, so lines
// are found without decoding.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    if (end == text.size()) {
      visit(text.substr(start));
      return;
    }
    if (!visit(text.substr(start, end - start))) return;
    const bool pair =
        end + 1 < text.size() && (text[end + 1] == '\r' || text[end + 1] == '\n') && text[end + 1] != text[end];
    start = end + (pair ? 2 : 1);
  }
}

int64_t CountLines(std::string_view text) {
  int64_t lines = 0;
  ForEachLine(text, [&](std::string_view) { return ++lines, true; });
  return lines;
}

int64_t LineWidth(const Font& font, std::string_view line) {
  int64_t width = 0;
  for (size_t pos = 0; pos < line.size();)
    if (const Glyph* glyph = GlyphOf(font, NextCodepoint(line, pos))) width += glyph->advance;
  return width;
}

// How far the block's top lies above y.
int64_t BlockRaise(VAlign valign, int64_t h, int64_t lines) {
  switch (valign) {
    case VAlign::Top: return 0;
    case VAlign::Middle: return h / 2 + (lines - 1) * h / 2;
    case VAlign::Bottom: return h + (lines - 1) * h;
  }
  return 0;
}

// How far the line starts left of x. Left-aligned lines are not measured.
int64_t LineShift(HAlign halign, const Font& font, std::string_view line) {
  switch (halign) {
    case HAlign::Left: return 0;
    case HAlign::Centre: return LineWidth(font, line) / 2;
    case HAlign::Right: return LineWidth(font, line);
  }
  return 0;
}

void DrawGlyph(Image& frame, const Font& font, const Glyph& glyph, int64_t left, int64_t top, uint32_t pixel) {
  PixelRect cell{left, top, left + glyph.w - 1, top + glyph.h - 1};
  if (!cell.ClipTo(frame)) return;
  const AlphaMap& page = font.page;
  if (glyph.x < 0 || glyph.y < 0 || glyph.x + glyph.w > page.width || glyph.y + glyph.h > page.height)
    return;  // a cell outside its page is damaged data: draw nothing rather than read beyond it
  const uint32_t alpha = PixelAlpha(pixel);
  const int width = int(cell.right - cell.left + 1);
  for (int64_t y = cell.top; y <= cell.bottom; ++y) {
    const uint8_t* coverage =
        &page.values[size_t(glyph.y + (y - top)) * size_t(page.width) + size_t(glyph.x + (cell.left - left))];
    uint32_t* target = frame.Row(int(y)) + cell.left;
    for (int i = 0; i < width; ++i)
      if (coverage[i] != 0) target[i] = BlendOver(target[i], WithAlpha(pixel, MulByte(coverage[i], alpha)));
  }
}

// One pass over the whole text with its top-left reference at pixel (x, y).
void DrawTextPass(Image& frame, const Font& font, HAlign halign, VAlign valign, int64_t x, int64_t y,
                  std::string_view text, uint32_t pixel) {
  const int64_t h = font.lineHeight;
  const int64_t lines = CountLines(text);
  int64_t lineTop = y - BlockRaise(valign, h, lines);
  if (lineTop >= frame.height || lineTop + lines * h <= 0) return;
  ForEachLine(text, [&](std::string_view line) {
    if (lineTop >= frame.height) return false;  // this and every later line are below
    if (lineTop + h > 0) {
      int64_t pen = x - LineShift(halign, font, line);
      for (size_t pos = 0; pos < line.size();) {
        const Glyph* glyph = GlyphOf(font, NextCodepoint(line, pos));
        if (!glyph) continue;
        DrawGlyph(frame, font, *glyph, pen + glyph->offset, lineTop, pixel);
        pen += glyph->advance;
      }
    }
    lineTop += h;
    return true;
  });
}

}  // namespace

void DrawText(Image& frame, const Font& font, const DrawState& state, double x, double y, std::string_view text) {
  if (std::isnan(x) || std::isnan(y) || font.lineHeight <= 0 || state.Alpha() == 0) return;
  const int64_t left = PixelOf(x), top = PixelOf(y);
  if (font.shadow) {
    const uint32_t shadow = WithAlpha(font.shadowColour, MulByte(PixelAlpha(font.shadowColour), state.Alpha()));
    DrawTextPass(frame, font, state.Halign(), state.Valign(), left + font.shadowOffsetX, top + font.shadowOffsetY, text,
                 shadow);
  }
  DrawTextPass(frame, font, state.Halign(), state.Valign(), left, top, text, state.Pixel());
}

int64_t TextWidth(const Font& font, std::string_view text) {
  int64_t widest = 0;
  ForEachLine(text, [&](std::string_view line) {
    widest = std::max(widest, LineWidth(font, line));
    return true;
  });
  return widest;
}
