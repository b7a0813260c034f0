#include "graphics/draw_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_art.h"

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct DrawListFixture : ::testing::Test {
  Font font = LetterFont(4);
  Sprite sprite = CodedSprite(3, 2, 1, 1);
  DrawState state;

  // The same drawing, sent to any sink: shapes, texts and a sprite, each partly
  // outside the 40 × 30 frame, and a translucent rectangle over them.
  void DrawScene(DrawSink& sink, double shift) {
    sink.Rectangle(-5 + shift, 2, 12 + shift, 8, 0xFFFF0000u, false);
    sink.Rectangle(30, 25, 45, 35, 0xFF00FF00u, true);
    sink.Line(-10, -10, 50 + shift, 20, kInk);
    state.SetValign(1);
    sink.Text(font, state, 10 + shift, 1, "AB\nM");
    state.SetValign(0);
    sink.Text(font, state, 36, 28, "BBB");
    sink.SpriteImage(sprite, 0, {39 + shift, 15, 2, 1, 0}, 0xFFFFFFFFu);
    sink.Rectangle(0, 0, 20, 20, 0x80FFFFFFu, false);
  }

  Image DrawnAtOnce(double shift) {
    Image frame(40, 30, kPaper);
    FrameSink sink(frame);
    DrawScene(sink, shift);
    return frame;
  }

  DrawList Recorded(double shift) {
    DrawList list;
    list.Reset(40, 30);
    list.Clear(kPaper);
    DrawScene(list, shift);
    return list;
  }

  // Off-frame drawing of every kind, which must leave no trace in a list.
  void DrawOffFrame(DrawSink& sink) {
    sink.Rectangle(0, -20, 39, -1, kInk, false);
    sink.Rectangle(40, 0, 60, 29, kInk, true);
    sink.Line(0, 31, 39, 90, kInk);
    sink.Line(kNaN, 0, 10, 10, kInk);
    sink.Text(font, state, 10, -4, "A");  // top-aligned: rows -4 to -1
    state.SetValign(2);
    sink.Text(font, state, 10, 34, "A\nB");  // bottom-aligned: rows 26 to 33 -- visible
    sink.Text(font, state, 10, 38, "A\nB");  // rows 30 to 37
    state.SetValign(0);
    sink.Rectangle(0, 0, 39, 29, 0x00FFFFFFu, false);  // fully transparent
  }
};

TEST_F(DrawListFixture, ReplayDrawsWhatDrawingAtOnceDraws) {
  for (double shift : {0.0, 0.5, -3.25}) {
    Image replayed(40, 30, 0xFF123456u);  // the leading clear covers whatever was there
    Recorded(shift).Replay(replayed);
    EXPECT_EQ(replayed.pixels, DrawnAtOnce(shift).pixels) << "shift " << shift;
  }
}

TEST_F(DrawListFixture, DrawingOffTheFrameIsNotRecordedButEdgesAre) {
  DrawList plain = Recorded(0);
  DrawList withOffFrame = Recorded(0);
  DrawOffFrame(withOffFrame);
  EXPECT_FALSE(plain == withOffFrame);  // the bottom-aligned two-line text reaches row 26

  Image expected = DrawnAtOnce(0);
  FrameSink direct(expected);
  DrawOffFrame(direct);
  Image replayed(40, 30);
  withOffFrame.Replay(replayed);
  EXPECT_EQ(replayed.pixels, expected.pixels);

  DrawList onlyOffFrame;
  onlyOffFrame.Reset(40, 30);
  onlyOffFrame.Clear(kPaper);
  onlyOffFrame.Rectangle(0, -20, 39, -1, kInk, false);
  onlyOffFrame.Line(0, 31, 39, 90, kInk);
  onlyOffFrame.Text(font, state, 10, -4, "A");
  DrawList empty;
  empty.Reset(40, 30);
  empty.Clear(kPaper);
  EXPECT_TRUE(onlyOffFrame == empty);
}

