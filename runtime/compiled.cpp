#include "runtime/compiled.h"

#include "runtime/gc.h"
#include "runtime/instance.h"
#include "runtime/object.h"
#include "runtime/var_store.h"

TempValue AddValues(const RValue& lhs, const RValue& rhs) {
  TempValue result;
  if (KindOf(lhs) == VALUE_STRING && KindOf(rhs) == VALUE_STRING) {
    // What copying lhs and then += rhs gives, without taking and dropping a
    // reference to lhs on the way.
    ConcatStringsInto(result, lhs, rhs);
    return result;
  }
  result = lhs;
  AddAssign(result, rhs);
  return result;
}

TempValue SubtractValues(const RValue& lhs, const RValue& rhs) {
  TempValue result(lhs);
  SubAssign(result, rhs);
  return result;
}

TempValue MultiplyValues(const RValue& lhs, const RValue& rhs) {
  TempValue result(lhs);
  MulAssign(result, rhs);
  return result;
}

namespace {
void AssignInto(VQObjectBase* holder, int slot, const RValue& value) {
  RValue* target = holder->GetVarRefForWrite(slot);
  PushContextStack(holder);
  AssignValue(*target, value);
  PopContextStack();
}

// Compiled code hands self to the get operation wrapped in a struct value.
RValue HolderOf(CInstance* self) {
  RValue holder;
  holder.obj = self;
  holder.kind = VALUE_OBJECT;
  return holder;
}
}  // namespace

// A variable in self's own store is what GetVarRef would return first; only a
// variable found elsewhere (a prototype) or missing takes the general operation.
RValue& KslFrame::Var(const SymbolEntry& variable) {
  if (const VarStore* store = self_->Store())
    if (RValue* found = store->Find(variable.slot)) return *found;
  return *self_->GetVarRef(variable.slot);
}
void KslFrame::SetVar(const SymbolEntry& variable, const RValue& value) { AssignInto(self_, variable.slot, value); }
RValue& KslFrame::Global(const SymbolEntry& variable) { return *g_globalObject->GetVarRef(variable.slot); }
void KslFrame::SetGlobal(const SymbolEntry& variable, const RValue& value) {
  AssignInto(g_globalObject, variable.slot, value);
}

TempValue KslFrame::Get(const SymbolEntry& variable, int32_t index) {
  TempValue result;
  GetVariableValue(HolderOf(self_), variable.slot, index, result);
  return result;
}

void KslFrame::Set(const SymbolEntry& variable, const RValue& value, int32_t index) {
  SetVariableValue(self_, variable.slot, index, value);
}

ScriptArgs::ScriptArgs(int argc, RValue** argv) : count_(argc < kMaxArguments ? argc : kMaxArguments) {
  for (int i = 0; i < count_; ++i) values_[i] = *argv[i];
  undefined_.kind = VALUE_UNDEFINED;
}

const RValue& ScriptArgs::operator[](int index) const {
  return (index >= 0 && index < count_) ? values_[index] : undefined_;
}

RValue* BindScriptMethod(CInstance* self, const SymbolEntry& name, ScriptFunction script, RValue* result) {
  ReleaseValue(*result);
  RValue method;
  method.obj = new CScriptRef(script, self);
  method.kind = VALUE_OBJECT;
  AssignInto(self, name.slot, method);
  return result;
}
