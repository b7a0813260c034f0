#include "platform/cancelling_dialogs.h"

#include "runtime/debug_output.h"

namespace {
void Report(const char* dialog, const char* answer) {
  DebugOutput("No display: the %s dialog is answered %s\n", dialog, answer);
}
}  // namespace

void CancellingDialogs::ShowMessage(const std::string&) { Report("show_message", "ok"); }

bool CancellingDialogs::ShowQuestion(const std::string&) {
  Report("show_question", "no");
  return false;
}

bool CancellingDialogs::GetString(const std::string&, const std::string&, std::string& answer) {
  Report("get_string", "cancel");
  answer.clear();
  return false;
}

std::string CancellingDialogs::GetOpenFilename(const std::string&, const std::string&) {
  Report("get_open_filename", "cancel");
  return "";
}

std::string CancellingDialogs::GetSaveFilename(const std::string&, const std::string&) {
  Report("get_save_filename", "cancel");
  return "";
}

int CancellingDialogs::ShowErrorDialog(const std::string&, bool) {
  Report("Code Error", "Abort");
  return 1;
}
