#include "graphics/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

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

// CR LF and LF CR are one break, CR CR two; lines are one line height apart.
TEST_F(TextFixture, LineBreaks) {
  Draw(10, 0, "A\nB");
  EXPECT_EQ(Rows(0, 3).edges(), (Edges{10, 0, 11, 3}));
  EXPECT_EQ(Rows(4, 29).edges(), (Edges{10, 4, 12, 7}));
  state.SetValign(2);  // bottom alignment depends on the number of lines
  for (auto [text, top] : {std::pair{"A\r\nB", 12}, {"A\n\rB", 12}, {"A\r\rB", 8}}) {
    frame = Image(40, 30, kPaper);
    Draw(5, 20, text);
    EXPECT_EQ(Rows(0, 29).edges(), (Edges{5, top, 7, 19})) << top;
  }
}

// Centred: x − (w − 1) / 2 for odd widths; right-aligned lines each by their own
// width; an unknown alignment acts as left. Middle: centred on y within half a pixel.
TEST_F(TextFixture, Alignment) {
  state.SetHalign(1);
  Draw(20, 0, "A");
  Draw(20, 5, "AB");
  EXPECT_EQ(std::vector<int>({Rows(0, 3).left, Rows(5, 8).left, Rows(5, 8).right}), std::vector<int>({19, 17, 22}));
  state.SetHalign(2);
  Draw(30, 10, "AB\nA");
  EXPECT_EQ(std::vector<int>({Rows(10, 13).left, Rows(14, 17).left}), std::vector<int>({23, 27}));
  state.SetHalign(7);
  Draw(30, 20, "AB");
  EXPECT_EQ(Rows(20, 23).left, 30);

  state.SetHalign(0), state.SetValign(1);
  for (auto [height, text, y, top, bottom] :
       {std::tuple{5, "M", 10, 8, 12}, {5, "M\nM\nM", 20, 13, 27}, {4, "M", 10, 8, 11}}) {
    frame = Image(40, 30, kPaper);
    font = LetterFont(height);
    Draw(2, y, text);
    EXPECT_EQ(Rows(0, 29).edges(), (Edges{2, top, 4, bottom})) << text << " " << height;
  }
}

// Coverage and the draw alpha scale the colour; the shadow is drawn under the text.
TEST_F(TextFixture, ColourAlphaCoverageAndShadow) {
  font = BlockFont(2, {{'a', 1, 2, 0, 128}, {'b', 1, 2}});
  state.SetColour(0x0000FF);  // red
  Draw(0, 0, "ab");
  state.SetAlpha(0.5);
  Draw(0, 4, "b");
  state.SetAlpha(1);
  font.shadow = true, font.shadowOffsetX = 1, font.shadowOffsetY = 1, font.shadowColour = 0xFF0000FF;
  Draw(10, 10, "b");
  EXPECT_EQ(std::vector<uint32_t>(
                {frame.At(0, 0), frame.At(2, 1), frame.At(0, 4), frame.At(10, 10), frame.At(11, 11), frame.At(10, 11)}),
            std::vector<uint32_t>({0xFF800000, 0xFFFF0000, 0xFF7F0000, 0xFFFF0000, 0xFF0000FF, 0xFFFF0000}));
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

// A glyph cut at the frame's left edge shows its own columns, not its neighbour's on the page.
TEST_F(TextFixture, AGlyphCutAtTheLeftEdgeShowsItsOwnColumns) {
  for (int y = 0; y < 4; ++y) font.page.values[size_t(y * font.page.width + 3)] = 0;  // 'B': a blank middle column
  Draw(-1, 0, "B");
  EXPECT_EQ(Picture(frame)[0].substr(0, 3), ".#.");
}
