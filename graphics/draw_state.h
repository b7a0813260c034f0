// graphics/draw_state.h — the draw state the drawing calls read and write: colour,
// alpha, current font and text alignment. One instance lives for the whole run;
// what one Draw handler sets stays in force for the next.
//
// Invariants: the colour is in the runtime encoding and its top byte is always the
// alpha; the font is -1 (the built-in font) or an index that named a font when it
// was set; the alignments are always one of their three values.
#pragma once

#include <cstdint>

#include "graphics/colour.h"

constexpr int kBuiltinFontIndex = -1;
constexpr uint32_t kDefaultDrawColour = 0xFFFFFFFFu;  // opaque white

enum class HAlign : uint8_t { Left = 0, Centre = 1, Right = 2 };
enum class VAlign : uint8_t { Top = 0, Middle = 1, Bottom = 2 };

class DrawState {
 public:
  explicit DrawState(uint32_t defaultColour = kDefaultDrawColour) { Reset(defaultColour); }

  // Start-up and game restart: built-in font, left/top alignment, alpha 255 and
  // the game's default drawing colour (its own top byte is replaced by that alpha).
  void Reset(uint32_t defaultColour);

  // colour = (alpha << 24) | (colour & 0xFFFFFF). Inline: every box a screen fills sets it.
  void SetColour(uint32_t newColour) { colour = (colour & 0xFF000000u) | (newColour & 0xFFFFFFu); }
  // alpha = trunc(clamp(a, 0, 1) × 255); NaN counts as 0. The colour's top byte follows.
  void SetAlpha(double alpha);
  // `font` when 0 ≤ font < fontCount, otherwise the built-in font (-1).
  void SetFont(int font, int fontCount);
  // 0, 1 or 2 as given; any other value gives 0.
  void SetHalign(int halign);
  void SetValign(int valign);

  uint32_t Colour() const { return colour; }
  uint8_t Alpha() const { return uint8_t(colour >> 24); }
  int FontIndex() const { return fontIndex; }
  HAlign Halign() const { return halign; }
  VAlign Valign() const { return valign; }
  // The colour with its alpha as a pixel of Image (0xAARRGGBB).
  uint32_t Pixel() const { return PixelFromColour(colour); }

  bool operator==(const DrawState&) const = default;

 private:
  uint32_t colour = kDefaultDrawColour;
  int fontIndex = kBuiltinFontIndex;
  HAlign halign = HAlign::Left;
  VAlign valign = VAlign::Top;
};
