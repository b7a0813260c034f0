#include "runtime/array.h"

#include <cstring>

#include "runtime/error.h"
#include "runtime/frames.h"
#include "runtime/gc.h"
#include "runtime/memory.h"

ArrayIndexFailure g_lastArrayIndexFailure;

namespace {
constexpr uint32_t kArrayImmutable = 1;

intptr_t CurrentOwner() { return reinterpret_cast<intptr_t>(g_currentSelf); }

// Stores a fresh reference to `carrier`'s body in `value` (released first).
ArrayBody* HoldNewArray(RValue& value, GCArrayThing* carrier) {
  if (NeedsRelease(value)) FreeValue(value);
  ArrayBody* body = carrier->body;
  body->owner = CurrentOwner();
  body->refCount = g_copyOnWriteArrays ? 1 : 0;
  value.arr = body;
  value.flags = 0;
  value.kind = VALUE_ARRAY;
  GCWriteNotify(carrier);
  return body;
}

bool Resize(ArrayBody* body, int32_t length) {
  auto* grown = static_cast<RValue*>(KV_REALLOC(body->elements, sizeof(RValue) * size_t(length)));
  if (!grown) return false;
  std::memset(static_cast<void*>(grown + body->length), 0, sizeof(RValue) * size_t(length - body->length));
  body->elements = grown;
  body->length = length;
  return true;
}

// Gives the current self its own copy of the array in `variable`.
ArrayBody* CopyOnWrite(RValue& variable) {
  ArrayBody* shared = variable.arr;
  auto* carrier = new GCArrayThing(shared->length);
  PushContextStack(carrier);
  for (int32_t i = 0; i < shared->length; ++i) CopyValue(carrier->body->elements[i], shared->elements[i]);
  PopContextStack();
  --shared->refCount;
  variable.kind = VALUE_UNDEFINED;  // the old reference is already given back
  return HoldNewArray(variable, carrier);
}
}  // namespace

GCArrayThing::GCArrayThing(int32_t length) : VQObjectBase(kObjectTypeArray) {
  body = static_cast<ArrayBody*>(KV_ALLOC(sizeof(ArrayBody)));
  body->carrier = this;
  body->length = 0;
  if (length > 0) Resize(body, length);
}

GCArrayThing::~GCArrayThing() {
  ReleaseContents();
  MemFree(body->elements);
  MemFree(body);
}

void GCArrayThing::ReleaseContents() {
  VQObjectBase::ReleaseContents();
  for (int32_t i = 0; i < body->length; ++i) {
    RValue& element = body->elements[i];
    if (NeedsRelease(element)) FreeValue(element);
    element.v64 = 0;
    element.flags = 0;
    element.kind = VALUE_UNDEFINED;
  }
}

void GCArrayThing::MarkChildren(GCMarker& marker) {
  VQObjectBase::MarkChildren(marker);
  for (int32_t i = 0; i < body->length; ++i) marker.MarkValue(body->elements[i]);
}

ArrayBody* MakeArray(RValue& value, int32_t length) { return HoldNewArray(value, new GCArrayThing(length)); }

RValue* ArrayElementForWrite(RValue& variable, int32_t index) {
  ArrayBody* body = (KindOf(variable) == VALUE_ARRAY) ? variable.arr : nullptr;
  if (!body) {
    body = MakeArray(variable);
  } else if (g_copyOnWriteArrays && body->owner != CurrentOwner() && body->refCount != 1) {
    body = CopyOnWrite(variable);
  }
  if (body->flags & kArrayImmutable) {
    ReportRuntimeError("Unable to write to immutable array");
    return nullptr;
  }
  if (index < 0 || index == INT32_MAX) return nullptr;
  if (index >= body->length && !Resize(body, index + 1)) return nullptr;
  return &body->elements[index];
}

bool ReadArrayElement(const RValue& arrayValue, int32_t index, RValue& out) {
  if (KindOf(arrayValue) != VALUE_ARRAY) {
    ReportRuntimeError("trying to index a variable which is not an array");
    SetReal(out, 0);
    return false;
  }
  const ArrayBody* body = arrayValue.arr;
  int32_t length = body ? body->length : 0;
  if (index < 0 || index >= length) {
    g_lastArrayIndexFailure = {index, length, true};
    SetReal(out, 0);
    return false;
  }
  AssignValue(out, body->elements[index]);
  return true;
}
