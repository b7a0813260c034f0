// engine/game_world.h — the game's world for one run: built from the game data
// and the application's link record, started in its first room, ended and
// released.
//
// Order of a run: ResetEngineState, the built-ins registered, LoadGame, then
// (once errors may throw) RunGlobalScriptFunctions and StartGame, the frame loop,
// EndGameRooms, ReleaseWorld. The game data must outlive the world.
//
// The running flag is true from the start of the game until its end is decided
// (game_end acted on, an aborted game, the window closed, playback exhausted).
// The exit code is 0 unless game_end(code) or a fatal error set it.
#pragma once

#include "engine/game_data.h"
#include "runtime/link.h"

extern bool g_gameRunning;
extern int g_exitCode;
// The game's freeze-when-inactive option, from its data: no step while the
// window is not the active one.
extern bool g_freezeWhenInactive;

// Every engine state back to its start: no rooms, objects or instances, input
// cleared, dispatch and frame counters at zero, not running, exit code 0, no
// freezing.
void ResetEngineState();

// "LoadGameData()" to "Finished PrepareGame()": resolves the application's
// symbols against the registered built-ins, binds its compiled code, creates the
// global object and prepares objects and rooms. On failure the reason is written
// to the debug output and false returned; nothing of the world is kept.
bool LoadGame(const GameData& data, LinkRecord& link);

// Runs the global-script functions once, with a temporary instance of the
// internal object as self.
void RunGlobalScriptFunctions(const LinkRecord& link);

// "Run_Start": builds the event object lists and enters the first room (or the
// room already requested), acting at once on a room change its start requested.
// Sets the running flag; false when the end was requested before the first room.
bool StartGame();

// Frees rooms, instances, objects, code bindings and the global object, and
// collects what they referred to.
void ReleaseWorld();
