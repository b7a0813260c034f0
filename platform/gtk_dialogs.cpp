#include "platform/gtk_dialogs.h"

#include <gtk/gtk.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/dialog_rules.h"
#include "runtime/debug_output.h"

// Sections: the life of one dialog; file chooser set-up; the dialogs.

namespace {

// ---- The life of one dialog ------------------------------------------------

constexpr guint kRedrawIntervalMs = 50;

// Owns a dialog from creation to its end: drops the window's queued input before
// and after, keeps the game window drawn meanwhile (the questions the dialog asks
// of its own included), and after destroying the dialog lets GTK finish so that
// it really disappears from the screen.
class ModalDialog {
 public:
  ModalDialog(GtkWidget* dialog, const std::string& title, const std::function<void()>& dropWindowInput,
              const std::function<void()>& redrawExposedWindow)
      : dialog_(dialog), dropWindowInput_(dropWindowInput), redrawExposedWindow_(redrawExposedWindow) {
    dropWindowInput_();
    redrawTimer_ = g_timeout_add(kRedrawIntervalMs, &ModalDialog::RedrawExposedWindow, this);
    GtkWindow* window = GTK_WINDOW(dialog_);
    gtk_window_set_title(window, title.c_str());
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    gtk_window_set_keep_above(window, TRUE);
    gtk_window_set_modal(window, TRUE);
  }
  ~ModalDialog() {
    g_source_remove(redrawTimer_);
    gtk_widget_destroy(dialog_);
    while (gtk_events_pending()) gtk_main_iteration();
    dropWindowInput_();
  }
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  GtkDialog* dialog() const { return GTK_DIALOG(dialog_); }
  int Run() {
    gtk_window_present(GTK_WINDOW(dialog_));
    return gtk_dialog_run(dialog());
  }
  // Only the dialog's own buttons close it: no close box, and Escape does nothing.
  void OnlyButtonsClose() {
    gtk_window_set_deletable(GTK_WINDOW(dialog_), FALSE);
    g_signal_connect(dialog_, "delete-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer) -> gboolean { return TRUE; }), nullptr);
  }

 private:
  static gboolean RedrawExposedWindow(gpointer self) {
    static_cast<ModalDialog*>(self)->redrawExposedWindow_();
    return G_SOURCE_CONTINUE;
  }

  GtkWidget* dialog_;
  const std::function<void()>& dropWindowInput_;
  const std::function<void()>& redrawExposedWindow_;
  guint redrawTimer_ = 0;
};

// GTK shows only valid UTF-8; anything else is repaired for display.
std::string Displayable(const std::string& text) {
  if (g_utf8_validate(text.data(), gssize(text.size()), nullptr)) return text;
  gchar* valid = g_utf8_make_valid(text.data(), gssize(text.size()));
  std::string result(valid);
  g_free(valid);
  return result;
}

GtkWidget* NewMessageDialog(GtkMessageType type, GtkButtonsType buttons, const std::string& text) {
  return gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, buttons, "%s", Displayable(text).c_str());
}

bool IsRegularFile(const std::string& path) {
  std::error_code failed;
  return std::filesystem::is_regular_file(path, failed);
}

bool Exists(const std::string& path) {
  std::error_code failed;
  return std::filesystem::exists(path, failed);
}

// ---- File chooser set-up ---------------------------------------------------

// The program's own words in its dialogs are Polish whatever the locale, like the
// rest of its interface; GTK's own labels inside the chooser follow the locale.
constexpr const char* kCancelLabel = "_Anuluj";

struct ChooserFilters {
  std::vector<FileFilter> entries;
  std::vector<GtkFileFilter*> widgets;  // owned by the chooser, same order as entries

