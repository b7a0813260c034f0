// engine/sprites.h — the sprites of the game data as the engine reads them (frame
// counts for animation, shapes for the mouse hit test). The game data owns them
// and outlives the engine's use.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/sprite.h"

void SetGameSprites(const std::vector<Sprite>* sprites);
// The sprite of `index`, or null.
const Sprite* FindSprite(int32_t index);
