#include "engine/rooms.h"

#include <algorithm>
#include <memory>

#include "engine/code.h"
#include "engine/dispatch.h"
#include "engine/event_types.h"
#include "engine/game_world.h"
#include "engine/input_state.h"
#include "engine/instances.h"
#include "engine/objects.h"
#include "runtime/debug_output.h"
#include "runtime/gc.h"
#include "runtime/instance.h"

namespace {
const std::vector<RoomRecord>* g_definitions = nullptr;
std::vector<int32_t> g_order;
std::vector<std::unique_ptr<CRoom>> g_rooms;  // by room index: current or stored
CRoom* g_current = nullptr;
int32_t g_pending = kNoPendingRoom;
std::vector<CInstance*> g_carried;  // persistent instances taken out of the room being left

const std::string kNoRoomName = "<undefined>";

void MarkLiveInstances(GCMarker& marker) {
  for (const auto& room : g_rooms)
    if (room)
      for (CInstance* instance = room->instances.First(); instance; instance = RoomInstanceList::Next(instance))
        instance->Mark(marker);
  for (CInstance* instance : g_carried) instance->Mark(marker);
}

bool IsCarriedId(int32_t id) {
  return std::any_of(g_carried.begin(), g_carried.end(), [id](const CInstance* carried) { return carried->id == id; });
}

void ApplyRecord(CInstance& instance, const RoomInstanceRecord& record) {
  instance.imageXScale = record.scaleX;
  instance.imageYScale = record.scaleY;
  instance.imageBlend = record.blend;
  instance.imageIndex = record.imageIndex;
  instance.imageAngle = record.angle;
  instance.imageAlpha = float(record.alpha) / 255.0f;
}

// Every instance of the new room exists, in the world, before any create event.
// A record whose id a carried instance holds is skipped; a record repeating an id
// of the room (damaged data) gets a fresh id instead of hiding the other one.
void BuildInstances(CRoom& room) {
  for (const RoomInstanceRecord& record : room.definition->instances) {
    const CObjectDef* object = FindObject(record.objectIndex);
    if (!object || IsCarriedId(record.id)) continue;
    NoteInstanceId(record.id);
    int32_t id = FindInstanceById(record.id) ? NewInstanceId() : record.id;
    CInstance* instance = MakeInstance(id, *object, record.x, record.y);
    ApplyRecord(*instance, record);
    room.instances.PushBack(instance);
    EnterWorld(instance);
    room.toCreate.push_back(PendingCreate{id, &record});
  }
}

void RestoreStoredInstances(CRoom& room) {
  for (CInstance* instance = room.instances.First(); instance; instance = RoomInstanceList::Next(instance))
    EnterWorld(instance);
}

// A carried instance whose id the room already holds replaces the room's one.
void InsertCarriedInstances(CRoom& room) {
  std::vector<CInstance*> carried;
  carried.swap(g_carried);
  for (auto it = carried.rbegin(); it != carried.rend(); ++it) {
    CInstance* instance = *it;
    if (CInstance* held = FindInstanceById(instance->id)) {
      room.instances.Remove(held);
      FreeInstance(held);
    }
    room.instances.PushFront(instance);
  }
  for (CInstance* instance : carried) EnterWorld(instance);
}

void RunCode(int32_t codeIndex, CInstance* instance) {
  if (const CCode* code = CodeAt(codeIndex)) RunGuarded([&] { code->Run(instance, instance); });
}

void RaiseCreateEvents(CRoom& room) {
  std::vector<PendingCreate> pending;
  pending.swap(room.toCreate);
  for (const PendingCreate& entry : pending) {
    CInstance* instance = FindInstanceById(entry.id);
    if (!instance || instance->HasFlag(kInstanceMarkedForDestruction | kInstanceDeactivated)) continue;
    PerformEvent(instance, instance, kEventPreCreate, 0);
    RunCode(entry.record->preCreationCodeIndex, instance);
    PerformEvent(instance, instance, kEventCreate, 0);
    RunCode(entry.record->creationCodeIndex, instance);
    instance->flags |= kInstanceCreateRaised;
  }
}

void RunRoomCreationCode(const CRoom& room) {
  const CCode* code = CodeAt(room.definition->creationCodeIndex);
  const CObjectDef* internal = FindObject(InternalObjectIndex());
  if (!code || !internal) return;
  CInstance* temporary = MakeInstance(0, *internal, 0, 0);
  {
    ScopedEventState state(EventState{-2, -1, -1});
    RunGuarded([&] { code->Run(temporary, temporary); });
  }
  temporary->Free();
}

void DispatchAndRemove(int32_t type, int32_t number) {
  DispatchToAll(type, number);
  RemoveMarkedInstances();
}

template <typename Act>
void ForEachRoomInstance(CRoom& room, Act act) {
  for (CInstance* instance = room.instances.First(); instance;) {
    CInstance* next = RoomInstanceList::Next(instance);
    act(instance);
    instance = next;
  }
}

bool Carriable(const CInstance& instance) {
  return instance.HasFlag(kInstancePersistent) &&
         !instance.HasFlag(kInstanceMarkedForDestruction | kInstanceDeactivated);
}

void CarryPersistentInstances(CRoom& room) {
  ForEachRoomInstance(room, [&](CInstance* instance) {
    if (!Carriable(*instance)) return;
    room.instances.Remove(instance);
    LeaveWorld(instance);
    g_carried.push_back(instance);
  });
}

void StoreRoom(CRoom& room) {
  ForEachRoomInstance(room, [](CInstance* instance) { LeaveWorld(instance); });
}

void FreeRoomWithoutEvents(CRoom& room) {
  ForEachRoomInstance(room, [&](CInstance* instance) {
    room.instances.Remove(instance);
    FreeInstance(instance);
  });
}

// Clean-up for every instance still alive, then every instance is freed.
void ReleaseRoom(CRoom& room) {
  ForEachRoomInstance(room, [](CInstance* instance) {
    if (!instance->HasFlag(kInstanceMarkedForDestruction)) PerformEvent(instance, instance, kEventCleanUp, 0);
  });
  FreeRoomWithoutEvents(room);
}
}  // namespace

