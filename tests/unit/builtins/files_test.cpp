// The file built-ins: existence, deletion, copies and text files.
#include <sys/stat.h>

#include "storage/file_test_fixture.h"

namespace {
using namespace std::string_literals;

class FilesTest : public FileTest {
 protected:
  bool FileExists(const std::string& name) { return CallReal("file_exists", {Str(name)}) == 1.0; }
  double Copy(const std::string& source, const std::string& destination) {
    return CallReal("file_copy", {Str(source), Str(destination)});
  }
  int OpenText(const std::string& name) { return int(CallReal("file_text_open_write", {Str(name)})); }
  void WriteText(int slot, const std::string& text) { Call("file_text_write_string", {TempValue(slot), Str(text)}); }
  double CloseText(int slot) { return CallReal("file_text_close", {TempValue(slot)}); }
};

TEST_F(FilesTest, ExistsAndDeleteSeeTheSaveAreaAndTheProgramCopies) {
  WriteFile(InProgram("save.ini"), "shipped");
  EXPECT_TRUE(FileExists("save.ini"));
  EXPECT_FALSE(FileExists("") || FileExists("/etc/passwd") || FileExists("other.ini"));
  WriteFile(InSave("save.ini"), "mine");
  std::vector<double> deletes;
  for (const std::string& name : {std::string("save.ini"), std::string("save.ini"), InProgram("save.ini")})
    deletes.push_back(CallReal("file_delete", {Str(name)}));
  EXPECT_EQ(deletes, (std::vector<double>{1, 0, 0}));  // a program path is redirected to the save area
  EXPECT_FALSE(Exists(InSave("save.ini")));
  EXPECT_EQ(ReadFile(InProgram("save.ini")), "shipped");
  fs::remove(InProgram("save.ini"));
  WriteFile(InSave("save.ini"), "mine");
  EXPECT_TRUE(FileExists("save.ini"));
}

TEST_F(FilesTest, CopyReachesOnlyChosenOrSandboxedFiles) {
  const std::string backup = root_ + "/Documents/Kopia_Bazy.vtab";
  WriteFile(backup, "backup");
  EXPECT_EQ(Copy(backup, "save.ini"), -1.0);  // not chosen in a dialog
  AllowPathForReading(backup);
  EXPECT_EQ(Copy(backup, "save.ini"), 0.0);
  EXPECT_EQ(ReadFile(InSave("save.ini")), "backup");

  const std::string target = root_ + "/Documents/new/Kopia.vtab";
  EXPECT_EQ(Copy("save.ini", target), -1.0);
  EXPECT_NE(log_.find("Unable to open destination file " + target + "\n"), std::string::npos);
  AllowPathForWriting(target);
  EXPECT_EQ(Copy("save.ini", target), 0.0);
  EXPECT_EQ(ReadFile(target), "backup");
  EXPECT_TRUE(FileExists(target));
  EXPECT_EQ(Copy("save.ini", ""), -1.0);  // a cancelled dialog
  EXPECT_EQ(Copy("save.ini", "save.ini"), 0.0);
  EXPECT_EQ(ReadFile(InSave("save.ini")), "backup");

  WriteFile(InProgram("shipped.ini"), "shipped");  // the program copy when the save area has none
  EXPECT_EQ(Copy("shipped.ini", "copy/of/shipped.ini"), 0.0);
  EXPECT_EQ(ReadFile(InSave("copy/of/shipped.ini")), "shipped");
  EXPECT_EQ(Copy("missing.ini", "x.ini"), -1.0);
  EXPECT_NE(log_.find("Unable to open source file " + InSave("missing.ini") + "\n"), std::string::npos);
  EXPECT_FALSE(Exists(InSave("x.ini")));
  ConfigureSandbox({saveArea_, programDirectory_, false});
  EXPECT_EQ(Copy("save.ini", root_ + "/outside.vtab"), 0.0);
  EXPECT_TRUE(failedWrites().empty() && failedReads().empty());
}

TEST_F(FilesTest, UnreadableSourceOfACopyIsReported) {
  const std::string backup = root_ + "/Documents/Kopia_Bazy.vtab";
  WriteFile(backup, "backup");
  WriteFile(InSave("save.ini"), "current");
  ::chmod(backup.c_str(), 0);
  AllowPathForReading(backup);
  ExpectUnprivileged([&]() -> std::string {
    if (Copy(backup, "save.ini") != -1.0) return "the copy of an unreadable file succeeded";
    if (failedReads() != std::vector<std::string>{backup}) return "the unreadable source was not reported";
    return "";
  });
  EXPECT_EQ(ReadFile(InSave("save.ini")), "current");
}

TEST_F(FilesTest, TextFilesWriteWindowsLineEndsWholeOnClose) {
  int slot = OpenText("export/Tabela.csv");
  ASSERT_EQ(slot, 1);
  for (const std::string& text :
       {std::string("a\tb\n"), std::string("c\r\nd\n\n"), std::string("e\r"), std::string("\nf"), "Zażółć\0x\n"s})
    WriteText(slot, text);
  EXPECT_FALSE(Exists(InSave("export/Tabela.csv")));  // nothing replaces the target before closing
  EXPECT_EQ(CloseText(slot), 1.0);
  EXPECT_EQ(ReadFile(InSave("export/Tabela.csv")), "a\tb\r\nc\r\nd\r\n\r\ne\r\nfZażółć\0x\r\n"s);

  std::vector<int> slots;
  for (int i = 0; i < 32; ++i) slots.push_back(OpenText("f" + std::to_string(i) + ".txt"));
  EXPECT_EQ(slots.back(), -1);
  slots.pop_back();
  EXPECT_EQ(slots[30], 31);
  EXPECT_EQ(CloseText(7), 1.0);
  EXPECT_EQ(OpenText("reuses-seven.txt"), 7);
  for (int i = 1; i <= 31; ++i) EXPECT_EQ(CloseText(i), 1.0);
  EXPECT_FALSE(Exists(InSave("f31.txt")));
  EXPECT_EQ(ReadFile(InSave("reuses-seven.txt")), "");
}

TEST_F(FilesTest, TextFileMisuseAndFailuresAreReportedAndLeaveTheOldFile) {
  EXPECT_EQ(OpenText(""), -1);  // a cancelled save dialog
  EXPECT_NE(log_.find("ERROR!!! :: Failed to open file: \n"), std::string::npos);
  EXPECT_EQ(OpenText("../escape.txt"), -1);
  EXPECT_TRUE(failedWrites().empty());

  WriteFile(InSave("Tabela.csv"), "old export");
  SetWriteFaultForTesting(1, 3);
  int slot = OpenText("Tabela.csv");
  WriteText(slot, "partial\n");
  WriteText(slot, "more\n");
  EXPECT_EQ(CloseText(slot), 0.0);
  EXPECT_EQ(ReadFile(InSave("Tabela.csv")), "old export");
  EXPECT_EQ(TemporaryFiles(saveArea_), std::vector<std::string>());
  WriteFile(InSave("blocker"), "a file where a folder should be");
  EXPECT_EQ(OpenText("blocker/x.csv"), -1);
  EXPECT_EQ(failedWrites(), (std::vector<std::string>{InSave("Tabela.csv"), InSave("blocker/x.csv")}));
}
}  // namespace
