// The registration of the engine's built-ins, and the small families that need
// no file of their own: the command line's parameter list and the key map.
#include "engine/engine_builtins.h"

#include "engine/command_line.h"
#include "engine/input_state.h"
#include "runtime/args.h"
#include "runtime/function_table.h"

namespace {
void parameter_count(RValue& result, CInstance*, CInstance*, int, RValue*) {
  SetReal(result, double(Parameters().size()));
}

// Entry n, or the empty string outside the list.
void parameter_string(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  int32_t n = ArgInt32(args, 0);
  const auto& parameters = Parameters();
  SetStringCopy(result, (n >= 0 && size_t(n) < parameters.size()) ? parameters[size_t(n)] : std::string());
}

void keyboard_set_map(RValue&, CInstance*, CInstance*, int, RValue* args) {
  int from = ArgInt32(args, 0), to = ArgInt32(args, 1);
  SetKeyMapping(from, to);
}

void keyboard_unset_map(RValue&, CInstance*, CInstance*, int, RValue*) {
  for (int key = 0; key < kKeyCount; ++key) SetKeyMapping(key, key);
}

void RegisterParameterBuiltins() {
  RegisterBuiltin("parameter_count", parameter_count, 0);
  RegisterBuiltin("parameter_string", parameter_string, 1);
}

void RegisterKeyboardBuiltins() {
  RegisterBuiltin("keyboard_set_map", keyboard_set_map, 2);
  RegisterBuiltin("keyboard_unset_map", keyboard_unset_map, 0);
}
}  // namespace

void RegisterEngineBuiltins() {
  RegisterEventBuiltins();
  RegisterRoomBuiltins();
  RegisterParameterBuiltins();
  RegisterKeyboardBuiltins();
}
