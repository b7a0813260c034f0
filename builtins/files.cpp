// The file built-ins: file_exists, file_delete, file_copy and the text files
// written through numbered slots (file_text_open_write, file_text_write_string,
// file_text_close). Names go through the sandbox; every byte written goes
// through file_io's crash-safe writer, so a target is replaced only when the
// whole new content reached the disk.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "builtins/builtins.h"
#include "runtime/args.h"
#include "runtime/debug_output.h"
#include "runtime/error.h"
#include "runtime/function_table.h"
#include "runtime/value.h"
#include "storage/file_io.h"
#include "storage/sandbox.h"

namespace {
constexpr int kTextFileSlots = 31;  // numbered 1 to 31

// A text file open for writing: its crash-safe writer, and the last byte
// written, so that a line feed right after a carriage return of an earlier
// write is not doubled.
struct TextFile {
  AtomicFileWriter writer;
  char lastByte = 0;
};
std::array<std::unique_ptr<TextFile>, kTextFileSlots + 1> g_textFiles;  // slot 0 unused

std::string PathOrName(const std::optional<std::string>& path, const char* name) { return path ? *path : name; }

// The text with every line feed that does not follow a carriage return written as CR LF.
std::string WithWindowsLineEnds(std::string_view text, char previousByte) {
  std::string converted;
  converted.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n' && previousByte != '\r') converted.push_back('\r');
    converted.push_back(c);
    previousByte = c;
  }
  return converted;
}

// Opens `writer` on the resolved `path` of `name`; false after logging `message`
// with the path (or the name when it resolved to nothing). A path that resolved
// but cannot be written is also reported as a write failure.
bool OpenForWriting(AtomicFileWriter& writer, const std::optional<std::string>& path, const char* name,
                    const char* message) {
  if (path) {
    IoResult opened = writer.Open(*path);
    if (opened) return true;
    ReportWriteFailure(*path, opened.reason);
  }
  DebugOutput(message, PathOrName(path, name).c_str());
  return false;
}

void file_exists(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  SetReal(result, FindReadableFile(ArgString(args, 0)) ? 1.0 : 0.0);
}

// Deletes the save-area copy only; a file beside the program is never deleted.
void file_delete(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::optional<std::string> path = ResolveSaveAreaPath(ArgString(args, 0), FileAccess::Write);
  SetReal(result, path && IsExistingFile(*path) && RemoveFile(*path) ? 1.0 : 0.0);
}

void file_copy(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* sourceName = ArgString(args, 0);
  const char* destinationName = ArgString(args, 1);
  SetReal(result, -1.0);
  std::optional<std::string> source = FindReadableFile(sourceName);
  if (!source) source = ResolveSaveAreaPath(sourceName, FileAccess::Read);
  if (!source || !IsExistingFile(*source)) {
    DebugOutput("Unable to open source file %s\n", PathOrName(source, sourceName).c_str());
    return;
  }
  std::string bytes;
  if (IoResult read = ReadWholeFile(*source, bytes); !read) {
    DebugOutput("Unable to open source file %s\n", source->c_str());
    ReportReadFailure(*source, read.reason);  // it exists: the user chose it and must learn why nothing came of it
    return;
  }
  std::optional<std::string> destination = ResolveSaveAreaPath(destinationName, FileAccess::Write);
  AtomicFileWriter writer;
  if (!OpenForWriting(writer, destination, destinationName, "Unable to open destination file %s\n")) return;
  IoResult written = writer.Append(bytes);
  if (written) written = writer.Commit();
  if (!written) ReportWriteFailure(*destination, written.reason);
  SetReal(result, written ? 0.0 : -1.0);
}

void file_text_open_write(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  const char* name = ArgString(args, 0);
  SetReal(result, -1.0);
  int slot = 1;
  while (slot <= kTextFileSlots && g_textFiles[slot]) ++slot;
  if (slot > kTextFileSlots) return;
  std::optional<std::string> path = ResolveSaveAreaPath(name, FileAccess::Write);
  auto file = std::make_unique<TextFile>();
  if (!OpenForWriting(file->writer, path, name, "ERROR!!! :: Failed to open file: %s\n")) return;
  g_textFiles[slot] = std::move(file);
  SetReal(result, slot);
}

void file_text_write_string(RValue&, CInstance*, CInstance*, int, RValue* args) {
  int slot = ArgInt32(args, 0);
  const char* text = ArgString(args, 1);
  if (slot < 1 || slot > kTextFileSlots || !g_textFiles[slot]) {
    ReportRuntimeError("File not opened for writing.");
    return;
  }
  TextFile& file = *g_textFiles[slot];
  // A string value is written to its full length: a zero byte that a damaged
  // file put into a text must not cut off everything after it.
  const RValue& value = args[1];
  std::string_view bytes = KindOf(value) == VALUE_STRING ? StringBytes(value) : std::string_view(text);
  if (bytes.empty()) return;
  // A failure is kept by the writer and reported when the file is closed.
  (void)file.writer.Append(WithWindowsLineEnds(bytes, file.lastByte));
  file.lastByte = bytes.back();
}

void file_text_close(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  int slot = ArgInt32(args, 0);
  if (slot < 1 || slot > kTextFileSlots) {
    ReportRuntimeError("Trying to close text file that has not been opened.");
    return;
  }
  std::unique_ptr<TextFile> file = std::move(g_textFiles[slot]);
  if (!file) {
    SetReal(result, 0.0);
    return;
  }
  IoResult committed = file->writer.Commit();
  if (!committed) ReportWriteFailure(file->writer.Target(), committed.reason);
  SetReal(result, committed ? 1.0 : 0.0);
}
}  // namespace

void RegisterFileBuiltins() {
  RegisterBuiltin("file_exists", file_exists, 1);
  RegisterBuiltin("file_delete", file_delete, 1);
  RegisterBuiltin("file_copy", file_copy, 2);
  RegisterBuiltin("file_text_open_write", file_text_open_write, 1);
  RegisterBuiltin("file_text_write_string", file_text_write_string, 2);
  RegisterBuiltin("file_text_close", file_text_close, 1);
}
