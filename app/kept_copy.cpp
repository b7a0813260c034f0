#include "app/kept_copy.h"

#include <optional>

#include "storage/file_io.h"
#include "storage/sandbox.h"

namespace {
constexpr int kMostCopies = 100;

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }
}  // namespace

std::string KeepCopy(const std::string& database, const std::string& bytes, const std::string& suffix,
                     const std::string& extension) {
  for (int number = 1; number <= kMostCopies; ++number) {
    std::string name = BaseName(database) + suffix + (number == 1 ? "" : "-" + std::to_string(number)) + extension;
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
