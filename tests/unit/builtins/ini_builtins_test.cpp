// The ini_* built-ins against real files in a temporary save area and program
// directory.
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

TEST_F(IniBuiltinsTest, NumbersAreReadFromTheStoredText) {
  Open("save2.ini");
  for (auto [stored, number] : std::vector<std::pair<const char*, double>>{
           {"0.100000", 0.1}, {"seven", 0}, {"", 0}, {"  42abc", 42}, {"3,5", 3}}) {
    WriteString("S", "k", stored);
    EXPECT_EQ(CallReal("ini_read_real", {Str("S"), Str("k"), TempValue(-1.0)}), number) << stored;
  }
  EXPECT_EQ(IniReadReal("Termin", "3", 3.5), 3.5);
  EXPECT_EQ(IniReadReal("Other", "1", -1), -1.0);
  EXPECT_EQ(CallText("ini_read_string", {Str("S"), Str("9"), TempValue(12.0)}), "12");
}

TEST_F(IniBuiltinsTest, ExistsDeleteAndFlushActOnTheOpenIni) {
  WriteFile(InSave("save.ini"), "[S]\r\nhand=\r\nnext=1\r\n[B]\r\nk=3\r\n");
  Open("save.ini");
  WriteString("S", "empty", "");
  std::vector<double> found;
  for (const char* key : {"empty", "hand", "next"}) found.push_back(CallReal("ini_key_exists", {Str("S"), Str(key)}));
  for (const char* section : {"S", "s"}) found.push_back(CallReal("ini_section_exists", {Str(section)}));
  EXPECT_EQ(found, (std::vector<double>{1, 0, 1, 1, 0}));  // an empty value exists, a line ending at "=" not
  Call("ini_key_delete", {Str("S"), Str("next")});
  Call("ini_section_delete", {Str("B")});
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "NOW");
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[S]\r\nempty=\"\"\r\n");
  int64_t before = WriteAttemptCount();
  WriteString("SYSTEM_COMMAND", "OTHER", "NOW");
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "LATER");
  EXPECT_EQ(WriteAttemptCount(), before);
  EXPECT_EQ(Close(), "[S]\r\nempty=\"\"\r\n");  // the commands store nothing

  before = WriteAttemptCount();
  Call("ini_open_from_string", {Str("[A]\nk = 5\n")});  // never written
  WriteString("A", "j", "x");
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "NOW");
  EXPECT_EQ(Close(), "[A]\r\nk=\"5\"\r\nj=\"x\"\r\n");
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

TEST_F(IniBuiltinsTest, NothingOpenReportsOrReturnsEmpty) {
  EXPECT_EQ(CallError("ini_close", {}), "");
  EXPECT_EQ(CallError("ini_read_string", {Str("S"), Str("k"), Str("d")}), "Trying to read from undefined INI file");
  EXPECT_EQ(CallError("ini_write_real", {Str("S"), Str("k"), TempValue(1.0)}), "Trying to write to undefined INI file");
  EXPECT_EQ(CallError("ini_section_delete", {Str("S")}), "Trying to change undefined INI file");
  g_runtimeStarted = false;  // before start-up the report returns: the direct read gives its default
  EXPECT_EQ(IniReadReal("S", "k", 4.5), 4.5);
  g_runtimeStarted = true;
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
