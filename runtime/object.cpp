#include "runtime/object.h"

#include "runtime/gc.h"
#include "runtime/var_store.h"

VQObjectBase* g_globalObject = nullptr;

VQObjectBase::VQObjectBase(int type, bool isCollectable) : objectType(type), collectable(isCollectable) {
  GCRegisterObject(this);
}

VQObjectBase::~VQObjectBase() {
  ReleaseContents();
  GCUnregisterObject(this);
}

VarStore* VQObjectBase::EnsureStore() {
  if (!store_) store_ = new VarStore();
  return store_;
}

RValue* VQObjectBase::FindVariable(int slot) const {
  for (const VQObjectBase* object = this; object; object = object->prototype)
    if (object->store_)
      if (RValue* found = object->store_->Find(slot)) return found;
  return nullptr;
}

RValue* VQObjectBase::GetVarRef(int slot) {
  if (RValue* found = FindVariable(slot)) return found;
  return EnsureStore()->FindOrCreate(slot, defaultKind);
}

RValue* VQObjectBase::GetVarRefForWrite(int slot) { return EnsureStore()->FindOrCreate(slot, defaultKind); }

void VQObjectBase::Mark(GCMarker& marker) {
  MarkSelf(marker);
  if (prototype) prototype->MarkSelf(marker);
}

void VQObjectBase::MarkSelf(GCMarker& marker) { marker.MarkObject(this); }

void VQObjectBase::MarkChildren(GCMarker& marker) {
  if (prototype) prototype->MarkSelf(marker);
  if (store_) store_->ForEach([&](int32_t, const RValue& value) { marker.MarkValue(value); });
}

void VQObjectBase::ReleaseContents() {
  delete store_;
  store_ = nullptr;
}

void VQObjectBase::PreFree() {}

void VQObjectBase::Free() {
  PreFree();
  delete this;
}

CScriptRef::CScriptRef(ScriptFunction fn, VQObjectBase* self)
    : VQObjectBase(kObjectTypeMethod), function(fn), boundSelf(self) {}

void CScriptRef::MarkChildren(GCMarker& marker) {
  VQObjectBase::MarkChildren(marker);
  if (boundSelf) boundSelf->MarkSelf(marker);
}

void CreateGlobalObject() {
  if (!g_globalObject) g_globalObject = new VQObjectBase(kObjectTypeStruct, false);
}

void DestroyGlobalObject() {
  delete g_globalObject;
  g_globalObject = nullptr;
}

VQObjectBase* InstancePrototype() {
  static VQObjectBase* prototype = [] {
    auto* object = new VQObjectBase(kObjectTypeStruct, false);
    object->className = "[[Instance]]";
    return object;
  }();
  return prototype;
}