  // The filter entry the user has selected (the first when none is).
  const FileFilter* Selected(GtkFileChooser* chooser) const {
    GtkFileFilter* current = gtk_file_chooser_get_filter(chooser);
    for (size_t i = 0; i < widgets.size(); ++i)
      if (widgets[i] == current) return &entries[i];
    return entries.empty() ? nullptr : &entries.front();
  }
};

ChooserFilters AddFilters(GtkFileChooser* chooser, const std::string& filter) {
  ChooserFilters filters{SplitFilter(filter), {}};
  for (const FileFilter& entry : filters.entries) {
    GtkFileFilter* widget = gtk_file_filter_new();
    gtk_file_filter_set_name(widget, Displayable(entry.description).c_str());
    for (const std::string& pattern : entry.patterns)
      gtk_file_filter_add_pattern(widget, CaseInsensitivePattern(pattern).c_str());
    gtk_file_chooser_add_filter(chooser, widget);
    filters.widgets.push_back(widget);
  }
  return filters;
}

// Opens the chooser in the folder of `name` (the current directory for a bare
// name) and puts the name in: as the typed name when saving, as the selected
// file when opening and the file exists.
void StartAtName(GtkFileChooser* chooser, const std::string& name, bool save) {
  std::error_code failed;
  std::filesystem::path full = std::filesystem::absolute(name.empty() ? "." : name, failed);
  if (failed) return;
  std::filesystem::path folder = name.empty() ? full : full.parent_path();
  if (std::filesystem::is_directory(folder, failed)) gtk_file_chooser_set_current_folder(chooser, folder.c_str());
  if (name.empty()) return;
  if (save)
    gtk_file_chooser_set_current_name(chooser, Displayable(full.filename().string()).c_str());
  else if (IsRegularFile(full.string()))
    gtk_file_chooser_select_filename(chooser, full.c_str());
}

std::string ChosenPath(GtkFileChooser* chooser) {
  gchar* chosen = gtk_file_chooser_get_filename(chooser);
  std::string path = chosen ? chosen : "";
  g_free(chosen);
  return path;
}

bool ConfirmOverwrite(GtkWindow* chooser, const std::string& path) {
  GtkWidget* dialog = gtk_message_dialog_new(chooser, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE,
                                             "Plik o nazwie „%s” już istnieje. Czy zastąpić go?",
                                             Displayable(std::filesystem::path(path).filename().string()).c_str());
  gtk_dialog_add_buttons(GTK_DIALOG(dialog), kCancelLabel, GTK_RESPONSE_CANCEL, "_Zastąp", GTK_RESPONSE_ACCEPT,
                         nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
  int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  return response == GTK_RESPONSE_ACCEPT;
}

void ReportMissingFile(GtkWindow* chooser, const std::string& path) {
  GtkWidget* dialog = gtk_message_dialog_new(chooser, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK,
                                             "Plik „%s” nie istnieje.", Displayable(path).c_str());
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
}

// ---- The error dialog ------------------------------------------------------

enum ErrorResponse { kCopy = 1, kClear = 2, kAbort = 3, kIgnore = 4 };

GtkTextBuffer* AddErrorText(GtkDialog* dialog, const std::string& text) {
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
  gtk_text_view_set_left_margin(GTK_TEXT_VIEW(view), 6);
  gtk_text_view_set_right_margin(GTK_TEXT_VIEW(view), 6);
  gtk_text_view_set_top_margin(GTK_TEXT_VIEW(view), 6);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  gtk_text_buffer_set_text(buffer, Displayable(text).c_str(), -1);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_widget_set_size_request(scrolled, 560, 320);
  gtk_container_add(GTK_CONTAINER(scrolled), view);
  GtkWidget* content = gtk_dialog_get_content_area(dialog);
  gtk_box_pack_start(GTK_BOX(content), scrolled, TRUE, TRUE, 0);
  gtk_widget_show_all(content);
  return buffer;
}

}  // namespace

// ---- The dialogs -------------------------------------------------------------

GtkDialogHost::GtkDialogHost(std::string displayBackend, std::function<void()> dropWindowInput,
                             std::function<void()> redrawExposedWindow)
    : displayBackend_(std::move(displayBackend)),
      dropWindowInput_(std::move(dropWindowInput)),
      redrawExposedWindow_(std::move(redrawExposedWindow)) {}

bool GtkDialogHost::StartGtk() {
  if (state_ != GtkState::NotStarted) return state_ == GtkState::Ready;
  if (displayBackend_ == "x11" || displayBackend_ == "wayland") setenv("GDK_BACKEND", displayBackend_.c_str(), 1);
  gtk_disable_setlocale();  // the process keeps the locale the runtime chose
  state_ = gtk_init_check(nullptr, nullptr) ? GtkState::Ready : GtkState::Unavailable;
  if (state_ == GtkState::Unavailable) DebugOutput("Dialogs: GTK cannot open the display\n");
  return state_ == GtkState::Ready;
}

void GtkDialogHost::ShowMessage(const std::string& text) {
  if (!StartGtk()) return fallback_.ShowMessage(text);
  ModalDialog dialog(NewMessageDialog(GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, text), caption_, dropWindowInput_,
                     redrawExposedWindow_);
  dialog.Run();
}

bool GtkDialogHost::ShowQuestion(const std::string& text) {
  if (!StartGtk()) return fallback_.ShowQuestion(text);
  ModalDialog dialog(NewMessageDialog(GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO, text), caption_, dropWindowInput_,
                     redrawExposedWindow_);
  dialog.OnlyButtonsClose();
  while (true) {
    int response = dialog.Run();
    if (response == GTK_RESPONSE_YES || response == GTK_RESPONSE_NO) return response == GTK_RESPONSE_YES;
  }
}

bool GtkDialogHost::GetString(const std::string& prompt, const std::string& initial, std::string& answer) {
  answer.clear();
  if (!StartGtk()) return fallback_.GetString(prompt, initial, answer);
  ModalDialog dialog(NewMessageDialog(GTK_MESSAGE_OTHER, GTK_BUTTONS_OK_CANCEL, prompt), caption_, dropWindowInput_,
                     redrawExposedWindow_);
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_max_length(GTK_ENTRY(entry), gint(kMaxInputCharacters));
  gtk_entry_set_width_chars(GTK_ENTRY(entry), 40);
  gtk_entry_set_text(GTK_ENTRY(entry), Displayable(LimitInputText(initial)).c_str());
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  gtk_dialog_set_default_response(dialog.dialog(), GTK_RESPONSE_OK);
  GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog.dialog()));
  gtk_box_pack_start(GTK_BOX(area), entry, FALSE, FALSE, 0);
  gtk_widget_show(entry);
  gtk_widget_grab_focus(entry);
  if (dialog.Run() != GTK_RESPONSE_OK) return false;
  answer = LimitInputText(gtk_entry_get_text(GTK_ENTRY(entry)));
  return true;
}

