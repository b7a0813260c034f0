// Loading kalvora-window.so (see window_system.h).
#include <string>

#include "platform/module_loader.h"
#include "platform/window_system.h"

bool OpenWindowSystem(int width, int height, const std::string& caption, WindowParts& parts, std::string& error) {
  using OpenWindowFunction = decltype(&KalvoraOpenWindow);
  static OpenWindowFunction open = nullptr;
  if (!open) {
    std::string reasons;
    open = reinterpret_cast<OpenWindowFunction>(LoadModuleFunction("kalvora-window.so", "KalvoraOpenWindow", reasons));
    if (!open) {
      error = "cannot load the window system (" + reasons + "); run with -headless";
      return false;
    }
  }
  return open(width, height, caption, parts, error);
}
