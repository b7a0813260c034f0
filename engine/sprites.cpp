#include "engine/sprites.h"

#include "graphics/sprite_shape.h"
#include "runtime/instance.h"

namespace {
const std::vector<Sprite>* g_sprites = nullptr;
}  // namespace

void SetGameSprites(const std::vector<Sprite>* sprites) { g_sprites = sprites; }

const Sprite* FindSprite(int32_t index) {
  if (!g_sprites || index < 0 || size_t(index) >= g_sprites->size()) return nullptr;
  return &(*g_sprites)[size_t(index)];
}

SpritePlacement PlacementOf(const CInstance& instance) {
  return SpritePlacement{instance.x, instance.y, instance.imageXScale, instance.imageYScale, instance.imageAngle};
}

bool InstanceHit(const CInstance& instance, double px, double py) {
  if (instance.HasFlag(kInstanceMarkedForDestruction)) return false;
  const Sprite* sprite = FindSprite(instance.maskIndex >= 0 ? instance.maskIndex : instance.spriteIndex);
  return sprite && SpriteHit(*sprite, instance.imageIndex, PlacementOf(instance), px, py);
}
