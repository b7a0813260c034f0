#include "graphics/sprite_draw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "graphics/colour.h"
#include "test_art.h"

namespace {

constexpr uint32_t kNoTint = 0xFFFFFFFF;

Image Drawn(const Sprite& sprite, SpritePlacement placement, double imageIndex = 0, uint32_t tint = kNoTint) {
  Image frame(40, 30, kPaper);
  DrawSprite(frame, sprite, imageIndex, placement, tint);
  return frame;
}

// Every pixel (i, j) of the coded 4 × 3 sprite is where `where` says, and nothing else is drawn.
void ExpectLayout(const Image& frame, int scale, const std::function<std::pair<int, int>(int, int)>& where) {
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 4; ++i) {
      const auto [x, y] = where(i, j);
      EXPECT_EQ(frame.At(x, y), Coded(i, j)) << "sprite pixel " << i << "," << j;
    }
  EXPECT_EQ(InkBounds(frame).count, 12 * scale * scale);
}

}  // namespace

TEST(SpriteDraw, OriginMirrorScaleAndRotation) {
  const Sprite sprite = CodedSprite(4, 3, 1, 1);
  ExpectLayout(Drawn(sprite, {10, 10}), 1, [](int i, int j) { return std::pair(9 + i, 9 + j); });
  ExpectLayout(Drawn(sprite, {10, 10, -1, 1}), 1, [](int i, int j) { return std::pair(10 - i, 9 + j); });
  ExpectLayout(Drawn(sprite, {10, 10, 1, -1}), 1, [](int i, int j) { return std::pair(9 + i, 10 - j); });
  ExpectLayout(Drawn(sprite, {10, 10, 2, 2}), 2, [](int i, int j) { return std::pair(8 + 2 * i + 1, 8 + 2 * j); });
  const Sprite corner = CodedSprite(4, 3, 0, 0);  // counter-clockwise: +u turns to −y
  ExpectLayout(Drawn(corner, {10, 10, 1, 1, 90}), 1, [](int i, int j) { return std::pair(10 + j, 9 - i); });
  ExpectLayout(Drawn(corner, {10, 10, 1, 1, -270}), 1, [](int i, int j) { return std::pair(10 + j, 9 - i); });
  ExpectLayout(Drawn(corner, {10, 10, 1, 1, 180}), 1, [](int i, int j) { return std::pair(9 - i, 9 - j); });
  // Fractional positions: the one-to-one copy and the general sampler agree.
  EXPECT_EQ(Drawn(sprite, {10.3, 10.7}).pixels, Drawn(sprite, {10.3, 10.7, 1, 1, 1e-7}).pixels);
  EXPECT_EQ(Drawn(sprite, {10.3, 10.7}).At(9, 10), Coded(0, 0));
}

// The frame index wraps into range (floor(−0.5) = −1: the last frame; NaN: the first).
TEST(SpriteDraw, FrameIndexWrapsIntoRange) {
  Sprite sprite = CodedSprite(1, 1, 0, 0);
  sprite.frames.push_back(Image(1, 1, 0xFF00FF00));
  std::vector<uint32_t> drawn;
  for (double index : {1.9, 3.7, -0.5, 4.0, std::nan("")}) drawn.push_back(Drawn(sprite, {0, 0}, index).At(0, 0));
  EXPECT_EQ(drawn, std::vector<uint32_t>({0xFF00FF00, 0xFF00FF00, 0xFF00FF00, Coded(0, 0), Coded(0, 0)}));
  EXPECT_EQ(SpriteFrame(Sprite(), 0), -1);
}

// Blend colour and alpha multiply; a transparent pixel stays transparent.
TEST(SpriteDraw, BlendColourAndAlphaMultiply) {
  Sprite sprite = CodedSprite(2, 1, 0, 0);
  sprite.frames[0].pixels = {0xFFFFFFFF, 0x00FFFFFF};
  const Image frame = Drawn(sprite, {3, 3}, 0, PixelFromColour(0x0000FF, AlphaByte(0.5)));
  EXPECT_EQ(std::pair(frame.At(3, 3), frame.At(4, 3)), std::pair(0xFF7F0000u, kPaper));
  EXPECT_EQ(InkBounds(Drawn(sprite, {3, 3}, 0, PixelFromColour(0xFFFFFF, 0))).count, 0);
}

TEST(SpriteDraw, ClippedAtEveryEdge) {
  const Sprite sprite = CodedSprite(4, 3, 1, 1);
  EXPECT_EQ(Drawn(sprite, {0, 0}).At(0, 0), Coded(1, 1));
  EXPECT_EQ(InkBounds(Drawn(sprite, {0, 0})).count, 3 * 2);
  EXPECT_EQ(Drawn(sprite, {40, 30}).At(39, 29), Coded(0, 0));
  EXPECT_EQ(InkBounds(Drawn(sprite, {40, 30})).count, 1);
  const double inf = std::numeric_limits<double>::infinity();
  for (SpritePlacement p : {SpritePlacement{41, 10},
                            {-3, 10},
                            {10, -2},
                            {10, 32},
                            {-1e300, 5},
                            {5, inf},
                            {std::nan(""), 5},
                            {5, 5, 0, 1},
                            {5, 5, 1, std::nan("")},
                            {5, 5, 1, 1, inf},
                            {1e12, 1e12, 1e9, 1e9, 33}})
    EXPECT_EQ(InkBounds(Drawn(sprite, p)).count, 0) << p.x << "," << p.y;
  // Huge, rotated and covering the whole frame: every pixel sampled, none beyond.
  EXPECT_EQ(InkBounds(Drawn(sprite, {20, 15, 1e6, 1e6, 30})).count, 40 * 30);
  EXPECT_GT(InkBounds(Drawn(sprite, {0, 29, 3, 3, 30})).count, 0);
}
