#include <stdlib.h>

#include <deque>
#include <filesystem>

#include "builtins/dialogs.h"
#include "engine/platform.h"
#include "runtime/debug_output.h"
#include "storage/sandbox.h"
#include "support/builtin_fixture.h"

namespace {
// Answers dialogs from a queue and remembers what they asked.
class ScriptedDialogs : public DialogHost {
 public:
  std::deque<std::string> answers;  // "" cancels
  std::vector<std::string> asked;

  void ShowMessage(const std::string& text) override { asked.push_back("message:" + text); }
  bool ShowQuestion(const std::string& text) override {
    asked.push_back("question:" + text);
    return Next() == "yes";
  }
  bool GetString(const std::string& prompt, const std::string& initial, std::string& answer) override {
    asked.push_back("string:" + prompt + "|" + initial);
    answer = Next();
    return answer != "<cancel>";
  }
  std::string GetOpenFilename(const std::string& filter, const std::string& name) override {
    asked.push_back("open:" + filter + "|" + name);
    return Next();
  }
  std::string GetSaveFilename(const std::string& filter, const std::string& name) override {
    asked.push_back("save:" + filter + "|" + name);
    return Next();
  }
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

class DialogBuiltinsTest : public BuiltinTest {
 protected:
  void SetUp() override {
    BuiltinTest::SetUp();
    SetDialogHost(&dialogs_);
    SetAfterDialogHook([] { ++g_inputClears; });
    g_inputClears = 0;
    char pattern[] = "/tmp/kalvora-dialog-test-XXXXXX";  // one folder per test: ctest runs them side by side
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ / "save");
    std::filesystem::create_directories(root_ / "program");
    std::filesystem::create_directories(root_ / "elsewhere");
    ConfigureSandbox({(root_ / "save").string() + "/", (root_ / "program").string() + "/", true});
    SetDebugOutputCapture(&log_);
  }
  void TearDown() override {
    SetDebugOutputCapture(nullptr);
    SetDialogHost(nullptr);
    SetAfterDialogHook(nullptr);
    std::filesystem::remove_all(root_);
    BuiltinTest::TearDown();
  }

  ScriptedDialogs dialogs_;
  std::string log_;
  std::filesystem::path root_;
};

TEST_F(DialogBuiltinsTest, EachDialogLogsOneLineAndClearsInput) {
  dialogs_.answers = {"yes", "no", "12.05.2024", "<cancel>"};
  Call("show_message", Str("Plik zapisany\tdo \"A\"\n"));
  EXPECT_EQ(Call("show_question", Str("Usunąć Jan")).real, 1);
  EXPECT_EQ(Call("show_question", Str("Usunąć Ewa")).real, 0);
  EXPECT_EQ(Text(Call("get_string", Str("Badania : "), Str("06.12.2026"))), "12.05.2024");
  EXPECT_EQ(Text(Call("get_string", Str(""), 45424.5)), "");  // Cancel gives "", not the default
  EXPECT_EQ(g_inputClears, 5);
  EXPECT_EQ(log_,
            "dialog show_message \"Plik zapisany\\tdo \\\"A\\\"\\n\"\n"
            "dialog show_question \"Usunąć Jan\" -> yes\n"
            "dialog show_question \"Usunąć Ewa\" -> no\n"
            "dialog get_string \"Badania : \" \"06.12.2026\" -> \"12.05.2024\"\n"
            "dialog get_string \"\" \"45424.50\" -> cancel\n");
  EXPECT_EQ(dialogs_.asked[4], "string:|45424.50");
}

TEST_F(DialogBuiltinsTest, ChosenFilesJoinTheAllowedLists) {
  std::string backup = (root_ / "elsewhere" / "Kopia_Bazy.vtab").string();
  std::string exported = (root_ / "elsewhere" / "Tabela.csv").string();
  dialogs_.answers = {backup, exported, ""};
  {
    std::FILE* file = std::fopen(backup.c_str(), "wb");
    std::fputs("[L1]\r\n", file);
    std::fclose(file);
  }
  EXPECT_EQ(Call("file_exists", Str(backup.c_str())).real, 0);  // outside the sandbox until chosen
  EXPECT_EQ(Text(Call("get_open_filename", Str("*.vtab|*.vtab"), Str("Kopia_Bazy"))), backup);
  EXPECT_EQ(Call("file_exists", Str(backup.c_str())).real, 1);
  EXPECT_EQ(Call("file_copy", Str(backup.c_str()), Str("save.ini")).real, 0);
  EXPECT_TRUE(std::filesystem::exists(root_ / "save" / "save.ini"));

  EXPECT_EQ(Text(Call("get_save_filename", Str("*.csv|*.csv"), Str("Tabela Terminów"))), exported);
  EXPECT_EQ(Call("file_copy", Str("save.ini"), Str(exported.c_str())).real, 0);
  EXPECT_TRUE(std::filesystem::exists(exported));
  EXPECT_EQ(Text(Call("get_save_filename", Str("*.csv|*.csv"), Str("Tabela Terminów"))), "");
  EXPECT_NE(log_.find("dialog get_open_filename \"*.vtab|*.vtab\" \"Kopia_Bazy\" -> \"" + backup + "\"\n"),
            std::string::npos);
  EXPECT_NE(log_.find("dialog get_save_filename \"*.csv|*.csv\" \"Tabela Terminów\" -> cancel\n"), std::string::npos);
}

TEST_F(DialogBuiltinsTest, WithoutAHostEveryDialogIsCancelled) {
  SetDialogHost(nullptr);
  EXPECT_EQ(Call("show_question", Str("?")).real, 0);
  EXPECT_EQ(Text(Call("get_string", Str("a"), Str("b"))), "");
  EXPECT_EQ(Text(Call("get_open_filename", Str(""), Str(""))), "");
  EXPECT_NE(log_.find("dialog show_question \"?\" -> no\n"), std::string::npos);
}
}  // namespace
