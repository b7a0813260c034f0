#include "runtime/gc.h"

#include <algorithm>

#include "runtime/array.h"
#include "runtime/object.h"
#include "runtime/value.h"

bool g_gcContextTrackingEnabled = true;

namespace {
// The collector's tables live as long as the process (never destroyed), so that
// objects still registered at exit stay reachable.
struct CollectorTables {
  std::vector<VQObjectBase*> objects;  // position = mark index; null = free position
  std::vector<int32_t> freePositions;
  std::vector<uint64_t> markBits;
  std::vector<GCRootProvider> rootProviders;
};
CollectorTables& Tables() {
  static CollectorTables* tables = new CollectorTables();
  return *tables;
}
bool g_graphChanged = false;

// Grown by doubling from a capacity of 1, as the context stack always was.
VQObjectBase** g_contextStack = nullptr;
int g_contextCount = 0;
int g_contextCapacity = 0;

bool IsMarked(int32_t index) { return (Tables().markBits[size_t(index) >> 6] >> (index & 63)) & 1u; }
void SetMarked(int32_t index) { Tables().markBits[size_t(index) >> 6] |= uint64_t(1) << (index & 63); }
}  // namespace

void GCMarker::MarkValue(const RValue& value) {
  switch (KindOf(value)) {
    case VALUE_ARRAY:
      if (value.arr && value.arr->carrier) value.arr->carrier->MarkSelf(*this);
      break;
    case VALUE_OBJECT:
      if (value.obj) value.obj->MarkSelf(*this);
      break;
    default: break;
  }
}

void GCMarker::MarkObject(VQObjectBase* object) {
  if (!object || object->gcIndex < 0 || IsMarked(object->gcIndex)) return;
  SetMarked(object->gcIndex);
  pending_.push_back(object);
}

void GCRegisterObject(VQObjectBase* object) {
  int32_t index;
  CollectorTables& tables = Tables();
  if (!tables.freePositions.empty()) {
    index = tables.freePositions.back();
    tables.freePositions.pop_back();
    tables.objects[size_t(index)] = object;
  } else {
    index = int32_t(tables.objects.size());
    tables.objects.push_back(object);
  }
  object->gcIndex = index;
  g_graphChanged = true;
}

void GCUnregisterObject(VQObjectBase* object) {
  if (object->gcIndex < 0) return;
  Tables().objects[size_t(object->gcIndex)] = nullptr;
  Tables().freePositions.push_back(object->gcIndex);
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
  auto& providers = Tables().rootProviders;
  if (std::find(providers.begin(), providers.end(), provider) == providers.end()) providers.push_back(provider);
}

void GCRemoveRootProvider(GCRootProvider provider) {
  auto& providers = Tables().rootProviders;
  providers.erase(std::remove(providers.begin(), providers.end(), provider), providers.end());
}

void GCCollect() {
  Tables().markBits.assign((Tables().objects.size() + 63) / 64, 0);
  GCMarker marker;
  if (g_globalObject) g_globalObject->Mark(marker);
  for (int i = 0; i < g_contextCount; ++i) g_contextStack[i]->Mark(marker);
  for (GCRootProvider provider : Tables().rootProviders) provider(marker);
  while (!marker.pending_.empty()) {
    VQObjectBase* object = marker.pending_.back();
    marker.pending_.pop_back();
    object->MarkChildren(marker);
  }

  std::vector<VQObjectBase*> garbage;
  for (size_t i = 0; i < Tables().objects.size(); ++i) {
    VQObjectBase* object = Tables().objects[i];
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

size_t GCObjectCount() { return Tables().objects.size() - Tables().freePositions.size(); }
