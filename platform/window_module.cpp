// The entry point of kalvora-window.so (see window_system.h).
#include <SDL.h>

#include "platform/gtk_dialogs.h"
#include "platform/sdl_events.h"
#include "platform/sdl_window.h"
#include "platform/session_bus_notifier.h"
#include "platform/window_system.h"

extern "C" bool KalvoraOpenWindow(int width, int height, const std::string& caption, WindowParts& parts,
                                  std::string& error) {
  std::unique_ptr<SdlWindow> window = SdlWindow::Create(width, height, caption, error);
  if (!window) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  parts.events = std::make_unique<SdlEventSource>(&SdlWindow::DestroyedFromOutside);
  SdlWindow* shown = window.get();
  parts.dialogs = std::make_unique<GtkDialogHost>(driver ? driver : "", DiscardPendingSdlInput,
                                                  [shown] { shown->RedrawIfExposed(); });
  parts.window = std::move(window);
  return true;
}

extern "C" bool KalvoraConnectNotifier(std::function<void()> activated, std::unique_ptr<DesktopNotifier>& notifier,
                                       std::string& error) {
  notifier = SessionBusNotifier::Connect(std::move(activated), error);
  return notifier != nullptr;
}
