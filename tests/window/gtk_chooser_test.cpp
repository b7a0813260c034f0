// The GTK save chooser on a real X server (tests/window/with-xvfb): the file
// type the user picks decides the extension added to a typed name.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/gtk_dialogs.h"

namespace {

struct Choice {
  int filter;        // index in the chooser's list of file types
  const char* name;  // typed without an extension
};

// Once the save chooser is ready: picks the file type, types the name, saves.
gboolean ChooseWhenShown(gpointer data) {
  const Choice& choice = *static_cast<const Choice*>(data);
  GList* windows = gtk_window_list_toplevels();
  GtkFileChooser* chooser = nullptr;
  for (GList* window = windows; window; window = window->next)
    if (GTK_IS_FILE_CHOOSER(window->data) && gtk_widget_get_visible(GTK_WIDGET(window->data)))
      chooser = GTK_FILE_CHOOSER(window->data);
  g_list_free(windows);
  if (!chooser) return G_SOURCE_CONTINUE;
  GSList* filters = gtk_file_chooser_list_filters(chooser);
  gtk_file_chooser_set_filter(chooser, GTK_FILE_FILTER(g_slist_nth_data(filters, guint(choice.filter))));
  g_slist_free(filters);
  gtk_file_chooser_set_current_name(chooser, choice.name);
  // The chooser names a file only once it has loaded its folder.
  gchar* file = gtk_file_chooser_get_filename(chooser);
  if (!file) return G_SOURCE_CONTINUE;
  g_free(file);
  gtk_dialog_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
  return G_SOURCE_REMOVE;
}

std::string SaveChosen(GtkDialogHost& dialogs, const Choice& choice) {
  g_timeout_add(50, ChooseWhenShown, const_cast<Choice*>(&choice));
  return std::filesystem::path(dialogs.GetSaveFilename("Tabela|*.csv|Kopia bazy|*.vtab", "Tabela")).filename();
}

TEST(GtkChooser, TheChosenFileTypeDecidesTheExtensionAdded) {
  ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under tests/window/with-xvfb";
  setenv("GSETTINGS_BACKEND", "memory", 1);
  char folder[] = "/tmp/kalvora-chooser-XXXXXX";
  ASSERT_NE(::mkdtemp(folder), nullptr);
  std::filesystem::current_path(folder);  // the chooser starts in the current directory
  GtkDialogHost dialogs("x11", [] {}, [] {});
  EXPECT_EQ(SaveChosen(dialogs, {1, "kopia"}), "kopia.vtab");
  EXPECT_EQ(SaveChosen(dialogs, {0, "tabela"}), "tabela.csv");
  std::filesystem::remove_all(folder);
}
}  // namespace
