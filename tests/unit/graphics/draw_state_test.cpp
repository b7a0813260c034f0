#include "graphics/draw_state.h"

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/colour.h"

// Alpha is clamped to [0, 1] and truncated to a byte, NaN as 0; the colour's top
// byte is ignored; a font or alignment out of range falls back to the default.
TEST(DrawState, SettersClampAndFallBackAndResetRestoresTheDefaults) {
  DrawState state(0x00123456);
  EXPECT_EQ(state.Colour(), 0xFF123456u);
  for (auto [alpha, byte] : {std::pair{2.0, 255}, {-1.0, 0}, {0.5, 127}, {std::nan(""), 0}}) {
    state.SetAlpha(alpha);
    EXPECT_EQ(state.Alpha(), byte) << alpha;
  }
  state.SetAlpha(0.5);
  state.SetColour(0xAB00FF00);
  EXPECT_EQ(state.Colour(), 0x7F00FF00u);
  state.SetAlpha(1);
  state.SetColour(0x0000FF);
  EXPECT_EQ(state.Pixel(), 0xFFFF0000u);  // red in the pixel's red byte

  state.SetFont(1, 2), state.SetHalign(1), state.SetValign(2);
  EXPECT_TRUE(state.FontIndex() == 1 && state.Halign() == HAlign::Centre && state.Valign() == VAlign::Bottom);
  state.SetFont(2, 2), state.SetHalign(7), state.SetValign(-1);
  EXPECT_TRUE(state.FontIndex() == kBuiltinFontIndex && state.Halign() == HAlign::Left &&
              state.Valign() == VAlign::Top);
  state.SetFont(-5, 2);
  EXPECT_EQ(state.FontIndex(), kBuiltinFontIndex);
  state.SetFont(1, 2), state.SetHalign(2), state.SetAlpha(0.5);
  state.Reset(kDefaultDrawColour);
  EXPECT_TRUE(state.Colour() == 0xFFFFFFFFu && state.FontIndex() == kBuiltinFontIndex &&
              state.Halign() == HAlign::Left);
}

TEST(Colour, EncodingsAndBlending) {
  EXPECT_EQ(PixelFromColour(0x80332211u), 0x80112233u);
  EXPECT_EQ(PixelFromColour(0x332211u, 0x40), 0x40112233u);
  // Opaque, transparent, half (stays opaque, rounded to nearest), over nothing.
  EXPECT_EQ(std::vector<uint32_t>({BlendOver(0xFF102030, 0xFFA0B0C0), BlendOver(0xFF102030, 0x00A0B0C0),
                                   BlendOver(0xFF000000, 0x80FFFFFF), BlendOver(0xFF000000, 0x80010203),
                                   BlendOver(0x00000000, 0x80FF0000)}),
            std::vector<uint32_t>({0xFFA0B0C0, 0xFF102030, 0xFF808080, 0xFF010102, 0x80FF0000}));
  EXPECT_EQ(Modulate(0xFF123456, 0xFFFFFFFF), 0xFF123456u);
  EXPECT_EQ(Modulate(0xFFFFFFFF, 0x7FFF0000), 0x7FFF0000u);
}
