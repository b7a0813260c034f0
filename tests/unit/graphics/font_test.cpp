#include "graphics/font.h"

#include <gtest/gtest.h>

#include "test_art.h"

TEST(Font, FindsGlyphsInAndAboveTheDirectTable) {
  const Font font = LetterFont(4);
  ASSERT_NE(font.Find('B'), nullptr);
  EXPECT_EQ(font.Find('B')->advance, 4);
  EXPECT_EQ(font.Find(0x105)->codepoint, 0x105u);
  EXPECT_EQ(font.Find(0x20AC)->codepoint, 0x20ACu);
  EXPECT_EQ(font.Find('C'), nullptr);
  EXPECT_EQ(font.Find(0), nullptr);
  EXPECT_EQ(font.Find(383), nullptr);
  EXPECT_EQ(font.Find(0x20AB), nullptr);
  EXPECT_EQ(font.Find(0x10FFFF), nullptr);
  // A copy made after the first lookup finds its own glyphs.
  const Font copy = font;
  EXPECT_EQ(copy.Find('A'), &copy.glyphs[0]);
  EXPECT_EQ(Font().Find('A'), nullptr);
}
