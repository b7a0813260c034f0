#include "graphics/sprite_shape.h"

#include <algorithm>
#include <cmath>

namespace {

bool HasBox(const Sprite& sprite) { return sprite.bboxLeft <= sprite.bboxRight && sprite.bboxTop <= sprite.bboxBottom; }

// The sprite point shown at the centre of the pixel named by (px, py).
Point2 SpritePointAt(const SpriteTransform& transform, double px, double py) {
  return transform.ToSprite({px + 0.5, py + 0.5});
}

}  // namespace

BoundingBox SpriteBoundingBox(const Sprite& sprite, const SpritePlacement& placement) {
  const SpriteTransform transform(sprite, placement);
  if (!HasBox(sprite) || !transform.Usable()) return {placement.x, placement.y, placement.x, placement.y};
  const double left = sprite.bboxLeft, top = sprite.bboxTop;
  const double right = sprite.bboxRight + 1.0, bottom = sprite.bboxBottom + 1.0;
  const Point2 corners[] = {transform.ToRoom({left, top}), transform.ToRoom({right, top}),
                            transform.ToRoom({left, bottom}), transform.ToRoom({right, bottom})};
  BoundingBox box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const Point2& corner : corners) {
    box.left = std::min(box.left, corner.x), box.right = std::max(box.right, corner.x);
    box.top = std::min(box.top, corner.y), box.bottom = std::max(box.bottom, corner.y);
  }
  return box;
}

bool InsideRotatedBox(const Sprite& sprite, const SpritePlacement& placement, double px, double py) {
  const SpriteTransform transform(sprite, placement);
  if (!HasBox(sprite) || !transform.Usable()) return false;
  const Point2 at = SpritePointAt(transform, px, py);
  return sprite.bboxLeft <= at.x && at.x < sprite.bboxRight + 1.0 && sprite.bboxTop <= at.y &&
         at.y < sprite.bboxBottom + 1.0;
}

bool PreciseMaskHit(const Sprite& sprite, int frame, const SpritePlacement& placement, double px, double py) {
  const SpriteTransform transform(sprite, placement);
  if (frame < 0 || size_t(frame) >= sprite.masks.size() || !transform.Usable()) return false;
  const AlphaMap& mask = sprite.masks[size_t(frame)];
  const Point2 at = SpritePointAt(transform, px, py);
  if (!(at.x >= 0 && at.x < mask.width && at.y >= 0 && at.y < mask.height)) return false;
  return mask.At(int(at.x), int(at.y)) != 0;
}

bool SpriteHit(const Sprite& sprite, double imageIndex, const SpritePlacement& placement, double px, double py) {
  if (!SpriteBoundingBox(sprite, placement).Contains(px, py)) return false;
  const int frame = SpriteFrame(sprite, imageIndex);
  if (frame < 0) return false;
  switch (sprite.collision) {
    case CollisionKind::RotatedRect: return InsideRotatedBox(sprite, placement, px, py);
    case CollisionKind::Precise: return PreciseMaskHit(sprite, frame, placement, px, py);
    case CollisionKind::BoundingBox: return true;
  }
  return false;
}
