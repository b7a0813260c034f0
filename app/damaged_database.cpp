#include "app/damaged_database.h"

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

void DamagedDatabaseCheck::TellIfDamaged(const std::string& name) const {
  std::optional<std::string> database = FindReadableFile(name);
  std::string bytes;
  if (!database || !ReadWholeFile(*database, bytes)) return;  // missing, or unreadable and reported
  if (DamagedListTextCount() == damagedBefore_ && !IsForeign(bytes)) return;
  std::string copy = KeepCopy(*database, bytes, ".uszkodzony", "");
  std::string kept =
      copy.empty() ? "Kopii pliku nie udało się zachować." : "Plik w obecnym stanie zachowano jako:\n" + copy;
  ShowMessageDialog("Plik bazy danych jest uszkodzony:\n" + *database +
                    "\n\nWczytano tylko te dane, które dało się odczytać; zapisanie zmian zastąpi resztę. " + kept +
                    "\n\nJeśli masz kopię bazy, możesz ją wczytać przyciskiem „WCZYTAJ KOPIE BAZY”.");
}
