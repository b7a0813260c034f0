#include "engine/game_runner.h"

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "engine/at_sign_files.h"
#include "engine/dispatch.h"
#include "engine/engine_builtins.h"
#include "engine/frame_loop.h"
#include "engine/game_world.h"
#include "engine/input_state.h"
#include "engine/options_file.h"
#include "engine/rooms.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/instance.h"

namespace fs = std::filesystem;

namespace {
constexpr int kFailureExitCode = 1;
constexpr const char* kDefaultGameFile = "data.win";
constexpr int kDefaultRoomWidth = 800;
constexpr int kDefaultRoomHeight = 600;

bool CharactersAreUtf8() { return std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; }

// The process locale: characters UTF-8, numbers "C" (texts of numbers never
// depend on the user's language), everything else, dates included, from the
// user's environment. False when no UTF-8 character locale can be had.
bool SetProcessLocale() {
  // An environment naming a locale that is not installed leaves the categories
  // that can be had (the time category on its own) from the environment.
  if (!std::setlocale(LC_ALL, "")) std::setlocale(LC_TIME, "");
  std::setlocale(LC_NUMERIC, "C");
  if (!CharactersAreUtf8() && !std::setlocale(LC_CTYPE, "C.UTF-8")) return false;
  return CharactersAreUtf8();
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return false;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.resize(size_t(fs::file_size(path, error)));
  bool complete = !error && std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  return complete;
}

void FirstRoomSize(const GameData& data, int& width, int& height) {
  width = kDefaultRoomWidth;
  height = kDefaultRoomHeight;
  if (data.roomOrder.empty()) return;
  int first = data.roomOrder.front();
  if (first < 0 || size_t(first) >= data.rooms.size()) return;
  width = data.rooms[size_t(first)].width;
  height = data.rooms[size_t(first)].height;
}

// The executable's directory, then the installed data directory beside it.
std::vector<std::string> GameSearchDirectories(const GameLaunch& launch) {
  std::vector<std::string> directories{launch.executableDirectory};
  if (!launch.executableDirectory.empty() && !launch.installedDataDirectory.empty())
    directories.push_back((fs::path(launch.executableDirectory) / launch.installedDataDirectory).lexically_normal());
  return directories;
}

// Every place data.win was looked for, for the message when it is nowhere.
std::string DefaultGameFileCandidates(const std::vector<std::string>& searchDirectories) {
  std::string candidates;
  for (const std::string& directory : searchDirectories) {
    if (!candidates.empty()) candidates += " or ";
    candidates += (fs::path(directory) / kDefaultGameFile).string();
  }
  return candidates;
}

void OpenLog(const RuntimeOptions& options) {
  if (!options.logPath.empty() && !SetDebugOutputFile(options.logPath))
    DebugOutput("Unable to open the log file %s\n", options.logPath.c_str());
}

bool g_commandReturned = false;

bool RunsCommand(const GameLaunch& launch, const RuntimeOptions& options) {
  return options.RunsCommand() && launch.hooks.runCommand;
}

// "VM Init" to "Do The Work": the built-ins registered afresh and the game
// loaded and linked against them.
bool PrepareRuntime(const GameLaunch& launch, const GameData& data) {
  DebugOutput("VM Init\n");
  ClearFunctionTable();
  RegisterEngineBuiltins();
  RegisterEngineVariables();
  if (launch.hooks.registerBuiltins) launch.hooks.registerBuiltins();
  DebugOutput("Create Load Form\n");
  DebugOutput("Do The Work\n");
  return LoadGame(data, *launch.link);
}

int RunCommand(const GameLaunch& launch, const RuntimeOptions& options, const std::string& gamePath,
               const GameData& data) {
  if (!PrepareRuntime(launch, data)) return kFailureExitCode;
  g_runtimeStarted = true;
  int exitCode = kFailureExitCode;
  CInstance* self = MakeTemporaryInstance();  // the game loaded: its internal object exists
  try {
    exitCode = launch.hooks.runCommand(CommandStart{options, gamePath, data, *self});
    g_commandReturned = true;
  } catch (const VQKSLException& exception) {
    exitCode = HandleUnhandledException(exception);
  }
  self->Free();
  ReleaseWorld();
  g_runtimeStarted = false;
  return exitCode;
}

// From the global scripts to the end of the game's rooms; the world is released
// whatever way the run ends.
int PlayGame(const LinkRecord& link, const GameHooks& hooks, Platform& platform, FrameCanvas& canvas, int gameSpeed) {
  try {
    RunGlobalScriptFunctions(link);
    if (StartGame()) {
      DebugOutput("Entering main loop.\n");
      RunFrameLoop(FrameLoopParts{*platform.clock, *platform.waiter, *platform.events, *platform.presenter, canvas,
                                  gameSpeed, hooks.windowClosing});
      EndGameRooms();
    }
  } catch (const GameAbort& abort) {
    g_exitCode = abort.exitCode;
  } catch (const VQKSLException& exception) {
    g_exitCode = HandleUnhandledException(exception);
  }
  ReleaseWorld();
  return g_exitCode;
}

int RunLoadedGame(const GameLaunch& launch, const RuntimeOptions& options, const std::string& gamePath,
                  const GameData& data) {
  if (RunsCommand(launch, options)) return RunCommand(launch, options, gamePath, data);
  int width, height;
  FirstRoomSize(data, width, height);
  DebugOutput("Create Window\n");
  std::string error;
  std::unique_ptr<Platform> platform = launch.hooks.createPlatform(
      WindowRequest{options, width, height, data.options.gameSpeed, data.options.gameName}, error);
  if (!platform) {
    DebugOutput("Unable to create the window: %s\n", error.c_str());
    return kFailureExitCode;
  }
  DebugOutput("Init Graphics\n");
  const GameStart start{options, gamePath, data, *platform};
  std::unique_ptr<FrameCanvas> canvas = launch.hooks.initGraphics(start);
  if (!canvas) {
    DebugOutput("Unable to initialise the graphics\n");
    return kFailureExitCode;
  }
  if (launch.hooks.mayStart && !launch.hooks.mayStart(start)) return 0;
  DebugOutput("IO Init\n");
  ResetInput();
  SetWindowClientSize(width, height);
  // Steps of the start-up sequence with no work of their own here are logged in
  // their places all the same: the window's first messages are taken by the first
  // frame's pump, which follows without a wait; there is no splash picture,
  // texture page, remote debugger or load form.
  DebugOutput("Process Messages\n");
  DebugOutput("Start Frame\n");
  DebugOutput("Part Create Textures\n");
  DebugOutput("Debug Init Remote Interface\n");
  if (!PrepareRuntime(launch, data)) return kFailureExitCode;
  g_runtimeStarted = true;
  int exitCode = PlayGame(*launch.link, launch.hooks, *platform, *canvas, data.options.gameSpeed);
  g_runtimeStarted = false;
  return exitCode;
}
}  // namespace

