#include "engine/sprites.h"

namespace {
const std::vector<Sprite>* g_sprites = nullptr;
}  // namespace

void SetGameSprites(const std::vector<Sprite>* sprites) { g_sprites = sprites; }

const Sprite* FindSprite(int32_t index) {
  if (!g_sprites || index < 0 || size_t(index) >= g_sprites->size()) return nullptr;
  return &(*g_sprites)[size_t(index)];
}
