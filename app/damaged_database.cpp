#include "app/damaged_database.h"

#include <optional>

#include "builtins/dialogs.h"
#include "builtins/list_text.h"
#include "storage/file_io.h"
#include "storage/sandbox.h"

namespace {
constexpr int kMostCopies = 100;
constexpr const char* kCopySuffix = ".uszkodzony";

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// Bytes no database written by the program holds: a zero byte, or text without
// a single section header.
bool IsForeign(const std::string& bytes) {
  bool blank = bytes.find_first_not_of(" \t\r\n") == std::string::npos;
  return bytes.find('\0') != std::string::npos || (!blank && bytes.find('[') == std::string::npos);
}

// Keeps `bytes` as a copy named after `database` in the save area; the copy's
// path, or "" when it could not be written (that failure is reported).
std::string KeepCopy(const std::string& database, const std::string& bytes) {
  for (int number = 1; number <= kMostCopies; ++number) {
    std::string name = BaseName(database) + kCopySuffix + (number == 1 ? "" : "-" + std::to_string(number));
    std::optional<std::string> copy = ResolveSaveAreaPath(name, FileAccess::Write);
    if (!copy) return "";
    std::string existing;
    if (IsExistingFile(*copy)) {
      if (ReadWholeFile(*copy, existing) && existing == bytes) return *copy;
      continue;
    }
    if (IoResult written = WriteFileAtomically(*copy, bytes); !written) {
      ReportWriteFailure(*copy, written.reason);
      return "";
    }
    return *copy;
  }
  return "";
}
}  // namespace

DamagedDatabaseCheck::DamagedDatabaseCheck() : damagedBefore_(DamagedListTextCount()) {}

void DamagedDatabaseCheck::TellIfDamaged(const std::string& name) const {
  std::optional<std::string> database = FindReadableFile(name);
  std::string bytes;
  if (!database || !ReadWholeFile(*database, bytes)) return;  // missing, or unreadable and reported
  if (DamagedListTextCount() == damagedBefore_ && !IsForeign(bytes)) return;
  std::string copy = KeepCopy(*database, bytes);
  std::string kept =
      copy.empty() ? "Kopii pliku nie udało się zachować." : "Plik w obecnym stanie zachowano jako:\n" + copy;
  ShowMessageDialog("Plik bazy danych jest uszkodzony:\n" + *database +
                    "\n\nWczytano tylko te dane, które dało się odczytać; zapisanie zmian zastąpi resztę. " + kept +
                    "\n\nJeśli masz kopię bazy, możesz ją wczytać przyciskiem „WCZYTAJ KOPIE BAZY”.");
}
