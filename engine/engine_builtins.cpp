#include "engine/engine_builtins.h"

void RegisterEngineBuiltins() {
  RegisterEventBuiltins();
  RegisterRoomBuiltins();
  RegisterParameterBuiltins();
  RegisterKeyboardBuiltins();
}
