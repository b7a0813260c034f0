#include "graphics/sprite_transform.h"

#include <cmath>
#include <numbers>

namespace {

struct CosSin {
  double cosine, sine;
};

CosSin CosSinDegrees(double degrees) {
  double turned = std::fmod(degrees, 360.0);
  if (turned < 0) turned += 360.0;
  if (turned == 0) return {1, 0};
  if (turned == 90) return {0, 1};
  if (turned == 180) return {-1, 0};
  if (turned == 270) return {0, -1};
  const double radians = turned * std::numbers::pi / 180.0;
  return {std::cos(radians), std::sin(radians)};
}

}  // namespace

SpriteTransform::SpriteTransform(const Sprite& sprite, const SpritePlacement& placement)
    : x(placement.x),
      y(placement.y),
      originX(sprite.originX),
      originY(sprite.originY),
      scaleX(placement.scaleX),
      scaleY(placement.scaleY) {
  usable = std::isfinite(x) && std::isfinite(y) && std::isfinite(scaleX) && std::isfinite(scaleY) &&
           std::isfinite(placement.angle) && scaleX != 0 && scaleY != 0;
  if (usable) {
    const CosSin turn = CosSinDegrees(placement.angle);
    cosine = turn.cosine, sine = turn.sine;
  }
}

Point2 SpriteTransform::ToRoom(Point2 spritePoint) const {
  const double along = (spritePoint.x - originX) * scaleX;
  const double across = (spritePoint.y - originY) * scaleY;
  return {x + cosine * along + sine * across, y - sine * along + cosine * across};
}

Point2 SpriteTransform::ToSprite(Point2 roomPoint) const {
  const double dx = roomPoint.x - x, dy = roomPoint.y - y;
  const double along = cosine * dx - sine * dy;
  const double across = sine * dx + cosine * dy;
  return {along / scaleX + originX, across / scaleY + originY};
}

int SpriteFrame(const Sprite& sprite, double imageIndex) {
  const double count = double(sprite.frames.size());
  if (count == 0) return -1;
  if (!std::isfinite(imageIndex)) return 0;
  double frame = std::fmod(std::floor(imageIndex), count);
  if (frame < 0) frame += count;
  return int(frame);
}
