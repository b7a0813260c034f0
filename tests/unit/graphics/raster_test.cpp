#include "graphics/raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "test_art.h"

namespace {
using Rows = std::vector<std::string>;

Image Paper(int width = 40, int height = 30) { return Image(width, height, kPaper); }

Image Line(int width, int height, double x1, double y1, double x2, double y2) {
  Image frame = Paper(width, height);
  DrawLine(frame, x1, y1, x2, y2, kInk);
  return frame;
}
}  // namespace

TEST(Raster, ClearAndFilledRectangleCoverTheLastRowAndColumn) {
  Image frame = Paper();
  Clear(frame, 0xFF112233);
  EXPECT_EQ(frame.At(39, 29), 0xFF112233u);
  Clear(frame, kPaper);
  DrawRectangle(frame, 9, 7, 5, 4, kInk, false);  // corners in any order
  EXPECT_EQ(InkBounds(frame).edges(), (Edges{5, 4, 9, 7}));
  EXPECT_EQ(InkBounds(frame).count, 5 * 4);
  // Fractions address the pixel whose centre is the first at or after them.
  frame = Paper();
  DrawRectangle(frame, 4.6, 2.4, 7.4, 5.5, kInk, false);
  EXPECT_EQ(InkBounds(frame).edges(), (Edges{5, 2, 7, 5}));
}

TEST(Raster, OutlineLightsItsCornersOncePerPixel) {
  Image frame = Paper(8, 6);
  DrawRectangle(frame, 1, 1, 5, 4, 0x80FFFFFF, true);  // translucent: a second blend would show
  const uint32_t once = 0xFF808080;
  EXPECT_EQ(Picture(frame, once), (Rows{"........", ".#####..", ".#...#..", ".#...#..", ".#####..", "........"}));
  frame = Paper(8, 6);
  DrawRectangle(frame, 2, 3, 6, 3, 0x80FFFFFF, true);  // one row high
  EXPECT_EQ(Picture(frame, once)[3], "..#####.");
  frame = Paper(8, 6);
  DrawRectangle(frame, 3, 0, 3, 5, 0x80FFFFFF, true);  // one column wide: its sides are one
  EXPECT_EQ(Picture(frame, once), Rows(6, "...#...."));
}

TEST(Raster, TranslucentFillBlends) {
  Image frame = Paper(4, 4);
  DrawRectangle(frame, 0, 0, 3, 3, 0x80FF0000, false);
  EXPECT_EQ(frame.At(3, 3), 0xFF800000u);
  DrawRectangle(frame, 0, 0, 3, 3, 0x00FFFFFF, false);  // alpha 0 changes nothing
  EXPECT_EQ(frame.At(0, 0), 0xFF800000u);
}

TEST(Raster, LineLandsOnThePixelsBetweenItsEndPoints) {
  const Rows shallow{"........", ".##.....", "...##...", ".....##.", "........"};
  EXPECT_EQ(Picture(Line(8, 5, 1, 1, 6, 3)), shallow);
  EXPECT_EQ(Picture(Line(8, 5, 6, 3, 1, 1)), shallow);  // same pixels either way
  EXPECT_EQ(Picture(Line(5, 6, 3, 0, 1, 5)), (Rows{"...#.", "...#.", "..#..", "..#..", ".#...", ".#..."}));
  EXPECT_EQ(Picture(Line(4, 4, 0, 0, 3, 3)), (Rows{"#...", ".#..", "..#.", "...#"}));
  EXPECT_EQ(Picture(Line(4, 3, 2, 1, 2, 1)), (Rows{"....", "..#.", "...."}));  // zero length
  EXPECT_EQ(Picture(Line(6, 1, 1, 0, 4, 0))[0], ".####.");
}

TEST(Raster, ShapesAreClippedAtEveryEdge) {
  const double inf = std::numeric_limits<double>::infinity();
  Image frame = Paper();
  DrawRectangle(frame, -5, -7, 2, 1, kInk, false);
  DrawRectangle(frame, 37, 27, 1e9, 1e9, kInk, false);
  EXPECT_EQ(InkBounds(frame).count, 3 * 2 + 3 * 3);
  EXPECT_EQ(frame.At(0, 0), kInk);
  EXPECT_EQ(frame.At(39, 29), kInk);
  frame = Paper();
  DrawRectangle(frame, -1e300, -inf, 1e300, inf, kInk, true);  // border entirely outside
  DrawRectangle(frame, 40, 0, 60, 10, kInk, false);
  DrawRectangle(frame, -20, -20, -1, 29, kInk, false);
  DrawRectangle(frame, std::nan(""), 0, 10, 10, kInk, false);
  DrawLine(frame, -100, 40, 200, 40, kInk);
  DrawLine(frame, std::nan(""), 0, 5, 5, kInk);
  DrawLine(frame, -inf, -inf, -inf, 3, kInk);
  EXPECT_EQ(InkBounds(frame).count, 0);
  DrawRectangle(frame, -1e300, -inf, 1e300, inf, kInk, false);
  EXPECT_EQ(InkBounds(frame).count, 40 * 30);
  frame = Paper();
  DrawLine(frame, -1e12, 15, 1e12, 15, kInk);
  DrawLine(frame, 7, inf, 7, -inf, kInk);
  DrawLine(frame, 0, 0, inf, inf, kInk);  // the diagonal, crossing the other two
  EXPECT_EQ(InkBounds(frame).count, 40 + 30 - 1 + 30 - 2);
}

// A line cut to a small frame lights exactly the pixels it lights in a big one.
TEST(Raster, ClippingDoesNotMoveLinePixels) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> x(-120, 160), y(-120, 150);
  const int shift = 150;
  for (int i = 0; i < 300; ++i) {
    const double x1 = std::round(x(random)), y1 = std::round(y(random));
    const double x2 = std::round(x(random)), y2 = std::round(y(random));
    const Image small = Line(40, 30, x1, y1, x2, y2);
    const Image big = Line(500, 500, x1 + shift, y1 + shift, x2 + shift, y2 + shift);
    for (int py = 0; py < 30; ++py)
      for (int px = 0; px < 40; ++px)
        ASSERT_EQ(small.At(px, py), big.At(px + shift, py + shift))
            << "line " << x1 << "," << y1 << " to " << x2 << "," << y2 << " at " << px << "," << py;
  }
}
