// The built-ins that change rooms and end or restart the game. Each only records
// the pending room; the frame loop acts on it after the frame.
#include "engine/engine_builtins.h"
#include "engine/game_world.h"
#include "engine/rooms.h"
#include "runtime/args.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/function_table.h"

namespace {
bool GameEnding() { return PendingRoom() == kPendingAbortGame || PendingRoom() == kPendingEndGame; }

// The aborting value is set before the report, which unwinds the calling code.
void GoToRoom(int32_t room) {
  if (GameEnding()) {
    DebugOutput("Unable to change room when exiting the game\n");
    return;
  }
  SetPendingRoom(room);
  if (!RoomExists(room)) {
    SetPendingRoom(kPendingAbortGame);
    ReportRuntimeError("Unexisting room number: %d", room);
  }
}

int32_t CurrentRoomIndex() { return CurrentRoom() ? CurrentRoom()->index : -1; }

void room_goto(RValue&, CInstance*, CInstance*, int, RValue* args) {
  GoToRoom(ArgReferenceIndex(args, 0, kRefTypeRoom));
}

void room_goto_next(RValue&, CInstance*, CInstance*, int, RValue*) { GoToRoom(NextRoom(CurrentRoomIndex())); }
void room_goto_previous(RValue&, CInstance*, CInstance*, int, RValue*) { GoToRoom(PreviousRoom(CurrentRoomIndex())); }
void room_restart(RValue&, CInstance*, CInstance*, int, RValue*) { GoToRoom(CurrentRoomIndex()); }

void room_next(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, NextRoom(ArgReferenceIndex(args, 0, kRefTypeRoom)));
}

void room_previous(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, PreviousRoom(ArgReferenceIndex(args, 0, kRefTypeRoom)));
}

void game_restart(RValue&, CInstance*, CInstance*, int, RValue*) { SetPendingRoom(kPendingRestartGame); }

void game_end(RValue&, CInstance*, CInstance*, int argc, RValue* args) {
  if (argc > 0) g_exitCode = ArgInt32(args, 0);
  GameEnd();
}
}  // namespace

void GameEnd() {
  DebugOutput("###game_end###%d\n", g_exitCode);
  SetPendingRoom(kPendingEndGame);
}

void RegisterRoomBuiltins() {
  RegisterBuiltin("room_goto", room_goto, 1);
  RegisterBuiltin("room_goto_next", room_goto_next, 0);
  RegisterBuiltin("room_goto_previous", room_goto_previous, 0);
  RegisterBuiltin("room_restart", room_restart, 0);
  RegisterBuiltin("room_next", room_next, 1);
  RegisterBuiltin("room_previous", room_previous, 1);
  RegisterBuiltin("game_restart", game_restart, 0);
  RegisterBuiltin("game_end", game_end, -1);
}
