#include "app/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/calendar_export.h"
#include "app/due_listing.h"
#include "builtins/dates.h"
#include "calendar/calendar_file.h"
#include "platform/module_loader.h"
#include "platform/platform_factory.h"
#include "storage/file_io.h"

namespace {
bool g_fileFailed = false;

void TellFileFailureOnTerminal(FileOperation operation, const std::string& path, const std::string& reason) {
  g_fileFailed = true;
  switch (operation) {
    case FileOperation::Read:
      std::fprintf(stderr, "kalvora: nie udało się odczytać pliku %s (%s)\n", path.c_str(), reason.c_str());
      return;
    case FileOperation::Write:
      std::fprintf(stderr, "kalvora: nie udało się zapisać pliku %s (%s)\n", path.c_str(), reason.c_str());
      return;
    case FileOperation::Reach:
      std::fprintf(stderr, "kalvora: plik jest niedostępny: %s (dowiązanie do miejsca, którego teraz nie ma)\n",
                   path.c_str());
      return;
  }
}

// The calendar's text, from the module that holds the writer.
bool MakeCalendarText(const std::vector<CalendarEvent>& events, int64_t stamp, std::string& text) {
  std::string error;
  auto write = reinterpret_cast<decltype(&KalvoraCalendarText)>(
      LoadModuleFunction("kalvora-calendar.so", "KalvoraCalendarText", error));
  if (write && write(events, stamp, text, error)) return true;
  std::fprintf(stderr, "kalvora: nie udało się przygotować pliku kalendarza (%s)\n", error.c_str());
  return false;
}

// The file is written whole or not at all (storage/file_io.h), and only into a
// folder that exists: a mistyped folder is told, not made.
int WriteCalendar(CInstance& self, const std::string& path, int64_t stamp) {
  if (path.empty()) {
    std::fprintf(stderr, "kalvora: podaj nazwę pliku kalendarza, np.: kalvora -export-ics terminy.ics\n");
    return 1;
  }
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
    std::fprintf(stderr, "kalvora: nie można zapisać pliku kalendarza %s: nie ma folderu %s\n", path.c_str(),
                 folder.c_str());
    return 1;
  }
  std::vector<CalendarEvent> events = CalendarEvents(&self);
  std::string text;
  if (g_fileFailed || !MakeCalendarText(events, stamp, text)) return 1;
  if (IoResult written = WriteFileAtomically(path, text); !written) {
    std::fprintf(stderr, "kalvora: nie udało się zapisać pliku kalendarza %s: %s\n", path.c_str(),
                 written.error ? std::strerror(written.error) : written.reason.c_str());
    return 1;
  }
  return 0;
}

int PrintDueListing(CInstance& self) {
  std::string listing = DueListing(&self);
  if (g_fileFailed) return 1;
  if (std::fwrite(listing.data(), 1, listing.size(), stdout) != listing.size() || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "kalvora: nie udało się wypisać listy terminów: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
}  // namespace

int RunReadOnlyCommands(const CommandStart& start) {
  SetFileFailureNotifier(TellFileFailureOnTerminal);
  std::function<int64_t()> clock = ScriptedWallClock(start.options.playbackPath);
  const int64_t now = clock ? clock() : int64_t(std::time(nullptr));
  SetWallClock(std::move(clock));
  if (start.options.exportCalendar) {
    if (int failed = WriteCalendar(start.self, start.options.calendarPath, now)) return failed;
  }
  return start.options.listDue ? PrintDueListing(start.self) : 0;
}
