#include "platform/gtk_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/debug_output.h"

namespace {

TEST(GtkDialogs, WithoutAReachableDisplayEveryDialogIsAnsweredAsCancelled) {
  setenv("DISPLAY", ":31999", 1);  // no server there
  unsetenv("WAYLAND_DISPLAY");
  int drops = 0;
  GtkDialogHost dialogs(
      "x11", [&] { ++drops; }, [&] { ++drops; });
  dialogs.SetCaption("Kalvora");
  std::string log;
  SetDebugOutputCapture(&log);
  dialogs.ShowMessage("Zapisano");
  EXPECT_FALSE(dialogs.ShowQuestion("Usunąć?"));
  std::string answer = "x";
  EXPECT_FALSE(dialogs.GetString("Data:", "12.05.2024", answer));
  EXPECT_EQ(answer, "");
  EXPECT_EQ(dialogs.GetOpenFilename("*.vtab|*.vtab", "Kopia_Bazy"), "");
  EXPECT_EQ(dialogs.GetSaveFilename("*.csv|*.csv", "Tabela"), "");
  EXPECT_EQ(dialogs.ShowErrorDialog("boom", true), 1);
  SetDebugOutputCapture(nullptr);
  EXPECT_EQ(log,
            "Dialogs: GTK cannot open the display\n"
            "No display: the show_message dialog is answered ok\n"
            "No display: the show_question dialog is answered no\n"
            "No display: the get_string dialog is answered cancel\n"
            "No display: the get_open_filename dialog is answered cancel\n"
            "No display: the get_save_filename dialog is answered cancel\n"
            "No display: the Code Error dialog is answered Abort\n");
  EXPECT_EQ(drops, 0);  // no dialog was shown, so no window input was dropped nor the window redrawn
  EXPECT_STREQ(std::getenv("GDK_BACKEND"), "x11");  // GTK was asked for the window's backend
}

}  // namespace
