#include "engine/instances.h"

#include <algorithm>
#include <unordered_map>

#include "engine/dispatch.h"
#include "engine/event_types.h"
#include "engine/objects.h"
#include "engine/rooms.h"
#include "runtime/builtin_variables.h"
#include "runtime/instance.h"

namespace {
constexpr int32_t kFirstRuntimeInstanceId = 100000;

std::unordered_map<int32_t, CInstance*> g_instancesById;
int32_t g_nextInstanceId = kFirstRuntimeInstanceId;

// A number names an instance id, else an object whose first instance (its own,
// then its descendants') is meant.
CInstance* FirstInstanceOf(const CObjectDef& object) {
  if (CInstance* own = object.instances.First()) return own;
  for (const CObjectDef* child : object.children)
    if (CInstance* found = FirstInstanceOf(*child)) return found;
  return nullptr;
}

CInstance* FindByIdOrObject(int32_t idOrObjectIndex) {
  if (CInstance* byId = FindInstanceById(idOrObjectIndex)) return byId;
  const CObjectDef* object = FindObject(idOrObjectIndex);
  return object ? FirstInstanceOf(*object) : nullptr;
}

// Instances enter the world in creation order except when a room is entered:
// then a carried persistent instance, or one of a stored room, may be older than
// instances already in the list. The search from the end is one step otherwise.
void InsertInCreationOrder(ObjectInstanceList& list, CInstance* instance) {
  CInstance* firstYounger = nullptr;
  for (CInstance* other = list.Last(); other && other->createdInPass > instance->createdInPass;
       other = ObjectInstanceList::Previous(other))
    firstYounger = other;
  list.InsertBefore(firstYounger, instance);
}

const char* ObjectName(int32_t objectIndex) {
  const CObjectDef* object = FindObject(objectIndex);
  return object ? object->name.c_str() : nullptr;
}
}  // namespace

CInstance* MakeInstance(int32_t id, const CObjectDef& object, double x, double y) {
  auto* instance = new CInstance(id, object.objectIndex, x, y);
  instance->flags = 0;
  if (object.visible) instance->flags |= kInstanceVisible;
  if (object.solid) instance->flags |= kInstanceSolid;
  if (object.persistent) instance->flags |= kInstancePersistent;
  instance->spriteIndex = object.spriteIndex;
  instance->maskIndex = object.maskIndex;
  instance->depth = object.depth;
  instance->createdInPass = NextCreationPassValue();
  return instance;
}

int32_t NewInstanceId() { return g_nextInstanceId++; }

void NoteInstanceId(int32_t id) { g_nextInstanceId = std::max(g_nextInstanceId, id + 1); }

void EnterWorld(CInstance* instance) {
  if (CObjectDef* object = FindObject(instance->objectIndex)) InsertInCreationOrder(object->instances, instance);
  g_instancesById[instance->id] = instance;
}

void LeaveWorld(CInstance* instance) {
  if (CObjectDef* object = FindObject(instance->objectIndex)) object->instances.Remove(instance);
  auto found = g_instancesById.find(instance->id);
  if (found != g_instancesById.end() && found->second == instance) g_instancesById.erase(found);
}

CInstance* FindInstanceById(int32_t id) {
  auto found = g_instancesById.find(id);
  return found == g_instancesById.end() ? nullptr : found->second;
}

void FreeInstance(CInstance* instance) {
  LeaveWorld(instance);
  instance->Free();
}

CInstance* CreateInstance(int32_t objectIndex, double x, double y) {
  CRoom* room = CurrentRoom();
  const CObjectDef* object = FindObject(objectIndex);
  if (!room || !object) return nullptr;
  CInstance* instance = MakeInstance(NewInstanceId(), *object, x, y);
  room->instances.PushBack(instance);
  EnterWorld(instance);
  PerformEvent(instance, instance, kEventPreCreate, 0);
  PerformEvent(instance, instance, kEventCreate, 0);
  instance->flags |= kInstanceCreateRaised;
  return instance;
}

void DestroyInstance(CInstance* instance) {
  if (instance->HasFlag(kInstanceDestroyRaised)) return;
  instance->flags |= kInstanceDestroyRaised;
  PerformEvent(instance, instance, kEventDestroy, 0);
  PerformEvent(instance, instance, kEventCleanUp, 0);
  instance->flags |= kInstanceMarkedForDestruction;
}

void InstallInstanceFinder() { SetInstanceFinder(InstanceFinder{FindByIdOrObject, ObjectName}); }

void ResetInstanceIds() {
  g_instancesById.clear();
  g_nextInstanceId = kFirstRuntimeInstanceId;
}
