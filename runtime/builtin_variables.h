// runtime/builtin_variables.h — built-in variables and the value-level get and
// set operations of compiled code.
//
// Built-in variables (x, y, image_index, image_speed, alarm, mouse_x, mouse_y)
// have no store entry: a getter and an optional setter act on the instance's own
// fields. Their slot is their position in the table (below 500, so below every
// application slot). Set and get of any other slot go to the holder's variables,
// with array element access when an index is given.
#pragma once

#include <cstdint>

#include "runtime/value.h"

class CInstance;
class VQObjectBase;

constexpr int32_t kNoArrayIndex = INT32_MIN;
constexpr int kMaxBuiltinVariables = 500;

using BuiltinVariableGetter = void (*)(CInstance* instance, int32_t index, RValue& out);
using BuiltinVariableSetter = void (*)(CInstance* instance, int32_t index, const RValue& value);

// Adds a variable at the next position; false (after a report) when the table is full.
bool RegisterBuiltinVariable(const char* name, BuiltinVariableGetter getter, BuiltinVariableSetter setter);
// Registers x, y, image_index, image_speed, alarm, mouse_x and mouse_y (once).
void RegisterRuntimeBuiltinVariables();
bool IsBuiltinVariableSlot(int slot);

// Set value: a built-in slot of an instance goes to its setter; any other slot
// is assigned (or, with an index, has its element written) in the target's variables.
void SetVariableValue(VQObjectBase* target, int slot, int32_t arrayIndex, const RValue& value);
// Get value: the holder is an instance or struct (kind 6) or an id that the
// engine resolves. Returns false (after a report) when the variable does not exist
// or the index is outside the array; `out` is then `unset` or 0.
bool GetVariableValue(const RValue& holder, int slot, int32_t arrayIndex, RValue& out);

// Where mouse_x and mouse_y come from: the pointer in room coordinates.
using MousePositionSource = void (*)(double& x, double& y);
void SetMousePositionSource(MousePositionSource source);

// How a holder that is a number finds its instance: by instance id or object
// index; null when there is none. `objectName` names the object for the message.
struct InstanceFinder {
  CInstance* (*find)(int32_t idOrObjectIndex) = nullptr;
  const char* (*objectName)(int32_t objectIndex) = nullptr;
};
void SetInstanceFinder(const InstanceFinder& finder);