std::string FindDefaultGameDirectory(const std::vector<std::string>& searchDirectories) {
  for (const std::string& directory : searchDirectories) {
    if (directory.empty()) continue;
    fs::path candidate = fs::path(directory) / kDefaultGameFile;
    std::error_code error;
    if (!fs::is_regular_file(candidate, error)) continue;
    if (FILE* file = std::fopen(candidate.c_str(), "rb")) {
      std::fclose(file);
      return directory;
    }
  }
  return {};
}

std::string ResolveGameFilePath(const std::string& defaultDirectory, const std::string& gameOption) {
  fs::path path = gameOption;
  if (path.empty() && !defaultDirectory.empty()) path = fs::path(defaultDirectory) / kDefaultGameFile;
  if (path.empty()) return {};
  std::error_code error;
  fs::path absolute = fs::absolute(path, error);
  return (error ? path : absolute).lexically_normal().string();
}

namespace {
// From the game file to the end of the run.
int RunFromGameFile(const GameLaunch& launch, RuntimeOptions& options) {
  std::vector<std::string> searchDirectories = GameSearchDirectories(launch);
  std::string defaultDirectory = FindDefaultGameDirectory(searchDirectories);
  MoveAtSignFiles(defaultDirectory);
  std::string gamePath = ResolveGameFilePath(defaultDirectory, options.gamePath);
  if (!SetProcessLocale()) {
    DebugOutput("Unable to set a UTF-8 locale\n");
    return kFailureExitCode;
  }

  DebugOutput("Create Error Form\n");
  std::vector<uint8_t> bytes;
  if (gamePath.empty() || !ReadWholeFile(gamePath, bytes)) {
    std::string shown = gamePath.empty() ? DefaultGameFileCandidates(searchDirectories) : gamePath;
    DebugOutput("Unable to find game!!: %s\n", shown.c_str());
    return kFailureExitCode;
  }
  TakeOptionsFile(fs::path(gamePath).parent_path().string(), options);
  DebugOutput("Get Resolution\n");
  GameData data;
  std::string error;
  if (!launch.hooks.loadGameData(bytes.data(), bytes.size(), data, error)) {
    DebugOutput("Failed to load the game\n%s\n", error.c_str());
    return kFailureExitCode;
  }
  bytes = {};
  return RunLoadedGame(launch, options, gamePath, data);
}

// The terminal belongs to the command's output and messages: the log is held
// back unless -output names a file, and shown only when the run failed before
// the command returned.
int RunCommandLine(const GameLaunch& launch, RuntimeOptions& options) {
  std::string heldLog;
  if (options.logPath.empty()) {
    SetDebugOutputCapture(&heldLog);
    SetDebugOutputFile("/dev/null");
  }
  OpenLog(options);
  g_commandReturned = false;
  int exitCode = RunFromGameFile(launch, options);
  SetDebugOutputCapture(nullptr);
  if (exitCode != 0 && !g_commandReturned) std::fputs(heldLog.c_str(), stderr);
  return exitCode;
}
}  // namespace

int RunGame(const GameLaunch& launch) {
  ResetEngineState();
  SetParameters(launch.arguments);
  RuntimeOptions options = ParseRuntimeOptions(Parameters());
  if (RunsCommand(launch, options)) return RunCommandLine(launch, options);
  OpenLog(options);
  return RunFromGameFile(launch, options);
}
