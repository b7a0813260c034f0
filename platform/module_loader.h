// platform/module_loader.h — the program's modules, shared objects it loads at
// run time only when it needs what they hold (kalvora-window.so for a window,
// kalvora-calendar.so for a calendar file), so that no other run maps the large
// libraries behind them.
//
// A module is looked for beside the program (the build tree), then where the
// installation puts it, found from the program's folder by the relative path
// KALVORA_MODULE_FROM_BIN, so that any installation prefix works. Once loaded
// a module stays loaded until the process ends.
#pragma once

#include <string>

// The function `entry` of the module file `moduleName`; null with the loader's
// reasons, for every place looked in, in `error`.
void* LoadModuleFunction(const std::string& moduleName, const char* entry, std::string& error);
