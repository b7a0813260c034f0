#include "graphics/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_art.h"

namespace {

struct TextFixture : ::testing::Test {
  Image frame{40, 30, kPaper};
  DrawState state;
  Font font = LetterFont(4);

  void Draw(double x, double y, std::string_view text) { DrawText(frame, font, state, x, y, text); }
  Bounds Rows(int top, int bottom) const { return InkBounds(frame, top, bottom); }
};

}  // namespace

TEST_F(TextFixture, GlyphsLandOnTheGridAndMissingCharactersAreSkipped) {
  // '?' has no glyph, 0xFF is malformed, then 'ą' and '€', then an overlong 'A'
  // and a truncated sequence, neither of which may draw anything.
  Draw(10, 10, "A?B\xFF\xC4\x85\xE2\x82\xAC\xC1\x81\xC4");
  EXPECT_EQ(Picture(frame)[10].substr(8, 18), "..##.###.##.#.....");
  EXPECT_EQ(Picture(frame)[13].substr(8, 18), "..##.###.##.#.....");
  EXPECT_EQ(InkBounds(frame).edges(), (Edges{10, 10, 20, 13}));
  EXPECT_EQ(InkBounds(frame).count, 8 * 4);
}

TEST_F(TextFixture, AFontWithAReplacementMarkDrawsItForMissingAndMalformedCharactersAndCountsItsWidth) {
  font = BlockFont(4, {{'A', 2, 3}, {0xFFFD, 1, 2}});
  Draw(10, 10, "A?\xFF");  // '?' has no glyph, 0xFF is malformed: both become the mark
  EXPECT_EQ(Picture(frame)[10].substr(8, 10), "..##.#.#..");
  EXPECT_EQ(TextWidth(font, "A?\xFF\nA"), 7);  // the widest line
}

TEST_F(TextFixture, LinesAreExactlyOneLineHeightApart) {
  Draw(10, 10, "A\nB");
  EXPECT_EQ(Rows(0, 13).edges(), (Edges{10, 10, 11, 13}));
  EXPECT_EQ(Rows(14, 29).edges(), (Edges{10, 14, 12, 17}));
}

TEST_F(TextFixture, CrLfAndLfCrAreOneBreakButCrCrIsTwo) {
  state.SetValign(2);  // bottom alignment depends on the number of lines
  Draw(5, 20, "A\r\nB");
  EXPECT_EQ(Rows(0, 29).edges(), (Edges{5, 12, 7, 19}));  // three lines would start at 8
  frame = Image(40, 30, kPaper);
  Draw(5, 20, "A\n\rB");
  EXPECT_EQ(Rows(0, 29).top, 12);
  frame = Image(40, 30, kPaper);
  Draw(5, 20, "A\r\rB");  // three lines, the middle one empty
  EXPECT_EQ(Rows(0, 29).edges(), (Edges{5, 8, 7, 19}));
  EXPECT_EQ(Rows(12, 15).count, 0);
}

TEST_F(TextFixture, HorizontalAlignment) {
  state.SetHalign(1);
  Draw(20, 0, "A");  // w = 3, odd: starts at x − (w − 1) / 2
  EXPECT_EQ(Rows(0, 3).left, 19);
  Draw(20, 5, "AB");  // w = 7
  EXPECT_EQ(Rows(5, 8).edges(), (Edges{17, 5, 22, 8}));
  state.SetHalign(2);
  Draw(30, 10, "AB\nA");  // each line by its own width
  EXPECT_EQ(Rows(10, 13).left, 23);
  EXPECT_EQ(Rows(14, 17).left, 27);
  state.SetHalign(7);  // acts as left
  Draw(30, 20, "AB");
  EXPECT_EQ(Rows(20, 23).left, 30);
}

TEST_F(TextFixture, VerticalAlignment) {
  font = LetterFont(5);
  state.SetValign(1);
  Draw(2, 10, "M");  // rows 8..12: centre 10.5, within half a pixel of y
  const Bounds one = Rows(0, 29);
  EXPECT_LE(std::abs((one.top + one.bottom + 1) / 2.0 - 10), 0.5);
  frame = Image(40, 30, kPaper);
  Draw(20, 20, "M\nM\nM");  // 5/2 + (2·5)/2 = 7 above y
  EXPECT_EQ(Rows(0, 29).edges(), (Edges{20, 13, 22, 27}));
  frame = Image(40, 30, kPaper);
  font = LetterFont(4);
  state.SetValign(1);
  Draw(2, 10, "M");  // even h: rows 8..11, centred exactly
  EXPECT_EQ(Rows(0, 29).edges(), (Edges{2, 8, 4, 11}));
}

TEST_F(TextFixture, ColourAlphaCoverageAndShadow) {
  font = BlockFont(2, {{'a', 1, 2, 0, 128}, {'b', 1, 2}});
  state.SetColour(0x0000FF);  // red
  Draw(0, 0, "ab");
  EXPECT_EQ(frame.At(0, 0), 0xFF800000u);  // half coverage
  EXPECT_EQ(frame.At(2, 1), 0xFFFF0000u);
  state.SetAlpha(2);
  Draw(0, 4, "b");
  EXPECT_EQ(frame.At(0, 4), 0xFFFF0000u);
  state.SetAlpha(-1);
  Draw(0, 8, "b");
  EXPECT_EQ(Rows(8, 9).count, 0);
  state.SetAlpha(0.5);
  Draw(0, 12, "b");
  EXPECT_EQ(frame.At(0, 12), 0xFF7F0000u);
  state.SetAlpha(1);
  font.shadow = true, font.shadowOffsetX = 1, font.shadowOffsetY = 1, font.shadowColour = 0xFF0000FF;
  Draw(10, 10, "b");
  EXPECT_EQ(frame.At(10, 10), 0xFFFF0000u);  // the text over its shadow
  EXPECT_EQ(frame.At(11, 11), 0xFF0000FFu);  // shadow only
  EXPECT_EQ(frame.At(10, 11), 0xFFFF0000u);
}

TEST_F(TextFixture, TextIsClippedAtEveryEdge) {
  font = BlockFont(4, {{'A', 2, 3}, {'j', 2, 3, -1}});
  Draw(-1, -3, "A");  // one row and one column left
  EXPECT_EQ(InkBounds(frame).count, 1);
  Draw(39, 28, "A");
  Draw(1, 10, "j");  // negative bearing reaches column 0
  EXPECT_EQ(frame.At(0, 10), kInk);
  EXPECT_EQ(InkBounds(frame).count, 1 + 2 + 8);
  frame = Image(40, 30, kPaper);
  Draw(0, 30, "A\nA");
  Draw(0, -8, "A\nA");
  Draw(40, 0, "AAAA");
  Draw(-1e300, 5, "A");
  Draw(5, 1e300, "A");
  Draw(std::numeric_limits<double>::infinity(), 5, "A");
  Draw(std::nan(""), 5, "A");
  state.SetValign(2);
  Draw(5, 1e18, "A\nA");
  EXPECT_EQ(InkBounds(frame).count, 0);
  Draw(5, 2, "A\nA");  // bottom-aligned: only the last line's lower half shows
  EXPECT_EQ(InkBounds(frame).count, 4);
}
