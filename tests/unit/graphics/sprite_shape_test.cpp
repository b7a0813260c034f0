#include "graphics/sprite_shape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "graphics/sprite_draw.h"
#include "test_art.h"

namespace {
using Box = std::array<double, 4>;  // left, top, right, bottom
Box Sides(const BoundingBox& b) { return {b.left, b.top, b.right, b.bottom}; }
}  // namespace

// The box covers the pixels [left, right) × [top, bottom) after origin, scale,
// mirror and rotation (quarter turns exactly); a rotated-box sprite rejects the
// corners of its bounding box.
TEST(SpriteShape, BoundingBoxesAndRotatedBoxes) {
  Sprite button = CodedSprite(160, 160, 80, 80), corner = CodedSprite(4, 3, 0, 0);
  const SpritePlacement at{100, 250}, turned{10, 10, 1, 1, 90};
  for (auto [sprite, placement, box] : {std::tuple{button, at, Box{20, 170, 180, 330}},
                                        {CodedSprite(4, 3, 1, 1), {10, 10, -2, 1}, Box{4, 9, 12, 12}},
                                        {corner, turned, Box{10, 6, 13, 10}},
                                        {corner, {0, 0, 1, 1, 270}, Box{-3, 0, 0, 4}}})
    EXPECT_EQ(Sides(SpriteBoundingBox(sprite, placement)), box);
  for (auto [x, y, hit] :
       {std::tuple{20, 170, true}, {179, 329, true}, {180, 250, false}, {100, 330, false}, {19, 250, false}})
    EXPECT_EQ(SpriteHit(button, 0, at, x, y), hit) << x << "," << y;
  EXPECT_FALSE(SpriteHit(corner, 0, turned, 13, 8));
  EXPECT_TRUE(SpriteHit(corner, 0, turned, 12, 9));
  button.bboxLeft = 10, button.bboxRight = 149;
  EXPECT_EQ(Sides(SpriteBoundingBox(button, at)), (Box{30, 170, 170, 330}));

  Sprite bar = CodedSprite(20, 4, 10, 2);
  const SpritePlacement diagonal{20, 15, 1, 1, 45};  // the long axis points up and right
  EXPECT_TRUE(SpriteHit(bar, 0, diagonal, 26, 21));  // inside the bounding box
  bar.collision = CollisionKind::RotatedRect;
  EXPECT_TRUE(SpriteHit(bar, 0, diagonal, 26, 8));
  EXPECT_FALSE(SpriteHit(bar, 0, diagonal, 26, 21));
  EXPECT_TRUE(InsideRotatedBox(bar, diagonal, 20, 15));
}

// The mask test finds a pixel exactly where the drawing shows one.
TEST(SpriteShape, PreciseMaskMatchesTheDrawnPixels) {
  Sprite sprite = CodedSprite(6, 5, 2, 1);
  sprite.collision = CollisionKind::Precise;
  AlphaMap mask{6, 5, std::vector<uint8_t>(30)};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      if ((x + 2 * y) % 3 != 0)
        mask.values[size_t(y * 6 + x)] = 1;
      else
        sprite.frames[0].At(x, y) = 0;
  sprite.masks.push_back(mask);
  for (SpritePlacement p : {SpritePlacement{10, 10}, {20, 12, 1, 1, 90}, {20, 15, 2, 2, 30}, {15, 15, -2, 1.5, 200}}) {
    Image frame(40, 30, kPaper);
    DrawSprite(frame, sprite, 0, p, 0xFFFFFFFF);
    int hits = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool drawn = frame.At(x, y) != kPaper;
        ASSERT_EQ(PreciseMaskHit(sprite, 0, p, x, y), drawn) << "angle " << p.angle << " at " << x << "," << y;
        ASSERT_FALSE(SpriteHit(sprite, 0, p, x, y) && !drawn);
        hits += drawn;
      }
    EXPECT_GT(hits, 10);
  }
  EXPECT_FALSE(PreciseMaskHit(sprite, 1, {10, 10}, 9, 9));  // no mask for that frame
}

TEST(SpriteShape, DegenerateSpritesAreHitNowhere) {
  Sprite sprite = CodedSprite(4, 3, 0, 0);
  EXPECT_FALSE(SpriteHit(sprite, 0, {10, 10, 0, 1}, 10, 10));
  EXPECT_FALSE(SpriteHit(sprite, 0, {std::nan(""), 10}, 10, 10));
  sprite.collision = CollisionKind::RotatedRect;
  EXPECT_FALSE(InsideRotatedBox(sprite, {10, 10, 1, 0}, 10, 10));
  sprite.bboxRight = -1;
  EXPECT_FALSE(SpriteHit(sprite, 0, {10, 10}, 10, 10));
  sprite = CodedSprite(4, 3, 0, 0);
  sprite.frames.clear();
  EXPECT_FALSE(SpriteHit(sprite, 0, {10, 10}, 10, 10));
}
