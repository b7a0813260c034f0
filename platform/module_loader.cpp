#include "platform/module_loader.h"

#include <dlfcn.h>

#include "platform/platform_paths.h"

void* LoadModuleFunction(const std::string& moduleName, const char* entry, std::string& error) {
  const std::string programFolder = ExecutableDirectory();
  if (programFolder.empty()) {
    error = "the program's folder is unknown";
    return nullptr;
  }
  std::string reasons;
  for (const std::string& folder : {programFolder, programFolder + KALVORA_MODULE_FROM_BIN + "/"}) {
    const std::string path = folder + moduleName;
    if (void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
      if (void* function = dlsym(module, entry)) return function;
      dlclose(module);
      reasons += (reasons.empty() ? "" : "; ") + path + ": no entry point " + entry;
      continue;
    }
    const char* reason = dlerror();
    reasons += (reasons.empty() ? "" : "; ") + std::string(reason ? reason : path);
  }
  error = reasons;
  return nullptr;
}
