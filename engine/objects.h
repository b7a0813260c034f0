// engine/objects.h — object definitions (CObjectDef), their handlers (CEvent) and
// the store of definitions, built once from the game data.
//
// Invariants after LoadObjects:
//   - the definition of index i is at position i; the last one is the internal
//     object (its index is the number of objects of the game data);
//   - every event map answers for the whole parent chain: inherited handlers are
//     entered as shared CEvent pointers, the nearest ancestor winning and the
//     object's own handlers always winning, so dispatch never walks parents;
//   - a CEvent's owner is the object in which its handler was written;
//   - an object's instance list holds exactly its own live instances, in
//     creation order (never those of its children).
// Definitions live until FreeObjects, which expects every instance to be gone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/event_map.h"
#include "engine/event_types.h"
#include "engine/game_data.h"
#include "engine/instance_list.h"

class CCode;

class CEvent {
 public:
  const CCode* code = nullptr;  // null: the event exists but runs nothing
  int32_t owner = -1;           // the object in which the handler was written
};

class CObjectDef {
 public:
  CEvent* FindEvent(int32_t type, int32_t number) const { return events.Find(EventKey(type, number)); }

  std::string name;
  int32_t objectIndex = 0;
  int32_t parentIndex = -1;  // as read; 100000 and above mean no parent
  CObjectDef* parent = nullptr;
  std::vector<CObjectDef*> children;
  int32_t spriteIndex = -1;
  int32_t maskIndex = -1;
  int32_t depth = 0;
  bool visible = true;
  bool solid = false;
  bool persistent = false;
  EventMap events;
  ObjectInstanceList instances;
  std::vector<std::unique_ptr<CEvent>> ownEvents;  // the handlers written in this object
};

// Builds the definitions from the game data's object records (code indices name
// entries of the compiled code bound with BindCompiledCode), links parents, merges
// inherited events and appends the internal object. False with `error` when an
// event names code that does not exist; nothing is kept then.
bool LoadObjects(const std::vector<ObjectRecord>& records, std::string& error);
void FreeObjects();

// The definition of `index`, or null.
CObjectDef* FindObject(int32_t index);
// The number of definitions, the internal object included.
int32_t ObjectCount();
int32_t InternalObjectIndex();
