// The ini_* built-ins against real files in a temporary save area and program
// directory.
#include "builtins/ini_builtins.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "storage/file_test_fixture.h"

namespace {
constexpr const char* kEmptyListText = "2F01000000000000";

class IniBuiltinsTest : public FileTest {
 protected:
  void Open(const std::string& name) { Call("ini_open", {Str(name)}); }
  void WriteString(const std::string& section, const std::string& key, const std::string& value) {
    Call("ini_write_string", {Str(section), Str(key), Str(value)});
  }
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback = "<default>") {
    return CallText("ini_read_string", {Str(section), Str(key), Str(fallback)});
  }
  double ReadReal(const std::string& section, const std::string& key, double fallback) {
    return CallReal("ini_read_real", {Str(section), Str(key), TempValue(fallback)});
  }
  bool KeyExists(const std::string& section, const std::string& key) {
    return CallReal("ini_key_exists", {Str(section), Str(key)}) == 1.0;
  }
  std::string Close() { return CallText("ini_close", {}); }
};

TEST_F(IniBuiltinsTest, NumberWrittenIntoANewFileGivesTheTwoLineExample) {
  Open("save2.ini");
  Call("ini_write_real", {Str("Termin"), Str("1"), TempValue(7.0)});
  EXPECT_EQ(Close(), "[Termin]\r\n1=\"7.000000\"\r\n");
  EXPECT_EQ(ReadFile(InSave("save2.ini")), "[Termin]\r\n1=\"7.000000\"\r\n");

  Open("save2.ini");
  EXPECT_EQ(ReadReal("Termin", "1", 0), 7.0);
  EXPECT_EQ(ReadReal("Termin", "2", 3.5), 3.5);
  EXPECT_EQ(ReadReal("Other", "1", -1), -1.0);
  IniWriteReal("Termin", "2", 0.1);
  EXPECT_EQ(IniReadReal("Termin", "2", 9), 0.1);
  EXPECT_EQ(ReadString("Termin", "2"), "0.100000");
  IniWriteReal("Termin", "3", -2.5e7);
  EXPECT_EQ(ReadString("Termin", "3"), "-25000000.000000");
}

TEST_F(IniBuiltinsTest, EmptyListTextRoundTripsAndLookupIsCaseSensitive) {
  Open("save.ini");
  WriteString("L1", "1", kEmptyListText);
  Close();
  EXPECT_EQ(ReadFile(InSave("save.ini")), std::string("[L1]\r\n1=\"") + kEmptyListText + "\"\r\n");

  Open("save.ini");
  EXPECT_EQ(ReadString("L1", "1"), kEmptyListText);
  EXPECT_EQ(ReadString("l1", "1"), "<default>");
  EXPECT_EQ(CallText("ini_read_string", {Str("L1"), Str("9"), TempValue(12.0)}), "12");
  EXPECT_EQ(CallReal("ini_section_exists", {Str("L1")}), 1.0);
  EXPECT_EQ(CallReal("ini_section_exists", {Str("l1")}), 0.0);
}

TEST_F(IniBuiltinsTest, EmptyValueExistsButALineEndingAtEqualsDoesNot) {
  WriteFile(InSave("save.ini"), "[S]\r\nhand=\r\nnext=1\r\n");
  Open("save.ini");
  WriteString("S", "empty", "");
  EXPECT_EQ(ReadString("S", "empty"), "");
  EXPECT_TRUE(KeyExists("S", "empty"));
  EXPECT_FALSE(KeyExists("S", "hand"));
  EXPECT_EQ(ReadString("S", "hand"), "<default>");
  EXPECT_EQ(ReadString("S", "next"), "1");
  EXPECT_EQ(Close(), "[S]\r\nnext=\"1\"\r\nempty=\"\"\r\n");
}

TEST_F(IniBuiltinsTest, ReadRealConvertsTheStoredText) {
  Open("save2.ini");
  WriteString("S", "fixed", "7.000000");
  WriteString("S", "word", "seven");
  WriteString("S", "empty", "");
  WriteString("S", "lead", "  42abc");
  WriteString("S", "comma", "3,5");
  EXPECT_EQ(ReadReal("S", "fixed", -1), 7.0);
  EXPECT_EQ(ReadReal("S", "word", -1), 0.0);  // an existing non-number gives 0, not the default
  EXPECT_EQ(ReadReal("S", "empty", -1), 0.0);
  EXPECT_EQ(ReadReal("S", "lead", -1), 42.0);
  EXPECT_EQ(ReadReal("S", "comma", -1), 3.0);
}

