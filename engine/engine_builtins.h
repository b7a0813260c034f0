// engine/engine_builtins.h — registration of the engine's built-in functions and
// built-in variables. Functions are registered into the function table before the
// application's symbols are resolved; variables once per process, after the
// runtime's own (their slots are their positions).
#pragma once

class CInstance;

void RegisterEventBuiltins();  // event_perform, event_perform_object, event_user, event_inherited
void RegisterRoomBuiltins();   // room_goto and its family, game_restart, game_end
// All of the above, and parameter_count, parameter_string, keyboard_set_map and
// keyboard_unset_map.
void RegisterEngineBuiltins();

// Direct entry points of compiled code.
// event_inherited(): the running event's handler in the parent of the object
// that wrote the running handler; nothing when that object has no parent.
void EventInherited(CInstance* self, CInstance* other);
// game_end(): ends the game after the current frame, with the exit code as it stands.
void GameEnd();

// fps, event_type, event_number, event_object, keyboard_string, keyboard_key,
// keyboard_lastkey, mouse_button, mouse_lastbutton (read-only).
void RegisterEngineVariables();
