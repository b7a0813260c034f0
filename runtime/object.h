// runtime/object.h — collectable objects and their variables.
//
// VQObjectBase is every collectable object: structs, the global object, method
// values (CScriptRef), array carriers (GCArrayThing) and, derived further,
// instances (CInstance). Each carries a variable store created on first use and
// keyed by variable slot, and a prototype consulted by reads. Every object is
// entered into the collector's table when constructed; objects marked
// `collectable` are freed by the collector once unreachable, the others
// (instances, the global object) by their owners.
#pragma once

#include <cstdint>

#include "runtime/function_types.h"
#include "runtime/value.h"

class GCMarker;
class VarStore;

constexpr int kObjectTypeStruct = 0;
constexpr int kObjectTypeInstance = 1;
constexpr int kObjectTypeMethod = 3;
constexpr int kObjectTypeAccessor = 4;
constexpr int kObjectTypeArray = 5;
constexpr int kObjectTypeException = 29;

// Declares the two variable-reference operations that compiled code calls.
class CInstanceBase {
 public:
  virtual ~CInstanceBase() = default;
  virtual RValue* GetVarRef(int slot) = 0;
  virtual RValue* GetVarRefForWrite(int slot) = 0;
};

class VQObjectBase : public CInstanceBase {
 public:
  explicit VQObjectBase(int objectType = kObjectTypeStruct, bool collectable = true);
  ~VQObjectBase() override;
  VQObjectBase(const VQObjectBase&) = delete;
  VQObjectBase& operator=(const VQObjectBase&) = delete;

  // Finds `slot` here, then along the prototypes; creates it here when missing.
  RValue* GetVarRef(int slot) override;
  // Finds `slot` here only; creates it when missing.
  RValue* GetVarRefForWrite(int slot) override;
  // Marks the object and its prototype (a root being marked).
  virtual void Mark(GCMarker& marker);
  // Records the object as reached in the current collection.
  virtual void MarkSelf(GCMarker& marker);
  // Marks what the object refers to: its prototype and every variable's value.
  virtual void MarkChildren(GCMarker& marker);
  // Releases the contents and deletes the object (the collector's free).
  virtual void Free();
  virtual void PreFree();
  // Releases every reference the object holds (its variables). The collector
  // calls it on all of a collection's garbage before freeing any of it, so that no
  // release touches an object already freed. Safe to call twice.
  virtual void ReleaseContents();

  // The variable of `slot` in this object or its prototypes, or null; never creates.
  RValue* FindVariable(int slot) const;
  VarStore* Store() const { return store_; }

  VQObjectBase* prototype = nullptr;
  int objectType;
  uint32_t defaultKind = VALUE_UNSET;
  const char* className = nullptr;
  bool collectable;
  int32_t gcIndex = -1;

 private:
  VarStore* EnsureStore();
  VarStore* store_ = nullptr;
};

// A method value: a script function bound to the instance it runs for.
class CScriptRef : public VQObjectBase {
 public:
  CScriptRef(ScriptFunction function, VQObjectBase* boundSelf);
  void MarkChildren(GCMarker& marker) override;

  ScriptFunction function;
  VQObjectBase* boundSelf;
};

// The global object: the holder of global variables. Created at start-up.
extern VQObjectBase* g_globalObject;
void CreateGlobalObject();
void DestroyGlobalObject();

// The prototype shared by every instance, named "[[Instance]]".
VQObjectBase* InstancePrototype();
