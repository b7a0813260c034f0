#include <deque>

#include "builtins/dialogs.h"
#include "engine/platform.h"
#include "storage/file_test_fixture.h"

namespace {
// Answers dialogs from a queue ("<cancel>" cancels a string prompt) and
// remembers what the string prompts offered.
class ScriptedDialogs : public DialogHost {
 public:
  std::deque<std::string> answers;
  std::vector<std::string> offered;

  void ShowMessage(const std::string&) override {}
  bool ShowQuestion(const std::string&) override { return Next() == "yes"; }
  bool GetString(const std::string&, const std::string& initial, std::string& answer) override {
    offered.push_back(initial);
    answer = Next();
    return answer != "<cancel>";
  }
  std::string GetOpenFilename(const std::string&, const std::string&) override { return Next(); }
  std::string GetSaveFilename(const std::string&, const std::string&) override { return Next(); }
  int ShowErrorDialog(const std::string&, bool) override { return 1; }
  void SetCaption(const std::string&) override {}

 private:
  std::string Next() {
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

int g_inputClears = 0;

class DialogBuiltinsTest : public FileTest {
 protected:
  void SetUp() override {
    FileTest::SetUp();
    SetDialogHost(&dialogs_);
    SetAfterDialogHook([] { ++g_inputClears; });
    g_inputClears = 0;
    log_.clear();
  }
  void TearDown() override {
    SetDialogHost(nullptr);
    SetAfterDialogHook(nullptr);
    FileTest::TearDown();
  }
  ScriptedDialogs dialogs_;
};

TEST_F(DialogBuiltinsTest, EachDialogClearsInputAndACancelledPromptGivesAnEmptyText) {
  dialogs_.answers = {"yes", "no", "12.05.2024", "<cancel>"};
  Call("show_message", Str("Plik zapisany"));
  EXPECT_EQ(Call("show_question", Str("Usunąć Jan")).real, 1);
  EXPECT_EQ(Call("show_question", Str("Usunąć Ewa")).real, 0);
  EXPECT_EQ(Text(Call("get_string", Str("Badania : "), Str("06.12.2026"))), "12.05.2024");
  EXPECT_EQ(Text(Call("get_string", Str(""), 45424.5)), "");  // Cancel gives "", not the default
  EXPECT_EQ(dialogs_.offered, (std::vector<std::string>{"06.12.2026", "45424.50"}));
  EXPECT_EQ(g_inputClears, 5);
}

TEST_F(DialogBuiltinsTest, ChosenFilesJoinTheAllowedListsAndWithoutAHostEveryDialogIsCancelled) {
  const std::string backup = root_ + "/elsewhere/Kopia_Bazy.vtab", exported = root_ + "/elsewhere/Tabela.csv";
  WriteFile(backup, "[L1]\r\n");
  dialogs_.answers = {backup, exported};
  EXPECT_EQ(Call("file_exists", Str(backup)).real, 0);  // outside the sandbox until chosen
  EXPECT_EQ(Text(Call("get_open_filename", Str("*.vtab|*.vtab"), Str("Kopia_Bazy"))), backup);
  EXPECT_EQ(Call("file_copy", Str(backup), Str("save.ini")).real, 0);
  EXPECT_EQ(Text(Call("get_save_filename", Str("*.csv|*.csv"), Str("Tabela Terminów"))), exported);
  EXPECT_EQ(Call("file_copy", Str("save.ini"), Str(exported)).real, 0);
  EXPECT_EQ(ReadFile(exported), "[L1]\r\n");

  SetDialogHost(nullptr);
  EXPECT_EQ(Call("show_question", Str("?")).real, 0);
  std::string answers = Text(Call("get_string", Str("a"), Str("b"))) +
                        Text(Call("get_open_filename", Str(""), Str(""))) +
                        Text(Call("get_save_filename", Str("*.csv|*.csv"), Str("Tabela Terminów")));
  EXPECT_EQ(answers, "");
  EXPECT_NE(log_.find("dialog show_question \"?\" -> no\n"), std::string::npos);
  EXPECT_NE(log_.find("dialog get_save_filename \"*.csv|*.csv\" \"Tabela Terminów\" -> cancel\n"), std::string::npos);
}
}  // namespace
