// app/backup_files.h — what the menu's backup and restore need of the files:
// whether there is a database to back up, whether a chosen file is a database
// at all, and the copy of the database kept before a restore replaces it.
#pragma once

#include <optional>
#include <string>

// Whether the database `name` is there to be backed up. When it is not, the user
// has been told why: none was saved yet, or it is a link that cannot be followed.
bool DatabaseToBackUp(const std::string& name);

// Whether the file `name` holds at least one register that can be read (key "1"
// of a section "L1" to "L4" in the list text form, whole or damaged). A file
// that exists but cannot be read holds none (and the failure is reported).
bool HoldsRegister(const std::string& name);

// Keeps the save area's `database` before a restore replaces it, beside it as
// "<database>.przed-przywroceniem.vtab" (a backup the restore button reads back).
// The copy's path; "" when there is no database to keep; nothing when it could
// not be kept, and then the failure has been reported.
std::optional<std::string> KeepBeforeRestore(const std::string& database);
