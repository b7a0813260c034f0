// engine/process_locale.h — the process locale: characters UTF-8, numbers "C"
// (texts of numbers never depend on the user's language), everything else, dates
// included, from the user's environment.
#pragma once

// False when no UTF-8 character locale can be had; the program cannot run then.
bool SetProcessLocale();
