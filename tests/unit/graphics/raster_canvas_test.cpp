#include "graphics/raster_canvas.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

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

// A cleared frame drawing what the previous one drew is recognised as a repeat
// and keeps its picture; a frame not cleared or of a new size never is. What is
// drawn outside the draw stage is lost under the next clear, kept without one.
TEST_F(RasterCanvasTest, RepeatedFramesAreRecognisedAndKeepTheirPicture) {
  auto frame = [&](double x, bool clear) {
    const Image& image = BoxFrame(x, clear);
    return std::tuple{canvas.RepeatedPreviousFrame(),
                      image.At(2, 2),
                      image.At(8, 2),
                      image.At(12, 2),
                      image.At(21, 21),
                      image.At(31, 21)};
  };
  const uint32_t w = kWhitePixel, b = kBackgroundPixel;
  EXPECT_EQ(frame(2, true), std::tuple(false, w, b, b, b, b));
  EXPECT_EQ(frame(2, true), std::tuple(true, w, b, b, b, b));
  EXPECT_EQ(frame(3, true), std::tuple(false, b, w, b, b, b));
  DrawRectangleBetween(30, 20, 32, 22, false);
  EXPECT_EQ(frame(3, true), std::tuple(true, b, w, b, b, b));
  DrawRectangleBetween(30, 20, 32, 22, false);
  EXPECT_EQ(frame(10, false), std::tuple(false, b, w, w, w, w));  // on the previous frame's box
  EXPECT_EQ(frame(10, false), std::tuple(false, b, w, w, w, w));

  canvas.BeginFrame(20, 10);
  canvas.ClearBackground(kBackground);
  const Image& small = canvas.FinishFrame();
  EXPECT_FALSE(canvas.RepeatedPreviousFrame());
  EXPECT_EQ(small.width, 20);
  EXPECT_EQ(small.At(2, 2), kBackgroundPixel);
}
}  // namespace
