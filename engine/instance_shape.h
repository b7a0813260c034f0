// engine/instance_shape.h — the collision shape of an instance for local mouse
// events: the shape of its mask sprite (its mask index, or its sprite when it has
// no mask) placed with its position, scale and angle (graphics/sprite_shape.h
// says how the bounding box, rotated box and mask are tested).
#pragma once

#include "graphics/sprite_transform.h"

class CInstance;

// Where an instance's sprite is placed: its position, scale and angle.
SpritePlacement PlacementOf(const CInstance& instance);

// Whether the point (room coordinates) hits the instance: not being destroyed,
// with a mask sprite that has frames, and inside that sprite's shape.
bool InstanceHit(const CInstance& instance, double px, double py);
