// runtime/variable_names.h — the mapping between variable names and slots.
//
// Built-in variables (x, y, alarm, ...) take their position in the built-in
// variable table as slot (always below kFirstApplicationSlot). Every other name
// gets a slot of its own the first time it is seen, from kFirstApplicationSlot
// upward; equal names share one slot.
#pragma once

#include <string>

constexpr int kFirstApplicationSlot = 100000;

// The slot of `name`: a built-in variable's position, or the application slot.
int VariableSlot(const std::string& name);
// The name of a slot, or "<unknown variable>".
const char* VariableName(int slot);
// Called by the built-in variable table as it registers names.
void RegisterBuiltinVariableName(const std::string& name, int position);
// The built-in position of `name`, or -1.
int FindBuiltinVariable(const std::string& name);
