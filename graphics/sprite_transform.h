// graphics/sprite_transform.h — where an instance's sprite lies in the room, and
// which of its frames it shows.
//
// Sprite coordinates (u, v) are sprite pixels from the frame's top-left corner;
// the instance shows sprite point (u, v) at the room point
//   (x, y) + R(angle) · ((u − originX) · scaleX, (v − originY) · scaleY),
// the angle in degrees counter-clockwise as seen on the screen (y grows downwards,
// so 90° turns the sprite's +u direction to room −y). A negative scale mirrors the
// sprite about its origin. Whole multiples of 90° use exact sines and cosines, so
// those rotations keep integer positions on the pixel grid.
#pragma once

#include "graphics/sprite.h"

// An instance's position, scale and rotation, as its built-in variables hold them.
struct SpritePlacement {
  double x = 0, y = 0;
  double scaleX = 1, scaleY = 1;
  double angle = 0;  // degrees, counter-clockwise

  bool operator==(const SpritePlacement&) const = default;
};

struct Point2 {
  double x = 0, y = 0;
};

class SpriteTransform {
 public:
  SpriteTransform(const Sprite& sprite, const SpritePlacement& placement);

  // False when a scale is zero (the sprite covers nothing) or a value is not finite.
  bool Usable() const { return usable; }
  // Unrotated and unscaled: sprite pixels map one to one onto room pixels.
  bool Identity() const { return cosine == 1 && sine == 0 && scaleX == 1 && scaleY == 1; }

  Point2 ToRoom(Point2 spritePoint) const;
  // The sprite point shown at a room point; only meaningful when Usable().
  Point2 ToSprite(Point2 roomPoint) const;

 private:
  double x, y, originX, originY, scaleX, scaleY;
  double cosine = 1, sine = 0;
  bool usable = false;
};

// The frame shown for image_index: floor(imageIndex) wrapped into 0 .. frames − 1
// (a non-finite index shows frame 0); -1 when the sprite has no frames.
int SpriteFrame(const Sprite& sprite, double imageIndex);
