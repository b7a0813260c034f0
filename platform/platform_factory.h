// platform/platform_factory.h — composes the Platform the command line asks for:
//
//   window or headless   SDL2 window, paced waits   | off-screen frames, no waits
//   input                the window's devices       | a -playback script
//   dialogs              GTK (window, no playback)  | the script's answers (playback)
//                        | answered as cancelled (headless without playback)
//   -record              wraps the input and dialogs to write a replayable script
//   notifier             desktop notifications (lazy_notifier.h) | none, unless
//                        the environment variable KALVORA_TEST_NOTIFICATIONS is
//                        1: tests ask for them so, under -headless or -playback
//
// A playback script is read and checked here, before anything else starts; a
// broken one ends the process with kPlaybackFailureExitCode (3) and a message
// naming the line. Every other failure returns null with a reason.
//
// How the engine drives the result (main thread only):
//   1. CreatePlatform once the client size is known ("Create Window"); it opens
//      the window. Keep the Platform alive until the game has ended.
//   2. Each frame N: waiter->WaitUntil(deadline, pump) where pump lets input
//      flow (events->Pump(N, record-into-latches) is fine); then
//      events->Pump(N, ...) before the input update; a Close event means the
//      window was closed; stop when events->Exhausted() after that frame (the
//      end of a playback script, which is no close).
//   3. After drawing frame N: presenter->Present(N, picture, unchanged) every
//      frame that is drawn (shots of a script are taken there).
//   4. window_set_caption: call presenter->SetCaption and dialogs->SetCaption.
//   5. After every dialog, clear the input state: the platform has already
//      dropped the input the window received while the dialog was open.
// Frame numbers start at 1 and grow by one, as in engine/platform.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/platform.h"

struct PlatformOptions {
  bool headless = false;
  std::string playbackPath;       // -playback FILE, empty for none
  std::string recordPath;         // -record FILE, empty for none
  int width = 800, height = 600;  // the window's client size
  std::string caption;            // the first window caption (and dialog title)
  int gameSpeed = 60;             // frames per second; paces the playback clock
  double sleepMarginMs = -1;      // -sleepmargin; < 0: the waiter's default
};

// The Platform, or null with `error` saying why (no display without -headless,
// SDL failing, an unwritable record file).
std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options, std::string& error);

// The wall clock of a run without frames (a command such as -list-due): the
// `clock` line of the -playback script `playbackPath`; an empty function (the
// system's clock) when no script is given or it has no clock line. A broken
// script ends the process as a playback does.
std::function<int64_t()> ScriptedWallClock(const std::string& playbackPath);

// True when a window system is reachable (DISPLAY or WAYLAND_DISPLAY is set).
bool DisplayAvailable();
