#include "engine/command_line.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/at_sign_files.h"
#include "engine/game_runner.h"
#include "engine/options_file.h"
#include "runtime/debug_output.h"
#include "test_game.h"

namespace fs = std::filesystem;

namespace {
using Tokens = std::vector<std::string>;

TEST(CommandLine, TokensAreSplitAtBlanksAndGroupedByQuotes) {
  EXPECT_EQ(TokenizeCommandLine("/opt/k/kalvora"), (Tokens{"/opt/k/kalvora"}));
  EXPECT_EQ(TokenizeCommandLine("  prog\t7  MIN \r\n"), (Tokens{"prog", "7", "MIN"}));
  EXPECT_EQ(TokenizeCommandLine("prog \"a b\" c\"d e\"f \"\""), (Tokens{"prog", "a b", "cd ef", ""}));
  EXPECT_EQ(TokenizeCommandLine("prog \"unterminated quote"), (Tokens{"prog", "unterminated quote"}));
  EXPECT_EQ(TokenizeCommandLine(""), Tokens{});
  EXPECT_EQ(TokenizeCommandLine("\"/home/x/My Programs/kalvora\" -game \"/tmp/a b/data.win\""),
            (Tokens{"/home/x/My Programs/kalvora", "-game", "/tmp/a b/data.win"}));
}

TEST(CommandLine, TheParameterListKeepsAHundredTokensOfAtMost4095BytesForTheBuiltins) {
  TestGame game;
  int a = game.AddObject("A");
  std::vector<std::string> seen;
  game.On(a, kEventCreate, 0, [&](KslFrame& f) {
    seen.push_back(ValueText(f.Call(g_fnParameterCount)));
    for (double n : {0.0, 1.0, 2.0, 5.0, -1.0}) seen.push_back(ValueText(f.Call(g_fnParameterString, n)));
  });
  game.Place(game.AddRoom("r"), a);
  SetParameters(TokenizeCommandLine("/opt/kalvora \"a b\""));
  ASSERT_TRUE(game.Start());
  EXPECT_EQ(seen, (Tokens{"2", "/opt/kalvora", "a b", "", "", ""}));

  Tokens many;
  for (int i = 0; i < 130; ++i) many.push_back(std::to_string(i));
  SetParameters(many);
  EXPECT_EQ(Parameters(), Tokens(many.begin(), many.begin() + kMaxParameters));
  std::string longToken(4094, 'x');
  longToken += "\xC5\x82";  // a two-byte character across the 4095-byte limit
  SetParameters({"prog", longToken, std::string(5000, 'y')});
  EXPECT_EQ(Parameters(), (Tokens{"prog", std::string(4094, 'x'), std::string(4095, 'y')}));
}

TEST(CommandLine, RuntimeOptionsAndTheirValuesAreRecognised) {
  RuntimeOptions options = ParseRuntimeOptions(
      {"prog",    "MIN",          "-game",   "/g/data.win", "-headless",    "-playback",  "tour.txt",
       "-record", "out.txt",      "-output", "first.log",   "-debugoutput", "second.log", "-sleepmargin",
       "2.5",     "-profiledump", "-game",   "7",           "-noaudio",     "-dir",       "-headless"});
  EXPECT_EQ(options.gamePath, "/g/data.win") << "-profiledump takes two values, so the second -game is one of them";
  EXPECT_TRUE(options.headless);
  EXPECT_EQ(options.playbackPath, "tour.txt");
  EXPECT_EQ(options.recordPath, "out.txt");
  EXPECT_EQ(options.logPath, "second.log");
  EXPECT_DOUBLE_EQ(options.sleepMarginMs, 2.5);

  RuntimeOptions plain = ParseRuntimeOptions({"prog", "-sleepmargin", "soon", "-game"});
  EXPECT_FALSE(plain.headless);
  EXPECT_LT(plain.sleepMarginMs, 0);
  EXPECT_EQ(plain.gamePath, "") << "an option without its value is ignored";
  EXPECT_FALSE(plain.RunsCommand());

  RuntimeOptions commands = ParseRuntimeOptions({"prog", "-list-due", "-export-ics", "terminy.ics"});
  EXPECT_TRUE(commands.listDue);
  EXPECT_EQ(commands.calendarPath, "terminy.ics");
  RuntimeOptions noFile = ParseRuntimeOptions({"prog", "-export-ics"});
  EXPECT_TRUE(noFile.RunsCommand()) << "without its file, -export-ics is still the command, which says what is missing";
  EXPECT_EQ(noFile.calendarPath, "");
}

class TempDirectories : public ::testing::Test {
 protected:
  static void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  ScratchFolder scratch;
  const fs::path& root_ = scratch.path;
};

using OptionsFile = TempDirectories;

TEST_F(OptionsFile, FillsInWhatTheCommandLineLeftAndNeverAnOptionThatNamesAFile) {
  std::string log;
  SetDebugOutputCapture(&log);
  RuntimeOptions options;
  TakeOptionsFile(root_.string(), options);
  EXPECT_EQ(log, "") << "no file, nothing to say";

  Write(root_ / "options.ini",
        "[Other]\nsleepmargin=9\n[Runtime]\nheadless = true\nsleepmargin = 3\ngame = /tmp/other.win\n"
        "playback = tour.kvi\nrecord = /tmp/session.kvi\noutput = /tmp/a.log\ndebugoutput = /tmp/b.log\n");
  TakeOptionsFile(root_.string(), options);
  EXPECT_TRUE(options.headless);
  EXPECT_DOUBLE_EQ(options.sleepMarginMs, 3);
  EXPECT_EQ(options.gamePath + options.playbackPath + options.recordPath + options.logPath, "");
  for (const char* refused : {"game", "playback", "record", "output", "debugoutput"})
    EXPECT_NE(log.find("option " + std::string(refused) + " is not taken from it\n"), std::string::npos) << refused;

  RuntimeOptions commandLine = ParseRuntimeOptions({"prog", "-sleepmargin", "1"});
  Write(root_ / "options.ini", "[Runtime]\nsleepmargin=3\nheadless=0\n");
  TakeOptionsFile(root_.string(), commandLine);
  EXPECT_DOUBLE_EQ(commandLine.sleepMarginMs, 1) << "the command line wins";
  EXPECT_FALSE(commandLine.headless);

  log.clear();
  RuntimeOptions unread;
  Write(root_ / "options.ini", "[Runtime]\nsleepmargin=soon\nheadless=maybe\n");
  TakeOptionsFile(root_.string(), unread);
  EXPECT_LT(unread.sleepMarginMs, 0);
  EXPECT_FALSE(unread.headless);
  EXPECT_NE(log.find("gives option sleepmargin a value that does not read: soon\n"), std::string::npos) << log;
  EXPECT_NE(log.find("gives option headless a value that does not read: maybe\n"), std::string::npos) << log;

  fs::remove(root_ / "options.ini");
  fs::create_directories(root_ / "options.ini");
  TakeOptionsFile(root_.string(), unread);
  EXPECT_NE(log.find("Unable to read the options file " + (root_ / "options.ini").string()), std::string::npos);
  SetDebugOutputCapture(nullptr);
}

using AtSignFiles = TempDirectories;

TEST_F(AtSignFiles, NamesBecomePathsInsideTheProgramDirectoryOnly) {
  fs::path program = root_ / "program", home = root_ / "home";
  fs::create_directories(program);
  fs::create_directories(home);
  Write(program / "fonts@big@a.txt", "font");
  Write(program / "@@lead@@doubled", "lead");
  Write(program / "up@..@escape.txt", "up");
  Write(program / "trailing@", "trailing");
  Write(program / "taken@x.txt", "new");
  fs::create_directories(program / "taken");
  Write(program / "taken" / "x.txt", "old");
  Write(program / "plain.txt", "plain");
  Write(home / "notes@2024.txt", "mine");
  fs::create_directories(program / "dir@name");
  fs::create_symlink(home / "notes@2024.txt", program / "link@x");

  fs::path saved = fs::current_path();
  fs::current_path(home);
  MoveAtSignFiles(program);
  fs::current_path(saved);

  EXPECT_EQ(Read(program / "fonts" / "big" / "a.txt"), "font");
  EXPECT_FALSE(fs::exists(program / "fonts@big@a.txt"));
  EXPECT_EQ(Read(program / "lead" / "doubled"), "lead");
  EXPECT_TRUE(fs::exists(program / "up@..@escape.txt")) << "a name that climbs out stays";
  EXPECT_FALSE(fs::exists(root_ / "escape.txt"));
  EXPECT_TRUE(fs::exists(program / "trailing@"));
  EXPECT_EQ(Read(program / "taken" / "x.txt"), "old") << "an existing file is never overwritten";
  EXPECT_EQ(Read(program / "taken@x.txt"), "new");
  EXPECT_TRUE(fs::is_directory(program / "dir@name"));
  EXPECT_TRUE(fs::is_symlink(program / "link@x"));
  EXPECT_EQ(Read(home / "notes@2024.txt"), "mine") << "the current directory is left alone";
  EXPECT_FALSE(fs::exists(home / "notes"));
  MoveAtSignFiles("");  // no directory known: nothing happens
}

using GameFilePath = TempDirectories;

// The order of the folders and the message when none holds the game are pinned
// by the runner's tests.
TEST_F(GameFilePath, AFolderNamedDataWinOrAnUnknownFolderIsSkippedAndGameIsTakenAsGiven) {
  fs::path bin = root_ / "bin", data = root_ / "data";
  fs::create_directories(bin / "data.win");
  fs::create_directories(data);
  Write(data / "data.win", "x");
  EXPECT_EQ(FindDefaultGameDirectory({"", bin.string(), data.string()}), data.string());
  EXPECT_EQ(ResolveGameFilePath("", ""), "");
  fs::path saved = fs::current_path();
  fs::current_path(root_);
  EXPECT_EQ(ResolveGameFilePath(bin.string(), "other/../game.win"), (root_ / "game.win").string());
  fs::current_path(saved);
  EXPECT_EQ(ResolveGameFilePath("", "/abs/g.win"), "/abs/g.win");
}
}  // namespace
