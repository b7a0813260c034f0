// graphics/sprite_shape.h — the shape of an instance's sprite for the mouse hit
// test: its bounding box in the room, its rotated box and its precise mask.
//
// The sprite's box is bboxLeft .. bboxRight and bboxTop .. bboxBottom in sprite
// pixels, edges inclusive; as an area it is [bboxLeft, bboxRight + 1) ×
// [bboxTop, bboxBottom + 1). A sprite whose box is empty (right < left or
// bottom < top), or a placement with a zero scale, is hit nowhere.
//
// The rotated-box and mask tests look at the centre of the pixel that a point
// names, (px + 0.5, py + 0.5): that is the pixel the drawing shows there, and with
// whole-number positions it agrees with the bounding box's exclusive right and
// bottom edges, also for mirrored sprites.
#pragma once

#include "graphics/sprite.h"
#include "graphics/sprite_transform.h"

// An axis-aligned box in room coordinates; right and bottom are exclusive.
struct BoundingBox {
  double left = 0, top = 0, right = 0, bottom = 0;

  bool Contains(double px, double py) const { return left <= px && px < right && top <= py && py < bottom; }
};

// The smallest axis-aligned box around the transformed sprite box. Unrotated at
// scale 1 it is [x − originX + bboxLeft, x − originX + bboxRight + 1) across.
BoundingBox SpriteBoundingBox(const Sprite& sprite, const SpritePlacement& placement);

// Whether the point lies inside the sprite box turned and scaled with the instance.
bool InsideRotatedBox(const Sprite& sprite, const SpritePlacement& placement, double px, double py);

// Whether the mask pixel of `frame` under the point is set. False when the
// sprite has no mask for that frame or the point lies outside the sprite.
bool PreciseMaskHit(const Sprite& sprite, int frame, const SpritePlacement& placement, double px, double py);

// The whole shape test of a local mouse event: inside the bounding box, the
// sprite has frames, and, by its collision kind, inside the rotated box or on a
// set mask pixel. The caller checks beforehand what belongs to the instance (it
// is not being destroyed; which sprite is its mask).
bool SpriteHit(const Sprite& sprite, double imageIndex, const SpritePlacement& placement, double px, double py);
