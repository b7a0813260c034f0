#include "graphics/draw_state.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/colour.h"

TEST(DrawState, ResetTakesTheDefaultColourOpaque) {
  DrawState state(0x00123456);
  EXPECT_EQ(state.Colour(), 0xFF123456u);
  EXPECT_EQ(state.Alpha(), 255);
  EXPECT_EQ(state.FontIndex(), kBuiltinFontIndex);
  EXPECT_EQ(state.Halign(), HAlign::Left);
  EXPECT_EQ(state.Valign(), VAlign::Top);
  state.SetFont(1, 2), state.SetHalign(2), state.SetAlpha(0.5);
  state.Reset(kDefaultDrawColour);
  EXPECT_EQ(state.Colour(), 0xFFFFFFFFu);
  EXPECT_EQ(state.FontIndex(), kBuiltinFontIndex);
  EXPECT_EQ(state.Halign(), HAlign::Left);
}

TEST(DrawState, AlphaIsClampedTruncatedAndFollowedByTheColour) {
  DrawState state;
  state.SetColour(0x0000FF);  // make_colour_rgb(255, 0, 0)
  state.SetAlpha(2);
  EXPECT_EQ(state.Alpha(), 255);
  state.SetAlpha(-1);
  EXPECT_EQ(state.Alpha(), 0);
  EXPECT_EQ(state.Colour(), 0x000000FFu);
  state.SetAlpha(0.5);
  EXPECT_EQ(state.Alpha(), 127);
  state.SetColour(0xAB00FF00);  // the top byte of the argument is ignored
  EXPECT_EQ(state.Colour(), 0x7F00FF00u);
  state.SetAlpha(std::nan(""));
  EXPECT_EQ(state.Alpha(), 0);
  state.SetAlpha(1);
  state.SetColour(0x0000FF);
  EXPECT_EQ(state.Pixel(), 0xFFFF0000u);  // red in the pixel's red byte
}

TEST(DrawState, OutOfRangeFontAndAlignmentsFallBack) {
  DrawState state;
  state.SetFont(1, 2);
  EXPECT_EQ(state.FontIndex(), 1);
  state.SetFont(2, 2);
  EXPECT_EQ(state.FontIndex(), kBuiltinFontIndex);
  state.SetFont(-5, 2);
  EXPECT_EQ(state.FontIndex(), kBuiltinFontIndex);
  state.SetHalign(1), state.SetValign(2);
  EXPECT_EQ(state.Halign(), HAlign::Centre);
  EXPECT_EQ(state.Valign(), VAlign::Bottom);
  state.SetHalign(7), state.SetValign(-1);
  EXPECT_EQ(state.Halign(), HAlign::Left);
  EXPECT_EQ(state.Valign(), VAlign::Top);
}

TEST(Colour, EncodingsAndBlending) {
  EXPECT_EQ(PixelFromColour(0x80332211u), 0x80112233u);
  EXPECT_EQ(PixelFromColour(0x332211u, 0x40), 0x40112233u);
  EXPECT_EQ(BlendOver(0xFF102030, 0xFFA0B0C0), 0xFFA0B0C0u);
  EXPECT_EQ(BlendOver(0xFF102030, 0x00A0B0C0), 0xFF102030u);
  EXPECT_EQ(BlendOver(0xFF000000, 0x80FFFFFF), 0xFF808080u);  // stays opaque
  EXPECT_EQ(BlendOver(0xFF000000, 0x80010203), 0xFF010102u);  // rounded to nearest
  EXPECT_EQ(BlendOver(0x00000000, 0x80FF0000), 0x80FF0000u);  // over nothing: the source itself
  EXPECT_EQ(Modulate(0xFF123456, 0xFFFFFFFF), 0xFF123456u);
  EXPECT_EQ(Modulate(0xFFFFFFFF, 0x7FFF0000), 0x7FFF0000u);
}
