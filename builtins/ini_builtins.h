// builtins/ini_builtins.h — the current INI: the one IniFile that the ini_*
// built-ins act on, and the direct entry points that compiled code calls
// without going through the function table.
//
// State: no INI open -> open (clean) -> any write or delete -> open (dirty).
// Closing (ini_close, opening another INI, or the flush command) writes the text
// into the save area only when the INI is dirty and came from a file; the dirty
// flag is cleared whether or not that write succeeded, and a failed write is
// reported through ReportWriteFailure. An INI whose file existed but could not
// be read is reported through ReportReadFailure when it is opened (it opens
// empty) and is never written back over that file. An INI still open when the
// program ends is not written. Main thread only.
//
// RegisterIniBuiltins() is declared in builtins/builtins.h.
#pragma once

// As ini_open: opens the INI named `name` (nothing happens for an empty name).
void IniOpen(const char* name);
// As ini_read_real: the value of `key` in `section` as a number, or the default.
double IniReadReal(const char* section, const char* key, double defaultValue);
// As ini_write_real: stores the number in the "%f" form.
void IniWriteReal(const char* section, const char* key, double value);
