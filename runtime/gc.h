// runtime/gc.h — the garbage collector of structs, method values and array
// carriers, and the context stack.
//
// Invariant: a collection frees exactly the collectable objects that cannot be
// reached from a root: the global object, the objects on the context stack, and
// whatever the registered root providers mark (live instances, values held by
// lists). Instances and the global object are never freed by the collector;
// their owners free them.
//
// A collection is a full mark and sweep. Write notifications and releases of
// references tell the collector that the reference graph changed; a collector
// step with no change since the last collection does nothing, so idle frames cost
// nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct RValue;
class VQObjectBase;

class GCMarker {
 public:
  void MarkValue(const RValue& value);
  void MarkObject(VQObjectBase* object);

 private:
  friend void GCCollect();
  std::vector<VQObjectBase*> pending_;
};

using GCRootProvider = void (*)(GCMarker& marker);

// Called by VQObjectBase's constructor and destructor.
void GCRegisterObject(VQObjectBase* object);
void GCUnregisterObject(VQObjectBase* object);

// The object on top of the context stack (or the runtime's root) now refers to
// `shared`.
void GCWriteNotify(VQObjectBase* shared);
// A value holding an array or struct was released.
void GCNoteReleasedReference();

// The context stack: the object being written into is on top. Push and pop act
// only while the collector's context tracking is enabled (the default).
void PushContextStack(VQObjectBase* object);
void PopContextStack(int count = 1);
int ContextStackDepth();
extern bool g_gcContextTrackingEnabled;

void GCAddRootProvider(GCRootProvider provider);
void GCRemoveRootProvider(GCRootProvider provider);

// A full collection, now.
void GCCollect();
// One collector step of the frame loop: a collection if anything changed.
void GCStep();
size_t GCObjectCount();
