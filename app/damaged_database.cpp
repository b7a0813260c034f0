#include "app/damaged_database.h"

#include <cstdio>
#include <optional>

#include "app/kept_copy.h"
#include "builtins/dialogs.h"
#include "builtins/list_text.h"
#include "storage/file_io.h"
#include "storage/sandbox.h"

namespace {
// Bytes no database written by the program holds: a zero byte, or text without
// a single section header.
bool IsForeign(const std::string& bytes) {
  bool blank = bytes.find_first_not_of(" \t\r\n") == std::string::npos;
  return bytes.find('\0') != std::string::npos || (!blank && bytes.find('[') == std::string::npos);
}
}  // namespace

DamagedDatabaseCheck::DamagedDatabaseCheck() : damagedBefore_(DamagedListTextCount()) {}

std::optional<DamagedDatabaseCheck::Database> DamagedDatabaseCheck::DamagedDatabase(const std::string& name) const {
  std::optional<std::string> path = FindReadableFile(name);
  std::string bytes;
  if (!path || !ReadWholeFile(*path, bytes)) return std::nullopt;  // missing, or unreadable and reported
  if (DamagedListTextCount() == damagedBefore_ && !IsForeign(bytes)) return std::nullopt;
  return Database{*path, std::move(bytes)};
}

void DamagedDatabaseCheck::TellIfDamaged(const std::string& name) const {
  std::optional<Database> database = DamagedDatabase(name);
  if (!database) return;
  std::string copy = KeepCopy(database->path, database->bytes, ".uszkodzony", "");
  std::string kept =
      copy.empty() ? "Kopii pliku nie udało się zachować." : "Plik w obecnym stanie zachowano jako:\n" + copy;
  ShowMessageDialog("Plik bazy danych jest uszkodzony:\n" + database->path +
                    "\n\nWczytano tylko te dane, które dało się odczytać; zapisanie zmian zastąpi resztę. " + kept +
                    "\n\nJeśli masz kopię bazy, możesz ją wczytać przyciskiem „WCZYTAJ KOPIE BAZY”.");
}

void DamagedDatabaseCheck::WarnIfDamaged(const std::string& name) const {
  if (std::optional<Database> database = DamagedDatabase(name))
    std::fprintf(
        stderr,
        "kalvora: uwaga: plik bazy danych jest uszkodzony: %s\nWzięto tylko te dane, które dało się odczytać.\n",
        database->path.c_str());
}
