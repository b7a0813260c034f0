// engine/game_data_loader.h — reads data.win (layout in engine/game_data_format.h)
// into a GameData.
//
// The loader trusts nothing in the bytes: every size, count and offset is checked
// against the bytes that remain before it is used, every index that the runtime
// follows must name something, and a failure leaves `out` untouched. Unknown
// chunks are logged to the debug output ("unknown Chunk %s:%d") and skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/game_data.h"

// Fills `out` and returns true, or returns false with a one-line reason in `error`
// (e.g. "SPRT: sprite 0: frame data runs past the end of the chunk").
bool LoadGameData(const uint8_t* bytes, size_t size, GameData& out, std::string& error);