std::string GtkDialogHost::GetOpenFilename(const std::string& filter, const std::string& name) {
  if (!StartGtk()) return fallback_.GetOpenFilename(filter, name);
  ModalDialog dialog(gtk_file_chooser_dialog_new(nullptr, nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, kCancelLabel,
                                                 GTK_RESPONSE_CANCEL, "_Otwórz", GTK_RESPONSE_ACCEPT, nullptr),
                     caption_, dropWindowInput_, redrawExposedWindow_);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.dialog());
  AddFilters(chooser, filter);
  StartAtName(chooser, name, false);
  while (dialog.Run() == GTK_RESPONSE_ACCEPT) {
    std::string path = ChosenPath(chooser);
    if (IsRegularFile(path)) return path;
    ReportMissingFile(GTK_WINDOW(chooser), path);
  }
  return "";
}

std::string GtkDialogHost::GetSaveFilename(const std::string& filter, const std::string& name) {
  if (!StartGtk()) return fallback_.GetSaveFilename(filter, name);
  ModalDialog dialog(gtk_file_chooser_dialog_new(nullptr, nullptr, GTK_FILE_CHOOSER_ACTION_SAVE, kCancelLabel,
                                                 GTK_RESPONSE_CANCEL, "_Zapisz", GTK_RESPONSE_ACCEPT, nullptr),
                     caption_, dropWindowInput_, redrawExposedWindow_);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog.dialog());
  // Overwriting is confirmed here, once the default extension is on the name.
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
  ChooserFilters filters = AddFilters(chooser, filter);
  StartAtName(chooser, name, true);
  while (dialog.Run() == GTK_RESPONSE_ACCEPT) {
    std::string path = ChosenPath(chooser);
    if (path.empty()) continue;
    const FileFilter* selected = filters.Selected(chooser);
    if (selected) path = WithDefaultExtension(path, DefaultExtension(*selected));
    if (!Exists(path) || ConfirmOverwrite(GTK_WINDOW(chooser), path)) return path;
  }
  return "";
}

int GtkDialogHost::ShowErrorDialog(const std::string& text, bool allowIgnore) {
  if (!StartGtk()) return fallback_.ShowErrorDialog(text, allowIgnore);
  ModalDialog dialog(gtk_dialog_new(), "Code Error", dropWindowInput_, redrawExposedWindow_);
  dialog.OnlyButtonsClose();
  GtkTextBuffer* buffer = AddErrorText(dialog.dialog(), text);
  gtk_dialog_add_buttons(dialog.dialog(), "Copy", kCopy, "Clear", kClear, "Abort", kAbort, nullptr);
  if (allowIgnore) gtk_dialog_add_button(dialog.dialog(), "Ignore", kIgnore);
  std::string shown = text;
  while (true) {
    switch (dialog.Run()) {
      case kCopy: {
        GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
        gtk_clipboard_set_text(clipboard, Displayable(shown).c_str(), -1);
        gtk_clipboard_store(clipboard);  // hand it to a clipboard manager, if any, to outlive the process
        break;
      }
      case kClear:
        shown.clear();
        gtk_text_buffer_set_text(buffer, "", 0);
        break;
      case kAbort: return 1;
      case kIgnore: return 0;
      default: break;
    }
  }
}
