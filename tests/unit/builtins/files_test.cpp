// The file built-ins: existence, deletion, copies and text files.
#include <sys/stat.h>

#include "storage/file_test_fixture.h"

namespace {
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

TEST_F(FilesTest, ExistsFindsTheSaveAreaAndTheProgramCopies) {
  EXPECT_FALSE(FileExists("save.ini"));
  WriteFile(InProgram("save.ini"), "beside the program");
  EXPECT_TRUE(FileExists("save.ini"));
  fs::remove(InProgram("save.ini"));
  WriteFile(InSave("save.ini"), "in the save area");
  EXPECT_TRUE(FileExists("save.ini"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists("/etc/passwd"));
}

TEST_F(FilesTest, DeleteRemovesOnlyTheSaveAreaCopy) {
  WriteFile(InProgram("save.ini"), "shipped");
  WriteFile(InSave("save.ini"), "mine");
  EXPECT_EQ(CallReal("file_delete", {Str("save.ini")}), 1.0);
  EXPECT_FALSE(Exists(InSave("save.ini")));
  EXPECT_TRUE(FileExists("save.ini"));
  EXPECT_EQ(CallReal("file_delete", {Str("save.ini")}), 0.0);
  EXPECT_EQ(ReadFile(InProgram("save.ini")), "shipped");
  EXPECT_EQ(CallReal("file_delete", {Str(InProgram("save.ini"))}), 0.0);  // redirected to the save area
  EXPECT_TRUE(Exists(InProgram("save.ini")));
}

TEST_F(FilesTest, CopyRestoresFromAnOpenedFileAndBacksUpToASavedOne) {
  const std::string backup = root_ + "/Documents/Kopia_Bazy.vtab";
  WriteFile(backup, "[L1]\r\n1=\"backup\"\r\n");
  EXPECT_EQ(Copy(backup, "save.ini"), -1.0);  // not chosen in a dialog
  EXPECT_NE(log_.find("Unable to open source file"), std::string::npos);
  AllowPathForReading(backup);
  EXPECT_EQ(Copy(backup, "save.ini"), 0.0);
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[L1]\r\n1=\"backup\"\r\n");

  const std::string target = root_ + "/Documents/new/Kopia.vtab";
  EXPECT_EQ(Copy("save.ini", target), -1.0);
  EXPECT_FALSE(Exists(target));
  EXPECT_NE(log_.find("Unable to open destination file " + target + "\n"), std::string::npos);
  AllowPathForWriting(target);
  EXPECT_EQ(Copy("save.ini", target), 0.0);
  EXPECT_EQ(ReadFile(target), "[L1]\r\n1=\"backup\"\r\n");
  EXPECT_TRUE(FileExists(target));        // the backup flow checks its result this way
  EXPECT_EQ(Copy("save.ini", ""), -1.0);  // a cancelled dialog
  EXPECT_TRUE(failedWrites().empty());
}

TEST_F(FilesTest, CopyTakesTheProgramCopyWhenTheSaveAreaHasNone) {
  WriteFile(InProgram("save.ini"), "shipped");
  EXPECT_EQ(Copy("save.ini", "copy/of/save.ini"), 0.0);
  EXPECT_EQ(ReadFile(InSave("copy/of/save.ini")), "shipped");
  EXPECT_EQ(Copy("missing.ini", "x.ini"), -1.0);
  EXPECT_NE(log_.find("Unable to open source file " + InSave("missing.ini") + "\n"), std::string::npos);
  EXPECT_FALSE(Exists(InSave("x.ini")));
  // A copy onto itself keeps the content.
  EXPECT_EQ(Copy("copy/of/save.ini", "copy/of/save.ini"), 0.0);
  EXPECT_EQ(ReadFile(InSave("copy/of/save.ini")), "shipped");
}

TEST_F(FilesTest, CopyOutsideTheSandboxWorksOnlyWithTheSandboxOff) {
  WriteFile(InSave("save.ini"), "data");
  const std::string outside = root_ + "/outside.vtab";
  EXPECT_EQ(Copy("save.ini", outside), -1.0);
  ConfigureSandbox({saveArea_, programDirectory_, false});
  EXPECT_EQ(Copy("save.ini", outside), 0.0);
  EXPECT_EQ(ReadFile(outside), "data");
}

TEST_F(FilesTest, UnreadableSourceOfACopyIsReported) {
  // A restore from a backup the user may not read: save.ini stays, and the user
  // learns why nothing was restored. A missing source stays silent.
  const std::string backup = root_ + "/Documents/Kopia_Bazy.vtab";
  WriteFile(backup, "[L1]\r\n1=\"backup\"\r\n");
  WriteFile(InSave("save.ini"), "current");
  ::chmod(backup.c_str(), 0);
  AllowPathForReading(backup);
  ExpectUnprivileged([&]() -> std::string {
    if (Copy(backup, "save.ini") != -1.0) return "the copy of an unreadable file succeeded";
    if (failedReads() != std::vector<std::string>{backup}) return "the unreadable source was not reported";
    if (Copy("missing.ini", "x.ini") != -1.0 || failedReads().size() != 1) return "a missing source was reported";
    return "";
  });
  EXPECT_EQ(ReadFile(InSave("save.ini")), "current");
}

TEST_F(FilesTest, TextFileWritesWindowsLineEnds) {
  int slot = OpenText("export/Tabela.csv");
  ASSERT_EQ(slot, 1);
  WriteText(slot, "a\tb\n");
  WriteText(slot, "c\r\nd\n\n");
  WriteText(slot, "");
  WriteText(slot, "e\r");
  WriteText(slot, "\nf");  // the CR of the previous write already precedes it
  WriteText(slot, "Zażółć");
  EXPECT_FALSE(Exists(InSave("export/Tabela.csv")));  // nothing replaces the target before closing
  EXPECT_EQ(CloseText(slot), 1.0);
  EXPECT_EQ(ReadFile(InSave("export/Tabela.csv")), "a\tb\r\nc\r\nd\r\n\r\ne\r\nfZażółć");
  EXPECT_EQ(TemporaryFiles(InSave("export")), std::vector<std::string>());
}

TEST_F(FilesTest, TextFileWritesAStringWithAZeroByteWhole) {
  int slot = OpenText("Tabela.csv");
  WriteText(slot, std::string("a\0b\nrest of the table\n", 22));
  EXPECT_EQ(CloseText(slot), 1.0);
  EXPECT_EQ(ReadFile(InSave("Tabela.csv")), std::string("a\0b\r\nrest of the table\r\n", 24));
}

TEST_F(FilesTest, TextFileSlotsRunOutAtThirtyOne) {
  std::vector<int> slots;
  for (int i = 0; i < 31; ++i) slots.push_back(OpenText("f" + std::to_string(i) + ".txt"));
  for (int i = 0; i < 31; ++i) EXPECT_EQ(slots[size_t(i)], i + 1);
  EXPECT_EQ(OpenText("one-too-many.txt"), -1);
  EXPECT_EQ(CloseText(7), 1.0);
  EXPECT_EQ(OpenText("reuses-seven.txt"), 7);
  for (int i = 1; i <= 31; ++i) EXPECT_EQ(CloseText(i), 1.0);
  EXPECT_FALSE(Exists(InSave("one-too-many.txt")));
  EXPECT_EQ(ReadFile(InSave("reuses-seven.txt")), "");
}

TEST_F(FilesTest, TextFileMisuseFollowsTheRules) {
  EXPECT_EQ(OpenText(""), -1);  // a cancelled save dialog
  EXPECT_NE(log_.find("ERROR!!! :: Failed to open file: \n"), std::string::npos);
  EXPECT_EQ(OpenText("../escape.txt"), -1);
  EXPECT_EQ(CallError("file_text_write_string", {TempValue(-1), Str("x")}), "File not opened for writing.");
  EXPECT_EQ(CallError("file_text_write_string", {TempValue(3), Str("x")}), "File not opened for writing.");
  EXPECT_EQ(CallError("file_text_close", {TempValue(-1)}), "Trying to close text file that has not been opened.");
  EXPECT_EQ(CallError("file_text_close", {TempValue(32)}), "Trying to close text file that has not been opened.");
  EXPECT_EQ(CloseText(3), 0.0);
  EXPECT_TRUE(failedWrites().empty());
}

TEST_F(FilesTest, TextFileThatCannotBeWrittenIsReportedAndLeavesTheOldFile) {
  WriteFile(InSave("Tabela.csv"), "old export");
  int slot = OpenText("Tabela.csv");
  ASSERT_EQ(slot, 1);
  WriteText(slot, "new export\n");
  EXPECT_EQ(CloseText(slot), 1.0);

  SetWriteFaultForTesting(1, 3);
  slot = OpenText("Tabela.csv");
  WriteText(slot, "partial\n");
  WriteText(slot, "more\n");
  EXPECT_EQ(CloseText(slot), 0.0);
  EXPECT_EQ(ReadFile(InSave("Tabela.csv")), "new export\r\n");
  EXPECT_EQ(failedWrites(), std::vector<std::string>{InSave("Tabela.csv")});
  EXPECT_EQ(TemporaryFiles(saveArea_), std::vector<std::string>());

  // A folder that cannot hold the file: the open fails and is reported.
  WriteFile(InSave("blocker"), "a file where a folder should be");
  EXPECT_EQ(OpenText("blocker/x.csv"), -1);
  EXPECT_EQ(failedWrites().size(), 2u);
}
}  // namespace
