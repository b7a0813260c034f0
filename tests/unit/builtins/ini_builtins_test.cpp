// The ini_* built-ins against real files in a temporary save area and program
// directory. What they answer without files: cases/ini.calls.
#include "builtins/ini_builtins.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "storage/file_test_fixture.h"

namespace {
class IniBuiltinsTest : public FileTest {
 protected:
  void Open(const std::string& name) { Call("ini_open", {Str(name)}); }
  void WriteString(const std::string& section, const std::string& key, const std::string& value) {
    Call("ini_write_string", {Str(section), Str(key), Str(value)});
  }
  std::string ReadString(const std::string& section, const std::string& key) {
    return CallText("ini_read_string", {Str(section), Str(key), Str("<default>")});
  }
  std::string Close() { return CallText("ini_close", {}); }
};

// What the open INI answers: cases/ini.calls.
TEST_F(IniBuiltinsTest, FlushWritesTheOpenFileOnlyWhenToldNow) {
  WriteFile(InSave("save.ini"), "[S]\r\nhand=\r\nnext=1\r\n[B]\r\nk=3\r\n");
  Open("save.ini");
  WriteString("S", "empty", "");
  Call("ini_key_delete", {Str("S"), Str("next")});
  Call("ini_section_delete", {Str("B")});
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "NOW");
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[S]\r\nempty=\"\"\r\n");
  int64_t before = WriteAttemptCount();
  WriteString("SYSTEM_COMMAND", "OTHER", "NOW");
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "LATER");
  EXPECT_EQ(WriteAttemptCount(), before);
  Close();

  before = WriteAttemptCount();
  Call("ini_open_from_string", {Str("[A]\nk = 5\n")});  // never written
  WriteString("A", "j", "x");
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "NOW");
  Close();
  EXPECT_EQ(WriteAttemptCount(), before);
}

TEST_F(IniBuiltinsTest, ChangedFileIsWrittenExactlyOnceAndUnchangedOnesAreLeftAlone) {
  int64_t before = WriteAttemptCount();
  Open("missing.ini");
  Close();
  EXPECT_FALSE(Exists(InSave("missing.ini")));
  const std::string original = "; keep me\n[S]\nk=v\n";
  WriteFile(InSave("kept.ini"), original);
  struct stat statBefore, statAfter;
  ASSERT_EQ(::stat(InSave("kept.ini").c_str(), &statBefore), 0);
  Open("kept.ini");
  EXPECT_EQ(Close(), "[S]\r\nk=\"v\"\r\n");
  ASSERT_EQ(::stat(InSave("kept.ini").c_str(), &statAfter), 0);
  EXPECT_EQ(statAfter.st_ino, statBefore.st_ino);
  EXPECT_EQ(ReadFile(InSave("kept.ini")), original);
  EXPECT_EQ(WriteAttemptCount(), before);

  Open("kept.ini");
  WriteString("S", "k", "1");
  Call("ini_key_delete", {Str("S"), Str("k")});
  WriteString("S", "k", "3");
  Open("second.ini");  // opening another INI writes the first out
  EXPECT_EQ(ReadFile(InSave("kept.ini")), "[S]\r\nk=\"3\"\r\n");
  EXPECT_EQ(ReadString("S", "k"), "<default>");
  Open("");  // an empty name leaves the open INI open
  WriteString("B", "k", "w");
  Close();
  EXPECT_EQ(Close(), "");
  EXPECT_EQ(WriteAttemptCount(), before + 2);
  EXPECT_EQ(ReadFile(InSave("second.ini")), "[B]\r\nk=\"w\"\r\n");
}

TEST_F(IniBuiltinsTest, ReadsFallBackToTheProgramDirectoryAndWritesGoToTheSaveArea) {
  const std::string shipped = "[L1]\r\n1=\"shipped\"\r\n";
  WriteFile(InProgram("save.ini"), shipped);
  IniOpen("save.ini");
  EXPECT_EQ(ReadString("L1", "1"), "shipped");
  WriteString("L1", "2", "mine");
  Close();
  EXPECT_EQ(ReadFile(InProgram("save.ini")), shipped);
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[L1]\r\n1=\"shipped\"\r\n2=\"mine\"\r\n");
  WriteFile(InSave("save.ini"), "[L1]\r\n1=\"saved\"\r\n");  // the save-area copy wins
  Open("save.ini");
  EXPECT_EQ(ReadString("L1", "1"), "saved");
}

TEST_F(IniBuiltinsTest, RefusedOrFailedWriteIsReportedAndTheFlagStillCleared) {
  Open("/elsewhere/evil.ini");
  WriteString("S", "k", "v");
  Close();
  EXPECT_FALSE(Exists("/elsewhere/evil.ini"));
  EXPECT_NE(log_.find("Error! not allowing file operation with filename '/elsewhere/evil.ini'.\n"), std::string::npos);
  WriteFile(InSave("save.ini"), "[S]\r\nk=\"old\"\r\n");
  Open("save.ini");
  WriteString("S", "k", "new");
  SetWriteFaultForTesting(1, 5);
  Close();
  EXPECT_EQ(failedWrites(), (std::vector<std::string>{"/elsewhere/evil.ini", InSave("save.ini")}));
  EXPECT_NE(log_.find("Unable to write file '" + InSave("save.ini") + "'"), std::string::npos);
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[S]\r\nk=\"old\"\r\n");
}
}  // namespace
