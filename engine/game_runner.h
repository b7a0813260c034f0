// engine/game_runner.h — the program's run from its command line to its exit
// code: the process start, loading the game, the window, the frame loop and the
// end of the game.
//
// main() hands over the arguments, the executable's directory, the application's
// link record and its hooks; RunGame calls them in this order:
//   registerBuiltins   registers the built-in library (before symbols resolve),
//                      into a table holding only the engine's own built-ins
//   loadGameData       reads the bytes of the game file into a GameData
//   createPlatform     makes the window (or the headless platform) once the
//                      first room's size is known
//   initGraphics       makes the frame canvas; the place to wire whatever needs
//                      the game data or the platform (fonts, dialogs, save area)
//   mayStart           optional: last, before the game starts; false ends the
//                      run there with exit code 0 (the program declines to run)
//   windowClosing      optional: the user closed the window; runs between
//                      frames, before the game ends as a closed window does, and
//                      may open dialogs and save (without it the game just ends)
// A command line that asks for a command (RuntimeOptions::RunsCommand) runs
// the command instead of the game, when the hook is set:
//   runCommand         once the game data is loaded and the built-ins and the
//                      application are linked as for the game; no platform, no
//                      window, no rooms, no mayStart. Its result is the exit
//                      code. The command prints its output and its failures
//                      itself; the runtime's log goes to -output when named and
//                      is otherwise held back, written to standard error only
//                      when the run fails without the command having returned
//                      (no game file, damaged game data, a runtime error).
// Exit codes: the argument of game_end, 0 otherwise; 1 after a fatal runtime
// error, a missing or damaged game file, or a failed start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/command_line.h"
#include "engine/frame_canvas.h"
#include "engine/game_data.h"
#include "engine/platform.h"
#include "runtime/link.h"

struct WindowRequest {
  const RuntimeOptions& options;
  int width, height;  // the window's client size: the first room's size
  int gameSpeed;      // frames per second
  std::string caption;
};

class CInstance;

struct CommandStart {
  const RuntimeOptions& options;
  const std::string& gameFilePath;  // absolute; its directory is the program directory
  const GameData& data;
  CInstance& self;  // a temporary instance: the self of the command's calls
};

struct GameStart {
  const RuntimeOptions& options;
  const std::string& gameFilePath;  // absolute; its directory is the program directory
  const GameData& data;
  Platform& platform;
};

using GameDataLoader = bool (*)(const uint8_t* bytes, size_t size, GameData& out, std::string& error);

struct GameHooks {
  std::function<void()> registerBuiltins;
  GameDataLoader loadGameData = nullptr;
  std::function<std::unique_ptr<Platform>(const WindowRequest&, std::string& error)> createPlatform;
  std::function<std::unique_ptr<FrameCanvas>(const GameStart&)> initGraphics;
  std::function<bool(const GameStart&)> mayStart;
  std::function<void()> windowClosing;
  std::function<int(const CommandStart&)> runCommand;
};

struct GameLaunch {
  std::vector<std::string> arguments;  // as the system passed them; the first is the program
  std::string executableDirectory;     // where data.win is looked for first
  // Where data.win is looked for next, relative to executableDirectory: the
  // installed layout keeps the program in bin/ and its data in share/<name>/.
  // Empty: nowhere else.
  std::string installedDataDirectory;
  LinkRecord* link = nullptr;
  GameHooks hooks;
};

int RunGame(const GameLaunch& launch);

// The folder of the default game file: the first of `searchDirectories` that
// holds a data.win that can be opened; empty when none does. Files delivered
// flat with the game (at-sign names) are unpacked there, never beside an
// installed program in a shared bin/.
std::string FindDefaultGameDirectory(const std::vector<std::string>& searchDirectories);

// The game file: `gameOption` (-game) when given, else data.win in
// `defaultDirectory` when that is not empty; made absolute. Empty when neither.
std::string ResolveGameFilePath(const std::string& defaultDirectory, const std::string& gameOption);
