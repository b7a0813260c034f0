// tools/game_data_writer.h — serialises a GameData into the bytes of data.win, in
// the layout of engine/game_data_format.h. The inverse of LoadGameData: what this
// writes, the loader reads back field for field.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/game_data.h"

std::vector<uint8_t> WriteGameData(const GameData& game);
