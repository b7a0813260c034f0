// platform/platform_factory.h — composes the Platform the command line asks for:
//
//   window or headless   SDL2 window, paced waits   | off-screen frames, no waits
//   input                the window's devices       | a -playback script
//   dialogs              GTK (window, no playback)  | the script's answers (playback)
//                        | answered as cancelled (headless without playback)
//   -record              wraps the input and dialogs to write a replayable script
//
// A playback script is read and checked here, before anything else starts; a
// broken one ends the process with kPlaybackFailureExitCode (3) and a message
// naming the line. Every other failure returns null with a reason.
#pragma once

#include <memory>
#include <string>

#include "engine/platform.h"

struct PlatformOptions {
  bool headless = false;
  std::string playbackPath;     // -playback FILE, empty for none
  std::string recordPath;       // -record FILE, empty for none
  int width = 800, height = 600;  // the window's client size
  std::string caption;          // the first window caption (and dialog title)
  int gameSpeed = 60;           // frames per second; paces the playback clock
  double sleepMarginMs = -1;    // -sleepmargin; < 0: learned from the wake-ups
};

// The Platform, or null with `error` saying why (no display without -headless,
// SDL failing, an unwritable record file).
std::unique_ptr<Platform> CreatePlatform(const PlatformOptions& options, std::string& error);

// True when a window system is reachable (DISPLAY or WAYLAND_DISPLAY is set).
bool DisplayAvailable();
