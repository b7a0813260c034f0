#include "engine/objects.h"

#include "engine/code.h"
#include "runtime/debug_output.h"

namespace {
constexpr int32_t kNoParentThreshold = 100000;
constexpr const char* kInternalObjectPrefix = "__internal_object_";

std::vector<std::unique_ptr<CObjectDef>> g_objects;

std::unique_ptr<CObjectDef> DefinitionFrom(const ObjectRecord& record, int32_t index, std::string& error) {
  auto object = std::make_unique<CObjectDef>();
  object->name = record.name;
  object->objectIndex = index;
  object->parentIndex = record.parentIndex;
  object->spriteIndex = record.spriteIndex;
  object->maskIndex = record.maskIndex;
  object->depth = record.depth;
  object->visible = record.visible;
  object->solid = record.solid;
  object->persistent = record.persistent;
  for (const EventBinding& binding : record.events) {
    auto event = std::make_unique<CEvent>();
    event->owner = index;
    if (binding.codeIndex >= 0) {
      event->code = CodeAt(binding.codeIndex);
      if (!event->code) {
        error = "object " + record.name + ": event " + std::to_string(binding.type) + ":" +
                std::to_string(binding.number) + " names code " + std::to_string(binding.codeIndex) +
                ", which the program does not have";
        return nullptr;
      }
    }
    object->events.Insert(EventKey(binding.type, binding.number), event.get());
    object->ownEvents.push_back(std::move(event));
  }
  return object;
}

bool IsAncestorOrSelf(const CObjectDef* candidate, const CObjectDef& object) {
  for (const CObjectDef* walk = candidate; walk; walk = walk->parent)
    if (walk == &object) return true;
  return false;
}

// A parent link that would close a cycle (possible only in damaged data) is not made.
void LinkParents() {
  for (auto& object : g_objects) {
    int32_t parentIndex = object->parentIndex;
    if (parentIndex < 0 || parentIndex >= kNoParentThreshold || parentIndex >= int32_t(g_objects.size())) continue;
    CObjectDef* parent = g_objects[size_t(parentIndex)].get();
    if (IsAncestorOrSelf(parent, *object)) continue;
    object->parent = parent;
    parent->children.push_back(object.get());
  }
}

// Enters every ancestor's handler that the object lacks, nearest ancestor first.
// The order in which objects are merged does not matter: an ancestor's merged map
// holds its own handlers over inherited ones, exactly as the walk would.
void MergeInheritedEvents(CObjectDef& object) {
  for (const CObjectDef* ancestor = object.parent; ancestor; ancestor = ancestor->parent) {
    ancestor->events.ForEach([&](uint64_t key, CEvent* event) {
      if (!object.events.Find(key)) object.events.Insert(key, event);
    });
  }
}

void AppendInternalObject() {
  auto internal = std::make_unique<CObjectDef>();
  internal->objectIndex = int32_t(g_objects.size());
  internal->name = kInternalObjectPrefix + std::to_string(internal->objectIndex);
  g_objects.push_back(std::move(internal));
}
}  // namespace

bool LoadObjects(const std::vector<ObjectRecord>& records, std::string& error) {
  FreeObjects();
  DebugOutput("Preparing %d objects:\n", int(records.size()));
  for (size_t i = 0; i < records.size(); ++i) {
    auto object = DefinitionFrom(records[i], int32_t(i), error);
    if (!object) {
      FreeObjects();
      return false;
    }
    g_objects.push_back(std::move(object));
  }
  LinkParents();
  for (auto& object : g_objects) MergeInheritedEvents(*object);
  AppendInternalObject();
  return true;
}

void FreeObjects() { g_objects.clear(); }

CObjectDef* FindObject(int32_t index) {
  if (index < 0 || size_t(index) >= g_objects.size()) return nullptr;
  return g_objects[size_t(index)].get();
}

int32_t ObjectCount() { return int32_t(g_objects.size()); }
int32_t InternalObjectIndex() { return int32_t(g_objects.size()) - 1; }
