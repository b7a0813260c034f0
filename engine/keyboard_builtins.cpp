// The built-ins that change the key map.
#include "engine/engine_builtins.h"
#include "engine/input_state.h"
#include "runtime/args.h"
#include "runtime/function_table.h"

namespace {
void keyboard_set_map(RValue&, CInstance*, CInstance*, int, RValue* args) {
  int from = ArgInt32(args, 0), to = ArgInt32(args, 1);
  SetKeyMapping(from, to);
}

void keyboard_unset_map(RValue&, CInstance*, CInstance*, int, RValue*) {
  for (int key = 0; key < kKeyCount; ++key) SetKeyMapping(key, key);
}
}  // namespace

void RegisterKeyboardBuiltins() {
  RegisterBuiltin("keyboard_set_map", keyboard_set_map, 2);
  RegisterBuiltin("keyboard_unset_map", keyboard_unset_map, 0);
}