// Lists are equal only when everything drawn is: positions, texts, alignment, size.
TEST_F(DrawListFixture, ListsAreEqualOnlyWhenEverythingDrawnIsEqual) {
  DrawList a = Recorded(0), b = Recorded(0), c = Recorded(0), d = Recorded(0), small = Recorded(0), unclear;
  a.Text(font, state, 5, 5, "AB");
  b.Text(font, state, 5, 5, "BA");
  state.SetHalign(1);
  c.Text(font, state, 5, 5, "AB");
  state.SetHalign(2);
  d.Text(font, state, 5, 5, "AB");
  small.Resize(39, 30);
  unclear.Reset(40, 30);
  unclear.Line(0, 0, 5, 5, kInk);
  EXPECT_EQ(std::vector<bool>({Recorded(0) == Recorded(0), Recorded(0) == Recorded(0.5), a == b, c == d,
                               small == Recorded(0), Recorded(0).StartsWithClear(), unclear.StartsWithClear()}),
            std::vector<bool>({true, false, false, false, false, true, false}));
}
// Spans just outside and inside the 40 × 30 frame, around the pixel boundaries
// (a row n holds the coordinates above n − 0.5 up to n + 0.5): a span is
// recorded exactly when drawing it at once lights a pixel.
TEST_F(DrawListFixture, SpansAtTheEdgesAreRecordedExactlyWhenTheyLightAPixel) {
  auto recordsSomething = [](auto draw) {
    DrawList list;
    list.Reset(40, 30);
    draw(list);
    DrawList empty;
    empty.Reset(40, 30);
    return !(list == empty);
  };
  auto lightsAPixel = [](auto draw) {
    Image frame(40, 30, kPaper);
    FrameSink sink(frame);
    draw(sink);
    return frame.pixels != Image(40, 30, kPaper).pixels;
  };
  for (double edge :
       {-1.5, -1.0, -0.75, -0.51, -0.5, -0.49, 0.0, 29.0, 29.49, 29.5, 29.51, 30.0, 30.49, 30.5, 31.0, 31.5}) {
    auto above = [edge](DrawSink& sink) { sink.Rectangle(2, edge - 6, 20, edge, kInk, false); };
    auto below = [edge](DrawSink& sink) { sink.Rectangle(2, edge, 20, edge + 6, kInk, true); };
    auto line = [edge](DrawSink& sink) { sink.Line(0, edge, 39, edge, kInk); };
    // The same edges of the 40 columns: a vertical line left of, on or right of them.
    const double x = edge < 15 ? edge : edge + 10;
    auto column = [x](DrawSink& sink) { sink.Line(x, 0, x, 29, kInk); };
    EXPECT_EQ(recordsSomething(above), lightsAPixel(above)) << "rectangle ending at " << edge;
    EXPECT_EQ(recordsSomething(below), lightsAPixel(below)) << "rectangle starting at " << edge;
    EXPECT_EQ(recordsSomething(line), lightsAPixel(line)) << "line at " << edge;
    EXPECT_EQ(recordsSomething(column), lightsAPixel(column)) << "vertical line at " << x;
  }
  auto nanBeside = [](DrawSink& sink) { sink.Rectangle(2, kNaN, 20, -5, kInk, false); };
  EXPECT_FALSE(recordsSomething(nanBeside));

  // Texts: whatever lights a pixel is recorded, in every vertical alignment;
  // texts far beyond the frame are not.
  for (int valign : {0, 1, 2}) {
    state.SetValign(valign);
    // A one-letter text has the least room between its bytes and its lines;
    // a shadow reaches further than the letters.
    for (const char* letters : {"AB\nM", "M"})
      for (int shadow : {0, 6}) {
        font.shadow = shadow != 0;
        font.shadowOffsetY = shadow;
        for (double y = -12; y <= 42; y += 0.25) {
          auto text = [&](DrawSink& sink) { sink.Text(font, state, 10, y, letters); };
          if (lightsAPixel(text)) {
            EXPECT_TRUE(recordsSomething(text)) << "valign " << valign << ", y " << y << ", " << letters;
          }
        }
      }
    font.shadow = false;
    font.shadowOffsetY = 0;
    auto farAbove = [&](DrawSink& sink) { sink.Text(font, state, 10, -200, "AB\nM"); };
    auto farBelow = [&](DrawSink& sink) { sink.Text(font, state, 10, 300, "AB\nM"); };
    EXPECT_FALSE(recordsSomething(farAbove));
    EXPECT_FALSE(recordsSomething(farBelow));
  }
}
}  // namespace
