#include "runtime/builtin_variables.h"

#include <cmath>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/error.h"
#include "runtime/gc.h"
#include "runtime/instance.h"
#include "runtime/variable_names.h"

namespace {
struct BuiltinVariable {
  std::string name;
  BuiltinVariableGetter getter;
  BuiltinVariableSetter setter;
  bool settable;
};

std::vector<BuiltinVariable> g_variables;
MousePositionSource g_mouseSource = nullptr;
InstanceFinder g_finder;

int32_t AlarmIndex(int32_t index) { return (index < 0 || index >= kAlarmCount) ? 0 : index; }

void GetX(CInstance* instance, int32_t, RValue& out) { SetReal(out, double(instance->x)); }
void SetX(CInstance* instance, int32_t, const RValue& value) {
  instance->SetPosition(float(ToReal(value)), instance->y);
}
void GetY(CInstance* instance, int32_t, RValue& out) { SetReal(out, double(instance->y)); }
void SetY(CInstance* instance, int32_t, const RValue& value) {
  instance->SetPosition(instance->x, float(ToReal(value)));
}
void GetImageIndex(CInstance* instance, int32_t, RValue& out) { SetReal(out, double(instance->imageIndex)); }
void SetImageIndex(CInstance* instance, int32_t, const RValue& value) { instance->imageIndex = float(ToReal(value)); }
void GetImageSpeed(CInstance* instance, int32_t, RValue& out) { SetReal(out, double(instance->imageSpeed)); }
void SetImageSpeed(CInstance* instance, int32_t, const RValue& value) { instance->imageSpeed = float(ToReal(value)); }
void GetAlarm(CInstance* instance, int32_t index, RValue& out) { SetReal(out, instance->alarms[AlarmIndex(index)]); }
void SetAlarm(CInstance* instance, int32_t index, const RValue& value) {
  double number = std::trunc(ToReal(value));
  bool representable = number >= -2147483648.0 && number <= 2147483647.0;
  instance->alarms[AlarmIndex(index)] = representable ? int32_t(number) : -1;
}

void MousePosition(double& x, double& y) {
  x = y = 0;
  if (g_mouseSource) g_mouseSource(x, y);
}
void GetMouseX(CInstance*, int32_t, RValue& out) {
  double x, y;
  MousePosition(x, y);
  SetReal(out, x);
}
void GetMouseY(CInstance*, int32_t, RValue& out) {
  double x, y;
  MousePosition(x, y);
  SetReal(out, y);
}

void ReportMissingVariable(const VQObjectBase* holder, int slot, int32_t arrayIndex) {
  if (g_lastArrayIndexFailure.recorded) {
    const auto* instance = holder->objectType == kObjectTypeInstance ? static_cast<const CInstance*>(holder) : nullptr;
    ReportRuntimeError("Variable Index [%d] out of range [%d] - %d.%d(%d,%d)", g_lastArrayIndexFailure.index,
                       g_lastArrayIndexFailure.length, instance ? instance->objectIndex : -1, slot, slot, arrayIndex);
    return;
  }
  ReportRuntimeError("Unable to get variable %s from object %p\n", VariableName(slot),
                     static_cast<const void*>(holder));
}

VQObjectBase* ResolveHolder(const RValue& holder) {
  if (KindOf(holder) == VALUE_OBJECT) return holder.obj;
  int32_t idOrObject = ToInt32(holder);
  CInstance* found = g_finder.find ? g_finder.find(idOrObject) : nullptr;
  if (!found) {
    const char* name = g_finder.objectName ? g_finder.objectName(idOrObject) : nullptr;
    ReportRuntimeError("Unable to find any instance for object index '%d' name '%s'", idOrObject,
                       name ? name : "<undefined>");
  }
  return found;
}
}  // namespace

bool RegisterBuiltinVariable(const char* name, BuiltinVariableGetter getter, BuiltinVariableSetter setter) {
  if (g_variables.size() >= size_t(kMaxBuiltinVariables)) {
    ReportRuntimeError("INTERNAL ERROR: Adding too many variables");
    return false;
  }
  RegisterBuiltinVariableName(name, int(g_variables.size()));
  g_variables.push_back(BuiltinVariable{name, getter, setter, setter != nullptr});
  return true;
}

void RegisterRuntimeBuiltinVariables() {
  if (!g_variables.empty()) return;
  RegisterBuiltinVariable("x", GetX, SetX);
  RegisterBuiltinVariable("y", GetY, SetY);
  RegisterBuiltinVariable("image_index", GetImageIndex, SetImageIndex);
  RegisterBuiltinVariable("image_speed", GetImageSpeed, SetImageSpeed);
  RegisterBuiltinVariable("alarm", GetAlarm, SetAlarm);
  RegisterBuiltinVariable("mouse_x", GetMouseX, nullptr);
  RegisterBuiltinVariable("mouse_y", GetMouseY, nullptr);
}

bool IsBuiltinVariableSlot(int slot) { return slot >= 0 && size_t(slot) < g_variables.size(); }

void SetVariableValue(VQObjectBase* target, int slot, int32_t arrayIndex, const RValue& value) {
  if (IsBuiltinVariableSlot(slot) && target->objectType == kObjectTypeInstance) {
    const BuiltinVariable& variable = g_variables[size_t(slot)];
    if (!variable.settable) {
      ReportRuntimeError("unable to set built in variable %s\n", variable.name.c_str());
      return;
    }
    variable.setter(static_cast<CInstance*>(target), arrayIndex, value);
    return;
  }
  PushContextStack(target);
  RValue* variable = target->GetVarRefForWrite(slot);
  if (arrayIndex == kNoArrayIndex) {
    AssignValue(*variable, value);
  } else if (RValue* element = ArrayElementForWrite(*variable, arrayIndex)) {
    AssignValue(*element, value);
  }
  PopContextStack();
}

bool GetVariableValue(const RValue& holderValue, int slot, int32_t arrayIndex, RValue& out) {
  VQObjectBase* holder = ResolveHolder(holderValue);
  if (!holder) {
    ReleaseValue(out);
    out.kind = VALUE_UNSET;
    return false;
  }
  if (IsBuiltinVariableSlot(slot) && holder->objectType == kObjectTypeInstance) {
    g_variables[size_t(slot)].getter(static_cast<CInstance*>(holder), arrayIndex, out);
    return true;
  }
  g_lastArrayIndexFailure.recorded = false;
  const RValue* variable = holder->FindVariable(slot);
  bool found = variable != nullptr;
  if (found && arrayIndex != kNoArrayIndex) {
    found = ReadArrayElement(*variable, arrayIndex, out);
  } else if (found) {
    AssignValue(out, *variable);
  } else {
    ReleaseValue(out);
    out.kind = VALUE_UNSET;
  }
  if (!found) ReportMissingVariable(holder, slot, arrayIndex);
  return found;
}

void SetMousePositionSource(MousePositionSource source) { g_mouseSource = source; }
void SetInstanceFinder(const InstanceFinder& finder) { g_finder = finder; }
