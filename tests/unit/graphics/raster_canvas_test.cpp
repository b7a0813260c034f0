#include "graphics/raster_canvas.h"

#include <gtest/gtest.h>

#include "builtins/draw_builtins.h"

namespace {
constexpr uint32_t kBackground = 0x302010;  // runtime encoding
constexpr uint32_t kBackgroundPixel = 0xFF102030u;
constexpr uint32_t kWhitePixel = 0xFFFFFFFFu;

class RasterCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { CurrentDrawState().Reset(kDefaultDrawColour); }

  // One frame of the draw stage with a white box at (x, 2)-(x + 5, 6); pre-draw
  // puts a white box at (20, 20)-(22, 22), which the background covers.
  const Image& BoxFrame(double x, bool clear = true) {
    canvas.BeginFrame(40, 30);
    DrawSetColour(0xFFFFFF);
    DrawRectangleBetween(20, 20, 22, 22, false);
    if (clear) canvas.ClearBackground(kBackground);
    DrawRectangleBetween(x, 2, x + 5, 6, false);
    return canvas.FinishFrame();
  }

  RasterCanvas canvas;
};

TEST_F(RasterCanvasTest, AFrameThatRepeatsThePreviousOneIsRecognisedAndKeepsItsPicture) {
  const Image& first = BoxFrame(2);
  EXPECT_FALSE(canvas.RepeatedPreviousFrame());
  EXPECT_EQ(first.At(2, 2), kWhitePixel);
  EXPECT_EQ(first.At(21, 21), kBackgroundPixel) << "the background covers what pre-draw drew";
  const Image& repeated = BoxFrame(2);
  EXPECT_TRUE(canvas.RepeatedPreviousFrame());
  EXPECT_EQ(repeated.At(2, 2), kWhitePixel);
  EXPECT_EQ(repeated.At(8, 2), kBackgroundPixel);

  const Image& moved = BoxFrame(3);
  EXPECT_FALSE(canvas.RepeatedPreviousFrame());
  EXPECT_EQ(moved.At(2, 2), kBackgroundPixel);
  EXPECT_EQ(moved.At(8, 2), kWhitePixel);
  BoxFrame(3);
  EXPECT_TRUE(canvas.RepeatedPreviousFrame());
}

TEST_F(RasterCanvasTest, DrawingOutsideTheDrawStageAndFramesWithoutClearingBuildOnThePicture) {
  BoxFrame(2);
  // Drawn after the frame was finished: lost under the next clear, kept without one.
  DrawRectangleBetween(30, 20, 32, 22, false);
  EXPECT_EQ(BoxFrame(2).At(31, 21), kBackgroundPixel);
  DrawRectangleBetween(30, 20, 32, 22, false);
  const Image& kept = BoxFrame(10, false);
  EXPECT_FALSE(canvas.RepeatedPreviousFrame());
  EXPECT_EQ(kept.At(31, 21), kWhitePixel);
  EXPECT_EQ(kept.At(2, 2), kWhitePixel);   // the previous frame's box
  EXPECT_EQ(kept.At(12, 2), kWhitePixel);  // this frame's box
  BoxFrame(10, false);
  EXPECT_FALSE(canvas.RepeatedPreviousFrame());  // not cleared: never taken as a repeat
}

TEST_F(RasterCanvasTest, ANewSizeIsNeverTakenAsARepeat) {
  BoxFrame(2);
  canvas.BeginFrame(20, 10);
  canvas.ClearBackground(kBackground);
  const Image& small = canvas.FinishFrame();
  EXPECT_FALSE(canvas.RepeatedPreviousFrame());
  EXPECT_EQ(small.width, 20);
  EXPECT_EQ(small.At(2, 2), kBackgroundPixel);
}
}  // namespace
