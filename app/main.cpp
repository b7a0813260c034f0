// The program: Kalvora's compiled application on the engine, with the built-in
// library, the rasteriser and the platform (a window, or headless playback).
#include <algorithm>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "app/app_symbols.h"
#include "app/commands.h"
#include "app/due_notification.h"
#include "app/unsaved_changes.h"
#include "app/window_icon.h"
#include "builtins/builtins.h"
#include "builtins/dates.h"
#include "builtins/dialogs.h"
#include "builtins/draw_builtins.h"
#include "engine/command_line.h"
#include "engine/game_data_loader.h"
#include "engine/game_runner.h"
#include "engine/input_state.h"
#include "graphics/raster_canvas.h"
#include "platform/heap_tuning.h"
#include "platform/platform_factory.h"
#include "platform/platform_paths.h"
#include "runtime/error.h"
#include "storage/file_io.h"
#include "storage/sandbox.h"
#include "storage/save_area_lock.h"

namespace {
Platform* g_platform = nullptr;

std::unique_ptr<Platform> MakePlatform(const WindowRequest& request, std::string& error) {
  PlatformOptions options;
  options.headless = request.options.headless;
  options.playbackPath = request.options.playbackPath;
  options.recordPath = request.options.recordPath;
  options.width = request.width;
  options.height = request.height;
  options.caption = request.caption;
  options.gameSpeed = request.gameSpeed;
  options.sleepMarginMs = request.options.sleepMarginMs;
  std::unique_ptr<Platform> platform = CreatePlatform(options, error);
  g_platform = platform.get();
  return platform;
}

int ShowErrorDialog(const std::string& text, bool allowIgnore) {
  return g_platform ? g_platform->dialogs->ShowErrorDialog(text, allowIgnore) : 1;
}

void ShowCaption(const std::string& caption) {
  g_platform->presenter->SetCaption(caption);
  g_platform->dialogs->SetCaption(caption);
}

// A file that could not be written, read or reached is never passed over in
// silence: the user learns which one, so that an unsaved change is not believed
// saved and an unreadable or unreachable database is not taken for an empty one.
void TellFileFailure(FileOperation operation, const std::string& path, const std::string&) {
  switch (operation) {
    case FileOperation::Write:
      ShowMessageDialog("Nie udało się zapisać pliku:\n" + path +
                        "\n\nOstatnie zmiany nie zostały zapisane. Sprawdź wolne miejsce na dysku i uprawnienia do "
                        "zapisu.");
      return;
    case FileOperation::Read:
      ShowMessageDialog("Nie udało się odczytać pliku:\n" + path +
                        "\n\nSprawdź, czy masz uprawnienia do jego odczytu. Dopóki nie da się go odczytać, program "
                        "go nie nadpisze.");
      return;
    case FileOperation::Reach:
      ShowMessageDialog("Plik jest niedostępny:\n" + path +
                        "\n\nTo dowiązanie do miejsca, którego teraz nie ma (np. niepodłączonego dysku sieciowego). "
                        "Dopóki plik nie będzie dostępny, program nie zapisze w nim żadnych zmian.");
      return;
  }
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.find_last_of('/') + 1); }

std::string SaveAreaOf(const GameOptions& options) {
  return SaveAreaPath(options.gameName, (options.flags & kOptionRoamingSaveArea) != 0);
}

void ConfigureSaveArea(const GameOptions& options, const std::string& gameFilePath) {
  ConfigureSandbox({SaveAreaOf(options), DirectoryOf(gameFilePath), (options.flags & kOptionSandboxDisabled) == 0});
}

// Everything that needs the game data or the platform, once both exist.
std::unique_ptr<FrameCanvas> StartGraphicsAndServices(const GameStart& start) {
  const GameOptions& options = start.data.options;
  ConfigureSaveArea(options, start.gameFilePath);
  SetFileFailureNotifier(TellFileFailure);
  SetDialogHost(start.platform.dialogs.get());
  SetAfterDialogHook(ClearAllInput);
  SetCaptionSink(ShowCaption);
  SetWallClock([clock = start.platform.clock.get()] { return clock->WallClockSeconds(); });
  SetDueNotifier(start.platform.notifier.get());
  SetDrawResources({&start.data.fonts, &start.data.sprites});
  ShowWindowIcon(*start.platform.presenter, start.data.sprites);
  CurrentDrawState().Reset(options.defaultDrawColour);
  return std::make_unique<RasterCanvas>();
}

// The reminder mode: "MIN" among the parameters after the program.
bool ReminderMode() {
  const std::vector<std::string>& parameters = Parameters();
  return parameters.size() > 1 && std::find(parameters.begin() + 1, parameters.end(), "MIN") != parameters.end();
}

// Two copies of the program on one save area would each save the database as
// they read it, the later save undoing the other's changes. So the first start
// keeps the save area to itself and a second one ends at once: started from the
// desktop, it says why; the reminder started at login ends quietly.
bool ClaimSaveArea(const GameStart& start) {
  if (LockSaveArea(SaveAreaOf(start.data.options)) != SaveAreaLock::InUse) return true;
  if (!ReminderMode())
    ShowMessageDialog(
        "Kalvora jest już uruchomiona.\n\nPrzejdź do jej okna (może to być przypomnienie o terminach otwarte przy "
        "logowaniu). Drugie okno się nie otworzy, aby zmiany zapisane w jednym nie zostały zastąpione zmianami z "
        "drugiego.");
  return false;
}

// -list-due and -export-ics, in place of the game (app/commands.h).
int RunCommand(const CommandStart& start) {
  ConfigureSaveArea(start.data.options, start.gameFilePath);
  return RunReadOnlyCommands(start);
}
}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file-size limit (ulimit -f) then fails like any other
  // write (told, the old file kept, its temporary file removed) instead of the
  // signal ending the process in the middle of it.
  std::signal(SIGXFSZ, SIG_IGN);
  TuneHeapForLargeBuffers();
  CreateStringConstants();
  SetErrorHooks({ShowErrorDialog, nullptr});

  GameLaunch launch;
  launch.arguments.assign(argv, argv + argc);
  launch.executableDirectory = ExecutableDirectory();
  launch.installedDataDirectory = KALVORA_DATA_FROM_BIN;
  launch.link = KalvoraLinkRecord();
  launch.hooks.registerBuiltins = RegisterAllBuiltins;
  launch.hooks.loadGameData = LoadGameData;
  launch.hooks.createPlatform = MakePlatform;
  launch.hooks.initGraphics = StartGraphicsAndServices;
  launch.hooks.mayStart = ClaimSaveArea;
  // Closing the window asks first when the open screen holds unsaved changes.
  launch.hooks.windowClosing = OfferToSaveBeforeClosing;
  launch.hooks.runCommand = RunCommand;
  int exitCode = RunGame(launch);

  SetDialogHost(nullptr);
  SetDueNotifier(nullptr);
  SetWallClock(nullptr);
  g_platform = nullptr;
  ReleaseStringConstants();
  return exitCode;
}
