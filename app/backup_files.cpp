#include "app/backup_files.h"

#include "app/kept_copy.h"
#include "builtins/dialogs.h"
#include "builtins/ds_list.h"
#include "builtins/ini_file.h"
#include "builtins/list_text.h"
#include "storage/file_io.h"
#include "storage/sandbox.h"

namespace {
constexpr const char* kRegisterSections[] = {"L1", "L2", "L3", "L4"};
}  // namespace

bool DatabaseToBackUp(const std::string& name) {
  std::string unreachable;
  if (FindReadableFile(name, &unreachable)) return true;
  if (!unreachable.empty())
    ReportUnreachableFile(unreachable);
  else
    ShowMessageDialog(
        "Nie ma jeszcze bazy danych, więc nie ma czego skopiować.\n\nBaza powstaje przy pierwszym zapisaniu rejestru "
        "przyciskiem „WRÓĆ I ZAPISZ”.");
  return false;
}

bool HoldsRegister(const std::string& name) {
  std::optional<std::string> path = FindReadableFile(name);
  std::string bytes;
  if (!path) return false;
  if (IoResult read = ReadWholeFile(*path, bytes); !read) {
    ReportReadFailure(*path, read.reason);
    return false;
  }
  IniFile ini = IniFile::Parse(std::move(bytes));
  int32_t scratch = CreateList();  // a list of the table, which the collector knows
  bool holds = false;
  for (const char* section : kRegisterSections) {
    std::optional<std::string_view> text = ini.Find(section, "1");
    CDS_List* list = FindList(scratch);
    holds = text && list && ReadListText(*list, *text, false) != ListTextReading::Refused;
    if (holds) break;
  }
  DestroyList(scratch);
  return holds;
}

std::optional<std::string> KeepBeforeRestore(const std::string& database) {
  std::optional<std::string> path = ResolveSaveAreaPath(database, FileAccess::Read);
  if (!path || !IsExistingFile(*path)) return "";
  std::string bytes;
  if (IoResult read = ReadWholeFile(*path, bytes); !read) {
    ReportReadFailure(*path, read.reason);
    return std::nullopt;
  }
  std::string copy = KeepCopy(*path, bytes, ".przed-przywroceniem", ".vtab");
  if (copy.empty()) return std::nullopt;
  return copy;
}
