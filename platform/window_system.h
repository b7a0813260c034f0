// platform/window_system.h — the window system as a module loaded at run time.
//
// The SDL2 window and its events, the GTK3 dialogs and the desktop
// notifications (sdl_window, sdl_events, key_map, gtk_dialogs,
// session_bus_notifier) are built into kalvora-window.so, not into the program.
// The program loads the module only when a window is asked for, so that a
// headless run never maps SDL, GTK and the eighty-odd libraries behind them,
// whose loading and linking cost about 36 ms of CPU at every start.
//
// The module has its own copy of the pure code dialogs share (cancelling
// dialogs, dialog rules, UTF-8 decoding); of the program it uses only the debug
// output, which the program exports alone (window_module_exports.list).
//
// The module is found and loaded as module_loader.h says.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/platform.h"

// What the module makes: the window showing the frames, the events of its
// devices, and dialogs on its display that drop the window's input.
struct WindowParts {
  std::unique_ptr<FramePresenter> window;
  std::unique_ptr<EventSource> events;
  std::unique_ptr<DialogHost> dialogs;
};

// The module's entry point, found by this name; false with a reason in `error`
// when the window cannot be made.
extern "C" bool KalvoraOpenWindow(int width, int height, const std::string& caption, WindowParts& parts,
                                  std::string& error);

// The module's second entry point: a notifier on the session bus
// (session_bus_notifier.h) whose activation calls `activated`; false with a
// reason in `error` when there is no session bus to reach.
extern "C" bool KalvoraConnectNotifier(std::function<void()> activated, std::unique_ptr<DesktopNotifier>& notifier,
                                       std::string& error);

// Loads the module (once) and opens the window through it; false with a reason
// in `error` when the module cannot be loaded or the window cannot be made.
bool OpenWindowSystem(int width, int height, const std::string& caption, WindowParts& parts, std::string& error);
