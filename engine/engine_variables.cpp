// The engine's read-only built-in variables.
#include "engine/dispatch.h"
#include "engine/engine_builtins.h"
#include "engine/frame_loop.h"
#include "engine/input_state.h"
#include "runtime/builtin_variables.h"
#include "runtime/variable_names.h"

namespace {
void GetFps(CInstance*, int32_t, RValue& out) { SetReal(out, FramesPerSecond()); }
void GetEventType(CInstance*, int32_t, RValue& out) { SetReal(out, CurrentEventState().type); }
void GetEventNumber(CInstance*, int32_t, RValue& out) { SetReal(out, CurrentEventState().number); }
void GetEventObject(CInstance*, int32_t, RValue& out) { SetReal(out, CurrentEventState().object); }
void GetKeyboardString(CInstance*, int32_t, RValue& out) { SetStringCopy(out, CurrentInput().keyboardString); }
void GetKeyboardKey(CInstance*, int32_t, RValue& out) { SetReal(out, CurrentInput().keyboardKey); }
void GetKeyboardLastKey(CInstance*, int32_t, RValue& out) { SetReal(out, CurrentInput().keyboardLastKey); }
void GetMouseButton(CInstance*, int32_t, RValue& out) { SetReal(out, CurrentInput().mouseButton); }
void GetMouseLastButton(CInstance*, int32_t, RValue& out) { SetReal(out, CurrentInput().mouseLastButton); }
}  // namespace

void RegisterEngineVariables() {
  RegisterRuntimeBuiltinVariables();
  SetMousePositionSource(MouseRoomPosition);
  if (FindBuiltinVariable("fps") >= 0) return;
  RegisterBuiltinVariable("fps", GetFps, nullptr);
  RegisterBuiltinVariable("event_type", GetEventType, nullptr);
  RegisterBuiltinVariable("event_number", GetEventNumber, nullptr);
  RegisterBuiltinVariable("event_object", GetEventObject, nullptr);
  RegisterBuiltinVariable("keyboard_string", GetKeyboardString, nullptr);
  RegisterBuiltinVariable("keyboard_key", GetKeyboardKey, nullptr);
  RegisterBuiltinVariable("keyboard_lastkey", GetKeyboardLastKey, nullptr);
  RegisterBuiltinVariable("mouse_button", GetMouseButton, nullptr);
  RegisterBuiltinVariable("mouse_lastbutton", GetMouseLastButton, nullptr);
}
