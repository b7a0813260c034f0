// Loading kalvora-window.so (see window_system.h).
#include <dlfcn.h>

#include <string>

#include "platform/platform_paths.h"
#include "platform/window_system.h"

namespace {
constexpr const char* kModuleName = "kalvora-window.so";

using OpenWindowFunction = decltype(&KalvoraOpenWindow);

// The module's entry point, or null with the loader's reasons for every place
// looked in, in `error`.
OpenWindowFunction LoadEntryPoint(std::string& error) {
  static OpenWindowFunction entry = nullptr;
  if (entry) return entry;
  const std::string programFolder = ExecutableDirectory();
  if (programFolder.empty()) {
    error = "cannot load the window system: the program's folder is unknown; run with -headless";
    return nullptr;
  }
  std::string reasons;
  for (const std::string& folder : {programFolder, programFolder + KALVORA_MODULE_FROM_BIN + "/"}) {
    const std::string path = folder + kModuleName;
    if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      entry = reinterpret_cast<OpenWindowFunction>(dlsym(module, "KalvoraOpenWindow"));
      if (entry) return entry;
      dlclose(module);
      reasons += (reasons.empty() ? "" : "; ") + path + ": no entry point";
      continue;
    }
    const char* reason = dlerror();
    reasons += (reasons.empty() ? "" : "; ") + std::string(reason ? reason : path);
  }
  error = "cannot load the window system (" + reasons + "); run with -headless";
  return nullptr;
}
}  // namespace

bool OpenWindowSystem(int width, int height, const std::string& caption, WindowParts& parts, std::string& error) {
  OpenWindowFunction open = LoadEntryPoint(error);
  return open && open(width, height, caption, parts, error);
}
