// Fuzzes the game-data loader: any bytes must be either rejected with a reason
// or give a GameData whose indices all point somewhere.
//
// The seed corpus/game_data/tiny.win is the builder's output for the test fixture:
//   kalvora-databuild game tests/unit/tools/fixtures/tiny.game \
//       tests/fuzz/corpus/game_data/tiny.win --fonts /usr/share/fonts/truetype/dejavu
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/game_data_loader.h"
#include "runtime/debug_output.h"

namespace {

bool IsIndexOrNone(int index, size_t count) { return index == -1 || (index >= 0 && size_t(index) < count); }

void CheckUsable(const GameData& game) {
  if (game.roomOrder.empty()) std::abort();
  for (int room : game.roomOrder)
    if (!IsIndexOrNone(room, game.rooms.size()) || room < 0) std::abort();
  for (const ObjectRecord& object : game.objects)
    if (!IsIndexOrNone(object.parentIndex, game.objects.size()) ||
        !IsIndexOrNone(object.spriteIndex, game.sprites.size()))
      std::abort();
  for (const RoomRecord& room : game.rooms)
    for (const RoomInstanceRecord& instance : room.instances)
      if (!IsIndexOrNone(instance.objectIndex, game.objects.size())) std::abort();
  for (const Sprite& sprite : game.sprites)
    if (sprite.frames.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string log;
  SetDebugOutputCapture(&log);  // unknown chunks are logged; keep them off the fuzzer's output
  log.clear();
  GameData game;
  std::string error;
  if (LoadGameData(data, size, game, error)) {
    CheckUsable(game);
  } else if (error.empty()) {
    std::abort();
  }
  return 0;
}
