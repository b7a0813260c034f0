// engine/sprites.h — the sprites of the game data as the engine reads them: frame
// counts for animation, and the collision shape of an instance for local mouse
// events. The game data owns the sprites and outlives the engine's use.
//
// An instance's shape is the shape of its mask sprite (its mask index, or its
// sprite when it has no mask) placed with its position, scale and angle
// (graphics/sprite_shape.h says how the bounding box, rotated box and mask are
// tested).
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/sprite.h"
#include "graphics/sprite_transform.h"

class CInstance;

void SetGameSprites(const std::vector<Sprite>* sprites);
// The sprite of `index`, or null.
const Sprite* FindSprite(int32_t index);

// Where an instance's sprite is placed: its position, scale and angle.
SpritePlacement PlacementOf(const CInstance& instance);

// Whether the point (room coordinates) hits the instance: not being destroyed,
// with a mask sprite that has frames, and inside that sprite's shape.
bool InstanceHit(const CInstance& instance, double px, double py);
