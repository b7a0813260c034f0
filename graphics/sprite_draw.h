// graphics/sprite_draw.h — a sprite frame drawn into a frame (the core of draw_self).
//
// Each frame pixel whose centre shows sprite point (u, v) (sprite_transform.h)
// takes sprite pixel (floor u, floor v) (nearest neighbour), multiplied channel by
// channel by the tint and blended source-over. Unrotated and unscaled, sprite
// pixel (0, 0) lands on pixel (PixelOf(x − originX), PixelOf(y − originY)) and the
// frame is copied one to one, so at whole-number positions it lands exactly on
// (x − originX, y − originY). Only the frame pixels inside the sprite's
// transformed bounds, cut to the frame, are visited.
#pragma once

#include <cstdint>

#include "graphics/image.h"
#include "graphics/sprite.h"
#include "graphics/sprite_transform.h"

// Draws frame SpriteFrame(sprite, imageIndex). `tint` is a pixel (0xAARRGGBB):
// the instance's blend colour with its alpha, PixelFromColour(blend, AlphaByte(alpha)).
// Nothing is drawn for a sprite without frames or an unusable placement.
void DrawSprite(Image& frame, const Sprite& sprite, double imageIndex, const SpritePlacement& placement, uint32_t tint);
