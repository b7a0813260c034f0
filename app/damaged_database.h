// app/damaged_database.h — what a screen does when the database it loaded was
// damaged (a list text cut, padded, of an unknown version or otherwise not
// whole; or a file that holds a zero byte, or text without any section, which
// the program never writes): the lists hold what could be read, and saving
// would replace the rest.
// So the file is first kept as it is, as "<name>.uszkodzony" in the save area
// (numbered when an older, different copy has that name; an identical copy is
// reused), and the user is told which file is damaged and where the copy is.
//
// A command that only reads (-list-due, -export-ics) keeps no copy and writes
// nothing: it warns on standard error instead.
//
// Use: construct a check before the load, call TellIfDamaged (or
// WarnIfDamaged) after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class DamagedDatabaseCheck {
 public:
  DamagedDatabaseCheck();
  // `name` is the database as the load opened it (the global `loc`).
  void TellIfDamaged(const std::string& name) const;
  void WarnIfDamaged(const std::string& name) const;

 private:
  struct Database {
    std::string path, bytes;
  };
  // The database as it is on disk when the load found it damaged.
  std::optional<Database> DamagedDatabase(const std::string& name) const;

  int64_t damagedBefore_;
};