TEST_F(IniBuiltinsTest, RewriteKeepsFileOrderAndAppendsNewOnes) {
  WriteFile(InSave("save.ini"), "; my registers\n[L2]\n1=\"AA\"\n3=\"CC\"\n[L1]\n1=\"11\"\n2=\"22\"\n");
  Open("save.ini");
  WriteString("L1", "5", "55");
  WriteString("L1", "1", "one");
  WriteString("L2", "2", "BB");
  WriteString("L4", "1", "new");
  WriteString("L3", "1", "newer");
  Close();
  EXPECT_EQ(ReadFile(InSave("save.ini")),
            "[L2]\r\n1=\"AA\"\r\n3=\"CC\"\r\n2=\"BB\"\r\n"
            "[L1]\r\n1=\"one\"\r\n2=\"22\"\r\n5=\"55\"\r\n"
            "[L4]\r\n1=\"new\"\r\n"
            "[L3]\r\n1=\"newer\"\r\n");
}

TEST_F(IniBuiltinsTest, HandEditedSaveFileReadsAsWritten) {
  WriteFile(InSave("save.ini"),
            "\xEF\xBB\xBF# edited by hand\n"
            "[L1]\n"
            "; lists in lower case\n"
            "1 = \"2f0100000100000001000000030000006162 63\"\n"
            "2=2f01000000000000 ; empty\n"
            "\n"
            "[L2]\n"
            "1=\"2F01000000000000\"\n");
  Open("save.ini");
  EXPECT_EQ(ReadString("L1", "1"), "2f0100000100000001000000030000006162 63");
  EXPECT_EQ(ReadString("L1", "2"), "2f01000000000000");
  EXPECT_EQ(ReadString("L2", "1"), kEmptyListText);
  WriteString("L2", "1", "2F0100000000000");
  EXPECT_EQ(Close(),
            "[L1]\r\n1=\"2f0100000100000001000000030000006162 63\"\r\n2=\"2f01000000000000\"\r\n"
            "[L2]\r\n1=\"2F0100000000000\"\r\n");
}

TEST_F(IniBuiltinsTest, ChangedFileIsWrittenExactlyOnceAndUnchangedOnesAreLeftAlone) {
  // Never changed: the missing file is not created, an existing one not touched.
  Open("missing.ini");
  EXPECT_EQ(ReadString("S", "k"), "<default>");
  int64_t before = WriteAttemptCount();
  Close();
  EXPECT_EQ(WriteAttemptCount(), before);
  EXPECT_FALSE(Exists(InSave("missing.ini")));

  const std::string original = "; keep me\n[S]\nk=v\n";
  WriteFile(InSave("kept.ini"), original);
  struct stat statBefore;
  ASSERT_EQ(::stat(InSave("kept.ini").c_str(), &statBefore), 0);
  Open("kept.ini");
  EXPECT_EQ(ReadString("S", "k"), "v");
  EXPECT_EQ(Close(), "[S]\r\nk=\"v\"\r\n");
  struct stat statAfter;
  ASSERT_EQ(::stat(InSave("kept.ini").c_str(), &statAfter), 0);
  EXPECT_EQ(statAfter.st_ino, statBefore.st_ino);
  EXPECT_EQ(statAfter.st_mtim.tv_nsec, statBefore.st_mtim.tv_nsec);
  EXPECT_EQ(ReadFile(InSave("kept.ini")), original);
  EXPECT_EQ(WriteAttemptCount(), before);

  // Changed several times, then closed: one write. Closing again writes nothing.
  Open("kept.ini");
  WriteString("S", "k", "1");
  WriteString("S", "k", "2");
  Call("ini_key_delete", {Str("S"), Str("k")});
  WriteString("S", "k", "3");
  Close();
  EXPECT_EQ(WriteAttemptCount(), before + 1);
  EXPECT_EQ(Close(), "");
  EXPECT_EQ(WriteAttemptCount(), before + 1);
}

