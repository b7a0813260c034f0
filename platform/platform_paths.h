// platform/platform_paths.h — where the game's files live on Linux. Every folder
// returned ends with "/"; nothing is created here.
#pragma once

#include <string>

// The save area: $XDG_DATA_HOME/<gameName>/ (default ~/.local/share/<gameName>/),
// or with `roaming` $XDG_CONFIG_HOME/<gameName>/ (default ~/.config/<gameName>/).
// A relative XDG variable is ignored, as the XDG rules say.
std::string SaveAreaPath(const std::string& gameName, bool roaming);

// The directory of the running executable (from /proc/self/exe); empty when it
// cannot be read.
std::string ExecutableDirectory();
