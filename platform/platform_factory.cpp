#include "platform/platform_factory.h"

#include <cstdlib>
#include <filesystem>

#include "platform/cancelling_dialogs.h"
#include "platform/headless_platform.h"
#include "platform/input_recorder.h"
#include "platform/lazy_notifier.h"
#include "platform/paced_frame_waiter.h"
#include "platform/platform_clock.h"
#include "platform/playback_platform.h"
#include "platform/window_system.h"

namespace {

std::shared_ptr<PlaybackSession> StartPlayback(const PlatformOptions& options) {
  if (options.playbackPath.empty()) return nullptr;
  PlaybackScript script;
  std::string error;
  if (!LoadPlaybackScript(options.playbackPath, script, error)) FailPlayback(error);
  return std::make_shared<PlaybackSession>(std::move(script), options.gameSpeed);
}

void ComposeHeadless(Platform& platform, const std::shared_ptr<PlaybackSession>& playback) {
  platform.headless = true;
  platform.waiter = std::make_unique<ImmediateWaiter>();
  platform.presenter = std::make_unique<OffscreenPresenter>();
  if (playback) {
    platform.events = std::make_unique<PlaybackEventSource>(playback, nullptr);
    platform.dialogs = std::make_unique<PlaybackDialogs>(playback);
  } else {
    platform.events = std::make_unique<NoInputEventSource>();
    platform.dialogs = std::make_unique<CancellingDialogs>();
  }
}

bool ComposeWindow(Platform& platform, const PlatformOptions& options, const std::shared_ptr<PlaybackSession>& playback,
                   std::string& error) {
  if (!DisplayAvailable()) {
    error = "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset); run with -headless";
    return false;
  }
  WindowParts window;
  if (!OpenWindowSystem(options.width, options.height, options.caption, window, error)) return false;
  platform.presenter = std::move(window.window);
  int64_t marginMicros =
      options.sleepMarginMs < 0 ? PacedFrameWaiter::kDefaultMarginMicros : int64_t(options.sleepMarginMs * 1000.0);
  platform.waiter = std::make_unique<PacedFrameWaiter>(marginMicros);
  if (playback) {
    platform.events = std::make_unique<PlaybackEventSource>(playback, std::move(window.events));
    platform.dialogs = std::make_unique<PlaybackDialogs>(playback);
  } else {
    platform.events = std::move(window.events);
    platform.dialogs = std::move(window.dialogs);
  }
  return true;
}

// A run with the window and its devices notifies; a headless or played one only
// when a test asks for it.
bool SendsNotifications(const PlatformOptions& options) {
  const char* asked = std::getenv("KALVORA_TEST_NOTIFICATIONS");
  return (!options.headless && options.playbackPath.empty()) || (asked && std::string(asked) == "1");
}

// Recording over the script being played would destroy the script.
bool RecordWouldOverwritePlayback(const PlatformOptions& options) {
  std::error_code failed;
  return !options.playbackPath.empty() && std::filesystem::equivalent(options.playbackPath, options.recordPath, failed);
}

}  // namespace

bool DisplayAvailable() {
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return true;
  }
  return false;
}

std::function<int64_t()> ScriptedWallClock(const std::string& playbackPath) {
  if (playbackPath.empty()) return {};
  PlaybackScript script;
  std::string error;
  if (!LoadPlaybackScript(playbackPath, script, error)) FailPlayback(error);
  if (!script.clockStart) return {};
  return [seconds = *script.clockStart] { return seconds; };
}

std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options, std::string& error) {
  if (!options.recordPath.empty() && RecordWouldOverwritePlayback(options)) {
    error = "the record file " + options.recordPath + " is the playback script";
    return nullptr;
  }
  std::shared_ptr<PlaybackSession> playback = StartPlayback(options);
  auto platform = std::make_unique<Platform>();
  if (playback)
    platform->clock = std::make_unique<PlaybackClock>(playback);
  else
    platform->clock = std::make_unique<SystemClock>();
  if (options.headless)
    ComposeHeadless(*platform, playback);
  else if (!ComposeWindow(*platform, options, playback, error))
    return nullptr;
  if (playback) platform->presenter = std::make_unique<ShotPresenter>(playback, std::move(platform->presenter));
  if (!options.recordPath.empty()) {
    std::shared_ptr<InputRecorder> recorder =
        InputRecorder::Open(options.recordPath, platform->clock->WallClockSeconds(), error);
    if (!recorder) return nullptr;
    platform->events = std::make_unique<RecordingEventSource>(recorder, std::move(platform->events));
    platform->dialogs = std::make_unique<RecordingDialogs>(recorder, std::move(platform->dialogs));
  }
  platform->dialogs->SetCaption(options.caption);
  if (SendsNotifications(options))
    platform->notifier = MakeLazyNotifier([window = platform->presenter.get()] { window->BringToFront(); });
  return platform;
}
