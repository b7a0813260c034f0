// Where file names lead: the save area, the program directory, dialog choices.
#include "storage/sandbox.h"

#include "storage/file_test_fixture.h"

namespace {
class SandboxTest : public FileTest {
 protected:
  std::string SavePath(const std::string& name, FileAccess access = FileAccess::Write) {
    return ResolveSaveAreaPath(name, access).value_or("<refused>");
  }
  std::string ProgramPath(const std::string& name) { return ResolveProgramDirectoryPath(name).value_or("<refused>"); }
  bool Refused(const std::string& name) {
    return log_.find("Error! not allowing file operation with filename '" + name + "'.\n") != std::string::npos;
  }
};

// Relative names land in the save area, normalised; absolute paths beside the
// program or under the current directory are redirected there. A name that
// climbs out is refused, even where it would land in a folder an absolute path
// may reach. The save area is announced once.
TEST_F(SandboxTest, NamesLeadIntoTheSaveAreaOrAreRefused) {
  EXPECT_EQ(log_, "SavePrePend = " + saveArea_ + "/\n");
  for (auto [name, expected] : {std::pair<std::string, std::string>{"save.ini", InSave("save.ini")},
                                {"a/./b//c.txt", InSave("a/b/c.txt")},
                                {"a/../b.txt", InSave("b.txt")},
                                {"", "<refused>"},
                                {InSave("x.ini"), InSave("x.ini")},
                                {InProgram("sub/x.ini"), InSave("sub/x.ini")},
                                {workDirectory_ + "/y.ini", InSave("y.ini")}})
    EXPECT_EQ(SavePath(name), expected) << name;
  EXPECT_EQ(log_.find("Error!"), std::string::npos);
  for (const std::string& name :
       {std::string("../x"), std::string("a/../../x"), std::string("../work/x"), std::string("../program/x"),
        std::string("/etc/passwd"), saveArea_ + "/../../etc/passwd", saveArea_ + "/../program-other/x"}) {
    EXPECT_EQ(SavePath(name), "<refused>") << name;
    EXPECT_TRUE(Refused(name)) << name;
  }
  for (const char* name : {"../x", "../program/x", "/etc/passwd"}) EXPECT_EQ(ProgramPath(name), "<refused>") << name;
  // A program directory inside the current directory: its own prefix is replaced;
  // a save area inside it (a home directory as current directory) is not nested twice.
  fs::current_path(root_);
  EXPECT_EQ(SavePath(InProgram("x.ini")), InSave("x.ini"));
  EXPECT_EQ(SavePath("save.ini"), InSave("save.ini"));
  EXPECT_EQ(SavePath(InSave("save.ini")), InSave("save.ini"));
}

TEST_F(SandboxTest, ProgramDirectoryReadsAreReRootedFromTheWorkDirectory) {
  EXPECT_EQ(ProgramPath("save.ini"), InProgram("save.ini"));
  EXPECT_EQ(ProgramPath(workDirectory_ + "/data/x"), InProgram("data/x"));
  EXPECT_EQ(ProgramPath(InProgram("data.win")), InProgram("data.win"));
  fs::current_path(programDirectory_);
  EXPECT_EQ(ProgramPath("save.ini"), InProgram("save.ini"));
}

TEST_F(SandboxTest, DialogChoicesAreReachableForTheAccessTheyGrant) {
  // A save dialog's choice may be written and read back; an open dialog's only read.
  const std::string chosen = root_ + "/elsewhere/backup.vtab";
  AllowPathForWriting(chosen);
  EXPECT_EQ(SavePath(chosen), chosen);
  EXPECT_EQ(SavePath(chosen, FileAccess::Read), chosen);
  EXPECT_EQ(ProgramPath(chosen), chosen);

  const std::string opened = root_ + "/elsewhere/restore.vtab";
  AllowPathForReading(opened);
  EXPECT_EQ(SavePath(opened, FileAccess::Read), opened);
  EXPECT_EQ(ProgramPath(opened), opened);
  EXPECT_EQ(SavePath(opened), "<refused>");

  // A choice under the current directory is used where it is, not redirected.
  const std::string underWork = workDirectory_ + "/Tabela.csv";
  AllowPathForWriting(underWork);
  EXPECT_EQ(SavePath(underWork), underWork);
  // Normalised on both sides.
  EXPECT_EQ(SavePath(root_ + "/elsewhere/./sub/../backup.vtab"), chosen);
}

TEST_F(SandboxTest, SandboxOffUsesAbsolutePathsAsTheyAre) {
  ConfigureSandbox({saveArea_, programDirectory_, false});
  EXPECT_EQ(SavePath("/etc/passwd"), "/etc/passwd");
  EXPECT_EQ(SavePath(InProgram("x")), InProgram("x"));
  EXPECT_EQ(SavePath("../x"), root_ + "/x");
  EXPECT_EQ(SavePath("save.ini"), InSave("save.ini"));
  EXPECT_EQ(ProgramPath("save.ini"), InProgram("save.ini"));
  EXPECT_EQ(ProgramPath("/etc/passwd"), "/etc/passwd");
  EXPECT_EQ(log_.find("Error!"), std::string::npos);
}

TEST_F(SandboxTest, FindsTheSaveAreaCopyFirstThenTheProgramCopy) {
  EXPECT_FALSE(FindReadableFile("save.ini"));
  WriteFile(InProgram("save.ini"), "p");
  EXPECT_EQ(FindReadableFile("save.ini").value_or(""), InProgram("save.ini"));
  WriteFile(InSave("save.ini"), "s");
  EXPECT_EQ(FindReadableFile("save.ini").value_or(""), InSave("save.ini"));
  fs::create_directories(InSave("folder"));
  EXPECT_FALSE(FindReadableFile("folder"));
}

TEST_F(SandboxTest, UnconfiguredSaveAreaRefusesWrites) {
  ConfigureSandbox({"", programDirectory_, true});
  EXPECT_EQ(SavePath("save.ini"), "<refused>");
  EXPECT_EQ(ProgramPath("save.ini"), InProgram("save.ini"));
}
}  // namespace
