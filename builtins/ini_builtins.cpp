// The ini_* built-ins and the current INI they act on (see ini_builtins.h).
#include "builtins/ini_builtins.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "builtins/builtins.h"
#include "builtins/ini_file.h"
#include "runtime/args.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/value.h"
#include "storage/file_io.h"
#include "storage/sandbox.h"

namespace {
constexpr const char* kNoIniToRead = "Trying to read from undefined INI file";
constexpr const char* kNoIniToWrite = "Trying to write to undefined INI file";
constexpr const char* kNoIniToChange = "Trying to change undefined INI file";
constexpr std::string_view kSystemCommandSection = "SYSTEM_COMMAND";

struct CurrentIni {
  IniFile ini;
  std::optional<std::string> fileName;  // as passed to ini_open; none for an INI made from a text
  std::string unreadablePath;           // the file existed but could not be read or reached: never overwrite it
};
std::unique_ptr<CurrentIni> g_currentIni;

// Writes `text`, the INI's text, into the save area.
void WriteToDisk(const CurrentIni& current, const std::string& text) {
  const std::string& name = *current.fileName;
  if (!current.unreadablePath.empty()) {
    ReportWriteFailure(current.unreadablePath,
                       "the file could not be read or reached when it was opened, so it was not overwritten");
    return;
  }
  std::optional<std::string> path = ResolveSaveAreaPath(name, FileAccess::Write);
  if (!path) {
    ReportWriteFailure(name, "writing under this name is not allowed");
    return;
  }
  if (IoResult written = WriteFileAtomically(*path, text); !written) ReportWriteFailure(*path, written.reason);
}

// When the INI changed and came from a file, writes `text`, its text, into the
// save area. The INI counts as unchanged afterwards, whatever the write did.
void WriteOut(CurrentIni& current, const std::string& text) {
  if (current.ini.Dirty() && current.fileName) WriteToDisk(current, text);
  current.ini.ClearDirty();
}

// Closes the current INI, writing it out when it changed; its text goes into
// `closedText` when one is given ("" without a current INI). The text is made
// only when something needs it.
void CloseCurrentIni(RValue* closedText = nullptr) {
  if (!g_currentIni) {
    if (closedText) SetStringCopy(*closedText, std::string_view());
    return;
  }
  if (closedText || g_currentIni->ini.Dirty()) {
    const std::string text = g_currentIni->ini.Serialise();
    WriteOut(*g_currentIni, text);
    if (closedText) SetStringCopy(*closedText, text);
  }
  g_currentIni.reset();
}

// The INI of a file: the save-area copy, else the one beside the program, else
// empty. A file that exists but cannot be read, or a link that cannot be followed
// to its file, is told and never overwritten: it is not an empty INI.
std::unique_ptr<CurrentIni> LoadIni(const char* name) {
  auto current = std::make_unique<CurrentIni>();
  current->fileName = name;
  std::string unreachable;
  if (std::optional<std::string> path = FindReadableFile(name, &unreachable)) {
    std::string text;
    if (IoResult read = ReadWholeFile(*path, text); read) {
      current->ini = IniFile::Parse(text);
    } else if (read.error == ENOENT) {
      DebugOutput("Unable to read INI file '%s': %s\n", path->c_str(), read.reason.c_str());
    } else {
      current->unreadablePath = *path;
      ReportReadFailure(*path, read.reason);
    }
  } else if (!unreachable.empty()) {
    current->unreadablePath = unreachable;
    ReportUnreachableFile(unreachable);
  }
  return current;
}

// The current INI, or null after reporting `message`.
CurrentIni* RequireIni(const char* message) {
  if (!g_currentIni) ReportRuntimeError("%s", message);
  return g_currentIni.get();
}

// The decimal conversion of a stored value, independent of the user's locale.
double ParseReal(std::string_view text) {
  static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(std::string(text).c_str(), nullptr, cLocale);
}

// "%f": fixed notation, six decimals, a full stop.
std::string FormatReal(double value) {
  char buffer[400];  // the longest double in fixed notation has 309 digits before the point
  auto converted = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, converted.ptr);
}

