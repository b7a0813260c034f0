// engine/game_data.h — the game's world as read from data.win: options, sprites,
// fonts, object definitions and rooms, as plain data.
//
// The file format is ours (engine/game_data_format.h documents it); the loader
// checks every size and offset, so LoadGameData either fills a GameData completely
// or fails with a reason and no partial result. Indices are positions in the
// vectors; -1 means "none". The runtime builds its live objects (CObjectDef,
// CRoom, fonts for drawing) from this structure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/font.h"
#include "graphics/sprite.h"

// Bits of GameOptions::flags.
constexpr uint32_t kOptionRoamingSaveArea = 1u << 1;
constexpr uint32_t kOptionSandboxDisabled = 1u << 2;
constexpr uint32_t kOptionFreezeWhenInactive = 1u << 3;
constexpr uint32_t kOptionCopyOnWriteArrays = 1u << 29;

struct GameOptions {
  std::string gameName;  // names the save-area folder
  uint32_t flags = kOptionCopyOnWriteArrays;
  int gameSpeed = 60;                       // frames per second
  uint32_t defaultDrawColour = 0xFFFFFFFF;  // runtime encoding: alpha << 24 | blue << 16 | green << 8 | red
};

struct EventBinding {
  int type = 0;        // event type (0 Create ... 14 PreCreate)
  int number = 0;      // event number within the type
  int codeIndex = -1;  // entry of the compiled code table, -1 for an event without code
};

struct ObjectRecord {
  std::string name;
  int parentIndex = -1;
  int spriteIndex = -1;
  int maskIndex = -1;
  int depth = 0;
  bool visible = true;
  bool solid = false;
  bool persistent = false;
  std::vector<EventBinding> events;
};

struct RoomInstanceRecord {
  double x = 0, y = 0;
  int objectIndex = -1;
  int id = 0;
  int creationCodeIndex = -1;
  int preCreationCodeIndex = -1;
  float scaleX = 1, scaleY = 1;
  uint32_t blend = 0xFFFFFF;  // runtime colour encoding
  float imageIndex = 0;
  float angle = 0;
  uint8_t alpha = 255;
};

struct RoomRecord {
  std::string name;
  int width = 800;
  int height = 600;
  int speed = 60;
  bool persistent = false;
  uint32_t backgroundColour = 0;  // runtime colour encoding
  bool clearDisplay = true;
  int creationCodeIndex = -1;
  std::vector<RoomInstanceRecord> instances;
};

struct GameData {
  GameOptions options;
  std::vector<Sprite> sprites;
  std::vector<Font> fonts;
  std::vector<ObjectRecord> objects;
  std::vector<RoomRecord> rooms;
  std::vector<int> roomOrder;  // room indices; roomOrder[0] is the first room
};
