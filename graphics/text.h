// graphics/text.h — text drawn into a frame with a bitmap font.
//
// Layout of DrawText(x, y, text):
// - the text is UTF-8 (a malformed byte is U+FFFD); it breaks into lines at LF or
//   CR, the pairs CR LF and LF CR being one break; no other character is special;
// - h = font.lineHeight (the height of "M"); line i of n has its top at
//   top + i × h, where top is y for top alignment, y − (h/2 + (n − 1)·h/2) for
//   middle and y − (h + (n − 1)·h) for bottom, divisions truncating;
// - each line starts at x (left), x − trunc(w/2) (centre) or x − w (right), w being
//   the sum of the advances of its glyphs; a character without a glyph is drawn
//   with the font's U+FFFD glyph, and skipped only when the font has none (the
//   built-in font);
// - glyph coverage is drawn in the state's colour and alpha, blended source-over;
//   a font with a shadow first draws the whole text in its shadow colour (its
//   alpha scaled by the state's alpha) shifted by the shadow offset.
// x and y address pixels as pixel_grid.h states: at whole numbers the glyph
// cells land exactly on the pixel grid. Lines entirely above or below the frame
// are skipped before their characters are decoded. A NaN position, a font
// without a line height or a zero alpha draws nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include "graphics/draw_state.h"
#include "graphics/font.h"
#include "graphics/image.h"

// Draws with the state's colour, alpha and alignments; the caller passes the
// font that state.FontIndex() names (the built-in font for -1).
void DrawText(Image& frame, const Font& font, const DrawState& state, double x, double y, std::string_view text);

// The width DrawText gives the text in `font`: that of its widest line.
int64_t TextWidth(const Font& font, std::string_view text);
