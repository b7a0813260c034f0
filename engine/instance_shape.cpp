#include "engine/instance_shape.h"

#include "engine/sprites.h"
#include "graphics/sprite_shape.h"
#include "runtime/instance.h"

SpritePlacement PlacementOf(const CInstance& instance) {
  return SpritePlacement{instance.x, instance.y, instance.imageXScale, instance.imageYScale, instance.imageAngle};
}

bool InstanceHit(const CInstance& instance, double px, double py) {
  if (instance.HasFlag(kInstanceMarkedForDestruction)) return false;
  const Sprite* sprite = FindSprite(instance.maskIndex >= 0 ? instance.maskIndex : instance.spriteIndex);
  return sprite && SpriteHit(*sprite, instance.imageIndex, PlacementOf(instance), px, py);
}