void WriteValue(const char* section, const char* key, std::string_view value) {
  CurrentIni* current = RequireIni(kNoIniToWrite);
  if (!current) return;
  if (section == kSystemCommandSection) {
    current->ini.MarkDirty();
    if (std::strcmp(key, "INI_FILE_FLUSH") == 0 && value == "NOW") WriteOut(*current, current->ini.Serialise());
    return;
  }
  current->ini.Write(section, key, value);
}

void ini_open(RValue&, CInstance*, CInstance*, int, RValue* args) { IniOpen(ArgString(args, 0)); }

void ini_open_from_string(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const char* text = ArgString(args, 0);
  CloseCurrentIni();
  g_currentIni = std::make_unique<CurrentIni>();
  g_currentIni->ini = IniFile::Parse(text);
}

void ini_close(RValue& result, CInstance*, CInstance*, int, RValue*) { CloseCurrentIni(&result); }

void ini_read_string(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  const char* key = ArgString(args, 1);
  const char* defaultText = ArgString(args, 2);
  CurrentIni* current = RequireIni(kNoIniToRead);
  if (!current) return;
  if (std::optional<std::string_view> value = current->ini.Find(section, key)) {
    SetStringCopy(result, *value);
  } else {
    SetStringCopy(result, defaultText);
  }
}

void ini_read_real(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  const char* key = ArgString(args, 1);
  double defaultValue = ArgReal(args, 2);
  SetReal(result, IniReadReal(section, key, defaultValue));
}

void ini_write_string(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  const char* key = ArgString(args, 1);
  const char* value = ArgString(args, 2);
  WriteValue(section, key, value);
}

void ini_write_real(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  const char* key = ArgString(args, 1);
  double value = ArgReal(args, 2);
  IniWriteReal(section, key, value);
}

void ini_key_exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  const char* key = ArgString(args, 1);
  CurrentIni* current = RequireIni(kNoIniToRead);
  if (current) SetReal(result, current->ini.Find(section, key) ? 1.0 : 0.0);
}

void ini_section_exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  CurrentIni* current = RequireIni(kNoIniToRead);
  if (current) SetReal(result, current->ini.HasSection(section) ? 1.0 : 0.0);
}

void ini_key_delete(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  const char* key = ArgString(args, 1);
  if (CurrentIni* current = RequireIni(kNoIniToChange)) current->ini.DeleteKey(section, key);
}

void ini_section_delete(RValue&, CInstance*, CInstance*, int, RValue* args) {
  const char* section = ArgString(args, 0);
  if (CurrentIni* current = RequireIni(kNoIniToChange)) current->ini.DeleteSection(section);
}
}  // namespace

void IniOpen(const char* name) {
  if (!name || !*name) return;
  CloseCurrentIni();
  g_currentIni = LoadIni(name);
}

double IniReadReal(const char* section, const char* key, double defaultValue) {
  CurrentIni* current = RequireIni(kNoIniToRead);
  if (!current) return defaultValue;
  std::optional<std::string_view> value = current->ini.Find(section, key);
  return value ? ParseReal(*value) : defaultValue;
}

void IniWriteReal(const char* section, const char* key, double value) { WriteValue(section, key, FormatReal(value)); }

void RegisterIniBuiltins() {
  RegisterBuiltin("ini_open", ini_open, 1);
  RegisterBuiltin("ini_open_from_string", ini_open_from_string, 1);
  RegisterBuiltin("ini_close", ini_close, 0);
  RegisterBuiltin("ini_read_string", ini_read_string, 3);
  RegisterBuiltin("ini_read_real", ini_read_real, 3);
  RegisterBuiltin("ini_write_string", ini_write_string, 3);
  RegisterBuiltin("ini_write_real", ini_write_real, 3);
  RegisterBuiltin("ini_key_exists", ini_key_exists, 2);
  RegisterBuiltin("ini_section_exists", ini_section_exists, 1);
  RegisterBuiltin("ini_key_delete", ini_key_delete, 2);
  RegisterBuiltin("ini_section_delete", ini_section_delete, 1);
}
