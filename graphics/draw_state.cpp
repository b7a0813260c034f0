#include "graphics/draw_state.h"

void DrawState::Reset(uint32_t defaultColour) {
  colour = 0xFF000000u | (defaultColour & 0xFFFFFFu);
  fontIndex = kBuiltinFontIndex;
  halign = HAlign::Left;
  valign = VAlign::Top;
}

void DrawState::SetAlpha(double alpha) { colour = (uint32_t(AlphaByte(alpha)) << 24) | (colour & 0xFFFFFFu); }

void DrawState::SetFont(int newFont, int fontCount) {
  fontIndex = (newFont >= 0 && newFont < fontCount) ? newFont : kBuiltinFontIndex;
}

void DrawState::SetHalign(int newHalign) {
  halign = (newHalign >= 0 && newHalign <= 2) ? HAlign(newHalign) : HAlign::Left;
}

void DrawState::SetValign(int newValign) {
  valign = (newValign >= 0 && newValign <= 2) ? VAlign(newValign) : VAlign::Top;
}
