#include "app/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/due_listing.h"
#include "builtins/dates.h"
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
  SetWallClock(ScriptedWallClock(start.options.playbackPath));
  return start.options.listDue ? PrintDueListing(start.self) : 0;
}
