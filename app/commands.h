// app/commands.h — the program's commands, which run in place of the game
// (engine/game_runner.h) and end the program:
//   -export-ics FILE  the deadlines of the four registers as a calendar file
//   -list-due         the upcoming deadlines on standard output (due_listing.h)
// Both read the save area as the game does, and take no lock, open no window,
// ask nothing and write no file but the calendar. Their failures go to standard
// error, in Polish, with exit code 1. With -playback SCRIPT, "now" is the
// script's clock, so that tests can fix it.
//
// Built into the program itself, beside main.cpp: it joins the application to
// the platform (the script's clock).
#pragma once

#include "engine/game_runner.h"

// Runs what `start.options` asks for, the calendar first when both are asked
// for; the save area must be configured.
int RunReadOnlyCommands(const CommandStart& start);
