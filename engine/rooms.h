// engine/rooms.h — rooms (CRoom), the room order, the pending room and the life
// cycle of a room: start, end, persistence, the carry list of persistent
// instances and the removal pass of destroyed instances.
//
// Invariants:
//   - at most one CRoom is current; a CRoom exists for a room index while it is
//     current or, for a persistent room that was left, stored for the next visit
//     (its instances stay in its list, out of the world, unchanged);
//   - a room change only records the pending room; it takes effect when the frame
//     loop acts on it, after the frame (or at once when the game starts);
//   - every live instance is in the current room's list, a stored room's list or
//     the carry list; the collector's root provider marks exactly those.
// The room definitions belong to the game data, which outlives the rooms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/game_data.h"
#include "engine/instance_list.h"

constexpr int32_t kNoPendingRoom = -1;
constexpr int32_t kPendingEndGame = -100;
constexpr int32_t kPendingRestartGame = -200;
constexpr int32_t kPendingAbortGame = -400;

// An instance awaiting its create events, with the record it was made from.
struct PendingCreate {
  int32_t id;
  const RoomInstanceRecord* record;
};

class CRoom {
 public:
  CRoom(int32_t index, const RoomRecord& definition) : index(index), definition(&definition) {}

  const std::string& Name() const { return definition->name; }
  bool Persistent() const { return definition->persistent; }

  int32_t index;
  const RoomRecord* definition;
  RoomInstanceList instances;           // the active list
  std::vector<PendingCreate> toCreate;  // in record order; emptied once the create events ran
};

// Takes the room definitions and the room order (indices; the first is where the
// game starts) of the game data. Releases whatever rooms existed.
void LoadRooms(const std::vector<RoomRecord>& definitions, const std::vector<int>& order);
// Frees every room, stored room and carried instance without raising events.
void ReleaseRooms();
// ReleaseRooms, then forgets the definitions and the room order.
void UnloadRooms();

CRoom* CurrentRoom();
bool RoomExists(int32_t index);
const std::string& RoomName(int32_t index);
// The first room of the room order, or -1 when there is none.
int32_t FirstRoom();
// The neighbour of `index` in the room order, or -1.
int32_t NextRoom(int32_t index);
int32_t PreviousRoom(int32_t index);

int32_t PendingRoom();
void SetPendingRoom(int32_t pending);
// Whether a room change (or the end of the game) is pending.
inline bool RoomChangePending() { return PendingRoom() != kNoPendingRoom; }

// Enters room `index`: builds it (or restores a stored persistent room), brings
// in the carried instances, raises the create events of a new room, Game Start
// when `gameStart`, runs the room's creation code and raises Room Start.
void StartRoom(int32_t index, bool gameStart);
// Leaves the current room: Room End (and Game End with Clean-up of persistent
// instances when `gameEnd`), carries persistent instances, stores a persistent
// room or releases it with Clean-up for its instances.
void EndRoom(bool gameEnd);
// Acts on the pending room: a room switch, the end of the game (clears the
// running flag) or a restart from the first room.
void ActOnPendingRoom();
// The end of the game's rooms: the current room ends with Game End, then every
// room is released.
void EndGameRooms();

// Frees the instances of the current room that are marked for destruction.
void RemoveMarkedInstances();
