// platform/cancelling_dialogs.h — dialogs where none can be shown (no display and
// no playback, or GTK could not start): each is answered as cancelled (message ok,
// question no, input and file dialogs empty, error dialog Abort) and one line
// saying so goes to the debug output.
#pragma once

#include "engine/platform.h"

class CancellingDialogs : public DialogHost {
 public:
  void ShowMessage(const std::string& text) override;
  bool ShowQuestion(const std::string& text) override;
  bool GetString(const std::string& prompt, const std::string& initial, std::string& answer) override;
  std::string GetOpenFilename(const std::string& filter, const std::string& name) override;
  std::string GetSaveFilename(const std::string& filter, const std::string& name) override;
  int ShowErrorDialog(const std::string& text, bool allowIgnore) override;
  void SetCaption(const std::string&) override {}
};
