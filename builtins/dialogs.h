// builtins/dialogs.h — the dialog built-ins: show_message, show_question,
// get_string, get_open_filename and get_save_filename.
//
// Each asks the platform's dialog host, writes one line naming the dialog and
// its answer to the debug output (in every mode, so that a session can be
// checked from its log), and then clears all input state, so the click or key
// that led to the dialog produces nothing more. A path chosen in a file dialog
// joins the sandbox's allowed lists. Without a host every dialog is cancelled.
#pragma once

#include <string>

class DialogHost;

void SetDialogHost(DialogHost* host);
// A message box as show_message opens it (logged, input cleared afterwards), for
// messages of the runtime itself.
void ShowMessageDialog(const std::string& text);
// Called after every dialog (the engine clears its input state there).
void SetAfterDialogHook(void (*hook)());
