// platform/lazy_notifier.h — the program's desktop notifier. At its first
// notification it loads the window module (module_loader.h) and connects to
// the session bus through it (session_bus_notifier.h), so that a run that
// sends none does neither. When the module or the bus cannot be had, the
// notification is dropped with a line on the debug output, and so are the
// later ones.
#pragma once

#include <functional>
#include <memory>

#include "engine/platform.h"

// `activated` runs when the user activates a notification (main thread).
std::unique_ptr<DesktopNotifier> MakeLazyNotifier(std::function<void()> activated);
