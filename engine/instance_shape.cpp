#include "engine/instance_shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/sprites.h"
#include "runtime/instance.h"

namespace {
struct Placement {
  double x, y, xScale, yScale, cosine, sine;
};

Placement PlacementOf(const CInstance& instance) {
  double radians = double(instance.imageAngle) * std::numbers::pi / 180.0;
  return Placement{instance.x, instance.y, instance.imageXScale, instance.imageYScale, std::cos(radians), std::sin(radians)};
}

// Sprite-box coordinates relative to the origin, after scaling, turned by the
// angle (counter-clockwise on screen, where y grows downwards) and moved.
void ToRoom(const Placement& p, double u, double v, double& x, double& y) {
  x = p.x + u * p.cosine + v * p.sine;
  y = p.y - u * p.sine + v * p.cosine;
}

// The inverse: a room point in sprite pixels (origin added back). False for a
// zero scale, which has no inverse and hits nothing.
bool ToSprite(const Placement& p, const Sprite& sprite, double px, double py, double& sx, double& sy) {
  if (p.xScale == 0 || p.yScale == 0) return false;
  double dx = px - p.x, dy = py - p.y;
  double u = dx * p.cosine - dy * p.sine;
  double v = dx * p.sine + dy * p.cosine;
  sx = u / p.xScale + sprite.originX;
  sy = v / p.yScale + sprite.originY;
  return true;
}

bool InsideSpriteBox(const Sprite& sprite, double sx, double sy) {
  return sprite.bboxLeft <= sx && sx < sprite.bboxRight + 1 && sprite.bboxTop <= sy && sy < sprite.bboxBottom + 1;
}

bool OnMaskPixel(const Sprite& sprite, double imageIndex, double sx, double sy) {
  if (sprite.masks.empty()) return false;
  int frameCount = int(sprite.masks.size());
  int frame = int(std::floor(imageIndex)) % frameCount;
  if (frame < 0) frame += frameCount;
  const AlphaMap& mask = sprite.masks[size_t(frame)];
  int column = int(std::floor(sx)), row = int(std::floor(sy));
  if (column < 0 || row < 0 || column >= mask.width || row >= mask.height) return false;
  return mask.At(column, row) != 0;
}

const Sprite* MaskSprite(const CInstance& instance) {
  return FindSprite(instance.maskIndex >= 0 ? instance.maskIndex : instance.spriteIndex);
}
}  // namespace

RoomBox InstanceBoundingBox(const CInstance& instance, const Sprite& sprite) {
  Placement p = PlacementOf(instance);
  double left = (sprite.bboxLeft - sprite.originX) * p.xScale;
  double right = (sprite.bboxRight + 1 - sprite.originX) * p.xScale;
  double top = (sprite.bboxTop - sprite.originY) * p.yScale;
  double bottom = (sprite.bboxBottom + 1 - sprite.originY) * p.yScale;
  RoomBox box{INFINITY, INFINITY, -INFINITY, -INFINITY};
  for (double u : {left, right})
    for (double v : {top, bottom}) {
      double x, y;
      ToRoom(p, u, v, x, y);
      box.left = std::min(box.left, x);
      box.right = std::max(box.right, x);
      box.top = std::min(box.top, y);
      box.bottom = std::max(box.bottom, y);
    }
  return box;
}

bool InstanceHit(const CInstance& instance, double px, double py) {
  const Sprite* sprite = MaskSprite(instance);
  if (!sprite || sprite->frames.empty()) return false;
  if (sprite->bboxRight < sprite->bboxLeft || sprite->bboxBottom < sprite->bboxTop) return false;
  if (!InstanceBoundingBox(instance, *sprite).Contains(px, py)) return false;
  if (instance.HasFlag(kInstanceMarkedForDestruction)) return false;
  if (sprite->collision == CollisionKind::BoundingBox) return true;

  double sx, sy;
  if (!ToSprite(PlacementOf(instance), *sprite, px + 0.5, py + 0.5, sx, sy)) return false;
  if (sprite->collision == CollisionKind::RotatedRect) return InsideSpriteBox(*sprite, sx, sy);
  return OnMaskPixel(*sprite, instance.imageIndex, sx, sy);
}
