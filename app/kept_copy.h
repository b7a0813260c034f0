// app/kept_copy.h — copies of the database that the program keeps in the save
// area before something replaces it or may replace it: a restore from a backup,
// a save over a damaged file.
//
// A copy is named after the database, a suffix and an extension
// ("save.ini.uszkodzony", "save.ini.przed-przywroceniem.vtab"); when an older,
// different copy has that name, the next free number goes before the extension
// ("save.ini.uszkodzony-2"). A copy that holds exactly the same bytes is reused.
// An earlier copy is never overwritten.
#pragma once

#include <string>

// Keeps `bytes`, the content of the database `database`, as such a copy; the
// copy's path, or "" when it could not be written (the failure is reported).
std::string KeepCopy(const std::string& database, const std::string& bytes, const std::string& suffix,
                     const std::string& extension);
