// engine/game_state.h — whether the game runs and the code the process ends with.
//
// The running flag is true from the start of the game until its end is decided
// (game_end acted on, an aborted game, the window closed, playback exhausted).
// The exit code is 0 unless game_end(code) or a fatal error set it.
#pragma once

extern bool g_gameRunning;
extern int g_exitCode;