TEST_F(IniBuiltinsTest, OpeningAnotherFileWritesTheFirstOut) {
  Open("first.ini");
  WriteString("A", "k", "v");
  Open("second.ini");
  EXPECT_EQ(ReadFile(InSave("first.ini")), "[A]\r\nk=\"v\"\r\n");
  EXPECT_EQ(ReadString("A", "k"), "<default>");
  Open("");  // an empty name leaves the open INI open
  WriteString("B", "k", "w");
  Close();
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
  EXPECT_EQ(Close(), "");
  EXPECT_EQ(CallError("ini_close", {}), "");
  EXPECT_EQ(CallError("ini_read_string", {Str("S"), Str("k"), Str("d")}), "Trying to read from undefined INI file");
  EXPECT_EQ(CallError("ini_read_real", {Str("S"), Str("k"), TempValue(1.0)}), "Trying to read from undefined INI file");
  EXPECT_EQ(CallError("ini_key_exists", {Str("S"), Str("k")}), "Trying to read from undefined INI file");
  EXPECT_EQ(CallError("ini_section_exists", {Str("S")}), "Trying to read from undefined INI file");
  EXPECT_EQ(CallError("ini_write_string", {Str("S"), Str("k"), Str("v")}), "Trying to write to undefined INI file");
  EXPECT_EQ(CallError("ini_write_real", {Str("S"), Str("k"), TempValue(1.0)}), "Trying to write to undefined INI file");
  EXPECT_EQ(CallError("ini_key_delete", {Str("S"), Str("k")}), "Trying to change undefined INI file");
  EXPECT_EQ(CallError("ini_section_delete", {Str("S")}), "Trying to change undefined INI file");

  // Before start-up has finished the report returns: the direct read gives its default.
  g_runtimeStarted = false;
  EXPECT_EQ(IniReadReal("S", "k", 4.5), 4.5);
  g_runtimeStarted = true;
}

TEST_F(IniBuiltinsTest, FlushCommandWritesAtOnceAndStoresNothing) {
  Open("save.ini");
  WriteString("S", "k", "v");
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "NOW");
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[S]\r\nk=\"v\"\r\n");
  EXPECT_EQ(CallReal("ini_section_exists", {Str("SYSTEM_COMMAND")}), 0.0);
  WriteString("S", "j", "w");  // still open
  int64_t before = WriteAttemptCount();
  WriteString("SYSTEM_COMMAND", "OTHER", "NOW");
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "LATER");
  EXPECT_EQ(WriteAttemptCount(), before);
  Close();
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[S]\r\nk=\"v\"\r\nj=\"w\"\r\n");
}

TEST_F(IniBuiltinsTest, IniFromTextIsNeverWritten) {
  int64_t before = WriteAttemptCount();
  Call("ini_open_from_string", {Str("[A]\nk = 5\n")});
  EXPECT_EQ(ReadReal("A", "k", 0), 5.0);
  WriteString("A", "j", "x");
  WriteString("SYSTEM_COMMAND", "INI_FILE_FLUSH", "NOW");
  EXPECT_EQ(Close(), "[A]\r\nk=\"5\"\r\nj=\"x\"\r\n");
  EXPECT_EQ(WriteAttemptCount(), before);
}

TEST_F(IniBuiltinsTest, DeletesRemoveKeysAndSections) {
  Open("save.ini");
  WriteString("A", "k", "1");
  WriteString("A", "j", "2");
  WriteString("B", "k", "3");
  Call("ini_key_delete", {Str("A"), Str("k")});
  Call("ini_section_delete", {Str("B")});
  Call("ini_section_delete", {Str("missing")});
  EXPECT_FALSE(KeyExists("A", "k"));
  EXPECT_EQ(Close(), "[A]\r\nj=\"2\"\r\n");
}

TEST_F(IniBuiltinsTest, RefusedOrFailedWriteIsReportedAndTheFlagStillCleared) {
  Open("/elsewhere/evil.ini");
  WriteString("S", "k", "v");
  Close();
  EXPECT_FALSE(Exists("/elsewhere/evil.ini"));
  EXPECT_NE(log_.find("Error! not allowing file operation with filename '/elsewhere/evil.ini'.\n"), std::string::npos);
  ASSERT_EQ(failedWrites().size(), 1u);
  EXPECT_EQ(failedWrites()[0], "/elsewhere/evil.ini");

  WriteFile(InSave("save.ini"), "[S]\r\nk=\"old\"\r\n");
  Open("save.ini");
  WriteString("S", "k", "new");
  SetWriteFaultForTesting(1, 5);
  Close();
  ASSERT_EQ(failedWrites().size(), 2u) << "told by the close that failed, not later";
  EXPECT_EQ(failedWrites()[1], InSave("save.ini"));
  EXPECT_NE(log_.find("Unable to write file '" + InSave("save.ini") + "'"), std::string::npos);
  EXPECT_EQ(ReadFile(InSave("save.ini")), "[S]\r\nk=\"old\"\r\n");
}

}  // namespace
