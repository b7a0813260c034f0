// platform/gtk_dialogs.h — the modal dialogs of a game with a window, made with
// GTK 3: message, question, one-line input, open and save file choosers and the
// "Code Error" dialog.
//
// GTK starts at the first dialog (never before the game window exists), on the
// same display backend as the window, without touching the process locale. If it
// cannot start, every dialog is answered as cancelled (see cancelling_dialogs.h).
// Dialogs are centred, kept above the game window and modal; each is titled with
// the caption last set, except the error dialog. The input the game window
// received while a dialog was open is dropped through `dropWindowInput`.
//
// No frame runs while a dialog is open, so the game window is kept drawn from
// here: every 50 ms `redrawExposedWindow` shows the last frame again where the
// window was uncovered (by a closed chooser, a moved dialog).
#pragma once

#include <functional>
#include <string>

#include "engine/platform.h"
#include "platform/cancelling_dialogs.h"

class GtkDialogHost : public DialogHost {
 public:
  // `displayBackend` is the window's video driver ("x11", "wayland", ...).
  GtkDialogHost(std::string displayBackend, std::function<void()> dropWindowInput,
                std::function<void()> redrawExposedWindow);

  void ShowMessage(const std::string& text) override;
  bool ShowQuestion(const std::string& text) override;
  bool GetString(const std::string& prompt, const std::string& initial, std::string& answer) override;
  std::string GetOpenFilename(const std::string& filter, const std::string& name) override;
  std::string GetSaveFilename(const std::string& filter, const std::string& name) override;
  int ShowErrorDialog(const std::string& text, bool allowIgnore) override;
  void SetCaption(const std::string& utf8) override { caption_ = utf8; }

 private:
  enum class GtkState { NotStarted, Ready, Unavailable };
  bool StartGtk();

  std::string displayBackend_;
  std::function<void()> dropWindowInput_;
  std::function<void()> redrawExposedWindow_;
  std::string caption_;
  GtkState state_ = GtkState::NotStarted;
  CancellingDialogs fallback_;
};
