// engine/instance_shape.h — the collision shape of an instance for local mouse
// events: the bounding box of its mask sprite (its mask index, or its sprite when
// it has no mask) placed with its position, scale and angle, narrowed to the
// rotated box or the per-pixel mask when the sprite's collision kind says so.
//
// Boxes are half-open: a box [left, right) × [top, bottom) holds a point on its
// left or top edge and not one on its right or bottom edge. The sprite's box is
// bboxLeft .. bboxRight + 1 (its bbox values are inclusive pixel indices) less
// the origin. The rotated-box and mask tests look at the centre of the pixel the
// point names, which agrees with the exclusive edges for whole-number positions.
#pragma once

class CInstance;
struct Sprite;

struct RoomBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool Contains(double px, double py) const { return left <= px && px < right && top <= py && py < bottom; }
};

// The axis-aligned box around the placed sprite box of `sprite`.
RoomBox InstanceBoundingBox(const CInstance& instance, const Sprite& sprite);
// Whether the point (room coordinates) hits the instance: inside its bounding
// box, not being destroyed, with a mask sprite that has frames, and inside the
// rotated box or on a set mask pixel where the sprite asks for it.
bool InstanceHit(const CInstance& instance, double px, double py);