void LoadRooms(const std::vector<RoomRecord>& definitions, const std::vector<int>& order) {
  UnloadRooms();
  g_definitions = &definitions;
  g_order.clear();
  for (int index : order)
    if (index >= 0 && size_t(index) < definitions.size()) g_order.push_back(index);
  g_rooms.resize(definitions.size());
  GCAddRootProvider(MarkLiveInstances);
}

void ReleaseRooms() {
  for (auto& room : g_rooms) {
    if (room) FreeRoomWithoutEvents(*room);
    room.reset();
  }
  for (CInstance* instance : g_carried) FreeInstance(instance);
  g_carried.clear();
  g_current = nullptr;
  g_pending = kNoPendingRoom;
}

void UnloadRooms() {
  ReleaseRooms();
  g_rooms.clear();
  g_order.clear();
  g_definitions = nullptr;
}

CRoom* CurrentRoom() { return g_current; }

bool RoomExists(int32_t index) { return g_definitions && index >= 0 && size_t(index) < g_definitions->size(); }

const std::string& RoomName(int32_t index) {
  return RoomExists(index) ? (*g_definitions)[size_t(index)].name : kNoRoomName;
}

int32_t FirstRoom() { return g_order.empty() ? -1 : g_order.front(); }

int32_t NextRoom(int32_t index) {
  auto position = std::find(g_order.begin(), g_order.end(), index);
  if (position == g_order.end() || position + 1 == g_order.end()) return -1;
  return *(position + 1);
}

int32_t PreviousRoom(int32_t index) {
  auto position = std::find(g_order.begin(), g_order.end(), index);
  if (position == g_order.end() || position == g_order.begin()) return -1;
  return *(position - 1);
}

int32_t PendingRoom() { return g_pending; }
void SetPendingRoom(int32_t pending) { g_pending = pending; }

void StartRoom(int32_t index, bool gameStart) {
  g_pending = kNoPendingRoom;
  if (gameStart) ClearAllInput();
  std::unique_ptr<CRoom>& slot = g_rooms[size_t(index)];
  bool fresh = !slot;
  if (fresh) slot = std::make_unique<CRoom>(index, (*g_definitions)[size_t(index)]);
  CRoom& room = *slot;
  g_current = &room;
  if (fresh)
    BuildInstances(room);
  else
    RestoreStoredInstances(room);
  InsertCarriedInstances(room);
  if (fresh) RaiseCreateEvents(room);
  RemoveMarkedInstances();
  if (gameStart) DispatchAndRemove(kEventOther, kOtherGameStart);
  if (fresh) RunRoomCreationCode(room);
  DispatchAndRemove(kEventOther, kOtherRoomStart);
}

void EndRoom(bool gameEnd) {
  CRoom* room = g_current;
  if (!room) return;
  RemoveMarkedInstances();
  int32_t savedPending = g_pending;
  g_pending = kNoPendingRoom;
  DispatchAndRemove(kEventOther, kOtherRoomEnd);
  if (gameEnd) {
    DispatchToAll(kEventOther, kOtherGameEnd);
    ForEachRoomInstance(*room, [](CInstance* instance) {
      if (Carriable(*instance)) PerformEvent(instance, instance, kEventCleanUp, 0);
    });
    RemoveMarkedInstances();
  }
  g_pending = savedPending;
  CarryPersistentInstances(*room);
  if (room->Persistent()) {
    StoreRoom(*room);
  } else {
    ReleaseRoom(*room);
    g_rooms[size_t(room->index)].reset();
  }
  g_current = nullptr;
}

void EndGameRooms() {
  EndRoom(true);
  ReleaseRooms();
}

void ActOnPendingRoom() {
  int32_t pending = g_pending;
  if (pending == kPendingEndGame || pending == kPendingAbortGame) {
    g_gameRunning = false;
  } else if (pending == kPendingRestartGame) {
    EndGameRooms();
    if (FirstRoom() >= 0) StartRoom(FirstRoom(), true);
  } else if (RoomExists(pending)) {
    DebugOutput("Room switch from %s to %s\n", g_current ? g_current->Name().c_str() : kNoRoomName.c_str(),
                RoomName(pending).c_str());
    EndRoom(false);
    StartRoom(pending, false);
  }
}

void RemoveMarkedInstances() {
  if (!g_current) return;
  CRoom& room = *g_current;
  ForEachRoomInstance(room, [&](CInstance* instance) {
    if (!instance->HasFlag(kInstanceMarkedForDestruction)) return;
    room.instances.Remove(instance);
    FreeInstance(instance);
  });
}
