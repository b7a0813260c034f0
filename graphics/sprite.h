// graphics/sprite.h — a sprite of the game data: its frames, origin and collision shape.
//
// Invariants: every frame is width × height; masks is empty unless the collision
// kind is Precise, in which case it holds one width × height map per frame
// (non-zero = solid). The bounding box is in sprite pixels, edges inclusive.
#pragma once

#include <string>
#include <vector>

#include "graphics/image.h"

enum class CollisionKind : uint8_t { BoundingBox = 0, Precise = 1, RotatedRect = 2 };

struct Sprite {
  std::string name;
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  int bboxLeft = 0;
  int bboxTop = 0;
  int bboxRight = -1;
  int bboxBottom = -1;
  CollisionKind collision = CollisionKind::BoundingBox;
  float playbackSpeed = 1.0f;  // frames per game frame, or per second (below)
  bool speedInFramesPerSecond = false;
  std::vector<Image> frames;
  std::vector<AlphaMap> masks;
};
