#include "runtime/gc.h"

#include <algorithm>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/value.h"

bool g_gcContextTrackingEnabled = true;

namespace {
std::vector<VQObjectBase*> g_objects;   // position = mark index; null = free position
std::vector<int32_t> g_freePositions;
std::vector<uint64_t> g_markBits;
std::vector<GCRootProvider> g_rootProviders;
bool g_graphChanged = false;

// Grown by doubling from a capacity of 1, as the context stack always was.
VQObjectBase** g_contextStack = nullptr;
int g_contextCount = 0;
int g_contextCapacity = 0;

bool IsMarked(int32_t index) { return (g_markBits[size_t(index) >> 6] >> (index & 63)) & 1u; }
void SetMarked(int32_t index) { g_markBits[size_t(index) >> 6] |= uint64_t(1) << (index & 63); }
}  // namespace

void GCMarker::MarkValue(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_ARRAY:
      if (value.arr && value.arr->carrier) value.arr->carrier->MarkSelf(*this);
      break;
    case VALUE_OBJECT:
      if (value.obj) value.obj->MarkSelf(*this);
      break;
    default:
      break;
  }
}

void GCMarker::MarkObject(VQObjectBase* object) {
  if (!object || object->gcIndex < 0 || IsMarked(object->gcIndex)) return;
  SetMarked(object->gcIndex);
  pending_.push_back(object);
}

void GCRegisterObject(VQObjectBase* object) {
  int32_t index;
  if (!g_freePositions.empty()) {
    index = g_freePositions.back();
    g_freePositions.pop_back();
    g_objects[size_t(index)] = object;
  } else {
    index = int32_t(g_objects.size());
    g_objects.push_back(object);
  }
  object->gcIndex = index;
  g_graphChanged = true;
}

void GCUnregisterObject(VQObjectBase* object) {
  if (object->gcIndex < 0) return;
  g_objects[size_t(object->gcIndex)] = nullptr;
  g_freePositions.push_back(object->gcIndex);
  object->gcIndex = -1;
}

void GCWriteNotify(VQObjectBase*) { g_graphChanged = true; }
void GCNoteReleasedReference() { g_graphChanged = true; }

void PushContextStack(VQObjectBase* object) {
  if (!g_gcContextTrackingEnabled) return;
  if (g_contextCount == g_contextCapacity) {
    int capacity = g_contextCapacity ? g_contextCapacity * 2 : 1;
    auto* grown = new VQObjectBase*[size_t(capacity)];
    std::copy(g_contextStack, g_contextStack + g_contextCount, grown);
    delete[] g_contextStack;
    g_contextStack = grown;
    g_contextCapacity = capacity;
  }
  g_contextStack[g_contextCount++] = object;
}

void PopContextStack(int count) {
  if (!g_gcContextTrackingEnabled) return;
  g_contextCount = std::max(0, g_contextCount - count);
}

int ContextStackDepth() { return g_contextCount; }

void GCAddRootProvider(GCRootProvider provider) {
  if (std::find(g_rootProviders.begin(), g_rootProviders.end(), provider) == g_rootProviders.end())
    g_rootProviders.push_back(provider);
}

void GCRemoveRootProvider(GCRootProvider provider) {
  g_rootProviders.erase(std::remove(g_rootProviders.begin(), g_rootProviders.end(), provider), g_rootProviders.end());
}

void GCCollect() {
  g_markBits.assign((g_objects.size() + 63) / 64, 0);
  GCMarker marker;
  if (g_globalObject) g_globalObject->Mark(marker);
  for (int i = 0; i < g_contextCount; ++i) g_contextStack[i]->Mark(marker);
  for (GCRootProvider provider : g_rootProviders) provider(marker);
  while (!marker.pending_.empty()) {
    VQObjectBase* object = marker.pending_.back();
    marker.pending_.pop_back();
    object->MarkChildren(marker);
  }

  std::vector<VQObjectBase*> garbage;
  for (size_t i = 0; i < g_objects.size(); ++i) {
    VQObjectBase* object = g_objects[i];
    if (object && object->collectable && !IsMarked(int32_t(i))) garbage.push_back(object);
  }
  // Everything is released before anything is freed: garbage may refer to garbage.
  for (VQObjectBase* object : garbage) object->ReleaseContents();
  for (VQObjectBase* object : garbage) object->Free();
  g_graphChanged = false;
}

void GCStep() {
  if (g_graphChanged) GCCollect();
}

size_t GCObjectCount() { return g_objects.size() - g_freePositions.size(); }
