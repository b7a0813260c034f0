#include "builtins/dialogs.h"

#include <string>

#include "builtins/builtins.h"
#include "engine/platform.h"
#include "runtime/args.h"
#include "runtime/debug_output.h"
#include "runtime/function_table.h"
#include "storage/sandbox.h"

namespace {
constexpr size_t kMaxDefaultTextBytes = 8193;
constexpr size_t kMaxFileNameBytes = 259;

DialogHost* g_host = nullptr;
void (*g_afterDialog)() = nullptr;

// The first `limit` bytes of `text`, never cutting a UTF-8 character in two.
std::string LimitBytes(std::string text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

std::string QuotedOrCancel(const std::string& answer) { return answer.empty() ? "cancel" : QuoteText(answer); }

void AfterDialog(const std::string& logLine) {
  DebugOutput("dialog %s\n", logLine.c_str());
  if (g_afterDialog) g_afterDialog();
}

void show_message(RValue&, CInstance*, CInstance*, int, RValue* args) { ShowMessageDialog(ValueText(args[0])); }

void show_question(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::string text = ArgString(args, 0);
  bool yes = g_host && g_host->ShowQuestion(text);
  AfterDialog("show_question " + QuoteText(text) + (yes ? " -> yes" : " -> no"));
  SetReal(result, yes ? 1 : 0);
}

void get_string(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::string prompt = ArgString(args, 0);
  std::string initial = LimitBytes(ValueText(args[1]), kMaxDefaultTextBytes);
  std::string answer;
  bool accepted = g_host && g_host->GetString(prompt, initial, answer);
  if (!accepted) answer.clear();
  AfterDialog("get_string " + QuoteText(prompt) + " " + QuoteText(initial) + " -> " +
              (accepted ? QuoteText(answer) : std::string("cancel")));
  SetStringCopy(result, answer);
}

void get_open_filename(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::string filter = ArgString(args, 0);
  std::string name = LimitBytes(ArgString(args, 1), kMaxFileNameBytes);
  std::string path = g_host ? g_host->GetOpenFilename(filter, name) : std::string();
  if (!path.empty()) AllowPathForReading(path);
  AfterDialog("get_open_filename " + QuoteText(filter) + " " + QuoteText(name) + " -> " + QuotedOrCancel(path));
  SetStringCopy(result, path);
}

void get_save_filename(RValue& result, CInstance*, CInstance*, int, RValue* args) {
  std::string filter = ArgString(args, 0);
  std::string name = LimitBytes(ArgString(args, 1), kMaxFileNameBytes);
  std::string path = g_host ? g_host->GetSaveFilename(filter, name) : std::string();
  if (!path.empty()) AllowPathForWriting(path);
  AfterDialog("get_save_filename " + QuoteText(filter) + " " + QuoteText(name) + " -> " + QuotedOrCancel(path));
  SetStringCopy(result, path);
}
}  // namespace

void SetDialogHost(DialogHost* host) { g_host = host; }

void ShowMessageDialog(const std::string& text) {
  if (g_host) g_host->ShowMessage(text);
  AfterDialog("show_message " + QuoteText(text));
}
void SetAfterDialogHook(void (*hook)()) { g_afterDialog = hook; }

void RegisterDialogBuiltins() {
  RegisterBuiltin("show_message", show_message, 1);
  RegisterBuiltin("show_question", show_question, 1);
  RegisterBuiltin("get_string", get_string, 2);
  RegisterBuiltin("get_open_filename", get_open_filename, 2);
  RegisterBuiltin("get_save_filename", get_save_filename, 2);
}
